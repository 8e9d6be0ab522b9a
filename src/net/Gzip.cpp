#include "net/Gzip.h"

#include "common/FileContents.h"
#include "common/NewFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#define ZLIB_CONST // lets zlib take the source as const
#include <zlib.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace {

constexpr qsizetype kBlockSize = lv::kGzipBlockSize;
constexpr qsizetype kWindowSize = 32 * 1024;   // what deflate can refer back to
constexpr qsizetype kOutputChunk = 256 * 1024; // written at a time by the single stream
constexpr qsizetype kInputSlice = 1 << 30;     // zlib counts what it is given in 32 bits
constexpr qsizetype kBlocksAheadPerThread = 2; // deflated blocks that may wait for the writer
constexpr int kMemLevel = 8;

// Deflate, no flags, no name, no time, XFL 2 (slowest, best compression), OS 3 (Unix).
constexpr char kGzipHeader[] = {'\x1f', '\x8b', 8, 0, 0, 0, 0, 0, 2, 3};

QByteArray gzipTrailer(quint32 crc, qint64 size) {
    QByteArray trailer(8, Qt::Uninitialized);
    for (int i = 0; i < 4; ++i) {
        trailer[i] = char(crc >> (8 * i));
        trailer[4 + i] = char(quint64(size) >> (8 * i)); // ISIZE: the size modulo 2^32
    }
    return trailer;
}

quint32 crcOf(QByteArrayView bytes) {
    return quint32(crc32_z(0, reinterpret_cast<const Bytef *>(bytes.data()), size_t(bytes.size())));
}

// A raw deflate stream at level 9, reused for everything one thread compresses.
class LVDeflater {
public:
    LVDeflater() { mReady = deflateInit2(&mStream, 9, Z_DEFLATED, -15, kMemLevel, Z_DEFAULT_STRATEGY) == Z_OK; }
    ~LVDeflater() {
        if (mReady)
            deflateEnd(&mStream);
    }
    LVDeflater(const LVDeflater &) = delete;
    LVDeflater &operator=(const LVDeflater &) = delete;

    bool isReady() const { return mReady; }
    z_stream &stream() { return mStream; }

private:
    z_stream mStream{};
    bool mReady = false;
};

struct LVDeflatedBlock {
    QByteArray bytes;
    quint32 crc = 0;
    qsizetype length = 0;
    bool ok = false;
};

// Runs deflate on what the stream holds until it has taken all of it and `flush` is done, growing
// `out` as needed; `out` ends at what was produced.
bool deflateInto(z_stream &stream, QByteArray &out, int flush) {
    qsizetype produced = 0;
    for (;;) {
        stream.next_out = reinterpret_cast<Bytef *>(out.data() + produced);
        stream.avail_out = uInt(out.size() - produced);
        const int status = deflate(&stream, flush);
        produced = out.size() - stream.avail_out;
        if (status == Z_STREAM_ERROR)
            return false;
        if (flush == Z_FINISH ? status == Z_STREAM_END : stream.avail_out != 0) {
            out.truncate(produced);
            return true;
        }
        out.resize(out.size() + 4096); // seldom: the room given is deflate's own bound
    }
}

// Deflates source[begin, end) with the 32 KiB before it as the dictionary. Every block but the last
// ends on a byte boundary (sync flush) and leaves the stream open, so the pieces join into one stream.
LVDeflatedBlock deflateBlock(LVDeflater &deflater, QByteArrayView source, qsizetype begin, qsizetype end) {
    LVDeflatedBlock block;
    z_stream &stream = deflater.stream();
    if (!deflater.isReady() || deflateReset(&stream) != Z_OK)
        return block;
    const qsizetype dictionary = qMin(kWindowSize, begin);
    if (dictionary > 0 &&
        deflateSetDictionary(&stream, reinterpret_cast<const Bytef *>(source.data() + begin - dictionary),
                             uInt(dictionary)) != Z_OK)
        return block;
    const QByteArrayView input = source.sliced(begin, end - begin);
    stream.next_in = reinterpret_cast<const Bytef *>(input.data());
    stream.avail_in = uInt(input.size());
    block.bytes.resize(qsizetype(deflateBound(&stream, uLong(input.size()))) + 16);
    block.ok = deflateInto(stream, block.bytes, end == source.size() ? Z_FINISH : Z_SYNC_FLUSH);
    block.crc = crcOf(input);
    block.length = input.size();
    return block;
}

