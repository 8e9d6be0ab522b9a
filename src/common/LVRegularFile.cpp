#include "common/LVRegularFile.h"

#include <QCoreApplication>
#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QFileInfo>
#endif

namespace {

// Why a path is not read, by what stands there.
const char *const kNamedPipe =
    QT_TRANSLATE_NOOP("FileReading", "Not reading %1: it is a named pipe, not a regular file");
const char *const kSocket = QT_TRANSLATE_NOOP("FileReading", "Not reading %1: it is a socket, not a regular file");
const char *const kFolder = QT_TRANSLATE_NOOP("FileReading", "Not reading %1: it is a folder, not a regular file");
const char *const kSymbolicLink =
    QT_TRANSLATE_NOOP("FileReading", "Not reading %1: it is a symbolic link, not a regular file");
const char *const kDevice = QT_TRANSLATE_NOOP("FileReading", "Not reading %1: it is a device, not a regular file");

QString refusal(const QString &path, const char *why) {
    return QCoreApplication::translate("FileReading", why).arg(path);
}

} // namespace

#ifdef Q_OS_UNIX

struct LVRegularFile::Handle {
    int descriptor = -1;
    ~Handle() {
        if (descriptor >= 0)
            ::close(descriptor);
    }
};

namespace {

QString systemError(const QString &path) {
    return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
}

// Why the path is not read when it is not a regular file; null for a regular file.
const char *otherKind(mode_t mode) {
    if (S_ISREG(mode))
        return nullptr;
    if (S_ISFIFO(mode))
        return kNamedPipe;
    if (S_ISSOCK(mode))
        return kSocket;
    if (S_ISDIR(mode))
        return kFolder;
    if (S_ISLNK(mode))
        return kSymbolicLink;
    return kDevice;
}

bool isMissing(int error) {
    return error == ENOENT || error == ENOTDIR;
}

} // namespace

LVFileStamp lv::fileStamp(const struct stat &status) {
    return {quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_size), qint64(status.st_mtim.tv_sec),
            qint64(status.st_mtim.tv_nsec)};
}

LVRegularFile::LVRegularFile(const QString &path, LVLinks links)
    : mPath(path) {
    open(links);
}

void LVRegularFile::open(LVLinks links) {
    const QString &path = mPath;
    const QByteArray encoded = QFile::encodeName(path);
    struct stat status {};
    // Looked at before opening: opening a device may already do something.
    const int looked =
        links == LVLinks::Follow ? ::stat(encoded.constData(), &status) : ::lstat(encoded.constData(), &status);
    if (path.isEmpty() || looked != 0)
        return fail(path.isEmpty() || isMissing(errno) ? Missing : Unreadable, systemError(path));
    if (const char *kind = otherKind(status.st_mode))
        return fail(Refused, refusal(path, kind));
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (links == LVLinks::Refuse ? O_NOFOLLOW : 0);
    int descriptor;
    do
        descriptor = ::open(encoded.constData(), flags);
    while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0 && errno == ELOOP && links == LVLinks::Refuse)
        return fail(Refused, refusal(path, kSymbolicLink));
    if (descriptor < 0)
        return fail(isMissing(errno) ? Missing : Unreadable, systemError(path));
    mHandle = std::make_unique<Handle>();
    mHandle->descriptor = descriptor;
    // Whatever was swapped in between the look and the opening is judged again.
    if (::fstat(descriptor, &status) != 0)
        return fail(Unreadable, systemError(path));
    if (const char *kind = otherKind(status.st_mode))
        return fail(Refused, refusal(path, kind));
    mStamp = lv::fileStamp(status);
    mStatus = Open;
}

qint64 LVRegularFile::read(char *data, qint64 size) {
    if (!isOpen())
        return -1;
    ssize_t count;
    do
        count = ::read(mHandle->descriptor, data, size_t(size));
    while (count < 0 && errno == EINTR);
    if (count < 0)
        fail(Unreadable, systemError(mPath));
    return count;
}

#else

struct LVRegularFile::Handle {
    QFile file;
};

LVRegularFile::LVRegularFile(const QString &path, LVLinks links)
    : mPath(path) {
    open(links);
}

void LVRegularFile::open(LVLinks links) {
    const QString &path = mPath;
    const QFileInfo info(path);
    if (path.isEmpty() || (!info.exists() && !info.isSymLink()))
        return fail(Missing, QString());
    if (links == LVLinks::Refuse && info.isSymLink())
        return fail(Refused, refusal(path, kSymbolicLink));
    if (!info.isFile())
        return fail(Refused, refusal(path, info.isDir() ? kFolder : kDevice));
    mHandle = std::make_unique<Handle>();
    mHandle->file.setFileName(path);
    if (!mHandle->file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(Unreadable, QStringLiteral("%1: %2").arg(path, mHandle->file.errorString()));
    mStamp = {0, 0, info.size(), info.lastModified().toSecsSinceEpoch(), 0};
    mStatus = Open;
}

qint64 LVRegularFile::read(char *data, qint64 size) {
    if (!isOpen())
        return -1;
    const qint64 count = mHandle->file.read(data, size);
    if (count < 0)
        fail(Unreadable, QStringLiteral("%1: %2").arg(mPath, mHandle->file.errorString()));
    return count;
}

#endif

LVRegularFile::~LVRegularFile() = default;

void LVRegularFile::fail(Status status, const QString &problem) {
    mStatus = status;
    mProblem = status == Missing ? QString() : problem;
    mHandle.reset();
}
