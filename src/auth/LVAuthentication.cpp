#include "auth/LVAuthentication.h"

#include "common/LVBusyGuard.h"
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

LVAuthentication::LVAuthentication(LVSettings &settings, LVCredentialStore &store, QNetworkAccessManager &network,
                                   LVBusyGuard &busy, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mStore(store)
    , mNetwork(network)
    , mBusy(busy) {}

bool LVAuthentication::obtainUsername(QString &username, QString &password) {
    LVBusyGuard::Scope busy(mBusy);
    const LVCredentialStore::Item item = mStore.findPassword();
    if (item.status == LVCredentialStore::kItemNotFound) {
        emit signInNeeded();
        return false;
    }
    if (item.status != LVCredentialStore::kSuccess) {
        const QString problem = QStringLiteral("The keychain is not available: %1").arg(mStore.failureReason());
        LVStatusBus::sendErrorMessage(problem);
        emit credentialProblem(problem);
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
        LVStatusBus::sendErrorMessage(QStringLiteral("Authentication failed."));
        LVStatusBus::sendStatusMessage(QStringLiteral(""));
        return;
    }
    const QUrl url(mSettings.stringForKey(kAuthURLKey) + lv::credentialsQuery(username, password), QUrl::StrictMode);
    const LVGetResult reply = lv::synchronousGet(mNetwork, url, mTimeouts, kAuthenticationReplyLimit);
    if (reply.tooLong)
        LVStatusBus::sendErrorMessage(reply.errorText);
    // The service's HTTP status plays no part; a request that got no HTTP reply counts as an empty one.
    mLastReply = reply.httpStatus > 0 ? reply.body : QByteArray();
    if (reply.httpStatus == 0) {
        const QString reason = reply.errorText.isEmpty() ? QStringLiteral("no answer came") : reply.errorText;
        LVStatusBus::sendErrorMessage(QStringLiteral("The site cannot be reached: %1").arg(reason));
    }
    judgeReply(mLastReply);
    LVStatusBus::sendStatusMessage(QStringLiteral(""));
}

void LVAuthentication::judgeReply(const QByteArray &body) {
    if (body.size() != 1) {
        LVStatusBus::sendErrorMessage(QStringLiteral("Buffer length should be 1, instead it is %1").arg(body.size()));
        LVStatusBus::sendErrorMessage(QStringLiteral("Authentication failed."));
    } else if (body == "0") {
        mAccountStatus = AccountValid;
        LVStatusBus::sendStatusMessage(QStringLiteral("Authentication succeeded."));
    } else if (body == "1") {
        mAccountStatus = AccountRejected;
        LVStatusBus::sendErrorMessage(QStringLiteral("Authentication failed."));
        emit credentialProblem(QStringLiteral("The site does not accept your user name and password."));
    } else if (body == "2") {
        mAccountStatus = AccountThrottled;
        LVStatusBus::sendStatusMessage(QStringLiteral(
            "Authentication succeeded but cannot upload for about another minute. Will retry in 30 seconds."));
        scheduleRetest(30);
    } else {
        LVStatusBus::sendErrorMessage(
            QStringLiteral("Buffer data should be 0, 1, or 2, instead it is %1").arg(QString::fromLatin1(body)));
        LVStatusBus::sendErrorMessage(QStringLiteral("Authentication failed."));
    }
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
    retestUnlessAnswered(mTestsBegun);
}

void LVAuthentication::retestUnlessAnswered(quint64 testsBegunWhenDue) {
    if (mTestsBegun != testsBegunWhenDue) {
        emit retested();
        return;
    }
    if (mBusy.deferWhileBusy([this, testsBegunWhenDue] { retestUnlessAnswered(testsBegunWhenDue); }))
        return;
    mAccountStatus = AccountThrottled;
    testAuthentication();
    emit retested();
}
