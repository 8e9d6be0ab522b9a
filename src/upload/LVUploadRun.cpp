#include "upload/LVUploadRun.h"

#include "auth/LVAuthentication.h"
#include "common/FileContents.h"
#include "common/LVBusyGuard.h"
#include "common/LVLogging.h"
#include "common/PathComponents.h"
#include "game/LVGameInstall.h"
#include "game/LVGameWatch.h"
#include "net/LVUploadTransport.h"
#include "net/UploadBody.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"
#include "upload/CacheValidation.h"
#include "upload/Cleanup.h"
#include "upload/UploadedFlag.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>

Q_LOGGING_CATEGORY(lcUpload, "lorvane.upload")

namespace {

void sendStatus(const QString &message) {
    LVStatusBus::sendStatusMessage(message);
}

void sendError(const QString &message) {
    LVStatusBus::sendErrorMessage(message);
}

// A copy of the last body, for anyone who wants to see what was sent. It lives in the user's own
// cache folder, never in a folder other users can write to.
bool writeBodyCopy(const QByteArray &body) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return QDir().mkpath(folder) && lv::writeFileAtomically(QDir(folder).filePath(QStringLiteral("post.html")), {body});
}

} // namespace

LVUploadRun::LVUploadRun(LVSettings &settings, LVGameInstall &install, LVAuthentication &authentication,
                         LVGameWatch &gameWatch, LVUploadTransport &transport, LVBusyGuard &busy, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mInstall(install)
    , mAuthentication(authentication)
    , mGameWatch(gameWatch)
    , mTransport(transport)
    , mBusy(busy) {
    connect(&mTransport, &LVUploadTransport::requestFinished, this, &LVUploadRun::requestFinished);
}

LVUploadRun::~LVUploadRun() {
    // Requests still in flight end with the program, their outcome unknown: their accounts keep their
    // data for the next upload.
    const QStringList unfinished = mTransport.abandonRequests();
    if (mFilesToCleanup && !mFilesToCleanup->isEmpty())
        cleanup();
    for (const QString &account : unfinished)
        restoreNewDataFlag(account);
}

void LVUploadRun::upload() {
    if (mBusy.deferWhileBusy([this] { upload(); }))
        return;
    if (mUploadState != UploadIdle || mGameWatch.isGameRunning())
        return;
    LVBusyGuard::Scope busy(mBusy);
    QString username;
    QString password;
    if (!mAuthentication.obtainUsername(username, password))
        return;
    if (mAuthentication.accountStatus() != LVAuthentication::AccountValid) {
        sendError(QStringLiteral("Invalid Lorvane credentials"));
        return;
    }

    emit runStarted();
    if (!mFilesToCleanup)
        mFilesToCleanup.emplace();
    mUploadState = Uploading;
    bool posted = false;
    if (mInstall.checkSupportedRealms())
        posted = uploadAccounts(username, password);
    else
        sendError(QStringLiteral("This version of WoW uses an unsupported realm"));
    sendStatus(QStringLiteral(""));
    if (posted) {
        // The site takes no new upload for a minute: the retest enables the button again.
        mAuthentication.scheduleRetest(65);
        sendStatus(QStringLiteral("Upload successful. You can upload again after 1 minute."));
    }
    mUploadState = UploadIdle;
    emit runEnded(posted);
}

// Answers whether any account's request was started.
bool LVUploadRun::uploadAccounts(const QString &username, const QString &password) {
    bool posted = false;
    for (const QString &account : mInstall.accounts().value_or(QStringList())) {
        sendStatus(QStringLiteral("----------\n%1 %2").arg(QStringLiteral("Using account"), account));
        LVStatusBus::sendVerboseMessage(QStringLiteral("Checking for uploaded flag…"));
        if (alreadyUploadedForAccount(account)) {
            sendStatus(QStringLiteral("Nothing to upload to the server"));
            continue;
        }
        LVStatusBus::sendVerboseMessage(QStringLiteral("Validating cache files…"));
        sendStatus(QStringLiteral("Validating data…"));
        if (!validateCacheFilesForAccount(account)) {
            sendError(QStringLiteral("One or more .wdb cache files are corrupt"));
            keepForNextUpload(account);
            continue;
        }
        sendStatus(QStringLiteral("Initiating upload…"));
        if (!postFilesWithUsername(username, password, account)) {
            // Nothing was sent, and the error has been posted.
            keepForNextUpload(account);
            continue;
        }
        sendStatus(QStringLiteral("Cleaning up…"));
        cleanup();
        sendStatus(QStringLiteral(""));
        posted = true;
    }
    return posted;
}

// An account stopped before its request: its files go back as they were, new data flag included.
void LVUploadRun::keepForNextUpload(const QString &account) {
    cleanup();
    restoreNewDataFlag(account);
}

void LVUploadRun::authenticationComplete() {
    if (mUploadState == UploadWaitingForSignIn) {
        mUploadState = UploadIdle;
        upload();
    }
}

void LVUploadRun::authenticationFailed() {
    if (mUploadState == UploadWaitingForSignIn)
        mUploadState = UploadIdle;
}

bool LVUploadRun::alreadyUploadedForAccount(const QString &account) {
    const std::optional<QStringList> files = mSettings.arrayForKey(kFilesToUploadKey);
    if (!files || files->isEmpty())
        return true;
    const QString path = mInstall.expandPath(files->first(), account);
    std::optional<QByteArray> savedVariables = lv::contentsOfFile(path);
    if (!savedVariables || !lv::isValidUtf8(*savedVariables))
        return true;
    const qsizetype flag = lv::setUploadedFlag(*savedVariables);
    if (flag < 0) {
        if (!savedVariables->contains(lv::kUploadedFlag))
            sendError(QStringLiteral("rvUploaded variable seems to be malformed."));
        return true;
    }
    if (!prepareSavedVariables(path, *savedVariables)) {
        sendError(QStringLiteral("Unable to prepare %1 for upload").arg(lv::lastPathComponent(path)));
        return true;
    }
    mPreparedFlags.insert(account, {path, flag, savedVariables->size()});
    LVStatusBus::sendVerboseMessage(QStringLiteral("rvUpload == 1"));
    return false;
}

bool LVUploadRun::prepareSavedVariables(const QString &path, const QByteArray &restore) {
    // The restore copy is safely on disk before the file itself is touched, and the file is
    // replaced in one step: whatever fails, the game's data is never lost.
    const QString restorePath = path + QStringLiteral(".rename");
    if (!lv::writeFileAtomically(restorePath, {restore}))
        return false;
    if (!mFilesToCleanup)
        mFilesToCleanup.emplace();
    mFilesToCleanup->append(restorePath);
    if (lv::writeFileAtomically(path, {restore, lv::realmLine(mInstall.realm())}))
        return true;
    mFilesToCleanup->removeLast();
    if (!QFile::remove(restorePath))
        qCWarning(lcUpload).noquote() << "Unable to remove" << restorePath;
    return false;
}

// The addon drops its recorded data once it reads "rvUploaded = 1": an account whose data did not
// reach the site gets "rvUploaded = 0" back, so that the next upload sends it again.
void LVUploadRun::restoreNewDataFlag(const QString &account) {
    const PreparedFlag prepared = mPreparedFlags.take(account);
    if (prepared.path.isNull())
        return;
    std::optional<QByteArray> savedVariables = lv::contentsOfFile(prepared.path);
    const bool unchanged = savedVariables && savedVariables->size() == prepared.size &&
                           lv::resetUploadedFlag(*savedVariables, prepared.offset);
    if (!unchanged || !lv::writeFileAtomically(prepared.path, {*savedVariables}))
        sendError(QStringLiteral("Unable to keep the data of account %1 for the next upload: %2 has changed "
                                 "or cannot be written")
                      .arg(account, lv::lastPathComponent(prepared.path)));
}

bool LVUploadRun::validateCacheFilesForAccount(const QString &account) {
    const QStringList files = mSettings.arrayForKey(kFilesToUploadKey).value_or(QStringList());
    for (const QString &entry : files) {
        // Judged by the template as stored, before any placeholder is expanded.
        if (lv::pathExtension(entry) != QLatin1String("wdb"))
            continue;
        const QString path = mInstall.expandPath(entry, account);
        if (!lv::validateWDBFile(path)) {
            sendError(QStringLiteral("%1 %2").arg(QStringLiteral("Invalid cache file:"), lv::lastPathComponent(path)));
            return false;
        }
        LVStatusBus::sendVerboseMessage(
            QStringLiteral("%1 %2").arg(QStringLiteral("Validating cache file:"), lv::lastPathComponent(path)));
    }
    return true;
}

void LVUploadRun::cleanup() {
    if (mFilesToCleanup)
        lv::cleanupFiles(*mFilesToCleanup);
}

bool LVUploadRun::postFilesWithUsername(const QString &username, const QString &password, const QString &account) {
    const QString urlText = mSettings.stringForKey(kPostURLKey) +
                            lv::uploadQuery(username, password, mSettings.boolForKey(kCharacterDataKey));
    const QUrl url(urlText, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative()) {
        sendError(QStringLiteral("Upload failed for account %1: %2")
                      .arg(account, QStringLiteral("the upload address is not a valid URL")));
        return false;
    }
    const QStringList templates = mSettings.arrayForKey(kFilesToUploadKey).value_or(QStringList());
    const QString boundary = lv::uploadBoundary(this);
    QByteArray body;
    int index = 0;
    for (const QString &pathTemplate : templates) {
        const QString source = mInstall.expandPath(pathTemplate, account);
        const LVGzipResult compressed = gzipFileAtPath(source);
        if (compressed.status == LVGzipResult::Failed)
            return false;
        if (compressed.status == LVGzipResult::SourceUnreadable)
            continue;
        const QString compressedPath = source + QStringLiteral(".gz");
        QFile file(compressedPath);
        const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (data.isEmpty())
            continue;
        lv::appendUploadPart(body, index++, boundary, lv::lastPathComponent(compressedPath), data);
    }
    lv::appendUploadEnd(body, boundary);
    writeBodyCopy(body);

    LVStatusBus::sendVerboseMessage(QStringLiteral("Url is…"));
    LVStatusBus::sendVerboseMessage(urlText);
    mTransport.postURL(url, body, boundary, account);
    return true;
}

LVGzipResult LVUploadRun::gzipFileAtPath(const QString &path) {
    const QString compressedPath = path + QStringLiteral(".gz");
    const LVGzipResult result = lv::gzipFile(path, compressedPath);
    if (result.status == LVGzipResult::Compressed) {
        if (!mFilesToCleanup)
            mFilesToCleanup.emplace();
        mFilesToCleanup->append(compressedPath);
    } else if (result.status == LVGzipResult::Failed) {
        sendError(result.error);
    }
    return result;
}

void LVUploadRun::requestFinished(const QString &account, bool succeeded) {
    if (succeeded)
        mPreparedFlags.remove(account);
    else
        restoreNewDataFlag(account);
    emit uploadRequestFinished(account, succeeded);
}
