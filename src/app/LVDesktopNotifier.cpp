#include "app/LVDesktopNotifier.h"

#include "common/LVLogging.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

Q_LOGGING_CATEGORY(lcApp, "lorvane.app")

namespace {

// The markup services read in a body knows only these three characters as special.
QString escapedBody(QString body) {
    body.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    body.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    body.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    return body;
}

} // namespace

LVDesktopNotifier::LVDesktopNotifier(QObject *parent)
    : LVDesktopNotifier(QDBusConnection::sessionBus(), parent) {}

LVDesktopNotifier::LVDesktopNotifier(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , mBus(bus) {}

void LVDesktopNotifier::notify(const QString &summary, const QString &body, Urgency urgency) {
    if (!mEnabled)
        return;
    if (!mBus.isConnected()) {
        const QString error = QStringLiteral("not connected to D-Bus (%1)").arg(mBus.lastError().message());
        QMetaObject::invokeMethod(
            this, [this, error] { reportFailure(error); }, Qt::QueuedConnection);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    // The desktop entry lets the desktop show the notification under the client's name and icon.
    const QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(uchar(urgency))},
                            {QStringLiteral("desktop-entry"), QStringLiteral(LV_APP_ID)}};
    call << QString(kAppName) << uint(0) << QString(kIcon) << summary << escapedBody(body) << QStringList() << hints
         << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(mBus.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &LVDesktopNotifier::callFinished);
}

void LVDesktopNotifier::callFinished(QDBusPendingCallWatcher *watcher) {
    watcher->deleteLater();
    const QDBusPendingReply<uint> reply = *watcher;
    if (reply.isError())
        reportFailure(QStringLiteral("%1: %2").arg(reply.error().name(), reply.error().message()));
    else
        emit shown(reply.value());
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
        body = QStringLiteral("No account had anything new.");
    else if (accounts.size() == 1)
        body = QStringLiteral("1 account went up: %1").arg(list);
    else
        body = QStringLiteral("%1 accounts went up: %2").arg(accounts.size()).arg(list);
    notify(QStringLiteral("Upload complete"), body);
}

void LVDesktopNotifier::notifyUploadFailed(const QString &account, const QString &reason) {
    const QString why = reason.isEmpty() ? QStringLiteral("the upload did not get through") : reason;
    notify(QStringLiteral("Upload failed"), account.isEmpty() ? why : account + QStringLiteral(": ") + why,
           Urgency::Critical);
}

void LVDesktopNotifier::notifyCredentialProblem(const QString &text) {
    notify(QStringLiteral("Sign-in problem"), text, Urgency::Critical);
}
