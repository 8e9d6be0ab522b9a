#include "platform/FileContents.h"
#include "app/LVLogging.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <vector>

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

bool writeFailed(const QString &path, const QString &reason, QString *failure) {
    qCWarning(lcPlatform).noquote() << "Unable to write" << path << "-" << reason;
    if (failure)
        *failure = reason;
    return false;
}

} // namespace

std::optional<QByteArray> contentsOfFile(const QString &path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray contents = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return contents;
}

bool writeFileAtomically(const QString &path, QByteArrayView bytes, QString *failure) {
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk, a size limit) shows in write()'s count: the
    // buffered flush inside commit() would let a cut file replace the whole one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return writeFailed(path, file.errorString(), failure);
    if (file.write(bytes.data(), bytes.size()) != bytes.size())
        return writeFailed(path, QStringLiteral("the data was cut short"), failure);
    if (!file.commit())
        return writeFailed(path, file.errorString(), failure);
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
