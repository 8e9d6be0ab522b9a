#include "platform/GameInstallations.h"

#include <QDir>
#include <QFileInfo>

namespace {

struct LVFlavor {
    QString folder;       // "" for the game folder itself
    QStringList programs; // without ".exe", in the order they are looked for
    QString name;         // what the user is shown
};

// The flavors in the order they are searched; the game folder itself comes last.
const QList<LVFlavor> &flavors() {
    static const QList<LVFlavor> table{
        {QStringLiteral("_retail_"), {QStringLiteral("Wow")}, QStringLiteral("Retail")},
        {QStringLiteral("_classic_"), {QStringLiteral("WowClassic")}, QStringLiteral("Classic")},
        {QStringLiteral("_classic_era_"), {QStringLiteral("WowClassic")}, QStringLiteral("Classic Era")},
        {QStringLiteral("_anniversary_"), {QStringLiteral("WowClassic")}, QStringLiteral("Anniversary")},
        {QStringLiteral("_ptr_"), {QStringLiteral("WowT")}, QStringLiteral("Test realm")},
        {QStringLiteral("_xptr_"), {QStringLiteral("WowT")}, QStringLiteral("Experimental test realm")},
        {QStringLiteral("_beta_"), {QStringLiteral("WowB")}, QStringLiteral("Beta")},
        {QStringLiteral("_classic_ptr_"), {QStringLiteral("WowClassicT")}, QStringLiteral("Classic test realm")},
        {QStringLiteral(""), {QStringLiteral("Wow"), QStringLiteral("WowClassic")}, QStringLiteral("Game folder")},
    };
    return table;
}

const QStringList &programFolders() {
    static const QStringList folders{QStringLiteral("drive_c/Program Files (x86)/World of Warcraft"),
                                     QStringLiteral("drive_c/Program Files/World of Warcraft")};
    return folders;
}

bool isFlavorFolder(const QString &name) {
    for (const LVFlavor &flavor : flavors())
        if (!flavor.folder.isEmpty() && flavor.folder == name)
            return true;
    return false;
}

QString withoutProgramSuffix(const QString &fileName) {
    for (const QLatin1String suffix : {QLatin1String(".exe"), QLatin1String(".app")})
        if (fileName.endsWith(suffix, Qt::CaseInsensitive) && fileName.size() > suffix.size())
            return fileName.chopped(suffix.size());
    return fileName;
}

} // namespace

namespace lv {

QString prefixKindName(LVPrefixKind kind) {
    switch (kind) {
    case LVPrefixKind::Wine:
        return QStringLiteral("Wine");
    case LVPrefixKind::Custom:
        return QStringLiteral("Custom prefix");
    case LVPrefixKind::Lutris:
        return QStringLiteral("Lutris");
    case LVPrefixKind::Steam:
        return QStringLiteral("Steam");
    case LVPrefixKind::Bottles:
        return QStringLiteral("Bottles");
    case LVPrefixKind::Heroic:
        return QStringLiteral("Heroic");
    case LVPrefixKind::Faugus:
        return QStringLiteral("Faugus");
    case LVPrefixKind::PortProton:
        return QStringLiteral("PortProton");
    case LVPrefixKind::Manual:
        break;
    }
    return QStringLiteral("Chosen by hand");
}

QString launcherCopyName(LVLauncherCopy copy) {
    switch (copy) {
    case LVLauncherCopy::Flatpak:
        return QStringLiteral("Flatpak");
    case LVLauncherCopy::Snap:
        return QStringLiteral("Snap");
    case LVLauncherCopy::Native:
        break;
    }
    return QStringLiteral("Native");
}

QString installSourceName(const LVGameInstallation &install) {
    const QString kind = prefixKindName(install.kind);
    return install.copy == LVLauncherCopy::Native ? kind
                                                  : QStringLiteral("%1 (%2)").arg(kind, launcherCopyName(install.copy));
}

QString flavorName(const QString &flavor) {
    for (const LVFlavor &known : flavors())
        if (known.folder == flavor)
            return known.name;
    return flavor;
}

LVExecutableIdentity identifyExecutable(const QString &path) {
    // A path as a Windows program sees it counts too.
    const QString cleaned = QDir::cleanPath(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')));
    const QString folderName = cleaned.section(QLatin1Char('/'), -2, -2);
    return {isFlavorFolder(folderName) ? folderName : QStringLiteral(""),
            withoutProgramSuffix(cleaned.section(QLatin1Char('/'), -1))};
}

QString winePrefixOf(const QString &path) {
    const QString cleaned = QDir::cleanPath(path);
    const qsizetype at = cleaned.lastIndexOf(QStringLiteral("/drive_c/"));
    return at > 0 ? cleaned.left(at) : QString();
}

LVGameInstallation installationAt(const QString &executable) {
    return {executable, identifyExecutable(executable).flavor, winePrefixOf(executable), LVPrefixKind::Manual,
            QString()};
}

QString gameFolderOf(const LVGameInstallation &install) {
    const QString folder = QFileInfo(install.executable).path();
    return install.flavor.isEmpty() ? folder : QFileInfo(folder).path();
}

QStringList gameFoldersInPrefix(const QString &prefix) {
    QStringList folders;
    for (const QString &programFolder : programFolders())
        for (const LVFlavor &flavor : flavors())
            folders << QDir::cleanPath(prefix + QLatin1Char('/') + programFolder + QLatin1Char('/') + flavor.folder);
    return folders;
}

QList<LVGameInstallation> installationsInPrefix(const QString &prefix) {
    QList<LVGameInstallation> found;
    for (const QString &programFolder : programFolders()) {
        const QString gameFolder = prefix + QLatin1Char('/') + programFolder;
        if (!QFileInfo(gameFolder).isDir())
            continue;
        for (const LVFlavor &flavor : flavors()) {
            const QString folder = QDir::cleanPath(gameFolder + QLatin1Char('/') + flavor.folder);
            for (const QString &program : flavor.programs) {
                const QString executable = folder + QLatin1Char('/') + program + QStringLiteral(".exe");
                if (QFileInfo(executable).isFile())
                    found.append({executable, flavor.folder, prefix, LVPrefixKind::Manual, QString()});
            }
        }
    }
    return found;
}

} // namespace lv
