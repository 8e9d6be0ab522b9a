#pragma once

#include <QHash>
#include <QStringList>
#include <QTemporaryDir>

// A folder laid out like /proc, one process a line: PID [CMDLINE] [comm=COMM] [start=TICKS] [uid=other]
// [kernel] [anew] [ended]. '|' stands for a zero byte and '~' for a space. Without comm= there is no comm
// file; "ended" leaves a folder without files, as for a process that ended while being listed. A process
// that stays keeps its folder; one whose start time changed, or marked anew, gets a new one, as /proc gives.
class LVProcFolder {
public:
    QString path() const { return mDir.path(); }
    void show(const QStringList &lines);
    // Writes the files of one process, described by a line as above, into that folder: a process a
    // test's fake launcher moves into the table, in one step, to start the game.
    static void writeProcessAt(const QString &folder, const QString &line);

private:
    QTemporaryDir mDir;
    QHash<QString, QString> mStartTimes; // by process id, of the processes shown now
};
