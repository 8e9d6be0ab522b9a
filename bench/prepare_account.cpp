// How fast an account is made ready before its files are sent: preparing a 128 MB saved-variables
// file (reading it, checking it, writing the restore copy and the uploaded copy) and validating
// 256 MB of cache files. The inputs are written first and read once, so the figures come from the
// page cache. They live in /dev/shm when there is one, so that flushing the written copies costs no
// disk time: the figures are the program's own. Give a folder as the first argument to use another.

#include "LVFakeProcessMonitor.h"
#include "LVMemoryCredentialStore.h"
#include "app/LVApplicationDelegate.h"
#include "platform/LVLinuxWorkspace.h"
#include "settings/LVSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr qsizetype kMB = 1024 * 1024;
constexpr qsizetype kSavedVariablesSize = 128 * kMB;
constexpr int kCacheFiles = 8;
constexpr qsizetype kCacheFileSize = 32 * kMB;
constexpr int kRuns = 5;

QString scratchFolder(const QStringList &arguments) {
    if (arguments.size() > 1)
        return arguments.at(1);
    return QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
}

void writeFile(const QString &path, const QByteArray &contents) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("Cannot write %s", qPrintable(path));
}

void readOnce(const QString &path) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        file.readAll();
}

// Addon data as the game writes it, mostly ASCII with some accented names; the flag comes last, so
// that the whole file is searched.
QByteArray savedVariables() {
    const QByteArray entry = "\t\t[\"Ærdal-Creature-%1\"] = { x = 12.5, y = 44.125, zone = \"Forêt d'Elwynn\" },\n";
    QByteArray text = "LorvaneHarvexData = {\n";
    text.reserve(kSavedVariablesSize);
    for (int i = 0; text.size() < kSavedVariablesSize - 64; ++i)
        text += QByteArray(entry).replace("%1", QByteArray::number(i));
    return text + "}\nrvUploaded = 0\n";
}

// A cache file of records with payloads of a few bytes to a few hundred, closed by the end record.
QByteArray cacheFile(quint32 seed) {
    QByteArray data(kCacheFileSize, '\0');
    std::fill_n(data.data(), 20, 'W');
    qsizetype at = 20;
    for (quint32 id = 1;; ++id) {
        seed = seed * 1664525u + 1013904223u;
        const quint32 length = 8 + (seed >> 24);
        if (at + 8 + qsizetype(length) + 8 > data.size())
            break;
        qToLittleEndian(id, data.data() + at);
        qToLittleEndian(length, data.data() + at + 4);
        std::fill_n(data.data() + at + 8, length, char('a' + id % 26));
        at += 8 + length;
    }
    data.truncate(at + 8); // the end record: both words 0
    return data;
}

struct Timing {
    double best = 0;
    double median = 0;
};

// Runs the work kRuns times, each after its untimed setup, and keeps the times in seconds.
Timing timeRuns(const std::function<void()> &setup, const std::function<void()> &work) {
    std::vector<double> seconds;
    for (int run = 0; run < kRuns; ++run) {
        setup();
        QElapsedTimer timer;
        timer.start();
        work();
        seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
    }
    std::sort(seconds.begin(), seconds.end());
    return {seconds.front(), seconds[seconds.size() / 2]};
}

void report(const char *what, qsizetype bytes, const Timing &timing) {
    const double megabytes = double(bytes) / double(kMB);
    std::printf("%-40s %6.0f MB  best %7.1f ms  %7.0f MB/s   median %7.1f ms  %7.0f MB/s\n", what, megabytes,
                timing.best * 1e3, megabytes / timing.best, timing.median * 1e3, megabytes / timing.median);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir game(scratchFolder(application.arguments()) + QStringLiteral("/lorvane-bench-XXXXXX"));
    const QString gamePath = game.path();
    writeFile(game.filePath(QStringLiteral("Wow.exe")), "placeholder for the game\n");
    writeFile(game.filePath(QStringLiteral("realmlist.wtf")), "set realmlist eu.logon.worldofwarcraft.com\n");

    QStringList files{QStringLiteral("%WoW%/WTF/Account/%account_name%/SavedVariables/+Lorvane_Harvex.lua")};
    std::vector<QString> cachePaths;
    qsizetype cacheBytes = 0;
    for (int i = 0; i < kCacheFiles; ++i) {
        const QString name = QStringLiteral("cache%1.wdb").arg(i);
        files << QStringLiteral("%WoW%/Cache/WDB/%locale%/") + name;
        cachePaths.push_back(game.filePath(QStringLiteral("Cache/WDB/enUS/") + name));
        const QByteArray cache = cacheFile(quint32(i + 1));
        writeFile(cachePaths.back(), cache);
        cacheBytes += cache.size();
    }
    const QString savedVariablesPath =
        game.filePath(QStringLiteral("WTF/Account/BENCH/SavedVariables/+Lorvane_Harvex.lua"));
    const QByteArray original = savedVariables();

    LVSettings settings(game.filePath(QStringLiteral("settings.ini")));
    settings.setValue(kWowApplicationPathKey, game.filePath(QStringLiteral("Wow.exe")));
    settings.setValue(kFilesToUploadKey, files);
    settings.setValue(kValidRealmsKey, QStringList{QStringLiteral("eu.logon.worldofwarcraft.com")});
    LVLinuxWorkspace workspace(QDir::homePath(), QProcessEnvironment::systemEnvironment());
    LVFakeProcessMonitor processMonitor;
    LVMemoryCredentialStore keychain;
    LVApplicationDelegate delegate(LVServices{&settings, &workspace, &processMonitor, &keychain, QString()});
    LVUploadRun &run = delegate.uploadRun();
    delegate.install().gatherLocales();
    if (!delegate.install().checkSupportedRealms())
        qFatal("The realm list was not accepted");

    std::printf("inputs in %s\n", qPrintable(gamePath));
    const Timing prepare = timeRuns([&] { readOnce(savedVariablesPath); },
                                    [&] {
                                        if (run.alreadyUploadedForAccount(QStringLiteral("BENCH")))
                                            qFatal("The saved variables were not prepared");
                                    });
    report("prepare saved variables", original.size(), prepare);

    const Timing validate = timeRuns(
        [&] {
            for (const QString &path : cachePaths)
                readOnce(path);
        },
        [&] {
            if (!run.validateCacheFilesForAccount(QStringLiteral("BENCH")))
                qFatal("A cache file was found corrupt");
        });
    report("validate cache files", cacheBytes, validate);
    return 0;
}
