#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A Wine prefix that a game launcher's settings name, with the launcher's id for the game in it.
struct LVLauncherPrefix {
    QString prefix;
    QString launcherId;

    bool operator==(const LVLauncherPrefix &) const = default;
};

namespace lv {

// A path with a leading "~" standing for the home folder spelled out; other paths as they are.
QString expandHome(const QString &path, const QString &home);

// The value of a key in a simple YAML text: a top-level key when section is empty, else a key
// directly under the top-level key named section. Quotes are taken off; null when the key is absent.
// Lists, anchors and multi-line values are not read.
QString simpleYamlValue(const QString &text, const QString &section, const QString &key);

// The prefix (`prefix:` under `game:`) and the slug of a Lutris game's settings file. The slug is
// its `game_slug:`, else the file name up to a trailing "-<digits>". The prefix is null when the
// file names none.
LVLauncherPrefix lutrisGamePrefix(const QString &text, const QString &fileName, const QString &home);

// The library folders a Steam libraryfolders.vdf lists, in its order.
QStringList steamLibraryFolders(const QString &vdf);

// The prefixes a Heroic game's settings file names: each top-level key is an app name whose object
// may hold a "winePrefix". Empty when the text is not a JSON object.
QList<LVLauncherPrefix> heroicGamePrefixes(const QByteArray &json, const QString &home);

} // namespace lv
