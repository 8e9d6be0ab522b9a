#pragma once

#include "platform/LVProcessMonitor.h"

// Applications that run because the test says so; launching and quitting them sends the news.
class LVFakeProcessMonitor : public LVProcessMonitor {
public:
    QStringList names;

    QStringList runningApplicationNames() const override { return names; }

    void launch(const QString &name) {
        names << name;
        emit applicationLaunched(name);
    }
    void terminate(const QString &name) {
        names.removeOne(name);
        emit applicationTerminated(name);
    }
};
