#include "platform/LVWorkspace.h"

#include "platform/LVLinuxWorkspace.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QUrl>

namespace {

bool startDetached(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
                   const QString &workingFolder) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingFolder);
    return process.startDetached();
}

// The prefix is the folder that holds drive_c, when the path lies inside one.
QString winePrefixOf(const QString &path) {
    const qsizetype at = path.indexOf(QStringLiteral("/drive_c/"));
    return at > 0 ? path.left(at) : QString();
}

bool launchWithWine(const QFileInfo &program) {
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    if (wine.isEmpty())
        return false;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString prefix = winePrefixOf(program.absoluteFilePath());
    if (!prefix.isEmpty())
        environment.insert(QStringLiteral("WINEPREFIX"), prefix);
    return startDetached(wine, {program.absoluteFilePath()}, environment, program.absolutePath());
}

class LVGenericWorkspace : public LVWorkspace {
public:
    QString fullPathForApplication(const QString &) const override { return {}; }
};

} // namespace

bool LVWorkspace::launchApplication(const QString &path) {
    const QFileInfo program(path);
    if (path.isEmpty() || !program.exists())
        return false;
#ifndef Q_OS_WIN
    if (program.suffix().compare(QLatin1String("exe"), Qt::CaseInsensitive) == 0)
        return launchWithWine(program);
#endif
#ifdef Q_OS_MACOS
    if (program.suffix() == QLatin1String("app"))
        return startDetached(QStringLiteral("open"), {program.absoluteFilePath()},
                             QProcessEnvironment::systemEnvironment(), program.absolutePath());
#endif
    if (program.isFile() && program.isExecutable())
        return startDetached(program.absoluteFilePath(), {}, QProcessEnvironment::systemEnvironment(),
                             program.absolutePath());
    return QDesktopServices::openUrl(QUrl::fromLocalFile(program.absoluteFilePath()));
}

std::unique_ptr<LVWorkspace> makePlatformWorkspace() {
#ifdef Q_OS_LINUX
    return std::make_unique<LVLinuxWorkspace>(QDir::homePath());
#else
    return std::make_unique<LVGenericWorkspace>();
#endif
}
