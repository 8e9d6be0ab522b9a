#include "app/LVApplicationDelegate.h"

#include "app/LVBackgroundView.h"
#include "app/LVWelcome.h"
#include "auth/LVAuthenticationController.h"
#include "common/LVClock.h"
#include "game/InstallChoices.h"
#include "platform/GameInstallations.h"
#include "platform/LVSystemEvents.h"
#include "platform/LVWorkspace.h"
#include "prefs/LVPreferencesController.h"
#include "settings/LVSettings.h"
#include "status/LVLogDisclosure.h"
#include "status/LVStatusBus.h"

#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QTextEdit>

namespace {

std::unique_ptr<LVSystemEvents> ownSystemEvents(const LVServices &services) {
    return services.systemEvents ? nullptr : std::make_unique<LVSystemEvents>();
}

// "Retail (Lutris)"
QString installText(const LVGameInstallation &installation) {
    return QStringLiteral("%1 (%2)").arg(lv::flavorName(installation.flavor), lv::installSourceName(installation));
}

} // namespace

LVApplicationDelegate::LVApplicationDelegate(const LVServices &services, QObject *parent)
    : QObject(parent)
    , mServices(services)
    , mClock(services.clock ? *services.clock : LVClock::system())
    , mOwnSystemEvents(ownSystemEvents(services))
    , mSystemEvents(services.systemEvents ? *services.systemEvents : *mOwnSystemEvents)
    , mNetworkAccess(std::make_unique<QNetworkAccessManager>())
    , mCredentials(*services.credentialStore)
    , mAuthentication(*services.settings, mCredentials, *mNetworkAccess, mBusy, mClock, mSystemEvents)
    , mInstalls(*services.settings, *services.workspace)
    , mGameWatch(*services.settings, mInstalls, *services.processMonitor, *services.workspace, mBusy)
    , mAddonInstaller(*services.settings, mInstalls, *mNetworkAccess, mBusy, services.resourceFolder)
    , mTransport(*mNetworkAccess)
    , mUploadRun(*services.settings, mInstalls, mAuthentication, mGameWatch, mTransport, mBusy)
    , mAutomaticUploads(*services.settings, mUploadRun, mGameWatch, mClock, mSystemEvents)
    , mReports(*services.settings, mUploadRun, mAuthentication, mAutomaticUploads, services.historyPath,
               services.notificationBus) {
    mUploadRun.setRunLock(services.runLockPath);
    wireSubsystems();
}

LVApplicationDelegate::~LVApplicationDelegate() = default;

// The Upload button, the line under the buttons and the tray follow everything that decides whether
// an upload can start.
void LVApplicationDelegate::wireSubsystems() {
    wireAuthentication();
    connect(&mGameWatch, &LVGameWatch::gameRunningChanged, this, [this] {
        mHeldAfterUpload = false;
        validateUserInterface();
        updateTrayState();
    });
    connect(&mGameWatch, &LVGameWatch::gameQuit, &mAutomaticUploads, &LVAutomaticUploads::gameQuit);
    connect(&mAutomaticUploads, &LVAutomaticUploads::changed, this, &LVApplicationDelegate::validateUserInterface);
    connect(&mReports, &LVRunReports::lastUploadChanged, this, &LVApplicationDelegate::showLastUpload);
    connect(&mReports.notifier(), &LVDesktopNotifier::actionInvoked, this,
            &LVApplicationDelegate::notificationActionChosen);
    connect(&mUploadRun, &LVUploadRun::runStarted, this, [this] {
        validateUserInterface();
        if (mTray)
            mTray->setState(LVTrayIcon::Uploading);
    });
    // After a run the site took data from, the retest a minute later enables the button again.
    connect(&mUploadRun, &LVUploadRun::runEnded, this, [this](const LVUploadOutcome &outcome) {
        mHeldAfterUpload = !outcome.storedAccounts.isEmpty();
        validateUserInterface();
        updateTrayState();
    });
}

void LVApplicationDelegate::wireAuthentication() {
    // Whoever asked for the password, a missing one makes the next sign-in resume an upload.
    connect(&mAuthentication, &LVAuthentication::signInNeeded, &mUploadRun, &LVUploadRun::waitForSignIn);
    connect(&mAuthentication, &LVAuthentication::signInNeeded, this, &LVApplicationDelegate::setupAccount);
    connect(&mAuthentication, &LVAuthentication::credentialsRejected, this,
            &LVApplicationDelegate::signInAfterRejection);
    connect(&mAuthentication, &LVAuthentication::tested, this, [this] {
        if (mAuthentication.accountStatus() != LVAuthentication::AccountRejected)
            mSignInAskedAfterRejection = false;
        validateUserInterface();
    });
    connect(&mAuthentication, &LVAuthentication::retested, this, [this] {
        mHeldAfterUpload = false;
        validateUserInterface();
    });
}

