// PortProton keeps its prefixes in data/prefixes/<name> of its folder (~/PortProton, or inside its
// Flatpak's folder), and starts a Windows program with data/scripts/start.sh PROGRAM, or
// `flatpak run ru.linux_gaming.PortProton PROGRAM` as a Flatpak, with the prefix and runner it
// keeps for that program (Castro-Fidel/PortWINE, data_from_portwine/scripts/functions_helper, the
// desktop entries it writes).

#include "platform/launchers/LauncherFiles.h"
#include "platform/launchers/Launchers.h"

#include <QFileInfo>

namespace {

class LVPortProton : public LVLauncher {
public:
    LVPrefixKind kind() const override { return LVPrefixKind::PortProton; }

    QList<LVLauncherPrefix> prefixes(const LVLauncherFolders &folders) const override {
        QList<LVLauncherPrefix> found;
        const QList<std::pair<LVLauncherCopy, QString>> roots{
            {LVLauncherCopy::Native, folders.dataHome + QStringLiteral("/PortProton")},
            {LVLauncherCopy::Native, folders.home + QStringLiteral("/PortProton")},
            {LVLauncherCopy::Flatpak, folders.home + QStringLiteral("/.var/app/ru.linux_gaming.PortProton")}};
        for (const auto &[copy, root] : roots)
            for (const QString &prefix : lv::sortedSubfolders(root + QStringLiteral("/data/prefixes")))
                found.append({prefix, LVPrefixKind::PortProton, copy, {}});
        return found;
    }

    // PortProton needs no id: it keeps its settings by the program.
    std::optional<LVLaunchCommand> command(const LVGameInstallation &install,
                                           const LVFindExecutable &findExecutable) const override {
        const QString start = QDir::cleanPath(install.prefix + QStringLiteral("/../../scripts/start.sh"));
        if (install.copy == LVLauncherCopy::Native && QFileInfo(start).isExecutable())
            return LVLaunchCommand{start, {install.executable}, {}, {}};
        return lv::copyCommand(install.copy, findExecutable, QStringLiteral("portproton"),
                               {QStringLiteral("ru.linux_gaming.PortProton")}, {install.executable});
    }
};

} // namespace

std::unique_ptr<LVLauncher> lv::makePortProton() {
    return std::make_unique<LVPortProton>();
}
