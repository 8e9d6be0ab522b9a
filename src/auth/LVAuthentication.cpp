#include "auth/LVAuthentication.h"

#include "common/LVBusyGuard.h"
#include "common/LVClock.h"
#include "common/TimeText.h"
#include "common/md5.h"
#include "net/UploadBody.h"
#include "platform/LVCredentialStore.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"

#include <QTimer>
#include <QUrl>

namespace {

// The service answers one byte; anything much longer is not its answer.
constexpr qint64 kAuthenticationReplyLimit = 1024;

} // namespace

QString lv::keychainProblemText(int status, const QString &reason) {
    if (status == LVCredentialStore::kNoService)
        return LVAuthentication::tr(
                   "%1: sign in and keep the password for this session only, or start one and sign in again.")
            .arg(reason);
    return LVAuthentication::tr("The keychain is not available: %1").arg(reason);
}

LVAuthentication::LVAuthentication(LVSettings &settings, LVCredentialStore &store, QNetworkAccessManager &network,
                                   LVBusyGuard &busy, LVClock &clock, LVSystemEvents &events, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mStore(store)
    , mNetwork(network)
    , mBusy(busy)
    , mClock(clock)
    , mRetry(clock, events) {
    connect(&mRetry, &LVRetrySchedule::due, this, [this] { retestUnlessAnswered(mTestsBegun, false); });
}

bool LVAuthentication::obtainUsername(QString &username, QString &password) {
    LVBusyGuard::Scope busy(mBusy);
    const LVCredentialStore::Item item = mStore.findPassword();
    mPasswordMissing = item.status == LVCredentialStore::kItemNotFound;
    mKeychainProblem.clear();
    if (mPasswordMissing) {
        emit signInNeeded();
        return false;
    }
    if (item.status != LVCredentialStore::kSuccess) {
        mKeychainProblem = lv::keychainProblemText(item.status, mStore.failureReason());
        LVStatusBus::sendErrorMessage(mKeychainProblem);
        emit credentialProblem(mKeychainProblem);
        // Without any keychain the sheet is the only way in: it offers to keep the password for the session.
        if (item.status == LVCredentialStore::kNoService)
            emit signInNeeded();
        return false;
    }
    username = mSettings.stringForKey(kUsernameKey);
    password = lv::md5HexString(item.password);
    return true;
}

void LVAuthentication::testAuthentication() {
    ++mTestsBegun;
    LVBusyGuard::Scope busy(mBusy);
    QString username;
    QString password;
    if (!obtainUsername(username, password)) {
        // Not signed in yet is no failure: the sign-in sheet is asking.
        if (!mPasswordMissing)
            LVStatusBus::sendErrorMessage(tr("Authentication failed."));
        LVStatusBus::sendStatusMessage(QStringLiteral(""));
        emit tested();
        return;
    }
    testCredentials(username, password);
}

LVAuthentication::Answer LVAuthentication::testCredentials(const QString &username, const QString &passwordHex) {
    LVBusyGuard::Scope busy(mBusy);
    const QUrl url(mSettings.stringForKey(kAuthURLKey) + lv::credentialsQuery(username, passwordHex), QUrl::StrictMode);
    const LVGetResult reply = lv::synchronousGet(mNetwork, url, mTimeouts, kAuthenticationReplyLimit);
    if (reply.tooLong)
        LVStatusBus::sendErrorMessage(reply.errorText);
    // The service's HTTP status plays no part; a request that got no HTTP reply counts as an empty one.
    mLastReply = reply.httpStatus > 0 ? reply.body : QByteArray();
    if (reply.httpStatus == 0) {
        const QString reason = reply.errorText.isEmpty() ? tr("no answer came") : reply.errorText;
        LVStatusBus::sendErrorMessage(tr("The site cannot be reached: %1").arg(reason));
    }
    const Answer answer = judgeReply(mLastReply);
    followAnswer(answer);
    LVStatusBus::sendStatusMessage(QStringLiteral(""));
    emit tested();
    return answer;
}

LVAuthentication::Answer LVAuthentication::judgeReply(const QByteArray &body) {
    if (body.size() != 1) {
        LVStatusBus::sendErrorMessage(tr("Buffer length should be 1, instead it is %1").arg(body.size()));
        LVStatusBus::sendErrorMessage(tr("Authentication failed."));
        return Answer::None;
    }
    if (body == "0") {
        mAccountStatus = AccountValid;
        LVStatusBus::sendStatusMessage(tr("Authentication succeeded."));
        return Answer::Accepted;
    }
    if (body == "1") {
        mAccountStatus = AccountRejected;
        LVStatusBus::sendErrorMessage(tr("Authentication failed."));
        emit credentialProblem(tr("The site does not accept your user name and password."));
        return Answer::Rejected;
    }
    if (body == "2") {
        mAccountStatus = AccountThrottled;
        LVStatusBus::sendStatusMessage(
            tr("Authentication succeeded but cannot upload for about another minute. Will retry in 30 seconds."));
        scheduleRetest(30);
        return Answer::Throttled;
    }
    LVStatusBus::sendErrorMessage(
        tr("Buffer data should be 0, 1, or 2, instead it is %1").arg(QString::fromLatin1(body)));
    LVStatusBus::sendErrorMessage(tr("Authentication failed."));
    return Answer::None;
}

// No answer is not a refusal: the site is asked again until it answers.
void LVAuthentication::followAnswer(Answer answer) {
    mUnanswered = answer == Answer::None;
    if (!mUnanswered || !mRetrying) {
        mRetry.reset();
        if (answer == Answer::Rejected)
            emit credentialsRejected();
        return;
    }
    mRetry.failed();
    LVStatusBus::sendStatusMessage(
        tr("The site gave no answer: it is asked again at %1.").arg(lv::shortDateTime(mRetry.nextTry())));
}

QDateTime LVAuthentication::nextTest() const {
    if (mRetry.isWaiting())
        return mRetry.nextTry();
    if (mAccountStatusTimer && mAccountStatusTimer->isActive())
        return mClock.now().addMSecs(mAccountStatusTimer->remainingTime());
    return {};
}

void LVAuthentication::scheduleRetest(int seconds) {
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, timer] { retestAuthentication(timer); });
    timer->start(seconds * 1000);
    mAccountStatusTimer = timer;
}

void LVAuthentication::retestAuthentication(QTimer *timer) {
    if (timer) {
        if (timer == mAccountStatusTimer)
            mAccountStatusTimer = nullptr;
        timer->stop();
        timer->deleteLater();
    }
    retestUnlessAnswered(mTestsBegun, true);
}

void LVAuthentication::retestUnlessAnswered(quint64 testsBegunWhenDue, bool markThrottled) {
    if (mTestsBegun != testsBegunWhenDue) {
        emit retested();
        return;
    }
    if (mBusy.deferWhileBusy(
            [this, testsBegunWhenDue, markThrottled] { retestUnlessAnswered(testsBegunWhenDue, markThrottled); }))
        return;
    if (markThrottled)
        mAccountStatus = AccountThrottled;
    testAuthentication();
    emit retested();
}