// Deflates the blocks of a source on worker threads and hands them back in order. Workers run at
// most kBlocksAheadPerThread blocks per thread ahead of the one awaited, so memory stays bounded
// whatever the source's size.
class LVBlockPipeline {
public:
    LVBlockPipeline(QByteArrayView source, int threads)
        : mSource(source)
        , mBlockCount((source.size() + kBlockSize - 1) / kBlockSize)
        , mAhead(kBlocksAheadPerThread * threads) {
        for (int i = 0; i < threads; ++i)
            mWorkers.emplace_back([this] { work(); });
    }
    ~LVBlockPipeline() {
        {
            std::lock_guard lock(mMutex);
            mStopping = true;
        }
        mChanged.notify_all();
        for (std::thread &worker : mWorkers)
            worker.join();
    }
    LVBlockPipeline(const LVBlockPipeline &) = delete;
    LVBlockPipeline &operator=(const LVBlockPipeline &) = delete;

    qsizetype blockCount() const { return mBlockCount; }

    // The next block in order, once it is deflated.
    LVDeflatedBlock next() {
        std::unique_lock lock(mMutex);
        mChanged.wait(lock, [this] { return mDone.contains(mNextTaken); });
        LVDeflatedBlock block = std::move(mDone.extract(mNextTaken++).mapped());
        lock.unlock();
        mChanged.notify_all();
        return block;
    }

private:
    // The index of a block for this worker to deflate; absent when there is nothing more to do.
    std::optional<qsizetype> claim() {
        std::unique_lock lock(mMutex);
        mChanged.wait(
            lock, [this] { return mStopping || mNextClaimed >= mBlockCount || mNextClaimed < mNextTaken + mAhead; });
        if (mStopping || mNextClaimed >= mBlockCount)
            return std::nullopt;
        return mNextClaimed++;
    }

    void work() {
        LVDeflater deflater;
        while (const std::optional<qsizetype> index = claim()) {
            const qsizetype begin = *index * kBlockSize;
            LVDeflatedBlock block = deflateBlock(deflater, mSource, begin, qMin(begin + kBlockSize, mSource.size()));
            {
                std::lock_guard lock(mMutex);
                mDone.emplace(*index, std::move(block));
            }
            mChanged.notify_all();
        }
    }

    const QByteArrayView mSource;
    const qsizetype mBlockCount;
    const qsizetype mAhead;
    std::mutex mMutex;
    std::condition_variable mChanged;
    qsizetype mNextClaimed = 0;
    qsizetype mNextTaken = 0;
    bool mStopping = false;
    std::map<qsizetype, LVDeflatedBlock> mDone;
    std::vector<std::thread> mWorkers; // last: they start once everything above is in place
};

// Writes the gzip stream to the new copy: the header, the deflated pieces in order with the CRC-32 and
// length of the source each stands for, then the trailer.
class LVGzipWriter {
public:
    LVGzipWriter(QFile &copy, qint64 sourceSize, const std::function<void(qint64, qint64)> &progress)
        : mCopy(copy)
        , mSourceSize(sourceSize)
        , mProgress(progress) {}

    bool writeHeader() { return write(QByteArrayView(kGzipHeader, sizeof kGzipHeader)); }

    bool append(QByteArrayView deflated, quint32 crc, qint64 length) {
        if (!write(deflated))
            return false;
        mCrc = quint32(crc32_combine(mCrc, crc, z_off_t(length)));
        mSourceDone += length;
        if (mProgress)
            mProgress(mSourceDone, mSourceSize);
        return true;
    }

    bool finish() {
        if (!write(gzipTrailer(mCrc, mSourceDone)))
            return false;
        QString reason;
        if (lv::finishNewFile(mCopy, &reason))
            return true;
        return fail(
            QCoreApplication::translate("Compression", "the compressed copy could not be saved: %1").arg(reason));
    }

    bool fail(const QString &reason) {
        mError = reason;
        return false;
    }
    const QString &error() const { return mError; }

private:
    bool write(QByteArrayView bytes) {
        const qint64 written = mCopy.write(bytes.data(), bytes.size());
        if (written == bytes.size()) {
            mWritten += written;
            return true;
        }
        const qint64 done = mWritten + qMax(written, qint64(0));
        const qint64 wanted = mWritten + bytes.size();
        if (mCopy.error() == QFileDevice::NoError)
            return fail(QCoreApplication::translate("Compression", "only %1 of %2 bytes could be written")
                            .arg(done)
                            .arg(wanted));
        return fail(QCoreApplication::translate("Compression", "only %1 of %2 bytes could be written (%3)")
                        .arg(done)
                        .arg(wanted)
                        .arg(mCopy.errorString()));
    }

