// What the upload history costs: recording one account's upload (one transaction, flushed to disk);
// and, on a history of some years of uploads, reading it back, making its printed table, its JSON
// and its window's model, and showing one more record in that model. The file lives in /dev/shm
// when there is one, so the recording figure is the program's and SQLite's own, without the disk's
// flush; give a folder as the first argument to measure a real disk.

#include "upload/HistoryText.h"
#include "upload/LVUploadHistory.h"
#include "upload/LVUploadHistoryModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

// Four accounts uploading every day for about seven years.
constexpr int kRecords = 10'000;
constexpr int kRepeats = 20;

QString scratchFolder(const QStringList &arguments) {
    if (arguments.size() > 1)
        return arguments.at(1);
    return QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
}

LVUploadRecord sampleRecord(int index) {
    LVUploadRecord record;
    record.time = QDateTime(QDate(2018, 1, 1), QTime(20, 0), Qt::UTC).addSecs(qint64(index) * 6 * 3600);
    record.install = QStringLiteral("/home/player/Games/world-of-warcraft/drive_c/Program Files (x86)/World of "
                                    "Warcraft/_retail_");
    record.account = QStringLiteral("ACCOUNT%1").arg(index % 4 + 1);
    record.files = {QStringLiteral("+Lorvane_Harvex.lua.gz"), QStringLiteral("creaturecache.wdb.gz"),
                    QStringLiteral("itemcache.wdb.gz")};
    record.bytesBefore = 40'000'000 + index;
    record.bytesAfter = 6'000'000 + index;
    record.durationMs = 1800 + index % 500;
    record.succeeded = index % 50 != 0;
    record.httpStatus = record.succeeded ? 200 : 500;
    record.reply = QString(record.succeeded ? 40 : 300, QLatin1Char('r'));
    record.reason = record.succeeded ? QString() : QStringLiteral("the site answered 500");
    return record;
}

double milliseconds(const std::function<void()> &work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir dir(scratchFolder(application.arguments()) + QStringLiteral("/lv-history-XXXXXX"));
    LVUploadHistory history(dir.filePath(QStringLiteral("history.sqlite")));
    QString problem;
    if (!dir.isValid() || !history.open(&problem) || !problem.isNull())
        qFatal("Cannot open a history in %s: %s", qPrintable(dir.path()), qPrintable(problem));

    const double recording = milliseconds([&] {
        for (int index = 0; index < kRecords; ++index)
            if (!history.record(sampleRecord(index)))
                qFatal("Recording failed");
    });
    QList<LVUploadRecord> records;
    const double reading = milliseconds([&] { records = history.records(); });
    const double table = milliseconds([&] { lv::historyTable(records); });
    const double json = milliseconds([&] { lv::historyJson(records); });
    LVUploadHistoryModel historyModel(&history);
    const double model = milliseconds([&] { historyModel.reload(); });
    const double newest = milliseconds([&] {
        for (int index = 0; index < kRepeats; ++index)
            history.lastRecord();
    });
    const double recordingShown = milliseconds([&] {
        for (int index = 0; index < kRepeats; ++index)
            history.record(sampleRecord(kRecords + index));
    });

    std::printf("upload history of %d records, file %.1f MB\n", kRecords,
                QFileInfo(history.path()).size() / (1024.0 * 1024.0));
    std::printf("  record one upload    %8.3f ms\n", recording / kRecords);
    std::printf("  read all records     %8.1f ms\n", reading);
    std::printf("  printed table        %8.1f ms\n", table);
    std::printf("  JSON                 %8.1f ms\n", json);
    std::printf("  window's model       %8.1f ms\n", model);
    std::printf("  newest record        %8.3f ms\n", newest / kRepeats);
    std::printf("  record, model shown  %8.3f ms\n", recordingShown / kRepeats);
    return 0;
}
