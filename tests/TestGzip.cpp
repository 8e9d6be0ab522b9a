#include "LVFileSizeLimit.h"
#include "LVSampleGame.h"
#include "common/FileContents.h"
#include "net/Gzip.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <zlib.h>

#include <optional>

// The compressed copies an upload sends: one gzip stream whatever the number of threads, written
// in place of whatever stood at the destination and never left half-written.
class TestGzip : public QObject {
    Q_OBJECT

    static constexpr qsizetype kBlock = lv::kGzipBlockSize;
    QTemporaryDir mDir;

    QString path(const QString &name) const { return mDir.filePath(name); }
    static QByteArray read(const QString &file) { return lv::contentsOfFile(file).value_or(QByteArray()); }
    static void write(const QString &file, const QByteArray &bytes) { QVERIFY(lv::writeFileAtomically(file, {bytes})); }
    static QByteArray randomBytes(qsizetype size) {
        QByteArray bytes((size + 3) / 4 * 4, Qt::Uninitialized);
        QRandomGenerator(size).fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
        return bytes.left(size);
    }
    static QByteArray savedVariables(qsizetype size) {
        return QByteArray::fromStdString(LVSampleGame::savedVariables(1, size_t(size))).left(size);
    }
    // The data of exactly one gzip member (its CRC and length checked) filling all of `stream`.
    static std::optional<QByteArray> gunzip(const QByteArray &stream, qsizetype size) {
        z_stream z{};
        QByteArray out(size + 1, Qt::Uninitialized);
        if (inflateInit2(&z, 31) != Z_OK)
            return std::nullopt;
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(stream.constData()));
        z.avail_in = uInt(stream.size());
        z.next_out = reinterpret_cast<Bytef *>(out.data());
        z.avail_out = uInt(out.size());
        const bool whole = inflate(&z, Z_FINISH) == Z_STREAM_END && z.avail_in == 0;
        out.truncate(qsizetype(z.total_out));
        inflateEnd(&z);
        return whole ? std::optional(out) : std::nullopt;
    }
    // zlib's own deflate stream at level 9, without the zlib header and trailer.
    static QByteArray deflatedAtLevel9(const QByteArray &source) {
        uLongf size = compressBound(uLong(source.size()));
        QByteArray out(qsizetype(size), Qt::Uninitialized);
        compress2(reinterpret_cast<Bytef *>(out.data()), &size, reinterpret_cast<const Bytef *>(source.constData()),
                  uLong(source.size()), 9);
        return out.mid(2, qsizetype(size) - 6);
    }
    LVGzipResult compress(const QByteArray &source, int threads) {
        write(path("source"), source);
        return lv::gzipFile(path("source"), path("source.gz"), {threads, {}});
    }

