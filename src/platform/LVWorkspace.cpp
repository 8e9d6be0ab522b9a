#include "platform/LVWorkspace.h"

#include "platform/LVLauncherProcess.h"
#include "platform/LVLinuxWorkspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

LVLaunchCommand failed(QString *error, const QString &reason) {
    if (error)
        *error = reason;
    return {};
}

class LVGenericWorkspace : public LVWorkspace {
public:
    QString fullPathForApplication(const QString &) const override { return {}; }
};

// What opens a document or a bundle the way the desktop would.
QString desktopOpener() {
#ifdef Q_OS_MACOS
    return QStringLiteral("open");
#else
    return QStringLiteral("xdg-open");
#endif
}

} // namespace

LVLaunchCommand LVWorkspace::commandToLaunch(const QString &path, QString *error) const {
    const QFileInfo program(path);
    if (path.isEmpty() || !program.exists())
        return failed(error, QCoreApplication::translate("LVWorkspace", "The game was not found at %1").arg(path));
    const QProcessEnvironment environment = launchEnvironment();
    const LVFindExecutable findExecutable = [&environment](const QString &name) {
        return lv::findExecutableIn(name, environment);
    };
#ifndef Q_OS_WIN
    if (program.suffix().compare(QLatin1String("exe"), Qt::CaseInsensitive) == 0)
        return lv::launchCommand(installationOf(program.absoluteFilePath()), findExecutable, error);
#endif
    if (program.isFile() && program.isExecutable())
        return {program.absoluteFilePath(), {}, {}, program.absolutePath()};
    const QString opener = findExecutable(desktopOpener());
    if (opener.isEmpty())
        return failed(error, QCoreApplication::translate("LVWorkspace", "Nothing could open %1").arg(path));
    return {opener, {program.absoluteFilePath()}, {}, program.absolutePath()};
}

std::unique_ptr<LVLauncherProcess> LVWorkspace::launchApplication(const QString &path, QString *error) {
    const LVLaunchCommand command = commandToLaunch(path, error);
    if (command.program.isEmpty())
        return nullptr;
    auto process = std::make_unique<LVLauncherProcess>(command);
    return process->start(launchEnvironment(), error) ? std::move(process) : nullptr;
}

LVGameInstallation LVWorkspace::installationOf(const QString &executable) const {
    return lv::installationAt(executable);
}

QProcessEnvironment LVWorkspace::launchEnvironment() const {
    return QProcessEnvironment::systemEnvironment();
}

std::unique_ptr<LVWorkspace> lv::makePlatformWorkspace() {
#ifdef Q_OS_LINUX
    return std::make_unique<LVLinuxWorkspace>(QDir::homePath(), QProcessEnvironment::systemEnvironment());
#else
    return std::make_unique<LVGenericWorkspace>();
#endif
}
