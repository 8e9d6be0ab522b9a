#pragma once

#include "platform/GameInstallations.h"
#include "platform/LaunchCommand.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

// Where a launcher looks for its files: the user's home and XDG folders, and $WINEPREFIX.
struct LVLauncherFolders {
    QString home;
    QString dataHome;   // $XDG_DATA_HOME, ~/.local/share by default
    QString configHome; // $XDG_CONFIG_HOME, ~/.config by default
    QString winePrefix; // $WINEPREFIX, "~" spelled out; empty when not set
};

// A game a launcher keeps in a Wine prefix, by the launcher's own id for it.
struct LVLauncherGame {
    QString id;
    QString program; // the program the launcher starts for it, when its files say; else empty

    bool operator==(const LVLauncherGame &) const = default;
};

// A Wine prefix a launcher made or names, with the games it keeps there.
struct LVLauncherPrefix {
    QString path; // the folder holding drive_c, or one whose "pfx" holds it (a Proton prefix)
    LVPrefixKind kind = LVPrefixKind::Wine;
    LVLauncherCopy copy = LVLauncherCopy::Native;
    QList<LVLauncherGame> games;

    bool operator==(const LVLauncherPrefix &) const = default;
};

// What the program knows of one game launcher: where it keeps its prefixes and games, and how it
// starts one of them.
class LVLauncher {
public:
    virtual ~LVLauncher() = default;

    // The kind of prefix it makes: installs in such a prefix are started through it.
    virtual LVPrefixKind kind() const = 0;
    // Every prefix its files name or its folders hold, in the order they are offered. A prefix may
    // come more than once (found in a folder and named by a game); its games are then put together.
    virtual QList<LVLauncherPrefix> prefixes(const LVLauncherFolders &folders) const = 0;
    // The command that starts the install through the copy of the launcher that made its prefix;
    // none when that copy is not installed or keeps no game that is this install.
    virtual std::optional<LVLaunchCommand> command(const LVGameInstallation &install,
                                                   const LVFindExecutable &findExecutable) const = 0;
};

namespace lv {

// Every launcher, in the order their prefixes are searched: plain Wine, Lutris, Steam, Bottles,
// Heroic, Faugus, PortProton.
const std::vector<std::unique_ptr<LVLauncher>> &launchers();

// The id of the game among a launcher's games in the install's prefix that is this install: one
// whose program lies in the install's game folder, else one that starts Battle.net in that prefix
// (the game's own launcher), else one whose program the launcher does not say. Empty when none is.
QString gameIdFor(const LVGameInstallation &install, const QList<LVLauncherGame> &games);

// The launchers, one file each.
std::unique_ptr<LVLauncher> makePlainWine();
std::unique_ptr<LVLauncher> makeLutris();
std::unique_ptr<LVLauncher> makeSteam();
std::unique_ptr<LVLauncher> makeBottles();
std::unique_ptr<LVLauncher> makeHeroic();
std::unique_ptr<LVLauncher> makeFaugus();
std::unique_ptr<LVLauncher> makePortProton();

// Starting with Wine inside the install's prefix, as for a prefix no launcher keeps; none, with the
// error filled, when there is no Wine.
std::optional<LVLaunchCommand> wineCommand(const LVGameInstallation &install, const LVFindExecutable &findExecutable,
                                           QString *error);

// The command that runs a launcher's program: the native copy's program found on PATH, or the
// Flatpak (flatpak run APP_ID, the command given) or the Snap (snap run NAME) it came as; none when
// that copy cannot be run. flatpakRun holds what follows "flatpak run" before the arguments.
std::optional<LVLaunchCommand> copyCommand(LVLauncherCopy copy, const LVFindExecutable &findExecutable,
                                           const QString &nativeProgram, const QStringList &flatpakRun,
                                           const QStringList &arguments);

// The library folders a Steam libraryfolders.vdf lists, in its order: the nested form ("path" in
// each numbered entry) and the older one (each number with its path).
QStringList steamLibraryFolders(const QString &vdf);

// The game id Steam starts a game by, from the app id its compatdata folder is named after. A
// shortcut to a game from outside Steam has a 32-bit app id with the top bit set, and a 64-bit
// game id made from it.
QString steamGameId(const QString &appId);

} // namespace lv