private slots:
    void init() {
        QDir(mDir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(mDir.path()));
    }

    void copyIsOneStreamOfTheSource_data() {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<int>("threads");
        for (const int threads : {1, 4})
            for (const qsizetype size :
                 {qsizetype(0), qsizetype(1), kBlock - 1, kBlock, kBlock + 1, 9 * kBlock + 4321}) {
                QTest::addRow("random, %lld bytes, %d threads", qint64(size), threads) << randomBytes(size) << threads;
                QTest::addRow("text, %lld bytes, %d threads", qint64(size), threads) << savedVariables(size) << threads;
            }
    }
    void copyIsOneStreamOfTheSource() {
        QFETCH(QByteArray, source);
        QFETCH(int, threads);
        write(path("source"), source);
        QList<std::pair<qint64, qint64>> reports;
        const auto progress = [&](qint64 done, qint64 total) {
            QCOMPARE(QThread::currentThread(), thread());
            reports.append({done, total});
        };

        QCOMPARE(lv::gzipFile(path("source"), path("source.gz"), {threads, progress}).status, LVGzipResult::Compressed);
        const QByteArray copy = read(path("source.gz"));
        QCOMPARE(gunzip(copy, source.size()), std::optional(source));
        QCOMPARE(copy.left(4), QByteArray("\x1f\x8b\x08\x00", 4)); // deflate, no name or comment
        QCOMPARE(copy.mid(8, 2), QByteArray("\x02\x03"));          // maximum compression, Unix
        QVERIFY(!reports.isEmpty());
        QCOMPARE(reports.last(), std::pair(qint64(source.size()), qint64(source.size())));
        for (qsizetype i = 1; i < reports.size(); ++i)
            QVERIFY(reports[i].first > reports[i - 1].first);
    }

    // Blocks deflated apart still see the data before them: the parallel copy stays as small as one
    // stream; and that one stream is deflate at level 9, byte for byte.
    void blocksCostLittle() {
        const QByteArray source = savedVariables(64 * kBlock);
        QCOMPARE(compress(source, 1).status, LVGzipResult::Compressed);
        const QByteArray copy = read(path("source.gz"));
        QCOMPARE(copy.mid(10, copy.size() - 18), deflatedAtLevel9(source));
        QCOMPARE(compress(source, 4).status, LVGzipResult::Compressed);
        const qsizetype parallel = read(path("source.gz")).size();
        QVERIFY2(parallel <= copy.size() * 1.005,
                 qPrintable(QStringLiteral("%1 against %2").arg(parallel).arg(copy.size())));
    }

    // A write cut short by a full disk, early or only when the last bytes are flushed, leaves no copy.
    void failedWriteLeavesNoCopy_data() {
        QTest::addColumn<int>("threads");
        QTest::addColumn<qsizetype>("bytesShort"); // -1: in the first piece
        for (const int threads : {1, 4})
            for (const qsizetype bytesShort : {-1, 3})
                QTest::addRow("%lld short, %d threads", qint64(bytesShort), threads) << threads << bytesShort;
    }
    void failedWriteLeavesNoCopy() {
        QFETCH(int, threads);
        QFETCH(qsizetype, bytesShort);
        QCOMPARE(compress(randomBytes(6 * kBlock), threads).status, LVGzipResult::Compressed);
        const qsizetype whole = read(path("source.gz")).size();
        std::optional<LVFileSizeLimit> limit(std::in_place, bytesShort < 0 ? 1000 : whole - bytesShort);
        const LVGzipResult result = lv::gzipFile(path("source"), path("source.gz"), {threads, {}});
        limit.reset();
        QCOMPARE(result.status, LVGzipResult::Failed);
        QVERIFY2(result.error.startsWith("Unable to compress source.gz: "), qPrintable(result.error));
        QVERIFY(!QFileInfo::exists(path("source.gz")));
    }

    // Whatever stands at the destination gives way to the new copy; nothing is written through a link.
    void copyReplacesWhatStandsThere_data() {
        QTest::addColumn<QString>("standing");
        for (const char *standing : {"file", "link", "dangling"})
            QTest::newRow(standing) << standing;
    }
    void copyReplacesWhatStandsThere() {
        QFETCH(QString, standing);
        const QString target = path("target");
        if (standing == "link")
            write(target, "not ours");
        if (standing == "file")
            write(path("source.gz"), "an older, longer copy of something else entirely");
        else {
            QVERIFY(QFile::link(target, path("source.gz")));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Removing the link at .*source\\.gz"));
        }

        const QByteArray source = savedVariables(3 * kBlock);
        QCOMPARE(compress(source, 4).status, LVGzipResult::Compressed);
        QVERIFY(QFileInfo(path("source.gz")).isFile() && !QFileInfo(path("source.gz")).isSymLink());
        QCOMPARE(gunzip(read(path("source.gz")), source.size()), std::optional(source));
        QCOMPARE(lv::contentsOfFile(target), standing == "link" ? std::optional(QByteArray("not ours")) : std::nullopt);
    }

    // Nothing is created or truncated when the source cannot be read, or when a folder is in the way.
    void nothingToWrite() {
        write(path("source.gz"), "an earlier copy");
        QCOMPARE(lv::gzipFile(path("source"), path("source.gz")).status, LVGzipResult::SourceUnreadable);
        QCOMPARE(read(path("source.gz")), QByteArray("an earlier copy"));

        QVERIFY(QFile::remove(path("source.gz")) && QDir().mkpath(path("source.gz/inside")));
        write(path("source"), "data");
        const LVGzipResult result = lv::gzipFile(path("source"), path("source.gz"));
        QCOMPARE(result.status, LVGzipResult::Failed);
        QVERIFY2(result.error.startsWith("Unable to compress source.gz: "), qPrintable(result.error));
        QVERIFY(QFileInfo(path("source.gz/inside")).isDir());
    }
};

QTEST_GUILESS_MAIN(TestGzip)
#include "TestGzip.moc"
