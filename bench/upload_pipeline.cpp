// Measures what an upload costs before the network: compressing an account's files and assembling
// the request body, against `gzip -9` on the same files, with the memory it takes.
#include "LVFakeProcessMonitor.h"
#include "LVFakeWorkspace.h"
#include "LVMemoryCredentialStore.h"
#include "LVSampleGame.h"
#include "app/LVApplicationDelegate.h"
#include "settings/LVSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

constexpr double kMegabyte = 1024.0 * 1024.0;

// A memory figure of this process from /proc/self/status ("VmHWM:" the peak, "VmRSS:" now), in bytes.
qint64 memoryFigure(const QByteArray &field) {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toLongLong() * 1024;
    return 0;
}

// Starts a new peak from the current size.
void resetPeakResident() {
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

QStringList accountFiles(const QString &game) {
    QStringList files{QDir(game).filePath(QString::fromStdString(LVSampleGame::savedVariablesPath(1).string()))};
    for (const std::string &name : LVSampleGame::cacheFileNames())
        files << QDir(game).filePath(QStringLiteral("Cache/WDB/enUS/") + QString::fromStdString(name));
    return files;
}

double secondsOfGzip(const QStringList &files) {
    QElapsedTimer timer;
    timer.start();
    for (const QString &file : files) {
        QProcess gzip;
        gzip.setStandardOutputFile(QProcess::nullDevice());
        gzip.start(QStringLiteral("gzip"), {QStringLiteral("-9"), QStringLiteral("-c"), file});
        gzip.waitForFinished(-1);
    }
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QTextStream out(stdout);
    const double megabytes = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : 64.0;

    QTemporaryDir dir;
    const QString game = dir.filePath(QStringLiteral("game"));
    LVSampleGame::writeSampleGame(QFile::encodeName(game).toStdString(), 1, megabytes);
    const QStringList files = accountFiles(game);
    qint64 largest = 0;
    qint64 total = 0;
    for (const QString &file : files) {
        largest = qMax(largest, QFileInfo(file).size());
        total += QFileInfo(file).size();
    }

    LVSettings settings(dir.filePath(QStringLiteral("settings.ini")));
    LVFakeWorkspace workspace;
    LVFakeProcessMonitor processMonitor;
    LVMemoryCredentialStore keychain;
    LVApplicationDelegate delegate(
        {&settings, &workspace, &processMonitor, &keychain, QStringLiteral(LV_SOURCE_RESOURCES_DIR)});
    delegate.awakeFromNib();
    LVUploadRun &run = delegate.uploadRun();
    settings.setValue(kWowApplicationPathKey, QDir(game).filePath(QStringLiteral("Wow.exe")));
    // No request gets anywhere: nothing listens on port 1.
    settings.setValue(kPostURLKey, QStringLiteral("http://127.0.0.1:1/upload?"));
    delegate.install().gatherLocales();

    // Read every file once, so that both sides start from the page cache.
    for (const QString &file : files) {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        f.readAll();
    }
    const qint64 baseline = memoryFigure("VmRSS:");
    resetPeakResident();
    QElapsedTimer timer;
    timer.start();
    run.postFilesWithUsername(QStringLiteral("bench"), QStringLiteral("0").repeated(32),
                              QString::fromStdString(LVSampleGame::accountName(1)));
    const double ours = timer.nsecsElapsed() / 1e9;
    const qint64 peak = memoryFigure("VmHWM:") - baseline;
    qint64 body = 0;
    for (const QString &file : files)
        body += QFileInfo(file + QStringLiteral(".gz")).size();
    run.cleanup();
    const double theirs = secondsOfGzip(files);

    out << QStringLiteral("sources: %1 files, %2 MB (largest %3 MB); body about %4 MB\n")
               .arg(files.size())
               .arg(total / kMegabyte, 0, 'f', 1)
               .arg(largest / kMegabyte, 0, 'f', 1)
               .arg(body / kMegabyte, 0, 'f', 1);
    out << QStringLiteral("compress and assemble the body: %1 s\n").arg(ours, 0, 'f', 3);
    out << QStringLiteral("gzip -9 on the same files:      %1 s\n").arg(theirs, 0, 'f', 3);
    out << QStringLiteral("ratio (aim: at most 1.1):       %1\n").arg(ours / theirs, 0, 'f', 2);
    out << QStringLiteral("peak memory above the start:    %1 MB (aim: at most %2 MB, twice the largest "
                          "source plus the body)\n")
               .arg(peak / kMegabyte, 0, 'f', 1)
               .arg((2 * largest + body) / kMegabyte, 0, 'f', 1);
    return 0;
}
