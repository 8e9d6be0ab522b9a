#include "app/CommandLine.h"

#include <QCoreApplication>

namespace {

QString dashed(const QString &option) {
    return QStringLiteral("--") + option;
}

} // namespace

QString lv::optionsProblem(const QStringList &options, const QStringList &arguments) {
    const QStringList actions{kUploadOption, kSignInOption, kHistoryOption, kInstallsOption, kLaunchOption};
    QStringList asked;
    for (const QString &option : options)
        if (actions.contains(option) && !asked.contains(dashed(option)))
            asked << dashed(option);
    if (asked.size() > 1)
        return QCoreApplication::translate("CommandLine", "%1 and %2 cannot be used together.")
            .arg(asked.at(0), asked.at(1));
    if (options.contains(kJsonOption) && !options.contains(kHistoryOption) && !options.contains(kInstallsOption))
        return QCoreApplication::translate("CommandLine", "--json needs --history or --installs.");
    if (options.contains(kWaitOption) && !options.contains(kUploadOption))
        return QCoreApplication::translate("CommandLine", "--wait needs --upload.");
    if (options.contains(kMinimizedOption) && !asked.isEmpty())
        return QCoreApplication::translate("CommandLine",
                                           "--minimized starts the window in the tray: it cannot be used with %1.")
            .arg(asked.first());
    if (arguments.size() > (options.contains(kLaunchOption) ? 1 : 0))
        return QCoreApplication::translate("CommandLine", "Unexpected argument '%1'.").arg(arguments.last());
    return {};
}
