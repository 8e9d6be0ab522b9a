#include "platform/LVProcProcessMonitor.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <optional>

namespace {

std::optional<QByteArray> readProcFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray contents = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return contents;
}

QString withoutExtension(const QString &name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

// The name of the process in that folder, or null when its files cannot be read: it may have ended
// since the listing, or belong to someone whose processes are hidden.
QString nameOfProcessIn(const QString &folder) {
    const std::optional<QByteArray> cmdline = readProcFile(folder + QStringLiteral("/cmdline"));
    if (!cmdline)
        return {};
    const QString name = applicationNameOfProcess(*cmdline, {});
    if (!name.isNull())
        return name;
    const std::optional<QByteArray> comm = readProcFile(folder + QStringLiteral("/comm"));
    return comm ? applicationNameOfProcess(*cmdline, *comm) : QString();
}

} // namespace

QString applicationNameOfProcess(QByteArrayView cmdline, QByteArrayView comm) {
    const qsizetype end = cmdline.indexOf('\0');
    const QString argv0 = QFile::decodeName((end < 0 ? cmdline : cmdline.first(end)).toByteArray());
    const qsizetype separator = std::max(argv0.lastIndexOf(QLatin1Char('/')), argv0.lastIndexOf(QLatin1Char('\\')));
    const QString name = withoutExtension(argv0.mid(separator + 1));
    if (!name.isEmpty())
        return name;
    const QString command = QFile::decodeName(comm.toByteArray()).trimmed();
    return command.isEmpty() ? QString() : command;
}

LVProcessTable readProcessTable(const QString &procRoot) {
    LVProcessTable processes;
    const QDir root(procRoot);
    for (const QString &entry : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isProcess = false;
        const qint64 pid = entry.toLongLong(&isProcess);
        if (!isProcess)
            continue;
        const QString name = nameOfProcessIn(root.filePath(entry));
        if (!name.isNull())
            processes.insert(pid, name);
    }
    return processes;
}

LVProcessChanges compareProcessTables(const LVProcessTable &before, const LVProcessTable &after) {
    LVProcessChanges changes;
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (after.value(it.key()) != it.value())
            changes.terminated << it.value();
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (before.value(it.key()) != it.value())
            changes.launched << it.value();
    return changes;
}

LVProcProcessMonitor::LVProcProcessMonitor(const QString &procRoot, QObject *parent)
    : LVProcessMonitor(parent)
    , mProcRoot(procRoot)
    , mProcesses(readProcessTable(procRoot)) {
    connect(&mTimer, &QTimer::timeout, this, &LVProcProcessMonitor::pollNow);
    mTimer.start(2000);
}

QStringList LVProcProcessMonitor::runningApplicationNames() const {
    return readProcessTable(mProcRoot).values();
}

void LVProcProcessMonitor::pollNow() {
    LVProcessTable processes = readProcessTable(mProcRoot);
    const LVProcessChanges changes = compareProcessTables(mProcesses, processes);
    mProcesses = std::move(processes);
    for (const QString &name : changes.terminated)
        emit applicationTerminated(name);
    for (const QString &name : changes.launched)
        emit applicationLaunched(name);
}
