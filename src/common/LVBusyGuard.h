#pragma once

#include <QList>
#include <QObject>

#include <functional>

// While the program waits for the network or the keychain, the event loop runs on so that the window
// keeps painting; work that an event would start meanwhile (a retest, the game quitting, an upload) is
// deferred until the wait is over, so that it never runs in the middle of another.
class LVBusyGuard : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Marks the guard busy while it lives; nested scopes are fine.
    class Scope {
    public:
        explicit Scope(LVBusyGuard &guard);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        LVBusyGuard &mGuard;
    };

    bool isBusy() const { return mDepth > 0; }
    // True when the action was deferred, because a wait is going on; it then runs once the wait is over.
    bool deferWhileBusy(std::function<void()> action);

private:
    void runDeferred();

    int mDepth = 0;
    QList<std::function<void()>> mDeferredActions;
};
