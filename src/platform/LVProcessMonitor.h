#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

// The applications running on the machine, by name, and the news of one starting or ending: one
// piece of news for each process. A name is what a user would call the program: "Wow" for the
// game, also when Wine runs it.
class LVProcessMonitor : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // One name for each running process: two copies of a program give its name twice.
    virtual QStringList runningApplicationNames() const = 0;

    // How many processes of that name run.
    int runningCount(const QString &name) const { return int(runningApplicationNames().count(name)); }

signals:
    void applicationLaunched(const QString &name);
    void applicationTerminated(const QString &name);
};

namespace lv {

// The process monitor of the platform the program runs on.
std::unique_ptr<LVProcessMonitor> makePlatformProcessMonitor();

} // namespace lv
