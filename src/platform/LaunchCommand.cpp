#include "platform/LaunchCommand.h"

#include "platform/launchers/Launchers.h"

#include <QRegularExpression>
#include <QStandardPaths>

namespace {

QString shellQuoted(const QString &word) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_@%+=:,./-]+$"));
    if (plain.match(word).hasMatch())
        return word;
    return QLatin1Char('\'') + QString(word).replace(QLatin1Char('\''), QStringLiteral("'\\''")) + QLatin1Char('\'');
}

} // namespace

namespace lv {

QString findExecutableIn(const QString &name, const QProcessEnvironment &environment) {
    const QStringList folders = environment.value(QStringLiteral("PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    // With no folders, QStandardPaths would search the client's own PATH instead.
    return folders.isEmpty() ? QString() : QStandardPaths::findExecutable(name, folders);
}

LVLaunchCommand launchCommand(const LVGameInstallation &install, const LVFindExecutable &findExecutable,
                              QString *error) {
    for (const std::unique_ptr<LVLauncher> &launcher : launchers())
        if (launcher->kind() == install.kind)
            if (const std::optional<LVLaunchCommand> command = launcher->command(install, findExecutable))
                return *command;
    return wineCommand(install, findExecutable, error).value_or(LVLaunchCommand{});
}

QString describeCommand(const LVLaunchCommand &command) {
    QStringList words;
    for (auto variable = command.environment.cbegin(); variable != command.environment.cend(); ++variable)
        words << variable.key() + QLatin1Char('=') + shellQuoted(variable.value());
    words << shellQuoted(command.program);
    for (const QString &argument : command.arguments)
        words << shellQuoted(argument);
    return words.join(QLatin1Char(' '));
}

} // namespace lv
