#include "app/LVApplicationDelegate.h"
#include "platform/LVProcessMonitor.h"
#include "platform/LVWorkspace.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"

#include <algorithm>

bool LVApplicationDelegate::isWOWRunning() const {
    const QStringList running = mProcessMonitor->runningApplicationNames();
    return std::any_of(running.cbegin(), running.cend(),
                       [this](const QString &name) { return isGameApplication(name); });
}

void LVApplicationDelegate::workspaceDidLaunchApplication(const QString &name) {
    if (!isGameApplication(name) || deferWhileBusy([this, name] { workspaceDidLaunchApplication(name); }))
        return;
    mWoWIsRunning = true;
    validateUserInterface();
}

void LVApplicationDelegate::workspaceDidTerminateApplication(const QString &name) {
    if (!isGameApplication(name) || deferWhileBusy([this, name] { workspaceDidTerminateApplication(name); }))
        return;
    mWoWIsRunning = false;
    validateUserInterface();
    if (mSettings->boolForKey(kAutoUploadKey))
        upload();
}

void LVApplicationDelegate::launchWoW() {
    const QString path = fullPathToWorldOfWarcraft(mSettings->boolForKey(kRunLauncherAppKey));
    QString error;
    if (!path.isEmpty() && !mWorkspace->launchApplication(path, &error))
        LVStatusBus::sendErrorMessage(error);
}

// The game's name is read afresh each time: the user may point the program at another game.
bool LVApplicationDelegate::isGameApplication(const QString &name) const {
    const QString gameName = mSettings->stringForKey(kWowApplicationNameKey);
    return !gameName.isEmpty() && name == gameName;
}
