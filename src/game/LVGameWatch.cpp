#include "game/LVGameWatch.h"

#include "common/LVBusyGuard.h"
#include "game/LVGameInstall.h"
#include "game/LVGameInstalls.h"
#include "game/LVLaunchOutcome.h"
#include "platform/GameInstallations.h"
#include "platform/LVLauncherProcess.h"
#include "platform/LVProcessMonitor.h"
#include "platform/LVWorkspace.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"

#include <algorithm>

LVGameWatch::LVGameWatch(LVSettings &settings, LVGameInstalls &installs, LVProcessMonitor &monitor,
                         LVWorkspace &workspace, LVBusyGuard &busy, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mInstalls(installs)
    , mMonitor(monitor)
    , mWorkspace(workspace)
    , mBusy(busy) {}

LVGameWatch::~LVGameWatch() = default;

bool LVGameWatch::scanForRunningGame() const {
    const QStringList watched = mInstalls.watchedApplicationNames();
    const QStringList running = mMonitor.runningApplicationNames();
    return std::any_of(running.cbegin(), running.cend(),
                       [&watched](const QString &name) { return watched.contains(name); });
}

void LVGameWatch::startWatching() {
    connect(&mMonitor, &LVProcessMonitor::applicationLaunched, this, &LVGameWatch::workspaceDidLaunchApplication,
            Qt::UniqueConnection);
    connect(&mMonitor, &LVProcessMonitor::applicationTerminated, this, &LVGameWatch::workspaceDidTerminateApplication,
            Qt::UniqueConnection);
}

void LVGameWatch::workspaceDidLaunchApplication(const QString &name) {
    if (!isGameApplication(name) || mBusy.deferWhileBusy([this, name] { workspaceDidLaunchApplication(name); }))
        return;
    mGameIsRunning = true;
    emit gameRunningChanged(true);
}

void LVGameWatch::workspaceDidTerminateApplication(const QString &name) {
    if (!isGameApplication(name) || mBusy.deferWhileBusy([this, name] { workspaceDidTerminateApplication(name); }))
        return;
    // Another copy of the game, or another checked install's game, still runs.
    if (scanForRunningGame())
        return;
    mGameIsRunning = false;
    emit gameRunningChanged(false);
    emit gameQuit();
}

void LVGameWatch::launchWoW() {
    launchInstall(mInstalls.primary());
}

bool LVGameWatch::launchInstall(LVGameInstall &install) {
    const bool launcher = mSettings.boolForKey(kRunLauncherAppKey);
    const QString path = install.fullPathToWorldOfWarcraft(launcher);
    QString error;
    if (path.isEmpty()) {
        if (launcher && !install.executable().isEmpty())
            LVStatusBus::sendErrorMessage(
                tr("The game's launcher is not in %1 nor in the folder above it").arg(install.gameFolder()));
        return false;
    }
    std::unique_ptr<LVLauncherProcess> started = mWorkspace.launchApplication(path, &error);
    if (!started) {
        LVStatusBus::sendErrorMessage(error);
        return false;
    }
    LVStatusBus::sendVerboseMessage(tr("Starting the game: %1").arg(lv::describeCommand(started->command())));
    // The launcher's own program counts as the game: the player goes on from it.
    const QStringList names{lv::identifyExecutable(path).applicationName,
                            lv::identifyExecutable(install.fullPathToWorldOfWarcraft(false)).applicationName};
    mLaunch = std::make_unique<LVLaunchOutcome>(std::move(started), names, mMonitor, mLaunchTimeout);
    connect(mLaunch.get(), &LVLaunchOutcome::ended, this, &LVGameWatch::launchOutcome);
    return true;
}

void LVGameWatch::launchOutcome(const QString &failure) {
    if (!failure.isNull())
        LVStatusBus::sendErrorMessage(failure);
    mLaunch.release()->deleteLater();
    emit launchEnded(failure);
}

// The names are read afresh each time: the user may point the program at other games.
bool LVGameWatch::isGameApplication(const QString &name) const {
    return mInstalls.watchedApplicationNames().contains(name);
}
