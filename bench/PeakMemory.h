#pragma once

#include <QByteArray>
#include <QFile>

// The memory figures the benchmarks print, from Linux's /proc/self.

// A memory figure of this process from /proc/self/status ("VmHWM:" the peak, "VmRSS:" now), in KiB;
// -1 when there is none.
inline qint64 memoryFigureKiB(const QByteArray &field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toLongLong();
    return -1;
}

// Starts a new peak from the current size.
inline void resetPeakResident() {
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}
