#pragma once

#include <QString>

struct LVGzipResult {
    enum Status {
        Compressed,       // the copy holds the whole source
        SourceUnreadable, // nothing to compress; no copy was made
        Failed,           // the copy could not be written; none is left behind
    };
    Status status;
    QString error; // why it failed, naming the file
};

namespace lv {

// Writes `destination` as one gzip stream (level 9) of the whole of `source`. The source is read
// first: a missing source never creates or truncates the destination.
LVGzipResult gzipFile(const QString &source, const QString &destination);
// The same for bytes already in memory.
LVGzipResult gzipData(const QByteArray &data, const QString &destination);

} // namespace lv
