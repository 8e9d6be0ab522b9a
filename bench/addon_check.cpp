// How much memory an addon check holds against a manifest of four 300 MB files, served by a local
// server that makes them up as it sends (so that the server holds no file either). Three checks:
// with the program's own limits (256 MiB a check: it stops before the first file), with the limit
// raised so that all four are downloaded, and once more with the four files in place, so that only
// their digests are taken. Prints, for each, the time taken, the bytes in the addon folder, what the
// check said last, and the process's peak resident memory (Linux: VmHWM, reset before each check
// through clear_refs) with how far it rose during the check. The files go to a temporary folder on
// disk; give a folder as the first argument to use another.

#include "LVFakeWorkspace.h"
#include "common/LVBusyGuard.h"
#include "common/md5.h"
#include "game/LVAddonInstaller.h"
#include "game/LVGameInstalls.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"

#include "PeakMemory.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

constexpr qint64 kFileSize = 300'000'000;
constexpr int kFiles = 4;
constexpr qint64 kChunk = 64 * 1024;

// The bytes of every file: one pseudo-random block over and over.
QByteArray block() {
    QByteArray bytes(kChunk, Qt::Uninitialized);
    quint32 state = 2463534242u;
    for (char &byte : bytes) {
        state ^= state << 13, state ^= state >> 17, state ^= state << 5;
        byte = char(state);
    }
    return bytes;
}

QString digestOfAFile(const QByteArray &block) {
    LVMd5Hash digest;
    for (qint64 left = kFileSize; left > 0; left -= kChunk)
        digest.addData(QByteArrayView(block).first(qMin(left, kChunk)));
    return digest.hexDigest();
}

QByteArray manifest(quint16 port, const QString &md5) {
    QByteArray xml = "<lorvaneclient source=\"http://127.0.0.1:" + QByteArray::number(port) + "/addon\"><updates>";
    for (int i = 1; i <= kFiles; ++i)
        xml += "<file name=\"big" + QByteArray::number(i) +
               ".bin\" destination=\"%WoW%/Interface/AddOns/+Lorvane_Harvex\" md5=\"" + md5.toLatin1() + "\" size=\"" +
               QByteArray::number(kFileSize) + "\"/>";
    return xml + "</updates></lorvaneclient>";
}

// Sends the manifest, or a file made up as the socket takes it.
void answer(QTcpSocket *socket, const QByteArray &manifest, const QByteArray &block) {
    const QByteArray request = socket->readAll();
    const bool wantsManifest = request.startsWith("GET /updates.xml");
    const qint64 length = wantsManifest ? manifest.size() : kFileSize;
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nConnection: close\r\nContent-Length: " +
                  QByteArray::number(length) + "\r\n\r\n");
    if (wantsManifest)
        return void(socket->write(manifest));
    auto sent = std::make_shared<qint64>(0);
    const auto fill = [socket, block, sent] {
        while (*sent < kFileSize && socket->bytesToWrite() < 4 * kChunk) {
            const qint64 piece = qMin(kChunk, kFileSize - *sent);
            *sent += socket->write(block.constData(), piece);
        }
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, fill);
    fill();
}

void serve(QTcpServer &server, const QByteArray &manifest, const QByteArray &block) {
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&server, manifest, block] {
        QTcpSocket *socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket,
                         [socket, manifest, block] { answer(socket, manifest, block); });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    });
}

qint64 bytesIn(const QString &folder) {
    qint64 total = 0;
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files))
        total += file.size();
    return total;
}

// The last thing the status line said: what a check ended with.
QString gLastWords;

void listenForLastWords() {
    QObject::connect(&LVStatusBus::instance(), &LVStatusBus::errorMessageChanged,
                     [](const QString &text) { gLastWords = text; });
    QObject::connect(&LVStatusBus::instance(), &LVStatusBus::statusMessageChanged, [](const QString &text) {
        if (!text.isEmpty())
            gLastWords = text;
    });
}

void measure(LVAddonInstaller &installer, const char *what, qint64 limit, const QString &addon) {
    installer.setDownloadLimits({limit, 1000});
    resetPeakResident();
    const qint64 before = memoryFigureKiB("VmHWM:");
    QElapsedTimer timer;
    timer.start();
    installer.checkForUpdates();
    const qint64 elapsed = timer.elapsed();
    const qint64 peak = memoryFigureKiB("VmHWM:");
    std::printf("%-34s %8lld %14lld %10lld %10lld  %s\n", what, static_cast<long long>(elapsed),
                static_cast<long long>(bytesIn(addon)), static_cast<long long>(peak),
                static_cast<long long>(peak - before), qPrintable(gLastWords));
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    const QString scratch = application.arguments().value(1, QDir::tempPath());
    QTemporaryDir game(scratch + QStringLiteral("/addon_check-XXXXXX"));
    const QString addon = game.filePath(QStringLiteral("Interface/AddOns/+Lorvane_Harvex"));
    if (!game.isValid() || !QDir().mkpath(addon) ||
        !QFile(game.filePath(QStringLiteral("Wow.exe"))).open(QIODevice::WriteOnly))
        qFatal("Cannot make a game folder in %s", qPrintable(scratch));

    const QByteArray bytes = block();
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost))
        qFatal("Cannot listen on loopback");
    serve(server, manifest(server.serverPort(), digestOfAFile(bytes)), bytes);

    LVSettings settings(game.filePath(QStringLiteral("settings.ini")));
    settings.setValue(kWowApplicationPathKey, game.filePath(QStringLiteral("Wow.exe")));
    settings.setValue(kUpdateURLKey, QStringLiteral("http://127.0.0.1:%1/updates.xml").arg(server.serverPort()));
    LVFakeWorkspace workspace;
    LVGameInstalls installs(settings, workspace);
    QNetworkAccessManager network;
    LVBusyGuard busy;
    LVAddonInstaller installer(settings, installs, network, busy, QString());
    listenForLastWords();

    std::printf("%d files of %lld bytes, in %s\n", kFiles, static_cast<long long>(kFileSize), qPrintable(scratch));
    std::printf("%-34s %8s %14s %10s %10s  %s\n", "check", "ms", "bytes on disk", "peak KiB", "rise KiB", "said last");
    measure(installer, "the program's limits (256 MiB)", LVDownloadLimits().bytes, addon);
    measure(installer, "limit raised: all four downloaded", qint64(4) << 30, addon);
    measure(installer, "all in place: digests only", qint64(4) << 30, addon);
    return 0;
}
