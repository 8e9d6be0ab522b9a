// Lutris keeps each game's settings in games/<configpath>.yml of its settings folder (written by
// PyYAML's safe_dump: double-quoted \xF6-style escapes, long values folded), and its library in the
// games table of pga.db, whose numeric id names exactly one game however many share a slug:
// lutris:rungameid/ID starts it. A game's prefix is its `game: prefix:`, else the prefix its
// `game: exe:` lies in. ~/Games holds the prefixes it makes by default.

#include "platform/launchers/LauncherFiles.h"
#include "platform/launchers/Launchers.h"

#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUrl>

#include <atomic>

namespace {

struct LVLutrisCopy {
    LVLauncherCopy copy;
    QStringList gameFolders; // where its games' settings files are
    QString database;        // its pga.db
};

struct LVLutrisGame {
    QString id;
    QString directory; // the game's folder, which a relative exe lies in
};

QList<LVLutrisCopy> lutrisCopies(const LVLauncherFolders &folders) {
    const QString flatpak = folders.home + QStringLiteral("/.var/app/net.lutris.Lutris");
    return {{LVLauncherCopy::Native,
             {folders.configHome + QStringLiteral("/lutris/games"), folders.dataHome + QStringLiteral("/lutris/games")},
             folders.dataHome + QStringLiteral("/lutris/pga.db")},
            {LVLauncherCopy::Flatpak,
             {flatpak + QStringLiteral("/config/lutris/games"), flatpak + QStringLiteral("/data/lutris/games")},
             flatpak + QStringLiteral("/data/lutris/pga.db")}};
}

QHash<QString, LVLutrisGame> readInstalledGames(QSqlDatabase &database) {
    QHash<QString, LVLutrisGame> games;
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("SELECT id, configpath, directory FROM games WHERE installed = 1 ORDER BY id")))
        return games;
    while (query.next())
        if (!games.contains(query.value(1).toString()))
            games.insert(query.value(1).toString(), {query.value(0).toString(), query.value(2).toString()});
    return games;
}

// The installed games of a pga.db by their configpath. Opened read-only and immutable: no lock is
// taken and nothing is written, so a running Lutris is never disturbed.
QHash<QString, LVLutrisGame> installedGames(const QString &path) {
    if (!QFileInfo(path).isFile())
        return {};
    static std::atomic<int> connections{0};
    const QString name = QStringLiteral("lv-lutris-%1").arg(++connections);
    QHash<QString, LVLutrisGame> games;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        database.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                                 QStringLiteral("?immutable=1"));
        if (database.open())
            games = readInstalledGames(database);
    }
    QSqlDatabase::removeDatabase(name);
    return games;
}

QString programOf(const YAML::Node &settings, const LVLutrisGame &game, const QString &home) {
    const QString exe = lv::expandHome(lv::yamlText(settings, {"game", "exe"}), home);
    if (exe.isEmpty() || QDir::isAbsolutePath(exe))
        return exe;
    return game.directory.isEmpty() ? QString() : QDir(game.directory).filePath(exe);
}

std::optional<LVLauncherPrefix> gamePrefix(const QString &file, const QHash<QString, LVLutrisGame> &games,
                                           LVLauncherCopy copy, const QString &home) {
    const std::optional<YAML::Node> settings = lv::readYamlFile(file);
    if (!settings)
        return std::nullopt;
    const LVLutrisGame game = games.value(QFileInfo(file).completeBaseName());
    const QString program = programOf(*settings, game, home);
    QString prefix = lv::expandHome(lv::yamlText(*settings, {"game", "prefix"}), home);
    if (prefix.isEmpty())
        prefix = lv::winePrefixOf(program);
    if (prefix.isEmpty())
        return std::nullopt;
    const QList<LVLauncherGame> known =
        game.id.isEmpty() ? QList<LVLauncherGame>() : QList<LVLauncherGame>{{game.id, program}};
    return LVLauncherPrefix{prefix, LVPrefixKind::Lutris, copy, known};
}

class LVLutris : public LVLauncher {
public:
    LVPrefixKind kind() const override { return LVPrefixKind::Lutris; }

    QList<LVLauncherPrefix> prefixes(const LVLauncherFolders &folders) const override {
        QList<LVLauncherPrefix> found;
        for (const QString &folder : lv::sortedSubfolders(folders.home + QStringLiteral("/Games")))
            found.append({folder, LVPrefixKind::Lutris, LVLauncherCopy::Native, {}});
        for (const LVLutrisCopy &copy : lutrisCopies(folders)) {
            const QHash<QString, LVLutrisGame> games = installedGames(copy.database);
            for (const QString &folder : copy.gameFolders)
                for (const QString &file : lv::sortedEntries(folder, QDir::Files, {QStringLiteral("*.yml")}))
                    if (const std::optional<LVLauncherPrefix> prefix = gamePrefix(file, games, copy.copy, folders.home))
                        found.append(*prefix);
        }
        return found;
    }

    std::optional<LVLaunchCommand> command(const LVGameInstallation &install,
                                           const LVFindExecutable &findExecutable) const override {
        if (install.launcherId.isEmpty())
            return std::nullopt;
        return lv::copyCommand(install.copy, findExecutable, QStringLiteral("lutris"),
                               {QStringLiteral("net.lutris.Lutris")},
                               {QStringLiteral("lutris:rungameid/") + install.launcherId});
    }
};

} // namespace

std::unique_ptr<LVLauncher> lv::makeLutris() {
    return std::make_unique<LVLutris>();
}
