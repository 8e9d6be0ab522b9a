#include "game/InstallsReport.h"

#include "game/InstallChoices.h"
#include "game/LVGameInstall.h"
#include "game/LVGameInstalls.h"
#include "platform/LVWorkspace.h"
#include "settings/LVSettings.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject commandJson(const LVInstallReport &report) {
    QJsonObject environment;
    for (auto variable = report.command.environment.cbegin(); variable != report.command.environment.cend(); ++variable)
        environment.insert(variable.key(), variable.value());
    const bool none = report.command.program.isEmpty();
    QJsonObject object{
        {QStringLiteral("command"),
         none ? QJsonArray()
              : QJsonArray::fromStringList(QStringList{report.command.program} + report.command.arguments)},
        {QStringLiteral("environment"), environment},
        {QStringLiteral("commandLine"), none ? QString() : lv::describeCommand(report.command)}};
    if (none)
        object.insert(QStringLiteral("commandError"), report.commandError);
    return object;
}

QJsonObject reportJson(const LVInstallReport &report) {
    const LVGameInstallation &install = report.install;
    QJsonObject object{{QStringLiteral("program"), install.executable},
                       {QStringLiteral("flavor"), install.flavor},
                       {QStringLiteral("flavorName"), lv::flavorName(install.flavor)},
                       {QStringLiteral("launcher"), lv::prefixKindName(install.kind)},
                       {QStringLiteral("copy"), lv::launcherCopyName(install.copy).toLower()},
                       {QStringLiteral("launcherId"), install.launcherId},
                       {QStringLiteral("prefix"), install.prefix},
                       {QStringLiteral("checked"), report.checked}};
    const QJsonObject command = commandJson(report);
    for (auto field = command.constBegin(); field != command.constEnd(); ++field)
        object.insert(field.key(), field.value());
    return object;
}

QString reportText(const LVInstallReport &report) {
    const LVGameInstallation &install = report.install;
    QString source = lv::installSourceName(install);
    if (!install.launcherId.isEmpty())
        source = QCoreApplication::translate("InstallsReport", "%1, game %2").arg(source, install.launcherId);
    const QString launch = report.command.program.isEmpty() ? report.commandError : lv::describeCommand(report.command);
    //: One install in the list --installs prints; the values line up after the labels.
    return QCoreApplication::translate("InstallsReport",
                                       "[%1] %2, %3\n    program  %4\n    prefix   %5\n    launch   %6\n")
        .arg(report.checked ? QStringLiteral("x") : QStringLiteral(" "), lv::flavorName(install.flavor), source,
             install.executable, install.prefix.isEmpty() ? QStringLiteral("-") : install.prefix, launch);
}

} // namespace

namespace lv {

QList<LVInstallReport> installReports(const LVSettings &settings, LVGameInstalls &installs,
                                      const LVWorkspace &workspace) {
    QList<LVInstallReport> reports;
    const bool launcher = settings.boolForKey(kRunLauncherAppKey);
    for (const LVInstallChoice &choice : installChoices(settings)) {
        LVInstallReport report{workspace.installationOf(choice.executable), choice.checked, {}, {}};
        const QString path = installs.installAt(choice.executable).fullPathToWorldOfWarcraft(launcher);
        report.command = workspace.commandToLaunch(path, &report.commandError);
        if (path.isEmpty() && launcher)
            report.commandError = QCoreApplication::translate(
                "InstallsReport", "The game's launcher is not beside the game nor in the folder above it");
        reports << report;
    }
    return reports;
}

QByteArray installsJson(const QList<LVInstallReport> &reports) {
    QJsonArray array;
    for (const LVInstallReport &report : reports)
        array.append(reportJson(report));
    return QJsonDocument(array).toJson();
}

QString installsText(const QList<LVInstallReport> &reports) {
    if (reports.isEmpty())
        return QCoreApplication::translate("InstallsReport", "No install of the game was found.") + QLatin1Char('\n');
    QStringList texts;
    for (const LVInstallReport &report : reports)
        texts << reportText(report);
    return texts.join(QLatin1Char('\n'));
}

} // namespace lv
