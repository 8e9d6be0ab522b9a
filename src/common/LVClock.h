#pragma once

#include <QDateTime>
#include <QObject>

// The time that waits are measured against: the real one, or in tests one they move by hand.
// Timers run on the monotonic clock, which stands still while the machine sleeps: what waits for a
// moment of this clock looks again whenever it jumps.
class LVClock : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual QDateTime now() const { return QDateTime::currentDateTimeUtc(); }
    // The real clock, for whoever was handed none.
    static LVClock &system();

signals:
    // The time has moved on further than the running timers know.
    void jumped();
};
