#include "app/LVApplicationDelegate.h"
#include "net/UploadBody.h"
#include "settings/LVSettings.h"

#include <QTimer>
#include <QUrl>

void LVApplicationDelegate::testAuthentication() {
    BusyScope busy(*this);
    QString username;
    QString password;
    if (!obtainUsername(username, password)) {
        sendErrorMessage(QStringLiteral("Authentication failed."));
        sendStatusMessage(QStringLiteral(""));
        return;
    }
    const QUrl url(mSettings->stringForKey(kAuthURLKey) + credentialsQuery(username, password), QUrl::StrictMode);
    const LVGetResult reply = synchronousGet(*mNetworkAccess, url, mNetworkTimeouts);
    // The service's HTTP status plays no part; a request that got no HTTP reply counts as an empty one.
    const QByteArray body = reply.httpStatus > 0 ? reply.body : QByteArray();
    mLastAuthenticationReply = body;

    if (body.size() != 1) {
        sendErrorMessage(QStringLiteral("Buffer length should be 1, instead it is %1").arg(body.size()));
        sendErrorMessage(QStringLiteral("Authentication failed."));
    } else if (body == "0") {
        mAccountStatus = AccountValid;
        sendStatusMessage(QStringLiteral("Authentication succeeded."));
    } else if (body == "1") {
        mAccountStatus = AccountRejected;
        sendErrorMessage(QStringLiteral("Authentication failed."));
    } else if (body == "2") {
        mAccountStatus = AccountThrottled;
        sendStatusMessage(QStringLiteral(
            "Authentication succeeded but cannot upload for about another minute. Will retry in 30 seconds."));
        scheduleRetest(30);
    } else {
        sendErrorMessage(
            QStringLiteral("Buffer data should be 0, 1, or 2, instead it is %1").arg(QString::fromLatin1(body)));
        sendErrorMessage(QStringLiteral("Authentication failed."));
    }
    sendStatusMessage(QStringLiteral(""));
}

// The new timer replaces the field's reference; a timer already pending still fires and retests.
void LVApplicationDelegate::scheduleRetest(int seconds) {
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, timer] { retestAuthentication(timer); });
    timer->start(seconds * 1000);
    mAccountStatusTimer = timer;
}

void LVApplicationDelegate::retestAuthentication(QTimer *timer) {
    if (timer) {
        if (timer == mAccountStatusTimer)
            mAccountStatusTimer = nullptr;
        timer->stop();
        timer->deleteLater();
    }
    if (deferWhileBusy([this] { retestAuthentication(nullptr); }))
        return;
    mAccountStatus = AccountThrottled;
    testAuthentication();
    validateUserInterface();
}