void LVApplicationDelegate::makeTrayIcon() {
    mTray = std::make_unique<LVTrayIcon>(mServices.resourceFolder);
    wireTrayIcon();
    updateTrayState();
    validateUserInterface();
    mTray->show();
}

void LVApplicationDelegate::wireTrayIcon() {
    connect(mTray.get(), &LVTrayIcon::uploadRequested, this, &LVApplicationDelegate::upload);
    connect(mTray.get(), &LVTrayIcon::launchRequested, this, &LVApplicationDelegate::launchWoW);
    connect(mTray.get(), &LVTrayIcon::showWindowRequested, this, &LVApplicationDelegate::showWindow);
    connect(mTray.get(), &LVTrayIcon::quitRequested, this, &LVApplicationDelegate::quit);
    connect(mTray.get(), &LVTrayIcon::signInRequested, this, &LVApplicationDelegate::setupAccount);
    connect(mTray.get(), &LVTrayIcon::historyRequested, this, &LVApplicationDelegate::showHistory);
    connect(mTray.get(), &LVTrayIcon::optionsRequested, this, &LVApplicationDelegate::showOptions);
    connect(mTray.get(), &LVTrayIcon::pauseRequested, this,
            [this](qint64 seconds) { mAutomaticUploads.pause(seconds > 0 ? std::optional(seconds) : std::nullopt); });
    connect(mTray.get(), &LVTrayIcon::resumeRequested, &mAutomaticUploads, &LVAutomaticUploads::resume);
}

void LVApplicationDelegate::updateTrayState() {
    if (mTray && mUploadRun.uploadState() != LVUploadRun::Uploading)
        mTray->setState(mGameWatch.isGameRunning() ? LVTrayIcon::GameRunning : LVTrayIcon::Watching);
}

void LVApplicationDelegate::showLastUpload(const QDateTime &when, int accounts, bool succeeded) {
    mLastUpload = lv::lastUploadText(when, accounts, succeeded);
    mLastUploadFailed = !succeeded;
    if (mTray)
        mTray->setLastUpload(when, accounts, succeeded);
    validateUserInterface();
}

void LVApplicationDelegate::showHistory() {
    showWindow();
    emit historyRequested();
}

void LVApplicationDelegate::setOutlets(const LVMainWindowOutlets &outlets) {
    mOutlets = {outlets.window,          outlets.launchButton,    outlets.uploadButton, outlets.signInButton,
                outlets.backgroundImage, outlets.lastUploadLabel, outlets.statusText};
    mUploadToolTip = outlets.uploadButton ? outlets.uploadButton->toolTip() : QString();
    delete mDisclosure;
    mDisclosure = new LVLogDisclosure(outlets.window, outlets.statusText, this);
    makeWelcome(outlets);
    if (!outlets.window)
        return;
    outlets.window->installEventFilter(this);
    if (mServices.hasSystemTray && !mTray)
        makeTrayIcon();
    if (mTray)
        mTray->followButtons(outlets.uploadButton, outlets.launchButton);
    QGuiApplication::setQuitOnLastWindowClosed(!mTray);
}

// The welcome's button leads to the sign-in sheet and, when no game is known yet, the options after it.
void LVApplicationDelegate::makeWelcome(const LVMainWindowOutlets &outlets) {
    delete mWelcome;
    mWelcome = nullptr;
    if (!outlets.welcomePanel)
        return;
    mWelcome = new LVWelcome(outlets.welcomePanel, outlets.welcomeLabel, outlets.welcomeButton, this);
    connect(mWelcome, &LVWelcome::signInRequested, this, [this] {
        setupAccount();
        if (mServices.settings->stringForKey(kWowApplicationPathKey).isEmpty())
            showOptions();
    });
    connect(mWelcome, &LVWelcome::chooseGameRequested, this, &LVApplicationDelegate::showOptions);
}

void LVApplicationDelegate::updateWelcome() {
    if (!mWelcome || !mWelcome->isShown())
        return;
    QStringList games;
    for (const LVInstallChoice &choice : lv::installChoices(*mServices.settings))
        if (choice.checked)
            games << installText(mServices.workspace->installationOf(choice.executable));
    const bool signedIn = !mAuthentication.passwordMissing() && mAuthentication.keychainProblem().isNull();
    mWelcome->update(games, signedIn ? mServices.settings->stringForKey(kUsernameKey) : QString());
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
    // The first start explains itself in the window before its sheets ask for anything.
    if (mWelcome && mServices.settings->stringForKey(kUsernameKey).isEmpty())
        mWelcome->show();
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
    if (mOutlets.launchButton)
        mOutlets.launchButton->setEnabled(hasGamePath && !mGameWatch.isGameRunning());
    showUploadReadiness(lv::uploadReadiness(uploadSituation()));
    updateWelcome();
}

