#include "platform/LVLinuxWorkspace.h"

#include "common/FileContents.h"
#include "platform/LauncherConfigs.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace {

struct LVSearchRoots {
    QString home;
    QString dataHome;   // $XDG_DATA_HOME, ~/.local/share by default
    QString configHome; // $XDG_CONFIG_HOME, ~/.config by default
};

QString folderFromEnvironment(const QProcessEnvironment &environment, const QString &variable,
                              const QString &fallback) {
    const QString value = environment.value(variable);
    // A relative value is invalid and ignored, as the XDG rules ask.
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : fallback;
}

QString canonicalOrClean(const QString &path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

// Entries of a folder, sorted by name, so that a search always meets them in the same order.
QStringList sortedEntries(const QString &folder, QDir::Filters filters, const QStringList &nameFilters = {}) {
    QStringList paths;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(nameFilters, filters | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

QStringList sortedSubfolders(const QString &folder) {
    return sortedEntries(folder, QDir::Dirs);
}

// Collects prefixes in the order they are offered, each once by its canonical path.
class LVPrefixCollector {
public:
    void add(const QString &path, LVPrefixKind kind, const QString &launcherId = QString()) {
        const QString cleaned = QDir::cleanPath(path);
        if (path.isEmpty() || !QFileInfo(cleaned + QStringLiteral("/drive_c")).isDir())
            return;
        const QString canonical = canonicalOrClean(cleaned);
        if (mSeen.contains(canonical))
            return;
        mSeen.insert(canonical);
        prefixes.append({cleaned, kind, launcherId});
    }

    QList<LVWinePrefix> prefixes;

private:
    QSet<QString> mSeen;
};

// The launcher ids its settings give to prefixes, by canonical prefix; the first naming wins.
QHash<QString, QString> idsByPrefix(const QList<LVLauncherPrefix> &named) {
    QHash<QString, QString> ids;
    for (const LVLauncherPrefix &entry : named)
        if (!ids.contains(canonicalOrClean(entry.prefix)))
            ids.insert(canonicalOrClean(entry.prefix), entry.launcherId);
    return ids;
}

// Prefixes made in launcher folders, then those the launcher's settings name elsewhere.
void addFoldersThenNamed(LVPrefixCollector &collector, LVPrefixKind kind, const QStringList &folders,
                         const QList<LVLauncherPrefix> &named) {
    const QHash<QString, QString> ids = idsByPrefix(named);
    for (const QString &folder : folders)
        for (const QString &prefix : sortedSubfolders(folder))
            collector.add(prefix, kind, ids.value(canonicalOrClean(prefix)));
    for (const LVLauncherPrefix &entry : named)
        collector.add(entry.prefix, kind, entry.launcherId);
}

QList<LVLauncherPrefix> lutrisGames(const LVSearchRoots &roots) {
    const QString flatpak = roots.home + QStringLiteral("/.var/app/net.lutris.Lutris");
    QList<LVLauncherPrefix> games;
    for (const QString &folder :
         {roots.configHome + QStringLiteral("/lutris/games"), roots.dataHome + QStringLiteral("/lutris/games"),
          flatpak + QStringLiteral("/config/lutris/games"), flatpak + QStringLiteral("/data/lutris/games")}) {
        for (const QString &file : sortedEntries(folder, QDir::Files, {QStringLiteral("*.yml")})) {
            const LVLauncherPrefix game =
                lv::lutrisGamePrefix(QString::fromUtf8(lv::contentsOfFile(file).value_or(QByteArray())),
                                     QFileInfo(file).fileName(), roots.home);
            if (!game.prefix.isEmpty())
                games.append(game);
        }
    }
    return games;
}

QList<LVLauncherPrefix> heroicGames(const LVSearchRoots &roots) {
    QList<LVLauncherPrefix> games;
    for (const QString &folder :
         {roots.configHome + QStringLiteral("/heroic/GamesConfig"),
          roots.home + QStringLiteral("/.var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig")})
        for (const QString &file : sortedEntries(folder, QDir::Files, {QStringLiteral("*.json")}))
            games << lv::heroicGamePrefixes(lv::contentsOfFile(file).value_or(QByteArray()), roots.home);
    return games;
}

// Every Steam library: each Steam folder, then the libraries its libraryfolders.vdf lists.
QStringList steamLibraries(const LVSearchRoots &roots) {
    QStringList libraries;
    // ~/.local/share/Steam comes first: it is the folder ~/.steam/steam usually links to.
    for (const QString &steam :
         {roots.home + QStringLiteral("/.local/share/Steam"), roots.home + QStringLiteral("/.steam/steam"),
          roots.home + QStringLiteral("/.var/app/com.valvesoftware.Steam/.local/share/Steam"),
          roots.dataHome + QStringLiteral("/Steam")}) {
        libraries << steam;
        const std::optional<QByteArray> vdf =
            lv::contentsOfFile(steam + QStringLiteral("/steamapps/libraryfolders.vdf"));
        if (vdf)
            for (const QString &library : lv::steamLibraryFolders(QString::fromUtf8(*vdf)))
                libraries << lv::expandHome(library, roots.home);
    }
    return libraries;
}

void addSteam(LVPrefixCollector &collector, const LVSearchRoots &roots) {
    for (const QString &library : steamLibraries(roots))
        for (const QString &app : sortedSubfolders(library + QStringLiteral("/steamapps/compatdata")))
            collector.add(app + QStringLiteral("/pfx"), LVPrefixKind::Steam, QFileInfo(app).fileName());
}

void addBottles(LVPrefixCollector &collector, const LVSearchRoots &roots) {
    for (const QString &bottles :
         {roots.dataHome + QStringLiteral("/bottles/bottles"),
          roots.home + QStringLiteral("/.var/app/com.usebottles.bottles/data/bottles/bottles")})
        for (const QString &bottle : sortedSubfolders(bottles))
            collector.add(bottle, LVPrefixKind::Bottles, QFileInfo(bottle).fileName());
}

void addEachSubfolder(LVPrefixCollector &collector, LVPrefixKind kind, const QStringList &folders) {
    for (const QString &folder : folders)
        for (const QString &prefix : sortedSubfolders(folder))
            collector.add(prefix, kind);
}

} // namespace

LVLinuxWorkspace::LVLinuxWorkspace(const QString &homeFolder, const QProcessEnvironment &environment)
    : mHome(homeFolder)
    , mEnvironment(environment) {}

QList<LVWinePrefix> LVLinuxWorkspace::winePrefixes() const {
    const LVSearchRoots roots{
        mHome,
        folderFromEnvironment(mEnvironment, QStringLiteral("XDG_DATA_HOME"), mHome + QStringLiteral("/.local/share")),
        folderFromEnvironment(mEnvironment, QStringLiteral("XDG_CONFIG_HOME"), mHome + QStringLiteral("/.config"))};
    LVPrefixCollector collector;
    collector.add(lv::expandHome(mEnvironment.value(QStringLiteral("WINEPREFIX")), mHome), LVPrefixKind::Custom);
    collector.add(mHome + QStringLiteral("/.wine"), LVPrefixKind::Wine);
    addFoldersThenNamed(collector, LVPrefixKind::Lutris, {mHome + QStringLiteral("/Games")}, lutrisGames(roots));
    addSteam(collector, roots);
    addBottles(collector, roots);
    const QString heroicPrefixes = mHome + QStringLiteral("/Games/Heroic/Prefixes");
    addFoldersThenNamed(collector, LVPrefixKind::Heroic, {heroicPrefixes, heroicPrefixes + QStringLiteral("/default")},
                        heroicGames(roots));
    addEachSubfolder(collector, LVPrefixKind::Faugus,
                     {mHome + QStringLiteral("/Faugus"), roots.dataHome + QStringLiteral("/faugus-launcher/prefixes")});
    addEachSubfolder(collector, LVPrefixKind::PortProton,
                     {roots.dataHome + QStringLiteral("/PortProton/data/prefixes"),
                      mHome + QStringLiteral("/PortProton/data/prefixes")});
    return collector.prefixes;
}

QList<LVGameInstallation> LVLinuxWorkspace::findInstallations() const {
    QList<LVGameInstallation> installations;
    for (const LVWinePrefix &prefix : winePrefixes())
        installations << lv::installationsInPrefix(prefix.path, prefix.kind, prefix.launcherId);
    return installations;
}

QString LVLinuxWorkspace::fullPathForApplication(const QString &name) const {
    if (name.isEmpty())
        return {};
    for (const LVGameInstallation &installation : findInstallations())
        if (lv::identifyExecutable(installation.executable).applicationName == name)
            return installation.executable;
    return {};
}

LVGameInstallation LVLinuxWorkspace::installationOf(const QString &executable) const {
    const QString program = canonicalOrClean(executable);
    for (const LVWinePrefix &prefix : winePrefixes()) {
        if (program.startsWith(canonicalOrClean(prefix.path) + QLatin1Char('/')))
            return {executable, lv::identifyExecutable(executable).flavor, prefix.path, prefix.kind, prefix.launcherId};
    }
    return lv::installationAt(executable);
}
