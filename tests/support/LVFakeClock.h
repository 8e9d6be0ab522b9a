#pragma once

#include "common/LVClock.h"

// A clock that stands still until the test moves it; moving it is a jump, as after a sleep.
class LVFakeClock : public LVClock {
public:
    QDateTime now() const override { return mNow; }
    void advance(qint64 seconds) {
        mNow = mNow.addSecs(seconds);
        emit jumped();
    }

private:
    QDateTime mNow = QDateTime::currentDateTimeUtc();
};
