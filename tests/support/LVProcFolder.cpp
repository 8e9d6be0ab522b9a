#include "LVProcFolder.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {

using LVProcessLine = QHash<QString, QString>; // "pid", "cmdline", "start", "comm", "uid" and the bare flags

LVProcessLine parse(const QString &line) {
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    LVProcessLine process{{"pid", words.value(0)}, {"start", "1"}};
    for (const QString &word : words.mid(1)) {
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        if (equals > 0)
            process.insert(word.left(equals), word.mid(equals + 1));
        else
            process.insert(QStringList{"kernel", "anew", "ended"}.contains(word) ? word : "cmdline", word);
    }
    return process;
}

QByteArray unescaped(const QString &text) {
    return text.toUtf8().replace('|', '\0').replace('~', ' ');
}

void writeFile(const QString &path, const QByteArray &contents) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("Cannot write %s", qPrintable(path));
}

void writeProcess(const QString &folder, const LVProcessLine &process) {
    QDir().mkpath(folder);
    for (const QString &file : QDir(folder).entryList(QDir::Files))
        QFile::remove(folder + QLatin1Char('/') + file);
    if (process.contains("ended"))
        return;
    const QByteArray pid = process["pid"].toUtf8(), comm = unescaped(process.value("comm")).trimmed();
    const QByteArray uid = QByteArray::number(process.contains("uid") ? getuid() + 1 : getuid());
    writeFile(folder + "/cmdline", unescaped(process.value("cmdline")));
    if (process.contains("comm"))
        writeFile(folder + "/comm", unescaped(process["comm"]) + '\n');
    // As the kernel writes it: the flags are field 9, the start time field 22.
    writeFile(folder + "/stat", pid + " (" + comm + ") S 1 " + pid + " 1 0 -1 " +
                                    (process.contains("kernel") ? "2129984" : "4194304") +
                                    " 120 0 0 0 3 1 0 0 20 0 1 0 " + process["start"].toUtf8() + " 8282112 135 0\n");
    writeFile(folder + "/status", "Name:\t" + comm + "\nUid:\t" + uid + '\t' + uid + '\t' + uid + "\nGid:\t100\n");
}

} // namespace

void LVProcFolder::writeProcessAt(const QString &folder, const QString &line) {
    writeProcess(folder, parse(line));
}

void LVProcFolder::show(const QStringList &lines) {
    QList<LVProcessLine> processes;
    QHash<QString, QString> startTimes;
    for (const QString &line : lines) {
        processes << parse(line);
        startTimes.insert(processes.last()["pid"], processes.last()["start"]);
    }
    for (auto it = mStartTimes.cbegin(); it != mStartTimes.cend(); ++it)
        if (!startTimes.contains(it.key()))
            QDir(mDir.filePath(it.key())).removeRecursively();
    for (const LVProcessLine &process : processes) {
        const QString folder = mDir.filePath(process["pid"]);
        const auto known = mStartTimes.constFind(process["pid"]);
        const bool renewed = known != mStartTimes.cend() && (*known != process["start"] || process.contains("anew"));
        // Made while the old folder still exists, the new one cannot get its inode.
        writeProcess(renewed ? folder + ".new" : folder, process);
        if (renewed && QDir(folder).removeRecursively())
            QDir().rename(folder + ".new", folder);
    }
    mStartTimes = startTimes;
}
