#include "common/FileContents.h"
#include "common/LVLogging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStringDecoder>

#include <vector>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

Q_LOGGING_CATEGORY(lcFiles, "lorvane.files")

namespace {

bool isContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The end of the slice that starts at `start`: about `length` bytes on, moved back to the start of
// a character so that no valid character is cut in two.
qsizetype sliceEnd(QByteArrayView bytes, qsizetype start, qsizetype length) {
    if (bytes.size() - start <= length)
        return bytes.size();
    qsizetype end = start + length;
    for (int i = 0; i < 3 && isContinuationByte(bytes[end]); ++i)
        --end;
    return end;
}

// Memory for a large file comes straight from the kernel, and where faulting in every small page is
// dear (a virtual machine) that costs more than reading the file: huge pages take a fraction.
void adviseHugePages(QByteArray &buffer) {
#ifdef Q_OS_LINUX
    constexpr quintptr kHugePageSize = 2 * 1024 * 1024;
    const quintptr start = (quintptr(buffer.data()) + kHugePageSize - 1) & ~(kHugePageSize - 1);
    const quintptr end = (quintptr(buffer.data()) + quintptr(buffer.size())) & ~(kHugePageSize - 1);
    if (end > start)
        madvise(reinterpret_cast<void *>(start), end - start, MADV_HUGEPAGE);
#else
    Q_UNUSED(buffer);
#endif
}

bool writeFailed(const QString &path, const QString &reason, QString *failure) {
    qCWarning(lcFiles).noquote() << "Unable to write" << path << "-" << reason;
    if (failure)
        *failure = reason;
    return false;
}

#ifdef Q_OS_UNIX

QString lastErrorText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A new file that nothing else refers to: O_EXCL fails on anything already there, O_NOFOLLOW makes
// sure that this includes a symbolic link.
int createNewFile(const QString &path) {
    return ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
}

// A new hidden sibling of the path, open for writing; its name is left in `siblingPath`.
int createSibling(const QString &path, QString &siblingPath) {
    const QFileInfo target(path);
    for (int attempt = 0; attempt < 64; ++attempt) {
        const QString suffix = QString::number(QRandomGenerator::global()->generate(), 36);
        siblingPath = target.dir().filePath(QStringLiteral(".%1.lvtmp-%2").arg(target.fileName(), suffix));
        const int fd = createNewFile(siblingPath);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAll(int fd, QByteArrayView bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t count = ::write(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += count;
    }
    return true;
}

// Fills the new file and closes it; the failure's reason is taken before anything else can change errno.
bool fillAndClose(int fd, QByteArrayView bytes, QString &reason) {
    errno = 0;
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    if (!written)
        reason = errno == 0 ? QStringLiteral("the data was cut short") : lastErrorText();
    if (::close(fd) != 0 && written) {
        reason = lastErrorText();
        return false;
    }
    return written;
}

#endif

} // namespace

namespace lv {

std::optional<QByteArray> contentsOfFile(const QString &path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    QByteArray contents(file.size(), Qt::Uninitialized);
    adviseHugePages(contents);
    const qint64 count = file.read(contents.data(), contents.size());
    if (count < 0)
        return std::nullopt;
    contents.truncate(count);
    // Whatever the size did not tell: a file that grew, or one that reports no size.
    contents += file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return contents;
}

bool writeFileAtomically(const QString &path, std::initializer_list<QByteArrayView> pieces, QString *failure) {
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk, a size limit) shows in write()'s count: the
    // buffered flush inside commit() would let a cut file replace the whole one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return writeFailed(path, file.errorString(), failure);
    for (QByteArrayView piece : pieces) {
        if (file.write(piece.data(), piece.size()) != piece.size())
            return writeFailed(path, QStringLiteral("the data was cut short"), failure);
    }
    if (!file.commit())
        return writeFailed(path, file.errorString(), failure);
    return true;
}

#ifdef Q_OS_UNIX

bool replaceFileWithoutFollowingLinks(const QString &path, QByteArrayView bytes, QString *failure) {
    QString siblingPath;
    const int fd = createSibling(path, siblingPath);
    if (fd < 0)
        return writeFailed(path, lastErrorText(), failure);
    QString reason;
    if (!fillAndClose(fd, bytes, reason)) {
        ::unlink(QFile::encodeName(siblingPath).constData());
        return writeFailed(path, reason, failure);
    }
    // rename() replaces the directory entry itself, a symbolic link included.
    if (::rename(QFile::encodeName(siblingPath).constData(), QFile::encodeName(path).constData()) != 0) {
        reason = lastErrorText();
        ::unlink(QFile::encodeName(siblingPath).constData());
        return writeFailed(path, reason, failure);
    }
    return true;
}

bool createEmptyFile(const QString &path, QString *failure) {
    const int fd = createNewFile(path);
    if (fd < 0) {
        if (failure)
            *failure = lastErrorText();
        return false;
    }
    ::close(fd);
    return true;
}

#else

// Elsewhere a program needs a privilege to make symbolic links, and QSaveFile's own rename suffices.
bool replaceFileWithoutFollowingLinks(const QString &path, QByteArrayView bytes, QString *failure) {
    return writeFileAtomically(path, {bytes}, failure);
}

bool createEmptyFile(const QString &path, QString *failure) {
    QFile file(path);
    if (!file.open(QIODevice::NewOnly)) {
        if (failure)
            *failure = file.errorString();
        return false;
    }
    return true;
}

#endif

bool isValidUtf8(QByteArrayView bytes) {
    // Decoded slice by slice into one small buffer, so that a large file costs no copy of its text.
    constexpr qsizetype kSliceLength = 64 * 1024;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    std::vector<QChar> buffer(decoder.requiredSpace(kSliceLength));
    for (qsizetype start = 0; start < bytes.size();) {
        const qsizetype end = sliceEnd(bytes, start, kSliceLength);
        decoder.appendToBuffer(buffer.data(), bytes.sliced(start, end - start));
        if (decoder.hasError())
            return false;
        start = end;
    }
    return true;
}

std::optional<QString> decodeUtf8(QByteArrayView bytes) {
    if (!isValidUtf8(bytes))
        return std::nullopt;
    return QString::fromUtf8(bytes);
}

} // namespace lv
