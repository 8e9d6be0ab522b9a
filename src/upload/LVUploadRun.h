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

// An account of an install: the install's game folder and the account's folder name.
struct LVAccountRef {
    QString install;
    QString account;
    bool operator==(const LVAccountRef &) const = default;
};

// Why an account's data did not reach the site. A passing failure (the site unreachable, stalled or
// busy) may be tried again by itself; every other one needs the user first.
enum class LVFailureKind { Passing, SiteRefused, Credentials, Address, CorruptCache, LocalFiles };

struct LVAccountFailure {
    LVAccountRef account;
    QString reason;
    LVFailureKind kind = LVFailureKind::Passing;
    std::optional<qint64> retryAfterSeconds; // what the site asked to wait, when it did
};

// How a run ended, for the window, the headless mode and the history.
struct LVUploadOutcome {
    int accountsWithData = 0;         // accounts whose new data the run tried to send
    QStringList storedAccounts;       // whose data the site has
    QStringList failedAccounts;       // whose data did not reach it
    QList<LVAccountFailure> failures; // why, for each of those
    QList<LVAccountRef> lookedAt;     // every account the run went through
    bool restricted = false;          // the run was asked for some accounts only
    QString runError;                 // what stopped the run before its accounts, or null
    bool runErrorPasses = false;      // that was the site giving no answer: trying again may help
    bool failed = false;              // anything went wrong, a refused realm included
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
    // The upload of these accounts alone, as upload() does it for every account.
    void uploadAccounts(const QList<LVAccountRef> &accounts);
    // Another process of the user holds the run lock now.
    bool isLockedElsewhere() const;
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
        std::optional<QList<LVAccountRef>> only; // the accounts asked for; all when absent
        LVUploadOutcome outcome;
    };

    void startRun(const std::optional<QList<LVAccountRef>> &only);
    bool credentialsAllowUpload();
    void endUnanswered();
    bool takeRunLock();
    bool isAskedFor(const LVGameInstall &install, const QString &account = QString()) const;
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
    void accountStored();
    void accountFailed(LVFailureKind kind, const QString &reason, std::optional<qint64> retryAfter = std::nullopt);
    void accountRefused(const QString &account, const QString &reason);
    void recordFailure(const QString &account, const QString &reason, LVFailureKind kind,
                       std::optional<qint64> retryAfter = std::nullopt);
    void refuseUnreadableAccount(const QString &account);
    void adviseOnFailures() const;
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

namespace lv {

LVFailureKind failureKindOf(const LVUploadReply &reply);
// Why the account, which is not tried again by itself, failed, and what the user can do about it: one
// sentence naming it.
QString failureAdvice(LVFailureKind kind, const QString &account);

} // namespace lv

Q_DECLARE_METATYPE(LVUploadOutcome)
Q_DECLARE_METATYPE(LVAccountUpload)
