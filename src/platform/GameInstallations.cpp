#include "platform/GameInstallations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

struct LVFlavor {
    QString folder;       // "" for the game folder itself
    QStringList programs; // without ".exe", in the order they are looked for
    const char *name;     // what the user is shown, once translated

    // The flavors in the order they are searched; the game folder itself comes last.
    static const QList<LVFlavor> &all();

    Q_DECLARE_TR_FUNCTIONS(GameInstallations)
};

const QList<LVFlavor> &LVFlavor::all() {
    static const QList<LVFlavor> table{
        {QStringLiteral("_retail_"), {QStringLiteral("Wow")}, QT_TR_NOOP("Retail")},
        {QStringLiteral("_classic_"), {QStringLiteral("WowClassic")}, QT_TR_NOOP("Classic")},
        {QStringLiteral("_classic_era_"), {QStringLiteral("WowClassic")}, QT_TR_NOOP("Classic Era")},
        {QStringLiteral("_anniversary_"), {QStringLiteral("WowClassic")}, QT_TR_NOOP("Anniversary")},
        {QStringLiteral("_ptr_"), {QStringLiteral("WowT")}, QT_TR_NOOP("Test realm")},
        {QStringLiteral("_xptr_"), {QStringLiteral("WowT")}, QT_TR_NOOP("Experimental test realm")},
        {QStringLiteral("_beta_"), {QStringLiteral("WowB")}, QT_TR_NOOP("Beta")},
        {QStringLiteral("_classic_ptr_"), {QStringLiteral("WowClassicT")}, QT_TR_NOOP("Classic test realm")},
        {QStringLiteral(""), {QStringLiteral("Wow"), QStringLiteral("WowClassic")}, QT_TR_NOOP("Game folder")},
    };
    return table;
}

const QStringList &programFolders() {
    static const QStringList folders{QStringLiteral("drive_c/Program Files (x86)/World of Warcraft"),
                                     QStringLiteral("drive_c/Program Files/World of Warcraft")};
    return folders;
}

bool isFlavorFolder(const QString &name) {
    for (const LVFlavor &flavor : LVFlavor::all())
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
        return QStringLiteral(QT_TRANSLATE_NOOP("GameInstallations", "Custom prefix"));
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
    return QStringLiteral(QT_TRANSLATE_NOOP("GameInstallations", "Chosen by hand"));
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
    // The launchers' names stay as they are; "Custom prefix" and "Chosen by hand" are translated.
    const QString kind = QCoreApplication::translate("GameInstallations", prefixKindName(install.kind).toUtf8());
    return install.copy == LVLauncherCopy::Native ? kind
                                                  : QStringLiteral("%1 (%2)").arg(kind, launcherCopyName(install.copy));
}

QString flavorName(const QString &flavor) {
    for (const LVFlavor &known : LVFlavor::all())
        if (known.folder == flavor)
            return LVFlavor::tr(known.name);
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
        for (const LVFlavor &flavor : LVFlavor::all())
            folders << QDir::cleanPath(prefix + QLatin1Char('/') + programFolder + QLatin1Char('/') + flavor.folder);
    return folders;
}

QList<LVGameInstallation> installationsInPrefix(const QString &prefix) {
    QList<LVGameInstallation> found;
    for (const QString &programFolder : programFolders()) {
        const QString gameFolder = prefix + QLatin1Char('/') + programFolder;
        if (!QFileInfo(gameFolder).isDir())
            continue;
        for (const LVFlavor &flavor : LVFlavor::all()) {
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
