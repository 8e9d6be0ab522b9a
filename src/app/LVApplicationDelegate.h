#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include "game/AddonUpdate.h"
#include "net/Gzip.h"
#include "net/LVSyncGet.h"

#include <QStringDecoder>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class QAbstractButton;
class QDialog;
class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QPushButton;
class QTextEdit;
class QUrl;
class QWidget;
class LVCredentialStore;
class LVProcessMonitor;
class LVSettings;
class LVStatusLabel;
class LVWorkspace;

// The platform services the controller works with, handed in so that tests can build the world
// they need.
struct LVServices {
    LVSettings *settings = nullptr;
    LVWorkspace *workspace = nullptr;
    LVProcessMonitor *processMonitor = nullptr;
    LVCredentialStore *credentialStore = nullptr;
    QString resourceFolder;
};

// The main window's controls, owned by the window.
struct LVMainWindowOutlets {
    QWidget *window = nullptr;
    QPushButton *launchButton = nullptr;
    QPushButton *uploadButton = nullptr;
    QPushButton *optionsButton = nullptr;
    QLabel *backgroundImage = nullptr;
    QTextEdit *statusText = nullptr;
    LVStatusLabel *statusLabel = nullptr;
    QAbstractButton *disclosureButton = nullptr;
};

// The one controller of the program: it owns the state of a run and drives every subsystem. Its
// members are defined in the folder of the subsystem they belong to.
class LVApplicationDelegate : public QObject {
    Q_OBJECT
public:
    enum AccountStatus : qint32 { AccountValid = 0, AccountRejected = 1, AccountThrottled = 2 };
    enum UploadState : qint32 { UploadIdle = 0, UploadWaitingForSignIn = 1, Uploading = 2 };

    explicit LVApplicationDelegate(const LVServices &services, QObject *parent = nullptr);
    ~LVApplicationDelegate() override;

    // Application shell (src/app)
    void setOutlets(const LVMainWindowOutlets &outlets);
    void awakeFromNib();
    void applicationDidFinishLaunching();
    void gatherInstallAndCheck();
    void validateUserInterface();
    QTextEdit *statusTextView() const;
    void showOptions();

    // Game process tracking and launching (src/app). isWOWRunning looks at the running applications
    // now; isWoWRunning below is what the controller knows from the launch and quit events.
    bool isWOWRunning() const;
    void workspaceDidLaunchApplication(const QString &name);
    void workspaceDidTerminateApplication(const QString &name);
    void launchWoW();

    // Waiting (src/app): while the controller waits for the network or the keychain, the event loop
    // runs on; work that an event would start meanwhile is deferred until the wait is over.
    class BusyScope {
    public:
        explicit BusyScope(LVApplicationDelegate &delegate);
        ~BusyScope();
        BusyScope(const BusyScope &) = delete;
        BusyScope &operator=(const BusyScope &) = delete;

    private:
        LVApplicationDelegate &mDelegate;
    };
    // True when the action was deferred, because the controller is busy.
    bool deferWhileBusy(std::function<void()> action);
    void setNetworkTimeouts(const LVNetworkTimeouts &timeouts) { mNetworkTimeouts = timeouts; }

    // Shows a window-modal sheet on the main window; one requested while another is open waits
    // until that one has closed.
    void presentSheet(QDialog *sheet);

    // Status reporting (src/status)
    void sendStatusMessage(const QString &message) const;
    void sendErrorMessage(const QString &message) const;
    static constexpr int kLogHeight = 170;
    // 1 shows the log below the status line; any other state hides it.
    void discloseStatusText(int state);

    // Credentials and authentication (src/auth)
    bool obtainUsername(QString &username, QString &password);
    void setupAccount();
    void testAuthentication();
    void retestAuthentication(QTimer *timer);
    QTimer *accountStatusTimer() const { return mAccountStatusTimer; }
    // What the service answered to the last credential test; empty when it did not answer.
    const QByteArray &lastAuthenticationReply() const { return mLastAuthenticationReply; }

    // Game installation (src/game)
    QString fullPathToWorldOfWarcraft(bool launcher) const;
    QString gameFolder() const;
    void gatherAccounts();
    void gatherLocales();
    QString realmlistPath() const;
    QString expandPath(const QString &path, const QString &account = QString()) const;
    bool checkSupportedRealms();
    void installAddon();
    void checkForUpdates();
    void parserDidStartElement(const QString &name, const QXmlStreamAttributes &attributes);

