#include "app/LVDesktopNotifier.h"

#include "common/LVLogging.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEventLoop>
#include <QTimer>

Q_LOGGING_CATEGORY(lcApp, "lorvane.app")

namespace {

// The markup services read in a body knows only these three characters as special.
QString escapedBody(QString body) {
    body.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    body.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    body.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return body;
}

QDBusMessage serviceCall(const QString &method) {
    return QDBusMessage::createMethodCall(LVDesktopNotifier::kService, LVDesktopNotifier::kPath,
                                          LVDesktopNotifier::kService, method);
}

} // namespace

LVDesktopNotifier::LVDesktopNotifier(QObject *parent)
    : LVDesktopNotifier(QDBusConnection::sessionBus(), parent) {}

LVDesktopNotifier::LVDesktopNotifier(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , mBus(bus) {
    if (mBus.isConnected())
        mBus.connect(QString(), kPath, kService, QStringLiteral("ActionInvoked"), this,
                     SLOT(serviceInvokedAction(uint, QString)));
}

void LVDesktopNotifier::notify(const QString &summary, const QString &body, Urgency urgency,
                               const QStringList &actions) {
    if (!mEnabled)
        return;
    if (!mBus.isConnected()) {
        const QString error = QStringLiteral("not connected to D-Bus (%1)").arg(mBus.lastError().message());
        QMetaObject::invokeMethod(
            this, [this, error] { reportFailure(error); }, Qt::QueuedConnection);
        return;
    }
    mWaiting.append({summary, body, urgency, actions});
    if (mCapabilities == Capabilities::Known)
        sendWaiting();
    else
        askCapabilities();
}

// Asked once; a service that did not answer is asked again with the next notification.
void LVDesktopNotifier::askCapabilities() {
    if (mCapabilities != Capabilities::Unknown)
        return;
    mCapabilities = Capabilities::Asking;
    ++mCallsInFlight;
    auto *watcher = new QDBusPendingCallWatcher(
        mBus.asyncCall(serviceCall(QStringLiteral("GetCapabilities")), kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *answer) {
        answer->deleteLater();
        const QDBusPendingReply<QStringList> reply = *answer;
        mShowsActions = !reply.isError() && reply.value().contains(QStringLiteral("actions"));
        mCapabilities = reply.isError() ? Capabilities::Unknown : Capabilities::Known;
        sendWaiting();
        callAnswered();
    });
}

void LVDesktopNotifier::sendWaiting() {
    for (const Notification &notification : std::exchange(mWaiting, {}))
        send(notification);
}

void LVDesktopNotifier::send(const Notification &notification) {
    QDBusMessage call = serviceCall(QStringLiteral("Notify"));
    // The desktop entry lets the desktop show the notification under the client's name and icon.
    const QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(uchar(notification.urgency))},
                            {QStringLiteral("desktop-entry"), QStringLiteral(LV_APP_ID)}};
    call << QString(kAppName) << uint(0) << QString(kIcon) << notification.summary << escapedBody(notification.body)
         << (mShowsActions ? notification.actions : QStringList()) << hints << int(-1);
    ++mCallsInFlight;
    auto *watcher = new QDBusPendingCallWatcher(mBus.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &LVDesktopNotifier::callFinished);
}

void LVDesktopNotifier::callAnswered() {
    if (--mCallsInFlight == 0)
        emit allAnswered();
}

void LVDesktopNotifier::finishSending(int timeoutMs) {
    if (mCallsInFlight == 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    connect(this, &LVDesktopNotifier::allAnswered, &loop, &QEventLoop::quit);
    loop.exec();
}

void LVDesktopNotifier::callFinished(QDBusPendingCallWatcher *watcher) {
    watcher->deleteLater();
    const QDBusPendingReply<uint> reply = *watcher;
    if (reply.isError()) {
        reportFailure(QStringLiteral("%1: %2").arg(reply.error().name(), reply.error().message()));
    } else {
        mOwnIds.insert(reply.value());
        emit shown(reply.value());
    }
    callAnswered();
}

void LVDesktopNotifier::serviceInvokedAction(uint id, const QString &key) {
    if (mOwnIds.contains(id))
        emit actionInvoked(key);
}

void LVDesktopNotifier::reportFailure(const QString &error) {
    if (!mFailureLogged) {
        mFailureLogged = true;
        qCInfo(lcApp).noquote() << "Desktop notifications cannot be shown:" << error;
    }
    emit failed(error);
}

void LVDesktopNotifier::notifyUploadSucceeded(const QStringList &accounts) {
    const QString list = accounts.join(QStringLiteral(", "));
    QString body;
    if (accounts.isEmpty())
        body = tr("No account had anything new.");
    else if (accounts.size() == 1)
        body = tr("1 account went up: %1").arg(list);
    else
        body = tr("%n accounts went up: %1", nullptr, int(accounts.size())).arg(list);
    notify(tr("Upload complete"), body);
}

void LVDesktopNotifier::notifyUploadFailed(const QString &who, const QString &reason, const QString &retry) {
    const QString why = reason.isEmpty() ? tr("the upload did not get through") : reason;
    QString body = who.isEmpty() ? why : tr("%1: %2", "who failed: why").arg(who, why);
    if (!retry.isNull())
        body += QLatin1Char('\n') + retry;
    notify(tr("Upload failed"), body, Urgency::Critical,
           {kRetryAction, tr("Try again now"), kHistoryAction, tr("History")});
}

void LVDesktopNotifier::notifyCredentialProblem(const QString &text) {
    notify(tr("Sign-in problem"), text, Urgency::Critical, {kSignInAction, tr("Sign in")});
}
