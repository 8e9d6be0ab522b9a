#include "common/LVBusyGuard.h"

#include <QTimer>

LVBusyGuard::Scope::Scope(LVBusyGuard &guard)
    : mGuard(guard) {
    ++mGuard.mDepth;
}

LVBusyGuard::Scope::~Scope() {
    if (--mGuard.mDepth > 0 || mGuard.mDeferredActions.isEmpty())
        return;
    // Run on the next pass of the event loop, after the work that was waiting has returned.
    QTimer::singleShot(0, &mGuard, &LVBusyGuard::runDeferred);
}

bool LVBusyGuard::deferWhileBusy(std::function<void()> action) {
    if (mDepth == 0)
        return false;
    mDeferredActions.append(std::move(action));
    return true;
}

void LVBusyGuard::runDeferred() {
    const QList<std::function<void()>> actions = std::exchange(mDeferredActions, {});
    for (const auto &action : actions)
        action();
}
