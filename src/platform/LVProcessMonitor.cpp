#include "platform/LVProcessMonitor.h"

#include "platform/LVProcProcessMonitor.h"

namespace {

// Where the program cannot see other processes yet: nothing runs and nothing starts.
class LVGenericProcessMonitor : public LVProcessMonitor {
public:
    QStringList runningApplicationNames() const override { return {}; }
};

} // namespace

std::unique_ptr<LVProcessMonitor> lv::makePlatformProcessMonitor() {
#ifdef Q_OS_LINUX
    return std::make_unique<LVProcProcessMonitor>();
#else
    return std::make_unique<LVGenericProcessMonitor>();
#endif
}
