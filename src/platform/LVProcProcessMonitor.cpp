#include "platform/LVProcProcessMonitor.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <vector>

namespace {

// A stat line's fields, counted from 1: the command name is field 2, the process's state field 3.
constexpr int kStateField = 3;
constexpr int kFlagsField = 9;
constexpr int kStartTimeField = 22;
constexpr quint64 kKernelThreadFlag = 0x00200000;

// What Wine's loader shows for its first moments, before it takes the name of the Windows program it runs.
constexpr const char *kWineLoaderNames[] = {"wine", "wine64", "wine-preloader", "wine64-preloader"};

bool isWineLoaderName(const QString &name) {
    return std::any_of(std::begin(kWineLoaderNames), std::end(kWineLoaderNames),
                       [&name](const char *loader) { return name == QLatin1String(loader); });
}

// The whole contents of a small file. Files in /proc report no size: they are read to their end.
std::optional<QByteArray> readSmallFile(const QByteArray &path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QByteArray contents;
    char buffer[4096];
    ssize_t count = 0;
    while ((count = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (count < 0 && errno != EINTR)
            break;
        if (count > 0)
            contents.append(buffer, count);
    }
    ::close(fd);
    return count < 0 ? std::nullopt : std::optional<QByteArray>(contents);
}

QString withoutExtension(const QString &name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

// The number in a field of a stat line, given what follows the command name (field 3 onwards).
std::optional<quint64> statNumber(QByteArrayView fieldsAfterName, int wanted) {
    qsizetype at = 0;
    for (int field = kStateField;; ++field) {
        while (at < fieldsAfterName.size() && fieldsAfterName[at] == ' ')
            ++at;
        qsizetype end = fieldsAfterName.indexOf(' ', at);
        end = end < 0 ? fieldsAfterName.size() : end;
        if (at >= end)
            return std::nullopt;
        if (field == wanted) {
            bool isNumber = false;
            const quint64 number = fieldsAfterName.sliced(at, end - at).trimmed().toULongLong(&isNumber);
            return isNumber ? std::optional<quint64>(number) : std::nullopt;
        }
        at = end;
    }
}

std::optional<qint64> processIdOfEntry(const char *entryName) {
    if (entryName[0] < '1' || entryName[0] > '9')
        return std::nullopt;
    const char *end = entryName + std::strlen(entryName);
    qint64 pid = 0;
    const auto [stop, failure] = std::from_chars(entryName, end, pid);
    return failure == std::errc() && stop == end ? std::optional<qint64>(pid) : std::nullopt;
}

struct ProcEntry {
    qint64 pid = 0;
    quint64 inode = 0;
};

// The folders of the proc file system named by a process id, with their inodes: one listing, no
// other look at the file system.
std::vector<ProcEntry> listProcesses(const QString &procRoot) {
    std::vector<ProcEntry> entries;
    const std::unique_ptr<DIR, int (*)(DIR *)> folder(::opendir(QFile::encodeName(procRoot).constData()), ::closedir);
    if (!folder)
        return entries;
    while (const dirent *entry = ::readdir(folder.get()))
        if (const std::optional<qint64> pid = processIdOfEntry(entry->d_name))
            entries.push_back({*pid, quint64(entry->d_ino)});
    return entries;
}

// Reads what the monitor needs to know of one process from its folder.
class ProcessReader {
public:
    ProcessReader(const QString &procRoot, uid_t user)
        : mRoot(QFile::encodeName(procRoot) + '/')
        , mUser(user) {}

    // The process now in the folder of that id, from what is known of the one that was there.
    std::optional<LVProcess> look(qint64 pid, quint64 inode, const LVProcess *known) const {
        if (known && known->folderInode == inode)
            return known->settled ? *known : readName(pid, *known);
        const std::optional<QByteArray> statLine = readSmallFile(path(pid, "stat"));
        const std::optional<LVProcessStat> stat = statLine ? lv::parseProcessStat(*statLine) : std::nullopt;
        if (!stat)
            return std::nullopt;
        if (known && known->startTime == stat->startTime) {
            LVProcess same = *known; // the folder was made anew for the same process
            same.folderInode = inode;
            return same.settled ? same : readName(pid, same);
        }
        return readNew(pid, inode, *stat);
    }

private:
    QByteArray path(qint64 pid, const char *file) const { return mRoot + QByteArray::number(pid) + '/' + file; }

    std::optional<LVProcess> readNew(qint64 pid, quint64 inode, const LVProcessStat &stat) const {
        const std::optional<QByteArray> status = readSmallFile(path(pid, "status"));
        const std::optional<uid_t> owner = status ? lv::realUserIdFromStatus(*status) : std::nullopt;
        if (!owner)
            return std::nullopt;
        if (*owner != mUser)
            return LVProcess{stat.startTime, QString(), true, inode}; // never counts, never read again
        std::optional<LVProcess> named = readName(pid, LVProcess{stat.startTime, QString(), false, inode});
        if (named && stat.kernelThread)
            named->settled = true; // its name is its comm, which does not change
        return named;
    }

    // The process with its name read again. The name settles when two looks in a row find it, so
    // that a process seen between its fork and its exec still takes its program's name; a Wine
    // program, or a command line still empty, keeps being read until it shows another name.
    std::optional<LVProcess> readName(qint64 pid, LVProcess process) const {
        const std::optional<QByteArray> cmdline = readSmallFile(path(pid, "cmdline"));
        if (!cmdline)
            return std::nullopt;
        QString name = lv::applicationNameOfProcess(*cmdline, {});
        if (name.isNull()) {
            const std::optional<QByteArray> comm = readSmallFile(path(pid, "comm"));
            name = comm ? lv::applicationNameOfProcess(*cmdline, *comm) : QString();
        }
        const bool waiting = cmdline->isEmpty() || isWineLoaderName(name);
        process.settled = !name.isNull() && name == process.name && !waiting;
        process.name = name;
        return process;
    }

    QByteArray mRoot;
    uid_t mUser;
};

// The names of the processes that count in one table and are not in the other as they are.
QStringList namesMissingFrom(const LVProcessTable &table, const LVProcessTable &other) {
    QStringList names;
    for (auto process = table.cbegin(); process != table.cend(); ++process) {
        if (process->name.isNull())
            continue;
        const auto match = other.constFind(process.key());
        if (match == other.cend() || match->startTime != process->startTime || match->name != process->name)
            names << process->name;
    }
    return names;
}

} // namespace

QString lv::applicationNameOfProcess(QByteArrayView cmdline, QByteArrayView comm) {
    const qsizetype end = cmdline.indexOf('\0');
    const QString argv0 = QFile::decodeName((end < 0 ? cmdline : cmdline.first(end)).toByteArray());
    const qsizetype separator = std::max(argv0.lastIndexOf(QLatin1Char('/')), argv0.lastIndexOf(QLatin1Char('\\')));
    const QString name = withoutExtension(argv0.mid(separator + 1));
    if (!name.isEmpty())
        return name;
    const QString command = QFile::decodeName(comm.toByteArray()).trimmed();
    return command.isEmpty() ? QString() : command;
}

std::optional<LVProcessStat> lv::parseProcessStat(QByteArrayView stat) {
    const qsizetype nameEnd = stat.lastIndexOf(')');
    if (nameEnd < 0 || stat.indexOf('(') > nameEnd)
        return std::nullopt;
    const QByteArrayView fields = stat.sliced(nameEnd + 1);
    const std::optional<quint64> flags = statNumber(fields, kFlagsField);
    const std::optional<quint64> startTime = statNumber(fields, kStartTimeField);
    if (!flags || !startTime)
        return std::nullopt;
    return LVProcessStat{*startTime, (*flags & kKernelThreadFlag) != 0};
}

std::optional<uid_t> lv::realUserIdFromStatus(QByteArrayView status) {
    const QByteArrayView label = "Uid:";
    qsizetype at = status.startsWith(label) ? 0 : status.indexOf(QByteArrayView("\nUid:"));
    if (at < 0)
        return std::nullopt;
    at = status.indexOf(':', at) + 1;
    while (at < status.size() && (status[at] == ' ' || status[at] == '\t'))
        ++at;
    qsizetype end = at;
    while (end < status.size() && status[end] >= '0' && status[end] <= '9')
        ++end;
    bool isNumber = false;
    const qulonglong uid = status.sliced(at, end - at).toULongLong(&isNumber);
    return isNumber ? std::optional<uid_t>(uid_t(uid)) : std::nullopt;
}

LVProcessTable lv::readProcessTable(const QString &procRoot, uid_t user, const LVProcessTable &known) {
    const ProcessReader reader(procRoot, user);
    LVProcessTable processes;
    for (const ProcEntry &entry : listProcesses(procRoot)) {
        const auto knownProcess = known.constFind(entry.pid);
        std::optional<LVProcess> process =
            reader.look(entry.pid, entry.inode, knownProcess == known.cend() ? nullptr : &*knownProcess);
        if (process)
            processes.insert(processes.cend(), entry.pid, std::move(*process));
    }
    return processes;
}

QStringList lv::runningNames(const LVProcessTable &processes) {
    QStringList names;
    for (const LVProcess &process : processes)
        if (!process.name.isNull())
            names << process.name;
    return names;
}

LVProcessChanges lv::compareProcessTables(const LVProcessTable &before, const LVProcessTable &after) {
    return {namesMissingFrom(before, after), namesMissingFrom(after, before)};
}

LVProcProcessMonitor::LVProcProcessMonitor(const QString &procRoot, uid_t user, QObject *parent)
    : LVProcessMonitor(parent)
    , mProcRoot(procRoot)
    , mUser(user)
    , mProcesses(lv::readProcessTable(procRoot, user)) {
    connect(&mTimer, &QTimer::timeout, this, &LVProcProcessMonitor::pollNow);
    mTimer.start(2000);
}

// The processes are listed again, so that a game started since the last look counts; what the last
// look read is not read again.
QStringList LVProcProcessMonitor::runningApplicationNames() const {
    return lv::runningNames(lv::readProcessTable(mProcRoot, mUser, mProcesses));
}

void LVProcProcessMonitor::pollNow() {
    LVProcessTable processes = lv::readProcessTable(mProcRoot, mUser, mProcesses);
    const LVProcessChanges changes = lv::compareProcessTables(mProcesses, processes);
    mProcesses = std::move(processes);
    for (const QString &name : changes.terminated)
        emit applicationTerminated(name);
    for (const QString &name : changes.launched)
        emit applicationLaunched(name);
}
