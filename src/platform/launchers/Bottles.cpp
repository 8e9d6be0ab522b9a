// Bottles keeps each bottle in a folder of its bottles folder (or of the custom_bottles_path its
// data.yml names), with the bottle's settings in bottle.yml. A bottle made on a custom path leaves
// only a placeholder.yml there, whose `Path:` is the bottle's folder. bottles-cli finds a bottle by
// the `Name:` of its bottle.yml, which differs from the folder's name whenever it has a space
// ("World of Warcraft" lives in World-of-Warcraft) (bottlesdevs/Bottles,
// bottles/backend/managers/manager.py, check_bottles and create_bottle).

#include "platform/launchers/LauncherFiles.h"
#include "platform/launchers/Launchers.h"

#include <QFileInfo>

namespace {

struct LVBottlesCopy {
    LVLauncherCopy copy;
    QString base; // Bottles' data folder
};

// The folder of a bottle listed in the bottles folder: a placeholder's Path, else itself.
QString bottleFolder(const QString &listed) {
    const std::optional<YAML::Node> placeholder = lv::readYamlFile(listed + QStringLiteral("/placeholder.yml"));
    const QString path = placeholder ? lv::yamlText(*placeholder, {"Path"}) : QString();
    return path.isEmpty() ? listed : path;
}

LVLauncherPrefix bottle(const QString &listed, LVLauncherCopy copy) {
    const QString folder = bottleFolder(listed);
    const std::optional<YAML::Node> settings = lv::readYamlFile(folder + QStringLiteral("/bottle.yml"));
    const QString name = settings ? lv::yamlText(*settings, {"Name"}) : QString();
    // Without its settings Bottles does not know the bottle: no name starts it.
    return {folder, LVPrefixKind::Bottles, copy,
            name.isEmpty() ? QList<LVLauncherGame>() : QList<LVLauncherGame>{{name, QString()}}};
}

QStringList bottlesFolders(const QString &base) {
    QStringList folders;
    const std::optional<YAML::Node> data = lv::readYamlFile(base + QStringLiteral("/data.yml"));
    const QString custom = data ? lv::yamlText(*data, {"custom_bottles_path"}) : QString();
    if (!custom.isEmpty())
        folders << custom;
    return folders << base + QStringLiteral("/bottles");
}

class LVBottles : public LVLauncher {
public:
    LVPrefixKind kind() const override { return LVPrefixKind::Bottles; }

    QList<LVLauncherPrefix> prefixes(const LVLauncherFolders &folders) const override {
        QList<LVLauncherPrefix> found;
        for (const LVBottlesCopy &copy :
             {LVBottlesCopy{LVLauncherCopy::Native, folders.dataHome + QStringLiteral("/bottles")},
              LVBottlesCopy{LVLauncherCopy::Flatpak,
                            folders.home + QStringLiteral("/.var/app/com.usebottles.bottles/data/bottles")}})
            for (const QString &bottles : bottlesFolders(copy.base))
                for (const QString &listed : lv::sortedSubfolders(bottles))
                    found.append(bottle(listed, copy.copy));
        return found;
    }

    std::optional<LVLaunchCommand> command(const LVGameInstallation &install,
                                           const LVFindExecutable &findExecutable) const override {
        if (install.launcherId.isEmpty())
            return std::nullopt;
        return lv::copyCommand(install.copy, findExecutable, QStringLiteral("bottles-cli"),
                               {QStringLiteral("--command=bottles-cli"), QStringLiteral("com.usebottles.bottles")},
                               {QStringLiteral("run"), QStringLiteral("-b"), install.launcherId, QStringLiteral("-e"),
                                install.executable});
    }
};

} // namespace

std::unique_ptr<LVLauncher> lv::makeBottles() {
    return std::make_unique<LVBottles>();
}
