#include "game/LVLaunchOutcome.h"

#include "platform/LVLauncherProcess.h"
#include "platform/LVProcessMonitor.h"

LVLaunchOutcome::LVLaunchOutcome(std::unique_ptr<LVLauncherProcess> launcher, const QStringList &gameNames,
                                 LVProcessMonitor &monitor, std::chrono::milliseconds timeout, QObject *parent)
    : QObject(parent)
    , mLauncher(std::move(launcher))
    , mGameNames(gameNames) {
    connect(&monitor, &LVProcessMonitor::applicationLaunched, this, [this](const QString &name) {
        if (mGameNames.contains(name))
            end(QString());
    });
    connect(mLauncher.get(), &LVLauncherProcess::finished, this, &LVLaunchOutcome::launcherFinished);
    mTimeout.setSingleShot(true);
    connect(&mTimeout, &QTimer::timeout, this, [this] {
        end(QStringLiteral("The launcher did not start the game: %1").arg(lv::describeCommand(mLauncher->command())));
    });
    mTimeout.start(timeout);
}

LVLaunchOutcome::~LVLaunchOutcome() = default;

void LVLaunchOutcome::launcherFinished(int exitStatus, const QString &firstErrorLine) {
    if (exitStatus == 0)
        return;
    QString failure = QStringLiteral("The launcher did not start the game: %1 ended with status %2")
                          .arg(lv::describeCommand(mLauncher->command()))
                          .arg(exitStatus);
    if (!firstErrorLine.isEmpty())
        failure += QStringLiteral(": ") + firstErrorLine;
    end(failure);
}

void LVLaunchOutcome::end(const QString &failure) {
    if (mEnded)
        return;
    mEnded = true;
    mTimeout.stop();
    emit ended(failure);
}