    QFile &mCopy;
    const qint64 mSourceSize;
    const std::function<void(qint64, qint64)> &mProgress;
    qint64 mWritten = 0;
    qint64 mSourceDone = 0;
    quint32 mCrc = 0;
    QString mError;
};

// One deflate stream over the whole source, on the calling thread, written as it comes.
bool deflateWhole(QByteArrayView source, LVGzipWriter &writer) {
    LVDeflater deflater;
    if (!deflater.isReady())
        return writer.fail(QCoreApplication::translate("Compression", "deflate could not start"));
    z_stream &stream = deflater.stream();
    QByteArray chunk(kOutputChunk, Qt::Uninitialized);
    qsizetype given = 0;
    qsizetype counted = 0;
    for (int status = Z_OK; status != Z_STREAM_END;) {
        if (stream.avail_in == 0 && given < source.size()) {
            const qsizetype slice = qMin(kInputSlice, source.size() - given);
            stream.next_in = reinterpret_cast<const Bytef *>(source.data() + given);
            stream.avail_in = uInt(slice);
            given += slice;
        }
        stream.next_out = reinterpret_cast<Bytef *>(chunk.data());
        stream.avail_out = uInt(chunk.size());
        status = deflate(&stream, given == source.size() ? Z_FINISH : Z_NO_FLUSH);
        if (status == Z_STREAM_ERROR)
            return writer.fail(QCoreApplication::translate("Compression", "deflate failed"));
        const qsizetype taken = given - stream.avail_in;
        const QByteArrayView taking = source.sliced(counted, taken - counted);
        if (!writer.append(QByteArrayView(chunk).first(chunk.size() - stream.avail_out), crcOf(taking), taking.size()))
            return false;
        counted = taken;
    }
    return true;
}

bool deflateInBlocks(QByteArrayView source, int threads, LVGzipWriter &writer) {
    LVBlockPipeline pipeline(source, threads);
    for (qsizetype i = 0; i < pipeline.blockCount(); ++i) {
        const LVDeflatedBlock block = pipeline.next();
        if (!block.ok)
            return writer.fail(QCoreApplication::translate("Compression", "deflate failed"));
        if (!writer.append(block.bytes, block.crc, block.length))
            return false;
    }
    return true;
}

int compressingThreads(int requested, qsizetype sourceSize) {
    const int threads = qMax(1, requested > 0 ? requested : QThread::idealThreadCount());
    const qsizetype blocks = (sourceSize + kBlockSize - 1) / kBlockSize;
    return blocks > 1 ? int(qMin(qsizetype(threads), blocks)) : 1;
}

QString failureText(const QString &destination, const QString &reason) {
    return QCoreApplication::translate("Compression", "Unable to compress %1: %2")
        .arg(QFileInfo(destination).fileName(), reason);
}

} // namespace

namespace lv {

LVGzipResult gzipFile(const QString &source, const QString &destination, const LVGzipOptions &options) {
    const LVFileRead data = readWholeFile(source);
    if (data.status == LVRegularFile::Refused)
        return {LVGzipResult::Failed, data.problem};
    if (!data.contents)
        return {LVGzipResult::SourceUnreadable, {}};
    return gzipData(*data.contents, destination, options);
}

LVGzipResult gzipData(const QByteArray &data, const QString &destination, const LVGzipOptions &options) {
    QFile copy;
    QString reason;
    if (!lv::createNewFile(destination, copy, &reason))
        return {LVGzipResult::Failed,
                failureText(destination,
                            QCoreApplication::translate("Compression", "the compressed copy could not be created: %1")
                                .arg(reason))};

    LVGzipWriter writer(copy, data.size(), options.progress);
    const int threads = compressingThreads(options.threads, data.size());
    const bool written = writer.writeHeader() &&
                         (threads > 1 ? deflateInBlocks(data, threads, writer) : deflateWhole(data, writer)) &&
                         writer.finish();
    if (written)
        return {LVGzipResult::Compressed, {}};
    copy.close();
    QFile::remove(destination);
    return {LVGzipResult::Failed, failureText(destination, writer.error())};
}

} // namespace lv
