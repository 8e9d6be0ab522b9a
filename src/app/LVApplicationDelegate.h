#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <optional>

class QAbstractButton;
class QLabel;
class QPushButton;
class QTextEdit;
class QTimer;
class QWidget;
class LVSettings;
class LVStatusLabel;
class LVWorkspace;

// The platform services the controller works with, handed in so that tests can build the world
// they need.
struct LVServices {
    LVSettings *settings = nullptr;
    LVWorkspace *workspace = nullptr;
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
    void validateUserInterface();
    QTextEdit *statusTextView() const;

    // Status reporting (src/status)
    void sendStatusMessage(const QString &message) const;
    void sendErrorMessage(const QString &message) const;

    // Game installation (src/game)
    QString fullPathToWorldOfWarcraft(bool launcher) const;
    QString gameFolder() const;
    void gatherAccounts();
    void gatherLocales();
    QString realmlistPath() const;
    QString expandPath(const QString &path, const QString &account = QString()) const;
    bool checkSupportedRealms();

    // Upload run (src/upload)
    bool alreadyUploadedForAccount(const QString &account);
    bool validateCacheFilesForAccount(const QString &account);
    static bool validateWDBFile(const QString &path);

    // The state of the run, for the window and for tests.
    bool isWoWRunning() const { return mWoWIsRunning; }
    bool verboseLogging() const { return mVerboseLogging; }
    qint32 accountStatus() const { return mAccountStatus; }
    qint32 uploadState() const { return mUploadState; }
    const std::optional<QStringList> &accounts() const { return mAccounts; }
    const std::optional<QStringList> &locales() const { return mLocales; }
    const QString &realm() const { return mRealm; }
    LVSettings &settings() const { return *mSettings; }

private:
    friend struct LVDelegateProbe; // tests set state that other parts of the program own

    bool prepareSavedVariables(const QString &path, const QByteArray &restore);

    LVSettings *mSettings;
    LVWorkspace *mWorkspace;
    QString mResourceFolder;

    QPointer<QWidget> mMainWindow;
    QPointer<QPushButton> mLaunchButton;
    QPointer<QPushButton> mUploadButton;
    QPointer<QPushButton> mOptionsButton;
    QPointer<QLabel> mBackgroundImage;
    QPointer<QTextEdit> mStatusText;
    bool mWoWIsRunning = false;
    bool mVerboseLogging = false;
    bool mNeedToGatherInstallAndCheck = false;
    qint32 mAccountStatus = AccountValid;
    QPointer<QTimer> mAccountStatusTimer;
    std::optional<QStringList> mAccounts;
    std::optional<QStringList> mLocales;
    QString mRealm;
    qint32 mUploadState = UploadIdle;
    std::optional<QStringList> mFilesToCleanup;
};
