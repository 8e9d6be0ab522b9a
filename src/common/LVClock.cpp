#include "common/LVClock.h"

LVClock &LVClock::system() {
    static LVClock clock;
    return clock;
}
