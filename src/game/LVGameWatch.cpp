#include "game/LVGameWatch.h"

#include "common/LVBusyGuard.h"
#include "game/LVGameInstall.h"
#include "platform/LVProcessMonitor.h"
#include "platform/LVWorkspace.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"

#include <algorithm>

LVGameWatch::LVGameWatch(LVSettings &settings, LVGameInstall &install, LVProcessMonitor &monitor,
                         LVWorkspace &workspace, LVBusyGuard &busy, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mInstall(install)
    , mMonitor(monitor)
    , mWorkspace(workspace)
    , mBusy(busy) {}

bool LVGameWatch::scanForRunningGame() const {
    const QStringList running = mMonitor.runningApplicationNames();
    return std::any_of(running.cbegin(), running.cend(),
                       [this](const QString &name) { return isGameApplication(name); });
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
    mGameIsRunning = false;
    emit gameRunningChanged(false);
    emit gameQuit();
}

void LVGameWatch::launchWoW() {
    const QString path = mInstall.fullPathToWorldOfWarcraft(mSettings.boolForKey(kRunLauncherAppKey));
    QString error;
    if (!path.isEmpty() && !mWorkspace.launchApplication(path, &error))
        LVStatusBus::sendErrorMessage(error);
}

// The game's name is read afresh each time: the user may point the program at another game.
bool LVGameWatch::isGameApplication(const QString &name) const {
    const QString gameName = mSettings.stringForKey(kWowApplicationNameKey);
    return !gameName.isEmpty() && name == gameName;
}
