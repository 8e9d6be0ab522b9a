#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QTemporaryDir>

// A D-Bus session bus of the test's own, which starts no service by itself: a name nobody took stays
// missing, a keychain service among them.
class LVPrivateBus {
public:
    LVPrivateBus();
    ~LVPrivateBus();
    LVPrivateBus(const LVPrivateBus &) = delete;
    LVPrivateBus &operator=(const LVPrivateBus &) = delete;

    bool isRunning() const { return !mAddress.isEmpty(); }
    QString address() const { return mAddress; }
    // A connection of that name to the bus.
    QDBusConnection connect(const QString &name) const;

private:
    QTemporaryDir mDir;
    QProcess mDaemon;
    QString mAddress;
};
