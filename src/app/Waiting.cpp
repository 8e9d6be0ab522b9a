#include "app/LVApplicationDelegate.h"

#include <QTimer>

LVApplicationDelegate::BusyScope::BusyScope(LVApplicationDelegate &delegate)
    : mDelegate(delegate) {
    ++mDelegate.mBusyDepth;
}

LVApplicationDelegate::BusyScope::~BusyScope() {
    if (--mDelegate.mBusyDepth > 0 || mDelegate.mDeferredActions.isEmpty())
        return;
    // Run on the next pass of the event loop, after the work that was waiting has returned.
    QTimer::singleShot(0, &mDelegate, [delegate = &mDelegate] {
        const QList<std::function<void()>> actions = std::exchange(delegate->mDeferredActions, {});
        for (const auto &action : actions)
            action();
    });
}

bool LVApplicationDelegate::deferWhileBusy(std::function<void()> action) {
    if (mBusyDepth == 0)
        return false;
    mDeferredActions.append(std::move(action));
    return true;
}
