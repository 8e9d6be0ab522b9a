#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

struct LVGzipResult {
    enum Status {
        Compressed,       // the copy holds the whole source
        SourceUnreadable, // nothing to compress; no copy was made
        Failed,           // the source is no file, or the copy could not be written; none is left behind
    };
    Status status;
    QString error; // why it failed, naming the file
};

struct LVGzipOptions {
    // Compressing threads; 0 takes QThread::idealThreadCount(). With one thread, or for a source no
    // larger than one block, the source is deflated as a single stream on the calling thread.
    int threads = 0;
    // Called on the calling thread, never on a worker, each time another part of the copy is on its
    // way to disk: `bytesDone` of the source's `bytesTotal` bytes are in it. The calls come in order,
    // at least once, and the last has bytesDone == bytesTotal.
    std::function<void(qint64 bytesDone, qint64 bytesTotal)> progress;
};

namespace lv {

// The share of the source each worker deflates at a time.
inline constexpr qsizetype kGzipBlockSize = 128 * 1024;

// Writes `destination` as one gzip stream (deflate at level 9, header with XFL 2 and OS 3) of the
// whole of `source`. The source is read first: a missing source never creates or truncates the
// destination, and one that is not a regular file (a named pipe, a device) fails. Larger sources are cut into blocks
// deflated side by side, each with the 32 KiB before it as its dictionary, and written in order as they are ready, so
// memory stays near the source's size. The copy is made anew (never written through a link standing at the destination)
// and flushed to disk; when that fails it is removed.
LVGzipResult gzipFile(const QString &source, const QString &destination, const LVGzipOptions &options = {});
// The same for bytes already in memory.
LVGzipResult gzipData(const QByteArray &data, const QString &destination, const LVGzipOptions &options = {});

} // namespace lv
