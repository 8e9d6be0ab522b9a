#include "app/LVSingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>

namespace {

constexpr char kShow[] = "show\n";
constexpr char kStarted[] = "started\n";
constexpr char kDone[] = "done\n";

} // namespace

LVSingleInstance::LVSingleInstance(const QString &folder, QObject *parent)
    : QObject(parent)
    , mSocketPath(QDir(folder).filePath(QStringLiteral("lorvane-client.socket")))
    , mLock(QDir(folder).filePath(QStringLiteral("lorvane-client.lock"))) {
    QDir().mkpath(folder);
    // Only a lock whose process is gone is stale, however long the first one runs.
    mLock.setStaleLockTime(0);
    mServer.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&mServer, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = mServer.nextPendingConnection())
            answer(socket);
    });
}

LVSingleInstance::~LVSingleInstance() = default;

bool LVSingleInstance::claim() {
    return mLock.tryLock(0);
}

// A socket left by a first start that was killed stands in the way: the lock says it is nobody's now.
bool LVSingleInstance::listen(QString *error) {
    QLocalServer::removeServer(mSocketPath);
    if (mServer.listen(mSocketPath))
        return true;
    if (error)
        *error = mServer.errorString();
    return false;
}

void LVSingleInstance::answer(QLocalSocket *socket) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
        if (!socket->canReadLine())
            return;
        const QByteArray request = socket->readLine();
        socket->write(kDone);
        socket->flush();
        if (request == kShow)
            emit showRequested();
    });
}

// The first may have taken the lock without listening yet: it is asked again until the time is over.
bool LVSingleInstance::handOver(bool showWindow, QString *error) {
    const QDeadlineTimer deadline(kHandOverMs);
    QLocalSocket socket;
    do {
        socket.connectToServer(mSocketPath);
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            socket.write(showWindow ? kShow : kStarted);
            while (!socket.canReadLine() && socket.waitForReadyRead(int(deadline.remainingTime())))
                ;
            if (socket.readLine() == kDone)
                return true;
        }
        socket.abort();
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    if (error) {
        qint64 pid = 0;
        QString host, application;
        mLock.getLockInfo(&pid, &host, &application);
        *error = tr("Another Lorvane Client is running (process %1) but does not answer").arg(pid);
    }
    return false;
}
