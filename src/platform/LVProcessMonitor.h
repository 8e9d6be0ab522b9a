#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

// The applications running on the machine, by name, and the news of one starting or ending. A name
// is what a user would call the program: "Wow" for the game, also when Wine runs it.
class LVProcessMonitor : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual QStringList runningApplicationNames() const = 0;

signals:
    void applicationLaunched(const QString &name);
    void applicationTerminated(const QString &name);
};

// The process monitor of the platform the program runs on.
std::unique_ptr<LVProcessMonitor> makePlatformProcessMonitor();
