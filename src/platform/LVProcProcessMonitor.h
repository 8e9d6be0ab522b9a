#pragma once

#include "platform/LVProcessMonitor.h"

#include <QByteArrayView>
#include <QMap>
#include <QTimer>

#include <optional>
#include <sys/types.h>
#include <unistd.h>

// One process as the monitor knows it. A process is its id together with its start time: an id that
// the system hands to a later process comes with a later start time.
struct LVProcess {
    quint64 startTime = 0; // clock ticks since boot
    QString name;          // null when it does not count: another user's, or naming nothing
    bool settled = false;  // whether its name is final; until then each look reads it again
    // The inode of its folder when it was read. /proc makes a new folder for every new process, so
    // a look that finds the same inode under the same id knows the process without reading a file.
    quint64 folderInode = 0;
};

// The processes of a proc file system, by process id.
using LVProcessTable = QMap<qint64, LVProcess>;

struct LVProcessChanges {
    QStringList terminated;
    QStringList launched;
};

// What the monitor needs of a process's stat line.
struct LVProcessStat {
    quint64 startTime = 0;
    bool kernelThread = false;
};

namespace lv {

// The application name of a process, from the contents of its cmdline and comm files: the last
// component of argv[0], split at "/" and at "\" so that a Windows path run by Wine counts too,
// without its extension. When argv[0] names nothing (an empty command line: a kernel thread, a
// process being reaped), comm serves as it is. Null when neither names anything.
QString applicationNameOfProcess(QByteArrayView cmdline, QByteArrayView comm);

// The start time and kind of a process, from its stat line; absent when the line is not one. The
// command name in it, between parentheses, may itself hold spaces and parentheses.
std::optional<LVProcessStat> parseProcessStat(QByteArrayView stat);

// The real user id in the contents of a process's status file; absent when it has none.
std::optional<uid_t> realUserIdFromStatus(QByteArrayView status);

// The processes of a proc file system run by the user. What the known table holds about a process
// that is still there is taken from it without reading a file, unless the name is not settled yet.
// Processes whose files cannot be read (ended since the listing) are left out.
LVProcessTable readProcessTable(const QString &procRoot, uid_t user, const LVProcessTable &known = {});

// The names of the processes that count, one for each process, in the order of their ids.
QStringList runningNames(const LVProcessTable &processes);

// What happened between two looks at the processes. A process that now shows another name counts as
// one ending and one starting. Endings come first, so that a game that quit and started again
// between two looks ends up running.
LVProcessChanges compareProcessTables(const LVProcessTable &before, const LVProcessTable &after);

} // namespace lv

// Watches /proc: it looks at the user's processes every two seconds and reports what started and
// ended since the last look, one report for each process. A look costs one listing of /proc: a
// process's files are read when it first shows up, and again only while its name may still change.
class LVProcProcessMonitor : public LVProcessMonitor {
    Q_OBJECT
public:
    explicit LVProcProcessMonitor(const QString &procRoot = QStringLiteral("/proc"), uid_t user = getuid(),
                                  QObject *parent = nullptr);

    QStringList runningApplicationNames() const override;

    int pollInterval() const { return mTimer.interval(); }
    void setPollInterval(int milliseconds) { mTimer.setInterval(milliseconds); }

    // Looks at the processes now, as the timer does.
    void pollNow();

private:
    QString mProcRoot;
    uid_t mUser;
    QTimer mTimer;
    LVProcessTable mProcesses;
};
