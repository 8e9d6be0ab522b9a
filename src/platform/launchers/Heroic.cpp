// Heroic keeps each game's settings in GamesConfig/<app name>.json, an object whose key is the app
// name and whose "winePrefix" is the prefix; several games may share one. A game added by hand (a
// "sideload", as the game is in Heroic) is listed in sideload_apps/library.json with the program it
// starts (install.executable), which tells whether the game is this one. A Proton prefix made
// without UMU holds drive_c in its "pfx" folder. heroic://launch/RUNNER/APP starts a game
// (Heroic-Games-Launcher/HeroicGamesLauncher, src/backend/protocol.ts, src/backend/game_config.ts,
// src/backend/utils.ts getWineFromProton).

#include "platform/launchers/LauncherFiles.h"
#include "platform/launchers/Launchers.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QUrl>

namespace {

struct LVHeroicCopy {
    LVLauncherCopy copy;
    QString folder; // Heroic's settings folder
};

// The program of each game added by hand, by app name.
QHash<QString, QString> sideloadedPrograms(const QString &heroic) {
    QHash<QString, QString> programs;
    const QJsonDocument library = lv::readJsonFile(heroic + QStringLiteral("/sideload_apps/library.json"));
    for (const QJsonValue &game : library.object().value(QLatin1String("games")).toArray()) {
        const QJsonObject object = game.toObject();
        const QString program =
            object.value(QLatin1String("install")).toObject().value(QLatin1String("executable")).toString();
        if (!program.isEmpty())
            programs.insert(object.value(QLatin1String("app_name")).toString(), program);
    }
    return programs;
}

QList<LVLauncherPrefix> namedPrefixes(const LVHeroicCopy &copy, const QString &home) {
    QList<LVLauncherPrefix> found;
    const QHash<QString, QString> programs = sideloadedPrograms(copy.folder);
    for (const QString &file :
         lv::sortedEntries(copy.folder + QStringLiteral("/GamesConfig"), QDir::Files, {QStringLiteral("*.json")})) {
        const QJsonObject games = lv::readJsonFile(file).object();
        for (auto game = games.constBegin(); game != games.constEnd(); ++game) {
            const QString prefix = game.value().toObject().value(QLatin1String("winePrefix")).toString();
            if (prefix.isEmpty())
                continue;
            // Only a game added by hand can be this one; a store's game sharing the prefix is not.
            const QList<LVLauncherGame> known = programs.contains(game.key())
                                                    ? QList<LVLauncherGame>{{game.key(), programs.value(game.key())}}
                                                    : QList<LVLauncherGame>();
            found.append({lv::expandHome(prefix, home), LVPrefixKind::Heroic, copy.copy, known});
        }
    }
    return found;
}

class LVHeroic : public LVLauncher {
public:
    LVPrefixKind kind() const override { return LVPrefixKind::Heroic; }

    QList<LVLauncherPrefix> prefixes(const LVLauncherFolders &folders) const override {
        QList<LVLauncherPrefix> found;
        const QString made = folders.home + QStringLiteral("/Games/Heroic/Prefixes");
        for (const QString &parent : {made, made + QStringLiteral("/default")})
            for (const QString &folder : lv::sortedSubfolders(parent))
                found.append({folder, LVPrefixKind::Heroic, LVLauncherCopy::Native, {}});
        for (const LVHeroicCopy &copy :
             {LVHeroicCopy{LVLauncherCopy::Native, folders.configHome + QStringLiteral("/heroic")},
              LVHeroicCopy{LVLauncherCopy::Flatpak,
                           folders.home + QStringLiteral("/.var/app/com.heroicgameslauncher.hgl/config/heroic")}})
            found << namedPrefixes(copy, folders.home);
        return found;
    }

    std::optional<LVLaunchCommand> command(const LVGameInstallation &install,
                                           const LVFindExecutable &findExecutable) const override {
        if (install.launcherId.isEmpty())
            return std::nullopt;
        const QString link = QStringLiteral("heroic://launch/sideload/") +
                             QString::fromUtf8(QUrl::toPercentEncoding(install.launcherId));
        const std::optional<LVLaunchCommand> heroic =
            lv::copyCommand(install.copy, findExecutable, QStringLiteral("heroic"),
                            {QStringLiteral("com.heroicgameslauncher.hgl")}, {link});
        if (heroic || install.copy != LVLauncherCopy::Native)
            return heroic;
        // Heroic as an AppImage is on no PATH; it answers its links.
        return lv::copyCommand(install.copy, findExecutable, QStringLiteral("xdg-open"), {}, {link});
    }
};

} // namespace

std::unique_ptr<LVLauncher> lv::makeHeroic() {
    return std::make_unique<LVHeroic>();
}
