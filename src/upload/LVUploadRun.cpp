#include "upload/LVUploadRun.h"

#include "auth/LVAuthentication.h"
#include "common/FileContents.h"
#include "common/LVBusyGuard.h"
#include "common/LVLogging.h"
#include "common/PathComponents.h"
#include "game/LVGameInstall.h"
#include "game/LVGameInstalls.h"
#include "game/LVGameWatch.h"
#include "platform/GameInstallations.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"
#include "upload/CacheValidation.h"
#include "upload/UploadedFlag.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

Q_LOGGING_CATEGORY(lcUpload, "lorvane.upload")

namespace {

void sendStatus(const QString &message) {
    LVStatusBus::sendStatusMessage(message);
}

void sendError(const QString &message) {
    LVStatusBus::sendErrorMessage(message);
}

// A copy of the last body, for anyone who wants to see what was sent. It lives in the user's own
// cache folder, and a link standing there is replaced, never written through.
void writeBodyCopy(const QByteArray &body) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString path = QDir(folder).filePath(QStringLiteral("post.html"));
    if (QDir().mkpath(folder))
        lv::replaceFileWithoutFollowingLinks(path, body);
}

// "Install: Classic (WowClassic) in /games/World of Warcraft/_classic_".
QString installLine(const LVGameInstall &install) {
    const LVExecutableIdentity identity = lv::identifyExecutable(install.fullPathToWorldOfWarcraft(false));
    return LVUploadRun::tr("Install: %1 (%2) in %3")
        .arg(lv::flavorName(identity.flavor), identity.applicationName, install.gameFolder());
}

// The line that starts an account's part of the log.
QString accountLine(const QString &account) {
    return QStringLiteral("----------\n") + LVUploadRun::tr("Using account %1").arg(account);
}

void removeCopies(const QStringList &copies) {
    for (const QString &copy : copies)
        if (!QFile::remove(copy))
            qCWarning(lcUpload).noquote() << QStringLiteral("Unable to cleanup file: %1.").arg(copy);
}

} // namespace

