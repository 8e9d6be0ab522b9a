#pragma once

#include "status/LVStatusBus.h"

#include <QSignalSpy>
#include <QStringList>

// Listens to the status bus while it lives and hands back what was posted, each kind in order.
class LVStatusBusSpy {
public:
    QStringList statusMessages() const { return messages(mStatus); }
    QStringList errorMessages() const { return messages(mErrors); }

private:
    static QStringList messages(const QSignalSpy &spy) {
        QStringList result;
        for (const QList<QVariant> &arguments : spy)
            result << arguments.at(0).toString();
        return result;
    }

    QSignalSpy mStatus{&LVStatusBus::instance(), &LVStatusBus::statusMessageChanged};
    QSignalSpy mErrors{&LVStatusBus::instance(), &LVStatusBus::errorMessageChanged};
};
