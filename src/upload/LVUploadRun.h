#pragma once

#include "net/Gzip.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <optional>

class LVAuthentication;
class LVBusyGuard;
class LVGameInstall;
class LVGameWatch;
class LVSettings;
class LVUploadTransport;

// The upload of every account: for each, the new data in its saved variables is prepared, its cache
// files checked, its files compressed and sent in one request; the files are put back as the game
// needs them. An account whose data did not reach the site keeps its new-data flag for the next run.
class LVUploadRun : public QObject {
    Q_OBJECT
public:
    enum UploadState : qint32 { UploadIdle = 0, UploadWaitingForSignIn = 1, Uploading = 2 };

    LVUploadRun(LVSettings &settings, LVGameInstall &install, LVAuthentication &authentication, LVGameWatch &gameWatch,
                LVUploadTransport &transport, LVBusyGuard &busy, QObject *parent = nullptr);
    ~LVUploadRun() override;

    void upload();
    // A password is needed and none is stored: the run waits for the sign-in sheet.
    void waitForSignIn() { mUploadState = UploadWaitingForSignIn; }
    // The sign-in sheet stored a password: a run waiting for it starts now.
    void authenticationComplete();
    void authenticationFailed();

    bool alreadyUploadedForAccount(const QString &account);
    bool validateCacheFilesForAccount(const QString &account);
    // False when the account's files could not be prepared and no request was sent; every request's
    // outcome is told when it ends.
    bool postFilesWithUsername(const QString &username, const QString &password, const QString &account);
    LVGzipResult gzipFileAtPath(const QString &path);
    void cleanup();
    void restoreNewDataFlag(const QString &account);

    UploadState uploadState() const { return mUploadState; }
    const std::optional<QStringList> &filesToCleanup() const { return mFilesToCleanup; }

signals:
    // The run has passed its entry checks and works; the Upload button waits.
    void runStarted();
    // The run is over; when nothing was posted, uploading is possible again at once.
    void runEnded(bool posted);
    // An upload request has ended: with a 2xx reply, or not.
    void uploadRequestFinished(const QString &account, bool succeeded);

private:
    // Where an account's saved variables got "rvUploaded = 1" for the upload in progress.
    struct PreparedFlag {
        QString path;
        qsizetype offset = -1;
        qsizetype size = 0;
    };

    bool uploadAccounts(const QString &username, const QString &password);
    void keepForNextUpload(const QString &account);
    bool prepareSavedVariables(const QString &path, const QByteArray &restore);
    void requestFinished(const QString &account, bool succeeded);

    LVSettings &mSettings;
    LVGameInstall &mInstall;
    LVAuthentication &mAuthentication;
    LVGameWatch &mGameWatch;
    LVUploadTransport &mTransport;
    LVBusyGuard &mBusy;
    UploadState mUploadState = UploadIdle;
    std::optional<QStringList> mFilesToCleanup;
    QHash<QString, PreparedFlag> mPreparedFlags;
};
