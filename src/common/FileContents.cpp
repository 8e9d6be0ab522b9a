#include "common/FileContents.h"
#include "common/LVLogging.h"
#include "common/NewFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStringDecoder>

#include <filesystem>
#include <system_error>
#include <vector>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
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

// Fills the buffer from the file, then takes whatever the size did not tell (a file that grew, or
// one that reports no size); false when a read failed.
bool readInto(LVRegularFile &file, QByteArray &buffer) {
    qsizetype filled = 0;
    for (qint64 count = 1; filled < buffer.size() && count > 0; filled += count) {
        count = file.read(buffer.data() + filled, buffer.size() - filled);
        if (count < 0)
            return false;
    }
    buffer.truncate(filled);
    char more[64 * 1024];
    for (qint64 count; (count = file.read(more, sizeof more)) != 0; buffer.append(more, count)) {
        if (count < 0)
            return false;
    }
    return true;
}

std::filesystem::path fileSystemPath(const QString &path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

namespace lv {

LVFileRead readWholeFile(const QString &path, LVLinks links) {
    LVRegularFile file(path, links);
    LVFileRead read;
    read.stamp = file.stamp();
    if (file.isOpen()) {
        QByteArray contents(file.stamp().size, Qt::Uninitialized);
        adviseHugePages(contents);
        if (readInto(file, contents))
            read.contents = std::move(contents);
    }
    read.status = file.status();
    read.problem = file.problem();
    return read;
}

std::optional<QByteArray> contentsOfFile(const QString &path, QString *refusal) {
    LVFileRead read = readWholeFile(path);
    if (refusal && read.status == LVRegularFile::Refused)
        *refusal = read.problem;
    return std::move(read.contents);
}

bool writeFileAtomically(const QString &path, std::initializer_list<QByteArrayView> pieces, QString *failure) {
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk, a size limit) shows in write()'s count: the
    // buffered flush inside commit() would let a cut file replace the whole one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return writeFailed(path, file.errorString(), failure);
    for (QByteArrayView piece : pieces) {
        if (file.write(piece.data(), piece.size()) != piece.size())
            return writeFailed(path, QCoreApplication::translate("FileWriting", "the data was cut short"), failure);
    }
    if (!file.commit())
        return writeFailed(path, file.errorString(), failure);
    return true;
}

bool createReplacement(const QString &path, QFile &file, QString *replacement, QString *error) {
    const QFileInfo target(path);
    *replacement =
        target.dir().filePath(QStringLiteral(".%1.lvtmp-%2")
                                  .arg(target.fileName(), QString::number(QRandomGenerator::global()->generate(), 36)));
    return createNewFile(*replacement, file, error);
}

bool putReplacementInPlace(const QString &replacement, const QString &path, QString *error) {
    // A rename replaces the directory entry itself, a symbolic link included.
    std::error_code failure;
    std::filesystem::rename(fileSystemPath(replacement), fileSystemPath(path), failure);
    if (!failure)
        return true;
    QFile::remove(replacement);
    if (error)
        *error = QString::fromStdString(failure.message());
    return false;
}

bool replaceFileWithoutFollowingLinks(const QString &path, QByteArrayView bytes, QString *failure) {
    QFile sibling;
    QString siblingPath;
    QString reason;
    if (!createReplacement(path, sibling, &siblingPath, &reason))
        return writeFailed(path, reason, failure);
    const bool written = sibling.write(bytes.data(), bytes.size()) == bytes.size();
    if (!written)
        reason = sibling.errorString();
    if (!lv::finishNewFile(sibling, written ? &reason : nullptr) || !written) {
        QFile::remove(siblingPath);
        return writeFailed(path, reason, failure);
    }
    if (!putReplacementInPlace(siblingPath, path, &reason))
        return writeFailed(path, reason, failure);
    return true;
}

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
