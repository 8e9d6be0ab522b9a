#pragma once

#include "common/LVRegularFile.h"
#include "net/LVUploadTransport.h"
#include "net/UploadBody.h"

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QLockFile>
#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>

class LVAuthentication;
class LVBusyGuard;
class LVGameInstall;
class LVGameInstalls;
class LVGameWatch;
class LVSettings;

// How a run ended, for the window, the headless mode and the history.
struct LVUploadOutcome {
    int accountsWithData = 0;   // accounts whose new data the run tried to send
    QStringList storedAccounts; // whose data the site has
    QStringList failedAccounts; // whose data did not reach it
    QStringList failureReasons; // why, for each of those
    QString runError;           // what stopped the run before its accounts, or null
    bool failed = false;        // anything went wrong, a refused realm included
};

// What became of one account's request.
struct LVAccountUpload {
    QString install;
    QString account;
    QStringList files;
    qint64 bytesBefore = 0;
    qint64 bytesAfter = 0;
    LVUploadReply reply;
    bool gameSavedMeanwhile = false; // the site has the data, but the game saved newer data during the upload
};

// The upload of every account of every checked install, install after install, each with its own realm
// check: for each account, the new data in its saved variables is found, its cache files checked, its
// files compressed on a worker thread and sent in one request. The game's file is marked
// uploaded only once the site has answered 2xx, by one byte written in place: whatever fails or
// whoever stops the program, an account's data is either at the site or still waiting in the game.
// One run at a time for the user, across processes.
class LVUploadRun : public QObject {
    Q_OBJECT
public:
    enum UploadState : qint32 { UploadIdle = 0, UploadWaitingForSignIn = 1, Uploading = 2 };

    LVUploadRun(LVSettings &settings, LVGameInstalls &installs, LVAuthentication &authentication,
                LVGameWatch &gameWatch, LVUploadTransport &transport, LVBusyGuard &busy, QObject *parent = nullptr);
    ~LVUploadRun() override;

    // The file that holds one run at a time; while another process holds it a run is refused, or,
    // with `waitForOtherRuns`, waits for it.
    void setRunLock(const QString &path, bool waitForOtherRuns = false);

    void upload();
    // A password is needed and none is stored: the run waits for the sign-in sheet.
    void waitForSignIn() { mUploadState = UploadWaitingForSignIn; }
    // The sign-in sheet stored a password: a run waiting for it starts now.
    void authenticationComplete();
    void authenticationFailed();

    // Reads the account's saved variables, in the install the run is at (the first checked one between
    // runs), and keeps what is to be sent; true when there is nothing to upload. The game's file itself
    // is not changed. Something other than a file at its place is refused: `refusal` says so.
    bool alreadyUploadedForAccount(const QString &account, QString *refusal = nullptr);
    // False at the first cache file that is corrupt, or refused for not being a file (`refusal` then).
    bool validateCacheFilesForAccount(const QString &account, QString *refusal = nullptr);

    UploadState uploadState() const { return mUploadState; }

signals:
    // The run has passed its entry checks and works; the Upload button waits.
    void runStarted();
    // What is being done now, and how far it has got (total 0: no measure).
    void progress(const QString &what, qint64 done, qint64 total);
    void accountUploaded(const LVAccountUpload &upload);
    // An upload request has ended: with a 2xx reply, or not.
    void uploadRequestFinished(const QString &account, bool succeeded);
    // The run is over, its last request answered.
    void runEnded(const LVUploadOutcome &outcome);

private:
    // The account being uploaded, from its saved variables to its request's answer.
    struct Account {
        QString name;
        QString savedVariables;
        qsizetype flagOffset = -1;
        qint64 size = 0;
        LVFileStamp stamp;       // of the saved variables as read
        QByteArray uploadedText; // as read, the flag set, then the realm line
        LVBuiltBody body;
        int requestId = 0;
    };
    // What one run keeps from its start to its end.
    struct Run {
        QString username;
        QString password;
        QList<LVGameInstall *> installs; // still to go through
        LVGameInstall *install = nullptr;
        bool nameInstalls = false; // there are several: each is named before its accounts
        QStringList accounts;
        std::optional<Account> current;
        LVUploadOutcome outcome;
    };

    bool takeRunLock();
    void nextInstall();
    // The install the run is at; between runs the first checked one.
    LVGameInstall &install() const;
    void nextAccount();
    bool prepareAccount(const QString &account);
    void recoverAccount(const QString &account);
    QList<LVBodySource> bodySources() const;
    void compressAccount();
    void bodyBuilt();
    void requestFinished(const LVUploadReply &reply);
    bool markUploaded(Account &account);
    void accountDone(bool stored, const QString &reason = QString());
    void accountRefused(const QString &account, const QString &reason);
    void finishRun();

    LVSettings &mSettings;
    LVGameInstalls &mInstalls;
    LVAuthentication &mAuthentication;
    LVGameWatch &mGameWatch;
    LVUploadTransport &mTransport;
    LVBusyGuard &mBusy;
    UploadState mUploadState = UploadIdle;
    QString mLockPath;
    bool mWaitForOtherRuns = false;
    std::unique_ptr<QLockFile> mLock;
    QFutureWatcher<LVBuiltBody> mCompression;
    Run mRun;
};

Q_DECLARE_METATYPE(LVUploadOutcome)
Q_DECLARE_METATYPE(LVAccountUpload)
