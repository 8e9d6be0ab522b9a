#pragma once

#include <QHash>
#include <QStringList>
#include <QTemporaryDir>

// A folder laid out like /proc, holding the processes a test describes, one line each:
//     PID [CMDLINE] [comm=COMM] [start=TICKS] [uid=other] [kernel] [anew]
// In CMDLINE '|' stands for a zero byte and '~' for a space (also in COMM); without CMDLINE the
// command line is empty, without comm= there is no comm file. The process runs as the test's user
// unless uid=other, started at tick 1 unless start= says otherwise; kernel marks a kernel thread.
// "PID ended" is a folder whose files are gone, as for a process that ended while being listed.
class LVProcFolder {
public:
    QString path() const { return mDir.path(); }

    // Makes the folder hold exactly these processes. A process that stays keeps its folder and has
    // its files rewritten; one whose start time changed, or marked anew, gets a new folder, as /proc
    // gives one.
    void show(const QStringList &lines);

private:
    void write(const QString &folder, const QString &line) const;

    QTemporaryDir mDir;
    QHash<QString, QString> mStartTimes; // by process id, of the processes shown now
};
