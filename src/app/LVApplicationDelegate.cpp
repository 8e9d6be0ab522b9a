#include "app/LVApplicationDelegate.h"

#include "platform/LVProcessMonitor.h"
#include "settings/LVSettings.h"

#include <QDir>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPixmap>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

LVApplicationDelegate::LVApplicationDelegate(const LVServices &services, QObject *parent)
    : QObject(parent)
    , mSettings(services.settings)
    , mWorkspace(services.workspace)
    , mProcessMonitor(services.processMonitor)
    , mCredentialStore(services.credentialStore)
    , mResourceFolder(services.resourceFolder)
    , mNetworkAccess(std::make_unique<QNetworkAccessManager>()) {}

LVApplicationDelegate::~LVApplicationDelegate() {
    if (mAccountStatusTimer)
        mAccountStatusTimer->stop();
    // Requests still in flight end with the network access, their outcome unknown: their accounts
    // keep their data for the next upload.
    QStringList unfinished;
    for (const auto &[reply, request] : mUploadRequests) {
        reply->disconnect(this);
        unfinished << request.account;
    }
    if (mFilesToCleanup && !mFilesToCleanup->isEmpty())
        cleanup();
    for (const QString &account : std::as_const(unfinished))
        restoreNewDataFlag(account);
}

void LVApplicationDelegate::setOutlets(const LVMainWindowOutlets &outlets) {
    mMainWindow = outlets.window;
    mLaunchButton = outlets.launchButton;
    mUploadButton = outlets.uploadButton;
    mOptionsButton = outlets.optionsButton;
    mBackgroundImage = outlets.backgroundImage;
    mStatusText = outlets.statusText;
}

void LVApplicationDelegate::awakeFromNib() {
    connect(mProcessMonitor, &LVProcessMonitor::applicationLaunched, this,
            &LVApplicationDelegate::workspaceDidLaunchApplication);
    connect(mProcessMonitor, &LVProcessMonitor::applicationTerminated, this,
            &LVApplicationDelegate::workspaceDidTerminateApplication);
    registerDefaultsFromFile(*mSettings, QDir(mResourceFolder).filePath(QStringLiteral("Defaults.plist")), *mWorkspace);
    mUploadState = UploadIdle;
    if (mStatusText)
        mStatusText->clear();
    // Updates of the program itself come from the platform's package manager.
    if (mBackgroundImage)
        mBackgroundImage->setPixmap(
            QPixmap(QDir(mResourceFolder).filePath(QStringLiteral("lorvane_client_background.png"))));
}

void LVApplicationDelegate::validateUserInterface() {
    const bool hasGamePath = mSettings->valueForKey(kWowApplicationPathKey).isValid();
    if (mLaunchButton)
        mLaunchButton->setEnabled(hasGamePath && !mWoWIsRunning);
    if (mUploadButton)
        mUploadButton->setEnabled(hasGamePath && !mWoWIsRunning && mAccountStatus == AccountValid);
}

QTextEdit *LVApplicationDelegate::statusTextView() const {
    return mStatusText;
}
