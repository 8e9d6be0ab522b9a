#pragma once

#include "platform/LVSystemEvents.h"

// The network from Qt's network information backend (NetworkManager), the wake-ups from logind's
// PrepareForSleep on the system bus. Where either is missing (a container, a machine without
// NetworkManager) that event is simply never sent.
class LVLinuxSystemEvents : public LVSystemEvents {
    Q_OBJECT
public:
    explicit LVLinuxSystemEvents(QObject *parent = nullptr);

private slots:
    void prepareForSleep(bool goingToSleep);

private:
    void followNetwork();
    void followSleep();

    bool mOnline = true;
};
