// Measures what an upload costs before the network: compressing an account's files (on one thread,
// then on every core) and assembling the request body, against `gzip -9` on the same files, with the
// sizes of the copies and the memory it takes. The sample game lives in /dev/shm when there is one,
// so that flushing the copies costs no disk time. The first argument sets the saved variables' size
// in MB (64 by default).
#include "LVSampleGame.h"
#include "net/Gzip.h"
#include "net/UploadBody.h"

#include "PeakMemory.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <ctime>
#include <utility>

namespace {

constexpr double kMegabyte = 1024.0 * 1024.0;
constexpr qint64 kMemoryPerThread = 4 * 1024 * 1024;
constexpr int kRuns = 3; // the best time of these counts; the machine may be busy with other work

QString scratchFolder() {
    return QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
}

QStringList accountFiles(const QString &game) {
    QStringList files{QDir(game).filePath(QString::fromStdString(LVSampleGame::savedVariablesPath(1).string()))};
    for (const std::string &name : LVSampleGame::cacheFileNames())
        files << QDir(game).filePath(QStringLiteral("Cache/WDB/enUS/") + QString::fromStdString(name));
    return files;
}

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct LVRun {
    double seconds = 0;
    double cpuSeconds = 0; // of all threads: what the blocks cost on top, whatever else the machine runs
    qint64 compressed = 0; // all the copies together
    qint64 body = 0;
    qint64 peak = 0; // resident memory above the start
};

// Compresses every file next to itself and assembles the request body from the copies, as an
// upload does; the copies are removed afterwards.
LVRun compressAndAssemble(const QStringList &files, int threads) {
    LVRun run;
    const qint64 baseline = memoryFigureKiB("VmRSS:") * 1024;
    resetPeakResident();
    const std::clock_t cpuStart = std::clock();
    QElapsedTimer timer;
    timer.start();
    QByteArray body;
    const QString boundary = lv::uploadBoundary(&body);
    int index = 0;
    for (const QString &file : files) {
        const QString copy = file + QStringLiteral(".gz");
        const LVGzipResult result = lv::gzipFile(file, copy, {threads, {}});
        if (result.status != LVGzipResult::Compressed)
            qFatal("%s", qPrintable(result.error));
        const QByteArray data = contents(copy);
        run.compressed += data.size();
        lv::appendUploadPart(body, index++, boundary, QFileInfo(copy).fileName(), data);
    }
    lv::appendUploadEnd(body, boundary);
    run.seconds = timer.nsecsElapsed() / 1e9;
    run.cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    run.peak = memoryFigureKiB("VmHWM:") * 1024 - baseline;
    run.body = body.size();
    for (const QString &file : files)
        QFile::remove(file + QStringLiteral(".gz"));
    return run;
}

void keepBest(LVRun &best, const LVRun &run) {
    best.seconds = qMin(best.seconds, run.seconds);
    best.cpuSeconds = qMin(best.cpuSeconds, run.cpuSeconds);
    best.peak = qMax(best.peak, run.peak);
}

// The runs on one thread and on every core take turns, so that both meet the same load of the machine.
std::pair<LVRun, LVRun> bestOf(const QStringList &files, int cores) {
    LVRun single = compressAndAssemble(files, 1);
    LVRun parallel = compressAndAssemble(files, cores);
    for (int i = 1; i < kRuns; ++i) {
        keepBest(single, compressAndAssemble(files, 1));
        keepBest(parallel, compressAndAssemble(files, cores));
    }
    return {single, parallel};
}

double secondsOfGzip(const QStringList &files) {
    double best = 0;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        for (const QString &file : files) {
            QProcess gzip;
            gzip.setStandardOutputFile(QProcess::nullDevice());
            gzip.start(QStringLiteral("gzip"), {QStringLiteral("-9"), QStringLiteral("-c"), file});
            if (!gzip.waitForFinished(-1) || gzip.exitCode() != 0)
                qFatal("gzip -9 failed on %s", qPrintable(file));
        }
        const double seconds = timer.nsecsElapsed() / 1e9;
        best = i == 0 ? seconds : qMin(best, seconds);
    }
    return best;
}

