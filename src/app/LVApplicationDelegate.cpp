#include "app/LVApplicationDelegate.h"

#include "app/LVBackgroundView.h"
#include "auth/LVAuthenticationController.h"
#include "game/InstallChoices.h"
#include "prefs/LVPreferencesController.h"
#include "settings/LVSettings.h"
#include "status/LVLogDisclosure.h"
#include "status/LVStatusBus.h"

#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QTextEdit>

LVApplicationDelegate::LVApplicationDelegate(const LVServices &services, QObject *parent)
    : QObject(parent)
    , mServices(services)
    , mNetworkAccess(std::make_unique<QNetworkAccessManager>())
    , mAuthentication(*services.settings, *services.credentialStore, *mNetworkAccess, mBusy)
    , mInstalls(*services.settings, *services.workspace)
    , mGameWatch(*services.settings, mInstalls, *services.processMonitor, *services.workspace, mBusy)
    , mAddonInstaller(*services.settings, mInstalls, *mNetworkAccess, mBusy, services.resourceFolder)
    , mTransport(*mNetworkAccess)
    , mUploadRun(*services.settings, mInstalls, mAuthentication, mGameWatch, mTransport, mBusy)
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
    connect(&mGameWatch, &LVGameWatch::gameRunningChanged, this, &LVApplicationDelegate::updateTrayState);
    connect(&mGameWatch, &LVGameWatch::gameQuit, this, &LVApplicationDelegate::gameQuit);
    connect(&mReports, &LVRunReports::lastUploadChanged, this, &LVApplicationDelegate::showLastUpload);
    connect(&mUploadRun, &LVUploadRun::runStarted, this, [this] {
        setUploadEnabled(false);
        if (mTray)
            mTray->setState(LVTrayIcon::Uploading);
    });
    connect(&mUploadRun, &LVUploadRun::runEnded, this, [this](const LVUploadOutcome &outcome) {
        // After a run the site took data from, the retest a minute later enables the button again.
        if (outcome.storedAccounts.isEmpty())
            setUploadEnabled(true);
        updateTrayState();
    });
}

void LVApplicationDelegate::makeTrayIcon() {
    mTray = std::make_unique<LVTrayIcon>(
        QIcon(QDir(mServices.resourceFolder).filePath(QStringLiteral("lorvane-client.png"))));
    connect(mTray.get(), &LVTrayIcon::uploadRequested, this, &LVApplicationDelegate::upload);
    connect(mTray.get(), &LVTrayIcon::launchRequested, this, &LVApplicationDelegate::launchWoW);
    connect(mTray.get(), &LVTrayIcon::showWindowRequested, this, &LVApplicationDelegate::showWindow);
    connect(mTray.get(), &LVTrayIcon::quitRequested, this, &LVApplicationDelegate::quit);
    updateTrayState();
    mTray->show();
}

void LVApplicationDelegate::updateTrayState() {
    if (mTray && mUploadRun.uploadState() != LVUploadRun::Uploading)
        mTray->setState(mGameWatch.isGameRunning() ? LVTrayIcon::GameRunning : LVTrayIcon::Watching);
}

void LVApplicationDelegate::showLastUpload(const QDateTime &when, int accounts, bool succeeded) {
    if (mOutlets.lastUploadLabel)
        mOutlets.lastUploadLabel->setText(lv::lastUploadText(when, accounts, succeeded));
    if (mTray)
        mTray->setLastUpload(when, accounts, succeeded);
}

void LVApplicationDelegate::setOutlets(const LVMainWindowOutlets &outlets) {
    mOutlets = {outlets.window,          outlets.launchButton,    outlets.uploadButton,
                outlets.backgroundImage, outlets.lastUploadLabel, outlets.statusText};
    delete mDisclosure;
    mDisclosure = new LVLogDisclosure(outlets.window, outlets.statusText, this);
    if (!outlets.window)
        return;
    if (mServices.hasSystemTray && !mTray)
        makeTrayIcon();
    if (mTray)
        mTray->followButtons(outlets.uploadButton, outlets.launchButton);
    QGuiApplication::setQuitOnLastWindowClosed(!mTray);
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
        mOutlets.backgroundImage->load(
            QDir(mServices.resourceFolder).filePath(QStringLiteral("lorvane_client_background.svg")));
}

void LVApplicationDelegate::applicationDidFinishLaunching() {
    LVStatusBus::setVerboseLogging(mServices.settings->boolForKey(kVerboseLoggingKey));
    // Stored only where the user can be told of an install found since the last start.
    for (const QString &executable : lv::storeFoundInstalls(*mServices.settings))
        LVStatusBus::sendStatusMessage(lv::foundInstallText(executable));
    mReports.openHistory();
    mGameWatch.takeStateFromScan();
    testAuthentication();
    validateUserInterface();
    mGathering = Gathering::Due;
    if (!mServices.settings->stringForKey(kWowApplicationPathKey).isEmpty())
        gatherInstallAndCheck();
    else
        showOptions();
}

void LVApplicationDelegate::gatherInstallAndCheck() {
    if (mGathering == Gathering::NotDue)
        return;
    const bool first = std::exchange(mGathering, Gathering::Done) == Gathering::Due;
    if (!mInstalls.gatherNewInstalls() && !first)
        return;
    installAddon();
    checkForUpdates();
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

void LVApplicationDelegate::showWindowAtStart(bool minimizedRequested) {
    if (!mOutlets.window)
        return;
    if (mTray && (minimizedRequested || mServices.settings->boolForKey(kStartMinimizedKey)))
        return;
    mOutlets.window->show();
}

void LVApplicationDelegate::showWindow() {
    if (!mOutlets.window)
        return;
    QWidget *window = mOutlets.window;
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

void LVApplicationDelegate::quit() {
    QCoreApplication::quit();
}

void LVApplicationDelegate::setUploadEnabled(bool enabled) {
    if (mOutlets.uploadButton)
        mOutlets.uploadButton->setEnabled(enabled);
}

void LVApplicationDelegate::showOptions() {
    if (!mOutlets.window)
        return;
    auto *sheet = new LVPreferencesController(*mServices.settings, *mServices.workspace, mOutlets.window);
    sheet->setSystemTrayAvailable(mTray != nullptr);
    connect(sheet, &LVPreferencesController::applied, this, &LVApplicationDelegate::gatherInstallAndCheck);
    presentSheet(sheet);
}

// A sheet needs its window on the screen: one asked for while the client sits in the tray brings it up.
void LVApplicationDelegate::presentSheet(QDialog *sheet) {
    if (!mOutlets.window->isVisible())
        showWindow();
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
    presentSheet(sheet);
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
