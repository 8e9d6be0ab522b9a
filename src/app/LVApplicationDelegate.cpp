#include "app/LVApplicationDelegate.h"

#include "auth/LVAuthenticationController.h"
#include "prefs/LVPreferencesController.h"
#include "settings/LVSettings.h"
#include "status/LVLogDisclosure.h"
#include "status/LVStatusBus.h"

#include <QDir>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QPixmap>
#include <QPushButton>
#include <QTextEdit>

LVApplicationDelegate::LVApplicationDelegate(const LVServices &services, QObject *parent)
    : QObject(parent)
    , mServices(services)
    , mNetworkAccess(std::make_unique<QNetworkAccessManager>())
    , mAuthentication(*services.settings, *services.credentialStore, *mNetworkAccess, mBusy)
    , mInstall(*services.settings, *services.workspace)
    , mGameWatch(*services.settings, mInstall, *services.processMonitor, *services.workspace, mBusy)
    , mAddonInstaller(*services.settings, mInstall, *mNetworkAccess, mBusy, services.resourceFolder)
    , mTransport(*mNetworkAccess)
    , mUploadRun(*services.settings, mInstall, mAuthentication, mGameWatch, mTransport, mBusy)
    , mReports(*services.settings, mUploadRun, mAuthentication, services.historyPath, services.notificationBus) {
    mUploadRun.setRunLock(services.runLockPath);
    wireSubsystems();
}

LVApplicationDelegate::~LVApplicationDelegate() = default;

void LVApplicationDelegate::wireSubsystems() {
    // Whoever asked for the password, a missing one makes the next sign-in resume an upload.
    connect(&mAuthentication, &LVAuthentication::signInNeeded, &mUploadRun, &LVUploadRun::waitForSignIn);
    connect(&mAuthentication, &LVAuthentication::signInNeeded, this, &LVApplicationDelegate::setupAccount);
    connect(&mAuthentication, &LVAuthentication::retested, this, &LVApplicationDelegate::validateUserInterface);
    connect(&mGameWatch, &LVGameWatch::gameRunningChanged, this, &LVApplicationDelegate::validateUserInterface);
    connect(&mGameWatch, &LVGameWatch::gameQuit, this, &LVApplicationDelegate::gameQuit);
    connect(&mUploadRun, &LVUploadRun::runStarted, this, [this] { setUploadEnabled(false); });
    connect(&mUploadRun, &LVUploadRun::runEnded, this, [this](const LVUploadOutcome &outcome) {
        // After a run the site took data from, the retest a minute later enables the button again.
        if (outcome.storedAccounts.isEmpty())
            setUploadEnabled(true);
    });
}

void LVApplicationDelegate::setOutlets(const LVMainWindowOutlets &outlets) {
    mOutlets = {outlets.window, outlets.launchButton, outlets.uploadButton, outlets.backgroundImage,
                outlets.statusText};
    delete mDisclosure;
    mDisclosure = new LVLogDisclosure(outlets.window, outlets.statusText, this);
}

void LVApplicationDelegate::awakeFromNib() {
    mGameWatch.startWatching();
    lv::registerDefaultsFromFile(*mServices.settings,
                                 QDir(mServices.resourceFolder).filePath(QStringLiteral("Defaults.plist")),
                                 *mServices.workspace);
    if (mOutlets.statusText)
        mOutlets.statusText->clear();
    // Updates of the program itself come from the platform's package manager.
    if (mOutlets.backgroundImage)
        mOutlets.backgroundImage->setPixmap(
            QPixmap(QDir(mServices.resourceFolder).filePath(QStringLiteral("lorvane_client_background.png"))));
}

void LVApplicationDelegate::applicationDidFinishLaunching() {
    LVStatusBus::setVerboseLogging(mServices.settings->boolForKey(kVerboseLoggingKey));
    mReports.openHistory();
    mGameWatch.takeStateFromScan();
    testAuthentication();
    validateUserInterface();
    mNeedToGatherInstallAndCheck = true;
    if (!mServices.settings->stringForKey(kWowApplicationPathKey).isEmpty())
        gatherInstallAndCheck();
    else
        showOptions();
}

void LVApplicationDelegate::gatherInstallAndCheck() {
    if (!mNeedToGatherInstallAndCheck)
        return;
    mInstall.gatherAccounts();
    mInstall.gatherLocales();
    installAddon();
    checkForUpdates();
    mNeedToGatherInstallAndCheck = false;
    validateUserInterface();
}

void LVApplicationDelegate::validateUserInterface() {
    const bool hasGamePath = mServices.settings->valueForKey(kWowApplicationPathKey).isValid();
    const bool running = mGameWatch.isGameRunning();
    if (mOutlets.launchButton)
        mOutlets.launchButton->setEnabled(hasGamePath && !running);
    setUploadEnabled(hasGamePath && !running && mAuthentication.accountStatus() == LVAuthentication::AccountValid);
}

QTextEdit *LVApplicationDelegate::statusTextView() const {
    return mOutlets.statusText;
}

void LVApplicationDelegate::setUploadEnabled(bool enabled) {
    if (mOutlets.uploadButton)
        mOutlets.uploadButton->setEnabled(enabled);
}

void LVApplicationDelegate::showOptions() {
    if (!mOutlets.window)
        return;
    auto *sheet = new LVPreferencesController(*mServices.settings, mOutlets.window);
    connect(sheet, &LVPreferencesController::applied, this, &LVApplicationDelegate::gatherInstallAndCheck);
    mSheets.presentSheet(sheet);
}

void LVApplicationDelegate::setupAccount() {
    if (!mOutlets.window) {
        LVStatusBus::sendErrorMessage(
            QStringLiteral("No password is stored: sign in with lorvane-client --sign-in NAME."));
        return;
    }
    auto *sheet =
        new LVAuthenticationController(*mServices.settings, *mServices.credentialStore, mBusy, mOutlets.window);
    connect(sheet, &LVAuthenticationController::authenticationComplete, this,
            &LVApplicationDelegate::authenticationComplete);
    connect(sheet, &LVAuthenticationController::authenticationFailed, this,
            &LVApplicationDelegate::authenticationFailed);
    mSheets.presentSheet(sheet);
}

void LVApplicationDelegate::discloseStatusText(int state) {
    if (mDisclosure)
        mDisclosure->discloseStatusText(state);
}

// A waiting run starts at once, with the credentials as they are now; then they are tested.
void LVApplicationDelegate::authenticationComplete() {
    mUploadRun.authenticationComplete();
    testAuthentication();
}

void LVApplicationDelegate::setNetworkTimeouts(const LVNetworkTimeouts &timeouts) {
    mAuthentication.setNetworkTimeouts(timeouts);
    mAddonInstaller.setNetworkTimeouts(timeouts);
    mTransport.setNetworkTimeouts(timeouts);
}

void LVApplicationDelegate::gameQuit() {
    if (mServices.settings->boolForKey(kAutoUploadKey))
        upload();
}
