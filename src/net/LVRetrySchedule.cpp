#include "net/LVRetrySchedule.h"

#include "common/LVClock.h"
#include "platform/LVSystemEvents.h"

#include <QRandomGenerator>

#include <array>

LVRetrySchedule::LVRetrySchedule(LVClock &clock, LVSystemEvents &events, QObject *parent)
    : QObject(parent)
    , mClock(clock) {
    mTimer.setSingleShot(true);
    connect(&mTimer, &QTimer::timeout, this, &LVRetrySchedule::checkDue);
    connect(&clock, &LVClock::jumped, this, &LVRetrySchedule::checkDue);
    connect(&events, &LVSystemEvents::networkReachable, this, &LVRetrySchedule::eventHappened);
    connect(&events, &LVSystemEvents::resumed, this, &LVRetrySchedule::eventHappened);
}

// A site that asks for no wait at all is given the first one of the back-off all the same.
void LVRetrySchedule::failed(std::optional<qint64> retryAfterSeconds) {
    ++mFailures;
    const qint64 backOff = lv::backOffSeconds(mFailures, QRandomGenerator::global()->generateDouble());
    mTimeFromSite = retryAfterSeconds.has_value();
    const qint64 wait =
        mTimeFromSite ? std::clamp(*retryAfterSeconds, lv::backOffSeconds(1, 0.5), kLongestAskedWaitSeconds) : backOff;
    setNextTry(mClock.now().addSecs(wait));
}

void LVRetrySchedule::reset() {
    mFailures = 0;
    setNextTry({});
}

void LVRetrySchedule::tryNow() {
    if (!isWaiting())
        return;
    setNextTry({});
    emit due();
}

void LVRetrySchedule::setNextTry(const QDateTime &nextTry) {
    mNextTry = nextTry;
    mTimer.stop();
    if (nextTry.isValid())
        mTimer.start(std::chrono::milliseconds(std::max<qint64>(0, mClock.now().msecsTo(nextTry))));
    emit nextTryChanged(nextTry);
}

// The timer may fire early by the clock's reckoning (a test's clock, or time slept): it waits again.
void LVRetrySchedule::checkDue() {
    if (!isWaiting())
        return;
    if (mClock.now() >= mNextTry)
        tryNow();
    else
        setNextTry(mNextTry);
}

void LVRetrySchedule::eventHappened() {
    if (mTimeFromSite)
        checkDue();
    else
        tryNow();
}

qint64 lv::backOffSeconds(int failures, double jitter) {
    static constexpr std::array<qint64, 6> kWaits{30, 60, 120, 240, 480, 900};
    const qint64 wait = kWaits[size_t(std::clamp(failures, 1, int(kWaits.size())) - 1)];
    return qRound64(double(wait) * (0.9 + 0.2 * std::clamp(jitter, 0.0, 1.0)));
}

std::optional<qint64> lv::retryAfterSeconds(const QByteArray &value, const QDateTime &now) {
    const QByteArray trimmed = value.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool isNumber = false;
    const qint64 seconds = trimmed.toLongLong(&isNumber);
    if (isNumber)
        return seconds >= 0 ? std::optional(seconds) : std::nullopt;
    // HTTP dates name their zone "GMT", which Qt reads only as an offset.
    QString date = QString::fromLatin1(trimmed);
    if (date.endsWith(QLatin1String(" GMT")))
        date = date.chopped(3) + QLatin1String("+0000");
    const QDateTime when = QDateTime::fromString(date, Qt::RFC2822Date);
    if (!when.isValid())
        return std::nullopt;
    return std::max<qint64>(0, now.secsTo(when));
}
