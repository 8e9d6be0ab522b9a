#pragma once

#include <QObject>

#include <memory>

// What the desktop says that makes waiting for the network pointless: the network is back, or the
// machine has woken up. This base class hears of neither; tests send the signals themselves.
class LVSystemEvents : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // The machine reaches the network again after it could not.
    void networkReachable();
    // The machine has woken from sleep or hibernation.
    void resumed();
};

namespace lv {

// The events of the platform the program runs on; where it has no source for them, none are sent.
std::unique_ptr<LVSystemEvents> makePlatformSystemEvents();

} // namespace lv
