#include "platform/LVLinuxWorkspace.h"

#include "platform/launchers/LauncherFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace {

QString folderFromEnvironment(const QProcessEnvironment &environment, const QString &variable,
                              const QString &fallback) {
    const QString value = environment.value(variable);
    // A relative value is invalid and ignored, as the XDG rules ask.
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : fallback;
}

// Collects prefixes in the order they are offered, each once by its canonical path. A prefix named
// again by the same launcher gains the games named with it, and the copy of the first that names one.
class LVPrefixCollector {
public:
    void add(LVLauncherPrefix prefix) {
        prefix.path = lv::prefixFolderAt(prefix.path);
        if (prefix.path.isEmpty())
            return;
        const QString canonical = lv::canonicalOrClean(prefix.path);
        const auto seen = mIndex.constFind(canonical);
        if (seen == mIndex.cend()) {
            mIndex.insert(canonical, prefixes.size());
            prefixes.append(prefix);
            return;
        }
        LVLauncherPrefix &known = prefixes[*seen];
        if (known.kind != prefix.kind)
            return;
        if (known.games.isEmpty())
            known.copy = prefix.copy;
        known.games << prefix.games;
    }

    QList<LVLauncherPrefix> prefixes;

private:
    QHash<QString, qsizetype> mIndex;
};

LVGameInstallation madeBy(LVGameInstallation install, const LVLauncherPrefix &prefix) {
    install.prefix = prefix.path;
    install.kind = prefix.kind;
    install.copy = prefix.copy;
    install.launcherId = lv::gameIdFor(install, prefix.games);
    return install;
}

} // namespace

LVLinuxWorkspace::LVLinuxWorkspace(const QString &homeFolder, const QProcessEnvironment &environment)
    : mHome(homeFolder)
    , mEnvironment(environment) {}

QList<LVLauncherPrefix> LVLinuxWorkspace::winePrefixes() const {
    const LVLauncherFolders folders{
        mHome,
        folderFromEnvironment(mEnvironment, QStringLiteral("XDG_DATA_HOME"), mHome + QStringLiteral("/.local/share")),
        folderFromEnvironment(mEnvironment, QStringLiteral("XDG_CONFIG_HOME"), mHome + QStringLiteral("/.config")),
        lv::expandHome(mEnvironment.value(QStringLiteral("WINEPREFIX")), mHome)};
    LVPrefixCollector collector;
    for (const std::unique_ptr<LVLauncher> &launcher : lv::launchers())
        for (const LVLauncherPrefix &prefix : launcher->prefixes(folders))
            collector.add(prefix);
    return collector.prefixes;
}

QList<LVGameInstallation> LVLinuxWorkspace::findInstallations() const {
    QList<LVGameInstallation> installations;
    for (const LVLauncherPrefix &prefix : winePrefixes())
        for (const LVGameInstallation &install : lv::installationsInPrefix(prefix.path))
            installations << madeBy(install, prefix);
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
    const QString program = lv::canonicalOrClean(executable);
    for (const LVLauncherPrefix &prefix : winePrefixes())
        if (program.startsWith(lv::canonicalOrClean(prefix.path) + QLatin1Char('/')))
            return madeBy(lv::installationAt(executable), prefix);
    return lv::installationAt(executable);
}
