#pragma once

#include <QList>
#include <QString>

class LVSettings;

// One install the user keeps, by its game program, and whether the program uploads and watches it.
struct LVInstallChoice {
    QString executable;
    bool checked = true;

    bool operator==(const LVInstallChoice &) const = default;
};

namespace lv {

// The installs as the settings describe them, in order. The stored list comes first, else the single
// game path; then the installs found on the machine that it does not hold yet. A found install starts
// checked, except beside a single game path the user chose before there were several: that one stays
// the only checked install. Paths are told apart by their cleaned form; empty ones are passed over.
QList<LVInstallChoice> installChoices(const LVSettings &settings);

// Stores the installs, what is unchecked, and the first checked install as the game path, which
// everything that reads one game (Launch, the start-up gathering) goes on reading. They are saved with
// the settings' other pending edits, all or nothing; false, with the reason, when they could not be.
bool storeInstallChoices(LVSettings &settings, const QList<LVInstallChoice> &choices, QString *error = nullptr);

// A game path the user chose before there were several installs becomes the one checked install of
// the stored list, beside those found now. Answers whether it stored anything.
bool adoptSingleGamePath(LVSettings &settings);

} // namespace lv