LVUploadSituation LVApplicationDelegate::uploadSituation() const {
    LVUploadSituation situation;
    situation.hasGame = mServices.settings->valueForKey(kWowApplicationPathKey).isValid();
    situation.gameRunning = mGameWatch.isGameRunning();
    situation.runInProgress = mUploadRun.uploadState() == LVUploadRun::Uploading;
    situation.waitingForSignIn = mUploadRun.uploadState() == LVUploadRun::UploadWaitingForSignIn;
    situation.passwordMissing = mAuthentication.passwordMissing();
    situation.keychainProblem = mAuthentication.keychainProblem();
    situation.accountStatus = mAuthentication.accountStatus();
    situation.siteUnanswered = mAuthentication.siteUnanswered();
    situation.nextTest = mAuthentication.nextTest();
    situation.heldAfterUpload = mHeldAfterUpload;
    situation.nextRetry = mAutomaticUploads.nextRetry();
    for (const LVAccountRef &account : mAutomaticUploads.accountsToRetry())
        situation.accountsToRetry << account.account;
    situation.paused = mAutomaticUploads.isPaused();
    situation.pausedUntil = mAutomaticUploads.pausedUntil();
    return situation;
}

// Said three times: on the button, under the buttons (before how the last upload went) and in the tray.
void LVApplicationDelegate::showUploadReadiness(const LVUploadReadiness &readiness) {
    if (mOutlets.uploadButton) {
        mOutlets.uploadButton->setEnabled(readiness.enabled);
        mOutlets.uploadButton->setToolTip(readiness.why.isNull() ? mUploadToolTip : readiness.why);
    }
    if (mOutlets.lastUploadLabel) {
        QStringList line{readiness.why, mLastUpload};
        line.removeAll(QString());
        mOutlets.lastUploadLabel->setText(line.join(QStringLiteral(" · ")));
        mOutlets.lastUploadLabel->setToolTip(line.join(QLatin1Char('\n')));
    }
    if (mTray) {
        mTray->setProblem(mLastUploadFailed || mAuthentication.accountStatus() == LVAuthentication::AccountRejected ||
                          !mAuthentication.keychainProblem().isNull());
        mTray->setExplanation(readiness.why);
        mTray->setPause(lv::pauseText(mAutomaticUploads.isPaused(), mAutomaticUploads.pausedUntil()));
    }
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
        LVStatusBus::sendErrorMessage(tr("No password is stored: sign in with lorvane-client --sign-in NAME."));
        return;
    }
    if (mSignInSheet) {
        showWindow();
        return;
    }
    mSignInSheet = new LVAuthenticationController(*mServices.settings, mCredentials, mBusy, mOutlets.window);
    connect(mSignInSheet, &LVAuthenticationController::authenticationComplete, this,
            &LVApplicationDelegate::authenticationComplete);
    connect(mSignInSheet, &LVAuthenticationController::authenticationFailed, this,
            &LVApplicationDelegate::authenticationFailed);
    presentSheet(mSignInSheet);
}

// The sheet opens by itself once after the site refused the password: at once when the window is on
// the screen, else when it next is.
void LVApplicationDelegate::signInAfterRejection() {
    if (!mOutlets.window || std::exchange(mSignInAskedAfterRejection, true))
        return;
    if (mOutlets.window->isVisible())
        setupAccount();
    else
        mSignInWhenShown = true;
}

bool LVApplicationDelegate::eventFilter(QObject *watched, QEvent *event) {
    if (watched == mOutlets.window && event->type() == QEvent::Show && std::exchange(mSignInWhenShown, false))
        QMetaObject::invokeMethod(this, &LVApplicationDelegate::setupAccount, Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}

void LVApplicationDelegate::notificationActionChosen(const QString &key) {
    if (key == LVDesktopNotifier::kRetryAction)
        mAutomaticUploads.retryNow();
    else if (key == LVDesktopNotifier::kHistoryAction)
        showHistory();
    else if (key == LVDesktopNotifier::kSignInAction)
        setupAccount();
}

void LVApplicationDelegate::discloseStatusText(int state) {
    if (mDisclosure)
        mDisclosure->discloseStatusText(state);
}

// A waiting run starts at once, with the credentials as they are now; then they are tested.
void LVApplicationDelegate::authenticationComplete() {
    mSignInAskedAfterRejection = false;
    mUploadRun.authenticationComplete();
    testAuthentication();
}

void LVApplicationDelegate::authenticationFailed() {
    mUploadRun.authenticationFailed();
    validateUserInterface();
}

void LVApplicationDelegate::setRetrying(bool retrying) {
    mAuthentication.setRetrying(retrying);
    mAutomaticUploads.setRetrying(retrying);
}

void LVApplicationDelegate::setNetworkTimeouts(const LVNetworkTimeouts &timeouts) {
    mAuthentication.setNetworkTimeouts(timeouts);
    mAddonInstaller.setNetworkTimeouts(timeouts);
    mTransport.setNetworkTimeouts(timeouts);
}
