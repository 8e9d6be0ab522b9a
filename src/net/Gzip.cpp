#include "net/Gzip.h"

#include "common/PathComponents.h"

#include <QFile>

#include <zlib.h>

namespace {

LVGzipResult failure(const QString &destination, const QString &reason) {
    QFile::remove(destination);
    return {LVGzipResult::Failed,
            QStringLiteral("Unable to compress %1: %2").arg(lv::lastPathComponent(destination), reason)};
}

} // namespace

namespace lv {

LVGzipResult gzipFile(const QString &source, const QString &destination) {
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return {LVGzipResult::SourceUnreadable, {}};
    const QByteArray data = input.readAll();
    if (input.error() != QFileDevice::NoError)
        return {LVGzipResult::SourceUnreadable, {}};
    return gzipData(data, destination);
}

LVGzipResult gzipData(const QByteArray &data, const QString &destination) {
    gzFile file = gzopen(QFile::encodeName(destination).constData(), "wb9");
    if (!file)
        return failure(destination, QStringLiteral("the compressed copy could not be created"));
    // One gzwrite takes at most UINT_MAX bytes; larger sources go in slices.
    constexpr qsizetype kSlice = 1 << 30;
    for (qsizetype offset = 0; offset < data.size(); offset += kSlice) {
        const auto length = unsigned(qMin(kSlice, data.size() - offset));
        const int written = gzwrite(file, data.constData() + offset, length);
        if (written != int(length)) {
            gzclose(file);
            return failure(destination, QStringLiteral("gzwrite wrote - %1 but file size was - %2")
                                            .arg(qMax(written, 0) + offset)
                                            .arg(data.size()));
        }
    }
    const int closed = gzclose(file);
    if (closed != Z_OK)
        return failure(destination, QStringLiteral("gzclose failed with error [%1]").arg(closed));
    return {LVGzipResult::Compressed, {}};
}

} // namespace lv
