#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <optional>

class LVClock;
class LVSystemEvents;

// When to try again what failed for a passing reason (the site unreachable, stalled or busy): after
// 30 s, 1, 2, 4 and 8 minutes, then every 15 minutes, each wait stretched a little at random so that
// many clients do not come back at once; or when the site said (Retry-After), up to an hour. The
// network coming back or the machine waking makes a waiting try due at once, except one whose time
// the site gave.
class LVRetrySchedule : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kLongestAskedWaitSeconds = 3600;

    LVRetrySchedule(LVClock &clock, LVSystemEvents &events, QObject *parent = nullptr);

    // Another try failed for a passing reason: the next one is scheduled.
    void failed(std::optional<qint64> retryAfterSeconds = std::nullopt);
    // Nothing is left to try: the back-off starts from the beginning next time.
    void reset();
    // A waiting try falls due now.
    void tryNow();

    bool isWaiting() const { return mNextTry.isValid(); }
    // Null while nothing waits.
    QDateTime nextTry() const { return mNextTry; }
    int failures() const { return mFailures; }

signals:
    // Time for the next try; nothing waits any more until failed() is called again.
    void due();
    void nextTryChanged(const QDateTime &nextTry);

private:
    void setNextTry(const QDateTime &nextTry);
    void checkDue();
    void eventHappened();

    LVClock &mClock;
    QTimer mTimer;
    QDateTime mNextTry;
    int mFailures = 0;
    bool mTimeFromSite = false;
};

namespace lv {

// The wait in seconds after the given number of failed tries (1 or more), stretched by up to a tenth
// either way by `jitter`, a number in [0, 1).
qint64 backOffSeconds(int failures, double jitter);

// The wait an HTTP Retry-After value asks for, in seconds: a number of seconds or a date; nothing
// when the value is absent or unreadable.
std::optional<qint64> retryAfterSeconds(const QByteArray &value, const QDateTime &now);

} // namespace lv
