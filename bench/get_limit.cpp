// How much memory a GET holds when the server never stops sending: a local server streams zeros
// without end, as fast as the client takes them, and the client's GET gives up one byte past its
// limit. Prints, for each limit, the bytes read, the time taken and how far the process's peak
// resident memory rose during the GET (Linux: VmHWM, reset before each run through clear_refs).

#include "net/LVSyncGet.h"

#include "PeakMemory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <cstdio>

namespace {

constexpr qint64 kChunk = 64 * 1024;

// Answers every request with headers and then zeros, for as long as the client reads.
void serveWithoutEnd(QTcpServer &server) {
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&server] {
        QTcpSocket *socket = server.nextPendingConnection();
        const QByteArray zeros(kChunk, '\0');
        const auto fill = [socket, zeros] {
            while (socket->bytesToWrite() < 4 * kChunk && socket->state() == QAbstractSocket::ConnectedState)
                socket->write(zeros);
        };
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, fill] {
            socket->readAll();
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n\r\n");
            fill();
        });
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, fill);
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    });
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    QTcpServer server;
    serveWithoutEnd(server);
    if (!server.listen(QHostAddress::LocalHost))
        qFatal("Cannot listen on loopback");
    const QUrl url(QStringLiteral("http://127.0.0.1:%1/endless").arg(server.serverPort()));
    QNetworkAccessManager network;
    lv::synchronousGet(network, url, {}, 1024); // warms up the network stack

    std::printf("%12s %12s %10s %16s\n", "limit", "read", "ms", "peak rise KiB");
    for (const qint64 limit : {qint64(1024), qint64(1024 * 1024), qint64(16 * 1024 * 1024), qint64(64 * 1024 * 1024)}) {
        resetPeakResident();
        const qint64 before = memoryFigureKiB("VmHWM:");
        QElapsedTimer timer;
        timer.start();
        const LVGetResult result = lv::synchronousGet(network, url, {}, limit);
        const qint64 elapsed = timer.elapsed();
        std::printf("%12lld %12s %10lld %16lld\n", static_cast<long long>(limit),
                    result.tooLong ? "refused" : "accepted", static_cast<long long>(elapsed),
                    static_cast<long long>(memoryFigureKiB("VmHWM:") - before));
    }
    return 0;
}
