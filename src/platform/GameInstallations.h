#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Who made the Wine prefix a game lies in; it decides how the game is started.
enum class LVPrefixKind { Wine, Custom, Lutris, Steam, Bottles, Heroic, Faugus, PortProton, Manual };

// Which copy of a launcher made the prefix: each keeps its own files and knows only its own games.
enum class LVLauncherCopy { Native, Flatpak, Snap };

// One copy of the game found on the machine.
struct LVGameInstallation {
    QString executable; // full path of the game's program
    QString flavor;     // "_retail_", "_classic_", ... or "" when the program lies in the game folder itself
    QString prefix;     // the Wine prefix (the folder holding drive_c), or empty
    LVPrefixKind kind = LVPrefixKind::Manual;
    // The launcher's own id for this game: Steam app id, Lutris game id, Bottles bottle name, Heroic
    // app name, Faugus game id; empty when the launcher keeps no game that is this one.
    QString launcherId;
    LVLauncherCopy copy = LVLauncherCopy::Native;

    bool operator==(const LVGameInstallation &) const = default;
};

// What the name of a game's program says about it.
struct LVExecutableIdentity {
    QString flavor;          // the flavor folder holding it, or "" when it lies in no flavor folder
    QString applicationName; // the file name without ".exe" (or ".app")

    bool operator==(const LVExecutableIdentity &) const = default;
};

namespace lv {

// The name of a kind of prefix: "Wine", "Lutris", "Steam", ..., "Custom prefix", "Chosen by hand";
// untranslated, as --installs --json gives it.
QString prefixKindName(LVPrefixKind kind);

// "Native", "Flatpak" or "Snap".
QString launcherCopyName(LVLauncherCopy copy);

// Where the install came from, as the Options sheet and --installs show it, in the user's language:
// "Lutris", "Lutris (Flatpak)", "Steam (Snap)", ...
QString installSourceName(const LVGameInstallation &install);

// The name the Options sheet and the log give a flavor folder, in the user's language: "Retail",
// "Classic", ...; "Game folder" for a program in the game folder itself, and the folder's own name for
// one this program does not know.
QString flavorName(const QString &flavor);

// The flavor and application name of the program at that path, from the path alone.
LVExecutableIdentity identifyExecutable(const QString &path);

// The folder holding drive_c that the path lies in, or empty when it lies in no Wine prefix.
QString winePrefixOf(const QString &path);

// An install described from its program's path alone, as for a game the user picked by hand.
LVGameInstallation installationAt(const QString &executable);

// The folders of a Wine prefix in which the game may be installed, in the order they are searched.
QStringList gameFoldersInPrefix(const QString &prefix);

// The folder of the game an install's program belongs to: the one holding its flavor folders.
QString gameFolderOf(const LVGameInstallation &install);

// Every copy of the game inside the prefix, in the order of gameFoldersInPrefix, each flavor
// folder with its own program; described as chosen by hand until the caller says who made the prefix.
QList<LVGameInstallation> installationsInPrefix(const QString &prefix);

} // namespace lv
