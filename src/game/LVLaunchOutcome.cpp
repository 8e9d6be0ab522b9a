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
        end(tr("The launcher did not start the game: %1").arg(lv::describeCommand(mLauncher->command())));
    });
    mTimeout.start(timeout);
}

LVLaunchOutcome::~LVLaunchOutcome() = default;

void LVLaunchOutcome::launcherFinished(int exitStatus, const QString &firstErrorLine) {
    if (exitStatus == 0)
        return;
    const QString command = lv::describeCommand(mLauncher->command());
    if (firstErrorLine.isEmpty())
        end(tr("The launcher did not start the game: %1 ended with status %2").arg(command).arg(exitStatus));
    else
        end(tr("The launcher did not start the game: %1 ended with status %2: %3")
                .arg(command, QString::number(exitStatus), firstErrorLine));
}

void LVLaunchOutcome::end(const QString &failure) {
    if (mEnded)
        return;
    mEnded = true;
    mTimeout.stop();
    emit ended(failure);
}
