#include "platform/LaunchCommand.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <optional>

namespace {

using LVFindExecutable = std::function<QString(const QString &)>;

// The launcher's own program when it is installed, else its Flatpak through flatpak run.
std::optional<LVLaunchCommand> nativeOrFlatpak(const LVFindExecutable &findExecutable, const QString &native,
                                               const QStringList &flatpakRun, const QStringList &arguments) {
    const QString program = findExecutable(native);
    if (!program.isEmpty())
        return LVLaunchCommand{program, arguments, {}, {}};
    const QString flatpak = findExecutable(QStringLiteral("flatpak"));
    if (!flatpak.isEmpty())
        return LVLaunchCommand{flatpak, QStringList{QStringLiteral("run")} + flatpakRun + arguments, {}, {}};
    return std::nullopt;
}

std::optional<LVLaunchCommand> heroicCommand(const LVGameInstallation &install,
                                             const LVFindExecutable &findExecutable) {
    const QString link = QStringLiteral("heroic://launch/") + install.launcherId;
    for (const QString &name : {QStringLiteral("heroic"), QStringLiteral("xdg-open")}) {
        const QString program = findExecutable(name);
        if (!program.isEmpty())
            return LVLaunchCommand{program, {link}, {}, {}};
    }
    return std::nullopt;
}

std::optional<LVLaunchCommand> launcherCommand(const LVGameInstallation &install,
                                               const LVFindExecutable &findExecutable) {
    if (install.launcherId.isEmpty())
        return std::nullopt;
    switch (install.kind) {
    case LVPrefixKind::Steam:
        return nativeOrFlatpak(findExecutable, QStringLiteral("steam"), {QStringLiteral("com.valvesoftware.Steam")},
                               {QStringLiteral("steam://rungameid/") + lv::steamGameId(install.launcherId)});
    case LVPrefixKind::Lutris:
        return nativeOrFlatpak(findExecutable, QStringLiteral("lutris"), {QStringLiteral("net.lutris.Lutris")},
                               {QStringLiteral("lutris:rungame/") + install.launcherId});
    case LVPrefixKind::Bottles:
        return nativeOrFlatpak(findExecutable, QStringLiteral("bottles-cli"),
                               {QStringLiteral("--command=bottles-cli"), QStringLiteral("com.usebottles.bottles")},
                               {QStringLiteral("run"), QStringLiteral("-b"), install.launcherId, QStringLiteral("-e"),
                                install.executable});
    case LVPrefixKind::Heroic:
        return heroicCommand(install, findExecutable);
    default:
        return std::nullopt;
    }
}

} // namespace

namespace lv {

QString findExecutableIn(const QString &name, const QProcessEnvironment &environment) {
    const QStringList folders = environment.value(QStringLiteral("PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    // With no folders, QStandardPaths would search the client's own PATH instead.
    return folders.isEmpty() ? QString() : QStandardPaths::findExecutable(name, folders);
}

QString steamGameId(const QString &appId) {
    bool isNumber = false;
    const quint64 id = appId.toULongLong(&isNumber);
    if (!isNumber || id < 0x80000000ULL || id > 0xFFFFFFFFULL)
        return appId;
    return QString::number((id << 32) | 0x02000000ULL);
}

LVLaunchCommand launchCommand(const LVGameInstallation &install,
                              const std::function<QString(const QString &)> &findExecutable, QString *error) {
    if (const std::optional<LVLaunchCommand> launcher = launcherCommand(install, findExecutable))
        return *launcher;
    const QString wine = findExecutable(QStringLiteral("wine"));
    if (wine.isEmpty()) {
        if (error)
            *error = QStringLiteral("No Wine found to start the game: start it from your launcher");
        return {};
    }
    LVLaunchCommand command{wine, {install.executable}, {}, QFileInfo(install.executable).absolutePath()};
    if (!install.prefix.isEmpty())
        command.environment.insert(QStringLiteral("WINEPREFIX"), install.prefix);
    return command;
}

bool startLaunchCommand(const LVLaunchCommand &command, const QProcessEnvironment &environment, QString *error) {
    QProcessEnvironment processEnvironment = environment;
    for (auto variable = command.environment.cbegin(); variable != command.environment.cend(); ++variable)
        processEnvironment.insert(variable.key(), variable.value());
    QProcess process;
    process.setProgram(command.program);
    process.setArguments(command.arguments);
    process.setProcessEnvironment(processEnvironment);
    process.setWorkingDirectory(command.workingFolder);
    if (process.startDetached())
        return true;
    if (error)
        *error = QStringLiteral("Could not start %1: %2").arg(command.program, process.errorString());
    return false;
}

} // namespace lv
