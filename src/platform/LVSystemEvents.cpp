#include "platform/LVSystemEvents.h"

#ifdef Q_OS_LINUX
#include "platform/LVLinuxSystemEvents.h"
#endif

std::unique_ptr<LVSystemEvents> lv::makePlatformSystemEvents() {
#ifdef Q_OS_LINUX
    return std::make_unique<LVLinuxSystemEvents>();
#else
    return std::make_unique<LVSystemEvents>();
#endif
}
