// Faugus Launcher lists its games in faugus-launcher/games.json of the user's data folder (of its
// settings folder before it moved): an array of objects with "gameid", "path" (the program) and
// "prefix". It makes prefixes in ~/Faugus by default, and `faugus-launcher --game ID` starts a game
// with the runner it was set up with (Faugus/faugus-launcher, faugus/path_manager.py,
// faugus/runner.py, the faugus-launcher script).

#include "platform/launchers/LauncherFiles.h"
#include "platform/launchers/Launchers.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

struct LVFaugusCopy {
    LVLauncherCopy copy;
    QStringList gameLists; // its games.json files, current first
};

QList<LVLauncherPrefix> listedPrefixes(const LVFaugusCopy &copy, const QString &home) {
    QList<LVLauncherPrefix> found;
    for (const QString &list : copy.gameLists)
        for (const QJsonValue &value : lv::readJsonFile(list).array()) {
            const QJsonObject game = value.toObject();
            const QString prefix = game.value(QLatin1String("prefix")).toString();
            const QString id = game.value(QLatin1String("gameid")).toString();
            if (prefix.isEmpty())
                continue;
            const QString program = lv::expandHome(game.value(QLatin1String("path")).toString(), home);
            found.append({lv::expandHome(prefix, home), LVPrefixKind::Faugus, copy.copy,
                          id.isEmpty() ? QList<LVLauncherGame>() : QList<LVLauncherGame>{{id, program}}});
        }
    return found;
}

class LVFaugus : public LVLauncher {
public:
    LVPrefixKind kind() const override { return LVPrefixKind::Faugus; }

    QList<LVLauncherPrefix> prefixes(const LVLauncherFolders &folders) const override {
        QList<LVLauncherPrefix> found;
        for (const QString &folder : lv::sortedSubfolders(folders.home + QStringLiteral("/Faugus")))
            found.append({folder, LVPrefixKind::Faugus, LVLauncherCopy::Native, {}});
        const QString flatpak = folders.home + QStringLiteral("/.var/app/io.github.Faugus.faugus-launcher");
        for (const LVFaugusCopy &copy :
             {LVFaugusCopy{LVLauncherCopy::Native,
                           {folders.dataHome + QStringLiteral("/faugus-launcher/games.json"),
                            folders.configHome + QStringLiteral("/faugus-launcher/games.json")}},
              LVFaugusCopy{LVLauncherCopy::Flatpak,
                           {flatpak + QStringLiteral("/data/faugus-launcher/games.json"),
                            flatpak + QStringLiteral("/config/faugus-launcher/games.json")}}})
            found << listedPrefixes(copy, folders.home);
        return found;
    }

    std::optional<LVLaunchCommand> command(const LVGameInstallation &install,
                                           const LVFindExecutable &findExecutable) const override {
        if (install.launcherId.isEmpty())
            return std::nullopt;
        return lv::copyCommand(install.copy, findExecutable, QStringLiteral("faugus-launcher"),
                               {QStringLiteral("io.github.Faugus.faugus-launcher")},
                               {QStringLiteral("--game"), install.launcherId});
    }
};

} // namespace

std::unique_ptr<LVLauncher> lv::makeFaugus() {
    return std::make_unique<LVFaugus>();
}
