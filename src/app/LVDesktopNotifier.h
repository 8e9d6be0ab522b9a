#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QSet>
#include <QStringList>

class QDBusPendingCallWatcher;

// Desktop notifications through the freedesktop notification service on D-Bus. Sending never
// waits for the service: the answer arrives later as shown() or failed(). A desktop without the
// service (no bus, no such name, an error answer) changes nothing but one line in the system log.
// Where the service shows actions, a notification may offer some; the one chosen comes back as
// actionInvoked().
class LVDesktopNotifier : public QObject {
    Q_OBJECT
public:
    enum class Urgency : uchar { Normal = 1, Critical = 2 };

    static constexpr QLatin1StringView kService{"org.freedesktop.Notifications"};
    static constexpr QLatin1StringView kPath{"/org/freedesktop/Notifications"};
    static constexpr QLatin1StringView kAppName{"Lorvane Client"};
    static constexpr QLatin1StringView kIcon{"lorvane-client"};
    static constexpr int kCallTimeoutMs = 5000;
    // The actions notifications offer, by key.
    static constexpr QLatin1StringView kRetryAction{"retry"};
    static constexpr QLatin1StringView kHistoryAction{"history"};
    static constexpr QLatin1StringView kSignInAction{"sign-in"};

    // Notifies on the session bus.
    explicit LVDesktopNotifier(QObject *parent = nullptr);
    explicit LVDesktopNotifier(const QDBusConnection &bus, QObject *parent = nullptr);

    bool isEnabled() const { return mEnabled; }
    // Off, nothing is sent.
    void setEnabled(bool enabled) { mEnabled = enabled; }

    // The body may hold any text: it is escaped for the services that read markup in it. The actions
    // are pairs of a key and its label, left out where the service shows no actions.
    void notify(const QString &summary, const QString &body, Urgency urgency = Urgency::Normal,
                const QStringList &actions = {});

    void notifyUploadSucceeded(const QStringList &accounts);
    // `who` names the failed accounts, `retry` says when they are tried again (null: not by themselves).
    void notifyUploadFailed(const QString &who, const QString &reason, const QString &retry = QString());
    void notifyCredentialProblem(const QString &text);
    // Waits, at most that long, until every notification asked for has reached the service or failed:
    // a program that ends at once would lose them, and a reply arriving while it ends is noise on its
    // error stream.
    void finishSending(int timeoutMs);

signals:
    // The service took the notification and gave it this id.
    void shown(uint id);
    // The notification was not shown; only the first failure is logged.
    void failed(const QString &error);
    // The user chose the action of that key on one of this program's notifications.
    void actionInvoked(const QString &key);
    // Every call made to the service has had its answer.
    void allAnswered();

private slots:
    void serviceInvokedAction(uint id, const QString &key);

private:
    struct Notification {
        QString summary;
        QString body;
        Urgency urgency;
        QStringList actions;
    };
    enum class Capabilities { Unknown, Asking, Known };

    void askCapabilities();
    void sendWaiting();
    void send(const Notification &notification);
    void callFinished(QDBusPendingCallWatcher *watcher);
    void reportFailure(const QString &error);
    void callAnswered();

    QDBusConnection mBus;
    int mCallsInFlight = 0;
    bool mEnabled = true;
    bool mFailureLogged = false;
    Capabilities mCapabilities = Capabilities::Unknown;
    bool mShowsActions = false;
    QList<Notification> mWaiting; // until the service said what it can show
    QSet<uint> mOwnIds;
};
