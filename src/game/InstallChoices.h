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
// game path; then the installs found on the machine that it does not hold yet. Before anything is
// stored a found install starts checked, except beside a single game path the user chose before there
// were several: that one stays the only checked install. Once the installs are stored, one found later
// starts unchecked: nothing is uploaded from, or installed into, a game the user did not choose. Paths
// are told apart by their cleaned form; empty ones are passed over.
QList<LVInstallChoice> installChoices(const LVSettings &settings);

// Stores the installs, what is unchecked, and the first checked install as the game path, which
// everything that reads one game (Launch, the start-up gathering) goes on reading. They are saved with
// the settings' other pending edits, all or nothing; false, with the reason, when they could not be.
bool storeInstallChoices(LVSettings &settings, const QList<LVInstallChoice> &choices, QString *error = nullptr);

// Stores the installs as installChoices() gives them, at start-up: the first start stores those it
// found, all checked (or a game path the user chose before there were several as the one checked
// install); a later start adds the installs found since, unchecked. Answers those it added, for the
// user to be told of them once. Nothing is stored while no install is known, or the stored game path
// is empty (the Options open then).
QStringList storeFoundInstalls(LVSettings &settings);

// "Found another copy of the game: Classic (WowClassic) in /games/World of Warcraft/_classic_. Check it
// in Options to upload its data."
QString foundInstallText(const QString &executable);

} // namespace lv