QString megabytes(qint64 bytes) {
    return QString::number(bytes / kMegabyte, 'f', 1);
}

void printTimes(QTextStream &out, int cores, const LVRun &single, const LVRun &parallel, double gzip) {
    out << QStringLiteral("compress and assemble, 1 thread:   %1 s (processor time %2 s)\n")
               .arg(single.seconds, 0, 'f', 3)
               .arg(single.cpuSeconds, 0, 'f', 3);
    out << QStringLiteral("compress and assemble, %1 threads:  %2 s (processor time %3 s, %4 % more)\n")
               .arg(cores)
               .arg(parallel.seconds, 0, 'f', 3)
               .arg(parallel.cpuSeconds, 0, 'f', 3)
               .arg(100.0 * (parallel.cpuSeconds - single.cpuSeconds) / single.cpuSeconds, 0, 'f', 1);
    out << QStringLiteral("gzip -9 on the same files:         %1 s\n").arg(gzip, 0, 'f', 3);
    out << QStringLiteral("ratio 1 thread / gzip -9:          %1 (aim: at most 1.1)\n")
               .arg(single.seconds / gzip, 0, 'f', 2);
    out << QStringLiteral("ratio %1 threads / gzip -9:         %2\n")
               .arg(cores)
               .arg(parallel.seconds / gzip, 0, 'f', 2);
    out << QStringLiteral("speed-up of %1 threads:             %2 (at best %1)\n")
               .arg(cores)
               .arg(single.seconds / parallel.seconds, 0, 'f', 2);
}

void printSizes(QTextStream &out, qint64 largest, int cores, const LVRun &single, const LVRun &parallel) {
    const auto memoryAim = [&](const LVRun &run, int threads) {
        return megabytes(largest + run.body + threads * kMemoryPerThread);
    };
    out << QStringLiteral("copies, single stream:             %1 bytes\n").arg(single.compressed);
    out << QStringLiteral("copies, parallel stream:           %1 bytes, %2 % more (aim: at most 0.5 %)\n")
               .arg(parallel.compressed)
               .arg(100.0 * (parallel.compressed - single.compressed) / single.compressed, 0, 'f', 3);
    out << QStringLiteral("peak memory above the start, 1 thread:   %1 MB (aim: at most %2 MB, the largest source, "
                          "the body and 4 MB a thread)\n")
               .arg(megabytes(single.peak), memoryAim(single, 1));
    out << QStringLiteral("peak memory above the start, %1 threads:  %2 MB (aim: at most %3 MB)\n")
               .arg(cores)
               .arg(megabytes(parallel.peak), memoryAim(parallel, cores));
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    const double sourceMegabytes = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : 64.0;
    const int cores = qMax(1, QThread::idealThreadCount());

    QTemporaryDir dir(scratchFolder() + QStringLiteral("/lorvane-bench-XXXXXX"));
    const QString game = dir.filePath(QStringLiteral("game"));
    LVSampleGame::writeSampleGame(QFile::encodeName(game).toStdString(), 1, sourceMegabytes);
    const QStringList files = accountFiles(game);
    for (const QString &file : files)
        contents(file); // so that every side starts from the page cache

    const auto [single, parallel] = bestOf(files, cores);
    const double gzip = secondsOfGzip(files);
    qint64 largest = 0;
    qint64 total = 0;
    for (const QString &file : files) {
        largest = qMax(largest, QFileInfo(file).size());
        total += QFileInfo(file).size();
    }
    QTextStream out(stdout);
    out << QStringLiteral("sources: %1 files, %2 MB (largest %3 MB); %4 cores; best of %5 runs\n")
               .arg(files.size())
               .arg(megabytes(total), megabytes(largest))
               .arg(cores)
               .arg(kRuns);
    printTimes(out, cores, single, parallel, gzip);
    printSizes(out, largest, cores, single, parallel);
    return 0;
}
