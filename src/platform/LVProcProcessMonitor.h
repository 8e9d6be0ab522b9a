#pragma once

#include "platform/LVProcessMonitor.h"

#include <QByteArrayView>
#include <QMap>
#include <QTimer>

// The running processes: process id → application name.
using LVProcessTable = QMap<qint64, QString>;

struct LVProcessChanges {
    QStringList terminated;
    QStringList launched;
};

// The application name of a process, from the contents of its cmdline and comm files: the last
// component of argv[0], split at "/" and at "\" so that a Windows path run by Wine counts too,
// without its extension. When argv[0] names nothing (an empty command line: a kernel thread, a
// process being reaped), comm serves as it is. Null when neither names anything.
QString applicationNameOfProcess(QByteArrayView cmdline, QByteArrayView comm);

// Every process of a proc file system whose name can be read; the others are passed over.
LVProcessTable readProcessTable(const QString &procRoot);

// What happened between two looks at the processes. A process id that now runs another program
// (after an exec) counts as one ending and one starting. Endings come first, so that a game that
// quit and started again between two looks ends up running.
LVProcessChanges compareProcessTables(const LVProcessTable &before, const LVProcessTable &after);

// Watches /proc: it looks at the processes every two seconds and reports what started and ended
// since the last look.
class LVProcProcessMonitor : public LVProcessMonitor {
    Q_OBJECT
public:
    explicit LVProcProcessMonitor(const QString &procRoot = QStringLiteral("/proc"), QObject *parent = nullptr);

    QStringList runningApplicationNames() const override;

    int pollInterval() const { return mTimer.interval(); }
    void setPollInterval(int milliseconds) { mTimer.setInterval(milliseconds); }

    // Looks at the processes now, as the timer does.
    void pollNow();

private:
    QString mProcRoot;
    QTimer mTimer;
    LVProcessTable mProcesses;
};
