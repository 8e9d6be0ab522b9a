#include "LVProcFolder.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {

struct ProcessLine {
    QString pid;
    QByteArray cmdline;
    QByteArray comm;
    bool hasComm = false;
    QString startTime = QStringLiteral("1");
    uid_t uid = getuid();
    bool kernel = false;
    bool anew = false;
    bool ended = false;
};

QByteArray unescaped(const QString &text) {
    return text.toUtf8().replace('|', '\0').replace('~', ' ');
}

ProcessLine parse(const QString &line) {
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ProcessLine process;
    process.pid = words.value(0);
    for (const QString &word : words.mid(1)) {
        if (word.startsWith(QLatin1String("comm="))) {
            process.comm = unescaped(word.mid(5));
            process.hasComm = true;
        } else if (word.startsWith(QLatin1String("start=")))
            process.startTime = word.mid(6);
        else if (word == QLatin1String("uid=other"))
            process.uid = getuid() + 1;
        else if (word == QLatin1String("kernel"))
            process.kernel = true;
        else if (word == QLatin1String("anew"))
            process.anew = true;
        else if (word == QLatin1String("ended"))
            process.ended = true;
        else
            process.cmdline = unescaped(word);
    }
    return process;
}

void writeFile(const QString &path, const QByteArray &contents) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("Cannot write %s", qPrintable(path));
}

// A stat line as the kernel writes it: the command name in parentheses is field 2, the flags field 9
// and the start time field 22.
QByteArray statLine(const ProcessLine &process) {
    const QByteArray flags = process.kernel ? "2129984" : "4194304";
    return process.pid.toUtf8() + " (" + process.comm.trimmed() + ") S 1 " + process.pid.toUtf8() + " 1 0 -1 " + flags +
           " 120 0 0 0 3 1 0 0 20 0 1 0 " + process.startTime.toUtf8() + " 8282112 135 0 0 0 0\n";
}

QByteArray statusText(const ProcessLine &process) {
    const QByteArray uid = QByteArray::number(process.uid);
    return "Name:\t" + process.comm.trimmed() + "\nUmask:\t0022\nState:\tS (sleeping)\nTgid:\t" + process.pid.toUtf8() +
           "\nUid:\t" + uid + '\t' + uid + '\t' + uid + '\t' + uid + "\nGid:\t100\n";
}

} // namespace

void LVProcFolder::write(const QString &folder, const QString &line) const {
    const ProcessLine process = parse(line);
    QDir().mkpath(folder);
    for (const char *file : {"cmdline", "comm", "stat", "status"})
        QFile::remove(folder + QLatin1Char('/') + QLatin1String(file));
    if (process.ended)
        return;
    writeFile(folder + QStringLiteral("/cmdline"), process.cmdline);
    if (process.hasComm)
        writeFile(folder + QStringLiteral("/comm"), process.comm + '\n');
    writeFile(folder + QStringLiteral("/stat"), statLine(process));
    writeFile(folder + QStringLiteral("/status"), statusText(process));
}

void LVProcFolder::show(const QStringList &lines) {
    QHash<QString, QString> shown;
    for (const QString &line : lines)
        shown.insert(parse(line).pid, line);
    for (auto it = mStartTimes.cbegin(); it != mStartTimes.cend(); ++it)
        if (!shown.contains(it.key()))
            QDir(mDir.filePath(it.key())).removeRecursively();
    QHash<QString, QString> startTimes;
    for (const QString &line : lines) {
        const ProcessLine process = parse(line);
        const QString folder = mDir.filePath(process.pid);
        const auto known = mStartTimes.constFind(process.pid);
        if (known != mStartTimes.cend() && (*known != process.startTime || process.anew)) {
            // Made while the old folder still exists, the new one cannot get its inode.
            const QString replacement = folder + QStringLiteral(".new");
            write(replacement, line);
            QDir(folder).removeRecursively();
            QDir().rename(replacement, folder);
        } else {
            write(folder, line);
        }
        startTimes.insert(process.pid, process.startTime);
    }
    mStartTimes = startTimes;
}
