#include "app/HeadlessLaunch.h"

#include "app/LVApplicationDelegate.h"
#include "game/InstallsReport.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>

#include <cstdio>

namespace {

void printTo(FILE *stream, const QByteArray &text) {
    std::fwrite(text.constData(), 1, size_t(text.size()), stream);
    if (!text.endsWith('\n'))
        std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace

int lv::printInstalls(LVApplicationDelegate &delegate, LVSettings &settings, LVWorkspace &workspace, bool json) {
    delegate.awakeFromNib();
    const QList<LVInstallReport> reports = installReports(settings, delegate.installs(), workspace);
    printTo(stdout, json ? installsJson(reports) : installsText(reports).toLocal8Bit());
    return 0;
}

int lv::runHeadlessLaunch(LVApplicationDelegate &delegate, const QString &program) {
    delegate.awakeFromNib();
    LVGameInstall &install = program.isEmpty() ? delegate.installs().primary()
                                               : delegate.installs().installAt(QFileInfo(program).absoluteFilePath());
    if (install.fullPathToWorldOfWarcraft(false).isEmpty()) {
        printTo(stderr, QCoreApplication::translate(
                            "Headless", "No game is set: open lorvane-client once and choose the game in Options.")
                            .toLocal8Bit());
        return 1;
    }
    if (delegate.isWOWRunning()) {
        printTo(stdout, QCoreApplication::translate("Headless", "The game is running already.").toLocal8Bit());
        return 0;
    }
    QEventLoop loop;
    QString failure;
    QObject::connect(&delegate.gameWatch(), &LVGameWatch::launchEnded, &loop, [&](const QString &outcome) {
        failure = outcome;
        loop.quit();
    });
    if (!delegate.gameWatch().launchInstall(install))
        return 1;
    loop.exec();
    return failure.isNull() ? 0 : 1;
}
