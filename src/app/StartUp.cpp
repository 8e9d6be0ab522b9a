#include "app/LVApplicationDelegate.h"
#include "prefs/LVPreferencesController.h"
#include "settings/LVSettings.h"

void LVApplicationDelegate::applicationDidFinishLaunching() {
    mVerboseLogging = mSettings->boolForKey(kVerboseLoggingKey);
    mWoWIsRunning = isWOWRunning();
    testAuthentication();
    validateUserInterface();
    mNeedToGatherInstallAndCheck = true;
    if (!mSettings->stringForKey(kWowApplicationPathKey).isEmpty())
        gatherInstallAndCheck();
    else
        showOptions();
}

// Runs once per run of the program: at start-up with a game path, or at the first Apply of the
// options sheet without one.
void LVApplicationDelegate::gatherInstallAndCheck() {
    if (!mNeedToGatherInstallAndCheck)
        return;
    gatherAccounts();
    gatherLocales();
    installAddon();
    checkForUpdates();
    mNeedToGatherInstallAndCheck = false;
    validateUserInterface();
}

void LVApplicationDelegate::showOptions() {
    if (mMainWindow)
        presentSheet(new LVPreferencesController(this, *mSettings, mMainWindow));
}