LVUploadRun::LVUploadRun(LVSettings &settings, LVGameInstalls &installs, LVAuthentication &authentication,
                         LVGameWatch &gameWatch, LVUploadTransport &transport, LVBusyGuard &busy, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mInstalls(installs)
    , mAuthentication(authentication)
    , mGameWatch(gameWatch)
    , mTransport(transport)
    , mBusy(busy) {
    connect(&mTransport, &LVUploadTransport::requestFinished, this, &LVUploadRun::requestFinished);
    connect(&mCompression, &QFutureWatcher<LVBuiltBody>::finished, this, &LVUploadRun::bodyBuilt);
    connect(&mTransport, &LVUploadTransport::uploadProgress, this, [this](int id, qint64 sent, qint64 total) {
        if (mRun.current && mRun.current->requestId == id)
            emit progress(tr("Sending %1…").arg(mRun.current->name), sent, total);
    });
}

// A run stopped half-way leaves the game's files as they were: only compressed copies can be left, and
// the next run removes them.
LVUploadRun::~LVUploadRun() {
    mCompression.disconnect(this);
    mCompression.waitForFinished();
    if (mRun.current)
        removeCopies(mRun.current->body.copies);
}

void LVUploadRun::setRunLock(const QString &path, bool waitForOtherRuns) {
    mLockPath = path;
    mWaitForOtherRuns = waitForOtherRuns;
}

void LVUploadRun::upload() {
    startRun(std::nullopt);
}

void LVUploadRun::uploadAccounts(const QList<LVAccountRef> &accounts) {
    startRun(accounts);
}

void LVUploadRun::startRun(const std::optional<QList<LVAccountRef>> &only) {
    if (mBusy.deferWhileBusy([this, only] { startRun(only); }))
        return;
    if (mUploadState != UploadIdle || mGameWatch.isGameRunning())
        return;
    LVBusyGuard::Scope busy(mBusy);
    Run run;
    if (!mAuthentication.obtainUsername(run.username, run.password))
        return;
    run.only = only;
    run.outcome.restricted = only.has_value();
    mRun = std::move(run);
    if (!credentialsAllowUpload())
        return;
    if (!takeRunLock()) {
        mRun = {};
        return;
    }

    for (LVGameInstall *install : mInstalls.checked())
        if (isAskedFor(*install))
            mRun.installs << install;
    mRun.nameInstalls = mRun.installs.size() > 1;
    if (mRun.installs.isEmpty() && !only) {
        mRun.outcome.runError = tr("No copy of the game is checked: check one in Options to upload its data.");
        mRun.outcome.failed = true;
        sendError(mRun.outcome.runError);
    }
    mUploadState = Uploading;
    emit runStarted();
    nextInstall();
}

// A site that gave no answer to the last credential test is asked again first: it may be back.
bool LVUploadRun::credentialsAllowUpload() {
    if (mAuthentication.accountStatus() != LVAuthentication::AccountValid && mAuthentication.siteUnanswered())
        mAuthentication.testAuthentication();
    if (mAuthentication.accountStatus() == LVAuthentication::AccountValid)
        return true;
    if (mAuthentication.siteUnanswered()) {
        endUnanswered();
        return false;
    }
    sendError(tr("Invalid Lorvane credentials"));
    if (mAuthentication.accountStatus() == LVAuthentication::AccountThrottled)
        sendStatus(tr("The site takes no new upload for about a minute."));
    else
        sendStatus(tr("The site refused your password: sign in again, then press Upload."));
    mRun = {};
    return false;
}

// Nothing could be sent for a passing reason: the run ends at once, as one whose every account failed so.
void LVUploadRun::endUnanswered() {
    mRun.outcome.runError = tr("Nothing was uploaded: the site cannot be reached");
    mRun.outcome.runErrorPasses = true;
    mRun.outcome.failed = true;
    sendError(mRun.outcome.runError);
    mUploadState = Uploading;
    emit runStarted();
    finishRun();
}

bool LVUploadRun::isAskedFor(const LVGameInstall &install, const QString &account) const {
    if (!mRun.only)
        return true;
    return std::any_of(mRun.only->cbegin(), mRun.only->cend(), [&](const LVAccountRef &asked) {
        return asked.install == install.gameFolder() && (account.isNull() || asked.account == account);
    });
}

bool LVUploadRun::isLockedElsewhere() const {
    if (mLockPath.isEmpty() || mLock)
        return false;
    QLockFile lock(mLockPath);
    lock.setStaleLockTime(0);
    return !lock.tryLock(0);
}

bool LVUploadRun::takeRunLock() {
    if (mLockPath.isEmpty())
        return true;
    QDir().mkpath(QFileInfo(mLockPath).path());
    mLock = std::make_unique<QLockFile>(mLockPath);
    // Only a lock whose process is gone is stale, however long a run takes.
    mLock->setStaleLockTime(0);
    if (mLock->tryLock(mWaitForOtherRuns ? -1 : 0))
        return true;
    mLock.reset();
    sendError(tr("Another upload is running"));
    return false;
}

// Takes the installs one after another; one whose realm is refused is passed over, the run failing.
void LVUploadRun::nextInstall() {
    if (mRun.installs.isEmpty()) {
        finishRun();
        return;
    }
    mRun.install = mRun.installs.takeFirst();
    if (mRun.nameInstalls)
        sendStatus(installLine(*mRun.install));
    if (!mRun.install->checkSupportedRealms()) {
        mRun.outcome.runError = tr("This version of WoW uses an unsupported realm");
        sendError(mRun.outcome.runError);
        mRun.outcome.failed = true;
        nextInstall();
        return;
    }
    for (const QString &name : mRun.install->unreadableAccounts())
        if (isAskedFor(*mRun.install, name))
            refuseUnreadableAccount(name);
    mRun.accounts.clear();
    for (const QString &account : mRun.install->accounts().value_or(QStringList()))
        if (isAskedFor(*mRun.install, account))
            mRun.accounts << account;
    nextAccount();
}

LVGameInstall &LVUploadRun::install() const {
    return mRun.install ? *mRun.install : mInstalls.primary();
}

// Takes the accounts one after another; an account whose request is on its way is left to its answer.
void LVUploadRun::nextAccount() {
    while (!mRun.accounts.isEmpty()) {
        if (prepareAccount(mRun.accounts.takeFirst())) {
            compressAccount();
            return;
        }
    }
    nextInstall();
}

// Answers whether the account has data that is now to be compressed and sent.
bool LVUploadRun::prepareAccount(const QString &account) {
    sendStatus(accountLine(account));
    mRun.outcome.lookedAt.append({install().gameFolder(), account});
    recoverAccount(account);
    LVStatusBus::sendVerboseMessage(tr("Checking for uploaded flag…"));
    QString refusal;
    if (alreadyUploadedForAccount(account, &refusal)) {
        if (!refusal.isNull())
            accountRefused(account, refusal);
        else
            sendStatus(tr("Nothing to upload to the server"));
        return false;
    }
    ++mRun.outcome.accountsWithData;
    LVStatusBus::sendVerboseMessage(tr("Validating cache files…"));
    sendStatus(tr("Validating data…"));
    if (!validateCacheFilesForAccount(account, &refusal)) {
        if (refusal.isNull())
            sendError(tr("One or more .wdb cache files are corrupt"));
        accountFailed(refusal.isNull() ? LVFailureKind::CorruptCache : LVFailureKind::LocalFiles,
                      refusal.isNull() ? tr("one or more .wdb cache files are corrupt") : refusal);
        return false;
    }
    sendStatus(tr("Initiating upload…"));
    return true;
}

// What an earlier run that did not finish left is undone before the account is touched: the data is
// sent again, since nobody knows whether the site got it.
void LVUploadRun::recoverAccount(const QString &account) {
    const QStringList templates = mSettings.arrayForKey(kFilesToUploadKey).value_or(QStringList());
    for (qsizetype i = 0; i < templates.size(); ++i) {
        const QString path = install().expandPath(templates.at(i), account);
        QString error;
        const QString undone = i == 0 ? lv::undoUnfinishedUpload(path, &error) : QString();
        if (!undone.isNull())
            sendStatus(undone);
        else if (!error.isNull())
            sendError(tr("Unable to put back %1: %2").arg(lv::lastPathComponent(path), error));
        if (lv::removeLeftoverCopy(path + QStringLiteral(".gz")))
            sendStatus(tr("Removed %1.gz, left by an upload that did not finish").arg(lv::lastPathComponent(path)));
    }
}

bool LVUploadRun::alreadyUploadedForAccount(const QString &account, QString *refusal) {
    mRun.current.reset();
    const std::optional<QStringList> files = mSettings.arrayForKey(kFilesToUploadKey);
    if (!files || files->isEmpty())
        return true;
    const QString path = install().expandPath(files->first(), account);
    LVFileRead savedVariables = lv::readWholeFile(path);
    if (savedVariables.status == LVRegularFile::Refused) {
        sendError(savedVariables.problem);
        if (refusal)
            *refusal = savedVariables.problem;
    }
    if (!savedVariables.contents || !lv::isValidUtf8(*savedVariables.contents))
        return true;
    QByteArray &text = *savedVariables.contents;
    const qint64 size = text.size();
    const qsizetype flag = lv::setUploadedFlag(text);
    if (flag < 0) {
        if (!text.contains(lv::kUploadedFlag))
            sendError(tr("rvUploaded variable seems to be malformed."));
        return true;
    }
    // What is sent carries the flag set and the realm; the game's file stays as it is until the site
    // has the data.
    text.append(lv::realmLine(install().realm()));
    mRun.current = Account{account, path, flag, size, savedVariables.stamp, std::move(text), {}, 0};
    LVStatusBus::sendVerboseMessage(QStringLiteral("rvUpload == 1"));
    return false;
}

bool LVUploadRun::validateCacheFilesForAccount(const QString &account, QString *refusal) {
    const QStringList files = mSettings.arrayForKey(kFilesToUploadKey).value_or(QStringList());
    for (const QString &entry : files) {
        // Judged by the template as stored, before any placeholder is expanded.
        if (lv::pathExtension(entry) != QLatin1String("wdb"))
            continue;
        const QString path = install().expandPath(entry, account);
        QString refused;
        if (!lv::validateWDBFile(path, &refused)) {
            sendError(refused.isNull() ? tr("Invalid cache file: %1").arg(lv::lastPathComponent(path)) : refused);
            if (refusal)
                *refusal = refused;
            return false;
        }
        LVStatusBus::sendVerboseMessage(tr("Validating cache file: %1").arg(lv::lastPathComponent(path)));
    }
    return true;
}

QList<LVBodySource> LVUploadRun::bodySources() const {
    QList<LVBodySource> sources;
    const QStringList templates = mSettings.arrayForKey(kFilesToUploadKey).value_or(QStringList());
    for (const QString &pathTemplate : templates)
        sources.append({install().expandPath(pathTemplate, mRun.current->name), std::nullopt});
    if (!sources.isEmpty())
        sources.first().contents = mRun.current->uploadedText;
    return sources;
}

void LVUploadRun::compressAccount() {
    const QString what = tr("Compressing %1…").arg(mRun.current->name);
    emit progress(what, 0, 0);
    const auto report = [this, what](qint64 done, qint64 total) {
        QMetaObject::invokeMethod(this, [this, what, done, total] { emit progress(what, done, total); });
    };
    mCompression.setFuture(
        QtConcurrent::run(lv::buildUploadBody, bodySources(), lv::uploadBoundary(this), std::function(report)));
}

void LVUploadRun::bodyBuilt() {
    Account &account = *mRun.current;
    account.body = mCompression.result();
    if (!account.body.error.isNull()) {
        sendError(account.body.error);
        accountFailed(LVFailureKind::LocalFiles, account.body.error);
        nextAccount();
        return;
    }
    const QString urlText = mSettings.stringForKey(kPostURLKey) +
                            lv::uploadQuery(mRun.username, mRun.password, mSettings.boolForKey(kCharacterDataKey));
    writeBodyCopy(account.body.body);
    LVStatusBus::sendVerboseMessage(tr("Url is…"));
    LVStatusBus::sendVerboseMessage(lv::redactedUrl(urlText));
    account.requestId = -1;
    const int id =
        mTransport.postURL(QUrl(urlText, QUrl::StrictMode), account.body.body, lv::uploadBoundary(this), account.name);
    // An address that is no URL has failed, and been handled, by now.
    if (mRun.current && mRun.current->requestId == -1)
        mRun.current->requestId = id;
}

void LVUploadRun::requestFinished(const LVUploadReply &reply) {
    if (!mRun.current || (mRun.current->requestId != reply.id && mRun.current->requestId != -1))
        return;
    Account &account = *mRun.current;
    emit uploadRequestFinished(account.name, reply.succeeded);
    sendStatus(tr("Cleaning up…"));
    removeCopies(account.body.copies);
    const bool savedMeanwhile = reply.succeeded && !markUploaded(account);
    emit accountUploaded({install().gameFolder(), account.name, account.body.fileNames, account.body.bytesBefore,
                          account.body.bytesAfter, reply, savedMeanwhile});
    sendStatus(QStringLiteral(""));
    if (reply.succeeded)
        accountStored();
    else
        accountFailed(lv::failureKindOf(reply), reply.reason, reply.retryAfterSeconds);
    QMetaObject::invokeMethod(this, &LVUploadRun::nextAccount, Qt::QueuedConnection);
}

// The site has the data: the flag is set in the very file that was read and sent. False when the game
// has saved that file since, so that its new data goes with the next upload.
bool LVUploadRun::markUploaded(Account &account) {
    QByteArray &asRead = account.uploadedText;
    asRead.truncate(account.size);
    lv::resetUploadedFlag(asRead, account.flagOffset);
    QString error;
    switch (lv::markUploaded(account.savedVariables, account.stamp, asRead, account.flagOffset, &error)) {
    case LVMarkResult::Marked:
        return true;
    case LVMarkResult::FileChanged:
        sendStatus(tr("%1: the game saved new data during the upload; it goes with the next upload").arg(account.name));
        return false;
    case LVMarkResult::Failed:
        qCWarning(lcUpload).noquote() << "The site has the data of" << account.name << "but" << account.savedVariables
                                      << "was not marked uploaded:" << error;
        return true;
    }
    return true;
}

void LVUploadRun::accountStored() {
    mRun.outcome.storedAccounts << mRun.current->name;
    mRun.current.reset();
}

void LVUploadRun::accountFailed(LVFailureKind kind, const QString &reason, std::optional<qint64> retryAfter) {
    const QString name = mRun.current->name;
    mRun.current.reset();
    recordFailure(name, reason, kind, retryAfter);
}

// An account whose files cannot be read as files: it fails, and the run goes on with the next.
void LVUploadRun::accountRefused(const QString &account, const QString &reason) {
    ++mRun.outcome.accountsWithData;
    recordFailure(account, reason, LVFailureKind::LocalFiles);
}

void LVUploadRun::recordFailure(const QString &account, const QString &reason, LVFailureKind kind,
                                std::optional<qint64> retryAfter) {
    mRun.outcome.failedAccounts << account;
    mRun.outcome.failures.append({{install().gameFolder(), account}, reason, kind, retryAfter});
    mRun.outcome.failed = true;
}

// An account folder whose name cannot be told to the file system again: its files cannot be read.
void LVUploadRun::refuseUnreadableAccount(const QString &account) {
    const QString reason = tr("its name is not valid in the encoding of this system's file names");
    sendStatus(accountLine(account));
    sendError(tr("Unable to read the account folder %1: %2").arg(account, reason));
    mRun.outcome.lookedAt.append({install().gameFolder(), account});
    accountRefused(account, reason);
}

// What the user has to do for each account that is not tried again by itself.
void LVUploadRun::adviseOnFailures() const {
    for (const LVAccountFailure &failure : mRun.outcome.failures)
        if (failure.kind != LVFailureKind::Passing)
            sendStatus(lv::failureAdvice(failure.kind, failure.account.account));
}

void LVUploadRun::finishRun() {
    const LVUploadOutcome outcome = mRun.outcome;
    sendStatus(QStringLiteral(""));
    if (outcome.accountsWithData > 0 && outcome.failedAccounts.isEmpty())
        sendStatus(tr("Upload successful. You can upload again after 1 minute."));
    else if (!outcome.failedAccounts.isEmpty())
        sendError(tr("Upload failed for %1 of %n accounts: %2", nullptr, outcome.accountsWithData)
                      .arg(outcome.failedAccounts.size())
                      .arg(outcome.failedAccounts.join(QStringLiteral(", "))));
    adviseOnFailures();
    // The site takes no new upload for a minute after one it stored: the retest enables the button again.
    if (!outcome.storedAccounts.isEmpty())
        mAuthentication.scheduleRetest(65);
    mRun = {};
    mLock.reset();
    mUploadState = UploadIdle;
    emit runEnded(outcome);
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

LVFailureKind lv::failureKindOf(const LVUploadReply &reply) {
    if (reply.passing)
        return LVFailureKind::Passing;
    if (reply.httpStatus == 401 || reply.httpStatus == 403)
        return LVFailureKind::Credentials;
    if (reply.httpStatus < 400)
        return LVFailureKind::Address;
    return LVFailureKind::SiteRefused;
}

QString lv::failureAdvice(LVFailureKind kind, const QString &account) {
    switch (kind) {
    case LVFailureKind::Passing:
        break;
    case LVFailureKind::SiteRefused:
        return LVUploadRun::tr("%1 waits for you (the site refused its data): update the client and the addon, then "
                               "press Upload.")
            .arg(account);
    case LVFailureKind::Credentials:
        return LVUploadRun::tr("%1 waits for you (the site refused your sign-in): sign in again, then press Upload.")
            .arg(account);
    case LVFailureKind::Address:
        return LVUploadRun::tr("%1 waits for you (the upload address does not lead to the site): check "
                               "lvclient_postURL in the settings, then press Upload.")
            .arg(account);
    case LVFailureKind::CorruptCache:
        return LVUploadRun::tr("%1 waits for you (a cache file is corrupt): quit the game normally, so that it "
                               "writes its cache anew, then press Upload.")
            .arg(account);
    case LVFailureKind::LocalFiles:
        return LVUploadRun::tr("%1 waits for you (its files could not be prepared): make room on the disk or free "
                               "the file named above, then press Upload.")
            .arg(account);
    }
    return {};
}