    // Upload transport (src/net). postFilesWithUsername is false when the account's files could not
    // be prepared and no request was sent; every request's outcome is reported when it ends.
    bool postFilesWithUsername(const QString &username, const QString &password, const QString &account);
    LVGzipResult gzipFileAtPath(const QString &path);
    void postURL(const QUrl &url, const QByteArray &content, const QString &boundary, const QString &account);
    qsizetype uploadsInFlight() const { return qsizetype(mUploadRequests.size()); }

    // Upload run (src/upload)
    void upload();
    void authenticationComplete();
    void authenticationFailed();
    bool alreadyUploadedForAccount(const QString &account);
    void restoreNewDataFlag(const QString &account);
    bool validateCacheFilesForAccount(const QString &account);
    static bool validateWDBFile(const QString &path);
    void cleanup();

    // The state of the run, for the window and for tests.
    bool isWoWRunning() const { return mWoWIsRunning; }
    qint32 accountStatus() const { return mAccountStatus; }
    qint32 uploadState() const { return mUploadState; }
    const std::optional<QStringList> &accounts() const { return mAccounts; }
    const std::optional<QStringList> &locales() const { return mLocales; }
    const QString &realm() const { return mRealm; }
    const std::optional<QStringList> &filesToCleanup() const { return mFilesToCleanup; }

signals:
    // An upload request has ended: with a 2xx reply, or not.
    void uploadRequestFinished(const QString &account, bool succeeded);

private:
    // Where an account's saved variables got "rvUploaded = 1" for the upload in progress.
    struct PreparedFlag {
        QString path;
        qsizetype offset = -1;
        qsizetype size = 0;
    };

    // One upload request in flight, with its own reply text.
    struct UploadRequest {
        QString account;
        QStringDecoder decoder{QStringDecoder::Utf8};
        QString result; // null until the first byte arrives
    };

    void openNextSheet();
    bool isGameApplication(const QString &name) const;
    QString addonFolderPath() const;
    int updateAddonFiles();
    bool updateAddonFile(const QXmlStreamAttributes &entry, const QString &source);
    QString addonFilePath(const QString &name, const QString &localTemplate) const;
    std::optional<QByteArray> downloadAddonFile(const QString &source, const QString &name);
    bool replaceAddonFile(const QString &path, const QByteArray &bytes) const;
    void scheduleRetest(int seconds);
    bool uploadAccounts(const QString &username, const QString &password);
    void keepForNextUpload(const QString &account);
    bool writeBodyCopy(const QByteArray &body) const;
    void handleBytesAvailable(QNetworkReply *reply);
    void handleStreamComplete(QNetworkReply *reply);
    void handleStreamError(QNetworkReply *reply);
    void finishUploadRequest(QNetworkReply *reply, bool succeeded);

    friend struct LVDelegateProbe; // tests set state that other parts of the program own

    bool prepareSavedVariables(const QString &path, const QByteArray &restore);

    LVSettings *mSettings;
    LVWorkspace *mWorkspace;
    LVProcessMonitor *mProcessMonitor;
    LVCredentialStore *mCredentialStore;
    QString mResourceFolder;
    std::unique_ptr<QNetworkAccessManager> mNetworkAccess;
    LVNetworkTimeouts mNetworkTimeouts;
    int mBusyDepth = 0;
    QList<std::function<void()>> mDeferredActions;

    QPointer<QWidget> mMainWindow;
    QPointer<QPushButton> mLaunchButton;
    QPointer<QPushButton> mUploadButton;
    QPointer<QPushButton> mOptionsButton;
    QPointer<QLabel> mBackgroundImage;
    QPointer<QTextEdit> mStatusText;
    QPointer<QDialog> mOpenSheet;
    QList<QPointer<QDialog>> mWaitingSheets;
    bool mWoWIsRunning = false;
    bool mVerboseLogging = false;
    bool mNeedToGatherInstallAndCheck = false;
    qint32 mAccountStatus = AccountValid;
    QPointer<QTimer> mAccountStatusTimer;
    std::optional<LVUpdateManifest> mUpdatesList;
    QByteArray mLastAuthenticationReply;
    std::optional<QStringList> mAccounts;
    std::optional<QStringList> mLocales;
    QString mRealm;
    qint32 mUploadState = UploadIdle;
    std::map<QNetworkReply *, UploadRequest> mUploadRequests;
    std::optional<QStringList> mFilesToCleanup;
    QHash<QString, PreparedFlag> mPreparedFlags;
};
