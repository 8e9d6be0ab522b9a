#include "platform/LVWorkspace.h"

#include "platform/LVLinuxWorkspace.h"
#include "platform/LaunchCommand.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

bool fail(QString *error, const QString &reason) {
    if (error)
        *error = reason;
    return false;
}

bool startProgram(const QString &program, const QStringList &arguments, const QString &workingFolder,
                  const QProcessEnvironment &environment, QString *error) {
    return lv::startLaunchCommand(LVLaunchCommand{program, arguments, {}, workingFolder}, environment, error);
}

class LVGenericWorkspace : public LVWorkspace {
public:
    QString fullPathForApplication(const QString &) const override { return {}; }
};

} // namespace

bool LVWorkspace::launchApplication(const QString &path, QString *error) {
    const QFileInfo program(path);
    if (path.isEmpty() || !program.exists())
        return fail(error, QStringLiteral("The game was not found at %1").arg(path));
#ifndef Q_OS_WIN
    if (program.suffix().compare(QLatin1String("exe"), Qt::CaseInsensitive) == 0)
        return launchWindowsProgram(program.absoluteFilePath(), error);
#endif
#ifdef Q_OS_MACOS
    if (program.suffix() == QLatin1String("app"))
        return startProgram(QStringLiteral("open"), {program.absoluteFilePath()}, program.absolutePath(),
                            launchEnvironment(), error);
#endif
    if (program.isFile() && program.isExecutable())
        return startProgram(program.absoluteFilePath(), {}, program.absolutePath(), launchEnvironment(), error);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(program.absoluteFilePath())))
        return fail(error, QStringLiteral("Nothing could open %1").arg(path));
    return true;
}

LVGameInstallation LVWorkspace::installationOf(const QString &executable) const {
    return lv::installationAt(executable);
}

QProcessEnvironment LVWorkspace::launchEnvironment() const {
    return QProcessEnvironment::systemEnvironment();
}

bool LVWorkspace::launchWindowsProgram(const QString &path, QString *error) {
    const QProcessEnvironment environment = launchEnvironment();
    const LVLaunchCommand command = lv::launchCommand(
        installationOf(path), [&environment](const QString &name) { return lv::findExecutableIn(name, environment); },
        error);
    return !command.program.isEmpty() && lv::startLaunchCommand(command, environment, error);
}

std::unique_ptr<LVWorkspace> lv::makePlatformWorkspace() {
#ifdef Q_OS_LINUX
    return std::make_unique<LVLinuxWorkspace>(QDir::homePath(), QProcessEnvironment::systemEnvironment());
#else
    return std::make_unique<LVGenericWorkspace>();
#endif
}
