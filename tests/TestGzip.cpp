#include "LVFileSizeLimit.h"
#include "LVSampleGame.h"
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
    static QByteArray read(const QString &file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString &file, const QByteArray &bytes) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    static QByteArray randomBytes(qsizetype size) {
        QByteArray bytes(size, Qt::Uninitialized);
        QRandomGenerator random(size);
        for (char &byte : bytes)
            byte = char(random.generate());
        return bytes;
    }
    static QByteArray savedVariables(qsizetype size) {
        return QByteArray::fromStdString(LVSampleGame::savedVariables(1, size_t(size))).left(size);
    }
    // The data of exactly one gzip member filling all of `stream`; absent when it is anything else.
    static std::optional<QByteArray> gunzip(const QByteArray &stream) {
        z_stream inflater{};
        if (inflateInit2(&inflater, 31) != Z_OK)
            return std::nullopt;
        inflater.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(stream.data()));
        inflater.avail_in = uInt(stream.size());
        QByteArray out;
        int status = Z_OK;
        while (status == Z_OK) {
            char buffer[65536];
            inflater.next_out = reinterpret_cast<Bytef *>(buffer);
            inflater.avail_out = sizeof buffer;
            status = inflate(&inflater, Z_NO_FLUSH);
            out.append(buffer, qsizetype(sizeof buffer - inflater.avail_out));
        }
        const bool whole = status == Z_STREAM_END && inflater.avail_in == 0;
        inflateEnd(&inflater);
        return whole ? std::optional(out) : std::nullopt;
    }
    static quint32 littleEndianWord(const QByteArray &bytes, qsizetype at) {
        return qFromLittleEndian<quint32>(bytes.constData() + at);
    }
    static QByteArray rawDeflate(const QByteArray &source, int level) {
        z_stream stream{};
        deflateInit2(&stream, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
        QByteArray output(qsizetype(deflateBound(&stream, uLong(source.size()))), Qt::Uninitialized);
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(source.constData()));
        stream.avail_in = uInt(source.size());
        stream.next_out = reinterpret_cast<Bytef *>(output.data());
        stream.avail_out = uInt(output.size());
        deflate(&stream, Z_FINISH);
        output.truncate(qsizetype(stream.total_out));
        deflateEnd(&stream);
        return output;
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
        const std::pair<const char *, qsizetype> sizes[] = {{"empty", 0},
                                                            {"one byte", 1},
                                                            {"a block less one", kBlock - 1},
                                                            {"one block", kBlock},
                                                            {"a block and one", kBlock + 1},
                                                            {"several blocks", 9 * kBlock + 4321}};
        for (const int threads : {1, 4})
            for (const auto &[name, size] : sizes) {
                QTest::addRow("random, %s, %d threads", name, threads) << randomBytes(size) << threads;
                QTest::addRow("text, %s, %d threads", name, threads) << savedVariables(size) << threads;
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

        const LVGzipResult result = lv::gzipFile(path("source"), path("source.gz"), {threads, progress});
        QCOMPARE(result.status, LVGzipResult::Compressed);
        const QByteArray copy = read(path("source.gz"));
        QCOMPARE(gunzip(copy), std::optional(source));
        QCOMPARE(copy.left(4), QByteArray("\x1f\x8b\x08\x00", 4)); // deflate, no name or comment
        QCOMPARE(copy.mid(8, 2), QByteArray("\x02\x03"));          // maximum compression, Unix
        const auto crc = crc32_z(0, reinterpret_cast<const Bytef *>(source.constData()), size_t(source.size()));
        QCOMPARE(littleEndianWord(copy, copy.size() - 8), quint32(crc));
        QCOMPARE(littleEndianWord(copy, copy.size() - 4), quint32(source.size()));

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
        QCOMPARE(copy.mid(10, copy.size() - 18), rawDeflate(source, 9));
        QVERIFY(rawDeflate(source, 6) != rawDeflate(source, 9));
        const qsizetype single = copy.size();
        QCOMPARE(compress(source, 4).status, LVGzipResult::Compressed);
        const qsizetype parallel = read(path("source.gz")).size();
        QVERIFY2(parallel <= single * 1.005, qPrintable(QStringLiteral("%1 against %2").arg(parallel).arg(single)));
    }

    // A write cut short by a full disk, early or only when the last bytes are flushed, leaves no copy.
    void failedWriteLeavesNoCopy_data() {
        QTest::addColumn<int>("threads");
        QTest::addColumn<qsizetype>("bytesShort");
        for (const int threads : {1, 4}) {
            QTest::addRow("in the first piece, %d threads", threads) << threads << qsizetype(-1);
            QTest::addRow("in the trailer, %d threads", threads) << threads << qsizetype(3);
        }
    }
    void failedWriteLeavesNoCopy() {
        QFETCH(int, threads);
        QFETCH(qsizetype, bytesShort);
        const QByteArray source = randomBytes(6 * kBlock);
        QCOMPARE(compress(source, threads).status, LVGzipResult::Compressed);
        const qsizetype whole = read(path("source.gz")).size();

        LVGzipResult result;
        {
            LVFileSizeLimit limit(bytesShort < 0 ? 1000 : whole - bytesShort);
            result = lv::gzipFile(path("source"), path("source.gz"), {threads, {}});
        }
        QCOMPARE(result.status, LVGzipResult::Failed);
        QVERIFY2(result.error.startsWith("Unable to compress source.gz: "), qPrintable(result.error));
        QVERIFY(!QFileInfo::exists(path("source.gz")));
    }

    // Whatever stands at the destination gives way to the new copy; nothing is written through a link.
    void copyReplacesWhatStandsThere_data() {
        QTest::addColumn<QString>("standing");
        QTest::addRow("nothing") << "";
        QTest::addRow("an old copy") << "file";
        QTest::addRow("a link to a file elsewhere") << "link";
        QTest::addRow("a dangling link") << "dangling";
    }
    void copyReplacesWhatStandsThere() {
        QFETCH(QString, standing);
        QVERIFY(QDir().mkpath(path("elsewhere")));
        const QString target = path("elsewhere/target");
        if (standing == "file")
            write(path("source.gz"), "an older, longer copy of something else entirely");
        if (standing == "link" || standing == "dangling") {
            if (standing == "link")
                write(target, "not ours");
            QVERIFY(QFile::link(target, path("source.gz")));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Removing the link at .*source\\.gz"));
        }

        const QByteArray source = savedVariables(3 * kBlock);
        QCOMPARE(compress(source, 4).status, LVGzipResult::Compressed);
        const QFileInfo copy(path("source.gz"));
        QVERIFY(copy.isFile() && !copy.isSymLink());
        QCOMPARE(gunzip(read(copy.filePath())), std::optional(source));
        if (standing == "link")
            QCOMPARE(read(target), QByteArray("not ours"));
        else
            QVERIFY(!QFileInfo::exists(target));
    }

    // Nothing is created or truncated when the source cannot be read, or when a folder is in the way.
    void nothingToWrite_data() {
        QTest::addColumn<bool>("sourceExists");
        QTest::addColumn<int>("status");
        QTest::addRow("missing source") << false << int(LVGzipResult::SourceUnreadable);
        QTest::addRow("folder at the destination") << true << int(LVGzipResult::Failed);
    }
    void nothingToWrite() {
        QFETCH(bool, sourceExists);
        QFETCH(int, status);
        if (sourceExists) {
            write(path("source"), "data");
            QVERIFY(QDir().mkpath(path("source.gz/inside")));
        } else {
            write(path("source.gz"), "an earlier copy");
        }

        const LVGzipResult result = lv::gzipFile(path("source"), path("source.gz"));
        QCOMPARE(int(result.status), status);
        if (sourceExists) {
            QVERIFY2(result.error.startsWith("Unable to compress source.gz: "), qPrintable(result.error));
            QVERIFY(QFileInfo(path("source.gz/inside")).isDir());
        } else {
            QCOMPARE(read(path("source.gz")), QByteArray("an earlier copy"));
        }
    }
};

QTEST_GUILESS_MAIN(TestGzip)
#include "TestGzip.moc"
