#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

class QDBusPendingCallWatcher;

// Desktop notifications through the freedesktop notification service on D-Bus. Sending never
// waits for the service: the answer arrives later as shown() or failed(). A desktop without the
// service (no bus, no such name, an error answer) changes nothing but one line in the system log.
class LVDesktopNotifier : public QObject {
    Q_OBJECT
public:
    enum class Urgency : uchar { Normal = 1, Critical = 2 };

    static constexpr QLatin1StringView kService{"org.freedesktop.Notifications"};
    static constexpr QLatin1StringView kPath{"/org/freedesktop/Notifications"};
    static constexpr QLatin1StringView kAppName{"Lorvane Client"};
    static constexpr QLatin1StringView kIcon{"lorvane-client"};
    static constexpr int kCallTimeoutMs = 5000;

    // Notifies on the session bus.
    explicit LVDesktopNotifier(QObject *parent = nullptr);
    explicit LVDesktopNotifier(const QDBusConnection &bus, QObject *parent = nullptr);

    bool isEnabled() const { return mEnabled; }
    // Off, nothing is sent.
    void setEnabled(bool enabled) { mEnabled = enabled; }

    // The body may hold any text: it is escaped for the services that read markup in it.
    void notify(const QString &summary, const QString &body, Urgency urgency = Urgency::Normal);

    void notifyUploadSucceeded(const QStringList &accounts);
    void notifyUploadFailed(const QString &account, const QString &reason);
    void notifyCredentialProblem(const QString &text);

signals:
    // The service took the notification and gave it this id.
    void shown(uint id);
    // The notification was not shown; only the first failure is logged.
    void failed(const QString &error);

private:
    void callFinished(QDBusPendingCallWatcher *watcher);
    void reportFailure(const QString &error);

    QDBusConnection mBus;
    bool mEnabled = true;
    bool mFailureLogged = false;
};
