#include "net/Gzip.h"
#include "net/UploadBody.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <zlib.h>

namespace {

QByteArray gunzip(const QByteArray &compressed) {
    z_stream stream{};
    inflateInit2(&stream, 16 + MAX_WBITS);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.constData()));
    stream.avail_in = uInt(compressed.size());
    QByteArray out;
    char buffer[65536];
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef *>(buffer);
        stream.avail_out = sizeof buffer;
        status = inflate(&stream, Z_NO_FLUSH);
        out.append(buffer, qsizetype(sizeof buffer - stream.avail_out));
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END ? out : QByteArray("<not a whole gzip stream>");
}

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

// The bytes of an upload: the multipart layout, the query and the compressed copies.
class TestUploadBody : public QObject {
    Q_OBJECT

private slots:
    void bodyLayoutIsByteExact() {
        QByteArray body;
        appendUploadPart(body, 0, QStringLiteral("------ABC123"), QStringLiteral("+Lorvane_Harvex.lua.gz"), "AB");
        appendUploadPart(body, 1, QStringLiteral("------ABC123"), QStringLiteral("ité.wdb.gz"),
                         QByteArray("\0\r\n", 3));
        appendUploadEnd(body, QStringLiteral("------ABC123"));

        const QByteArray expected =
            "--------ABC123\r\n"
            "Content-Disposition: form-data; name=\"file0\"; filename=\"+Lorvane_Harvex.lua.gz\"\r\n"
            "Content-Type: application/binary\r\n\r\n"
            "AB"
            "\r\n--------ABC123\r\n"
            "Content-Disposition: form-data; name=\"file1\"; filename=\"it\xc3\xa9.wdb.gz\"\r\n"
            "Content-Type: application/binary\r\n\r\n" +
            QByteArray("\0\r\n", 3) + "\r\n--------ABC123--\r\n";
        QCOMPARE(body, expected);
    }

    void emptyBodyIsTheClosingDelimiterAlone() {
        QByteArray body;
        appendUploadEnd(body, QStringLiteral("------1F"));
        QCOMPARE(body, QByteArray("\r\n--------1F--\r\n"));
    }

    void boundaryIsStablePerControllerAndUpperCase() {
        const auto *address = reinterpret_cast<const void *>(quintptr(0x7ffd00ab12cdULL));
        QCOMPARE(uploadBoundary(address), QStringLiteral("------AB12CD"));
        QCOMPARE(uploadBoundary(reinterpret_cast<const void *>(quintptr(0x5))), QStringLiteral("------5"));
    }

    void queryEncodesTheUserNameOnly_data() {
        QTest::addColumn<QString>("username");
        QTest::addColumn<bool>("characterData");
        QTest::addColumn<QString>("expected");
        const QString hash = QStringLiteral("0aff00d41d8cd98f00b204e9800998ec");

        QTest::newRow("plain") << "alice" << true << "username=alice&password=" + hash + "&mac";
        QTest::newRow("no character data")
            << "alice" << false << "username=alice&password=" + hash + "&mac&ignorecharacterdata";
        QTest::newRow("reserved characters cannot inject fields")
            << "a&b #c=d" << true << "username=a%26b%20%23c%3Dd&password=" + hash + "&mac";
        QTest::newRow("non-ascii") << "Zoë" << true << "username=Zo%C3%AB&password=" + hash + "&mac";
        QTest::newRow("absent user name is sent empty") << QString() << true << "username=&password=" + hash + "&mac";
    }

    void queryEncodesTheUserNameOnly() {
        QFETCH(QString, username);
        QFETCH(bool, characterData);
        QFETCH(QString, expected);
        QCOMPARE(uploadQuery(username, QStringLiteral("0aff00d41d8cd98f00b204e9800998ec"), characterData), expected);
    }

    void compressedCopyHoldsTheWholeSource_data() {
        QTest::addColumn<QByteArray>("source");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("text") << QByteArray("rvUploaded = 0\n").repeated(1000);
        QByteArray binary(300000, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char((i * 7919) ^ (i >> 3));
        QTest::newRow("binary") << binary;
    }

    void compressedCopyHoldsTheWholeSource() {
        QFETCH(QByteArray, source);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.wdb"));
        write(path, source);
        const LVGzipResult result = gzipFile(path, path + ".gz");
        QCOMPARE(result.status, LVGzipResult::Compressed);
        const QByteArray compressed = readAll(path + ".gz");
        QVERIFY(!compressed.isEmpty());
        QCOMPARE(gunzip(compressed), source);
    }

    void missingSourceLeavesNoCopyAndKeepsAStaleOneUntouched() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing.wdb"));
        QCOMPARE(gzipFile(path, path + ".gz").status, LVGzipResult::SourceUnreadable);
        QVERIFY(!QFile::exists(path + ".gz"));

        write(path + ".gz", "stale");
        QCOMPARE(gzipFile(path, path + ".gz").status, LVGzipResult::SourceUnreadable);
        QCOMPARE(readAll(path + ".gz"), QByteArray("stale"));
    }

    void failedWriteRemovesTheCopyAndNamesTheFile() {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("data.lua"));
        write(source, QByteArray(100000, 'x'));

        // /dev/full takes the open and refuses the data: the close reports it.
        const QString copy = dir.filePath(QStringLiteral("data.lua.gz"));
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), copy));
        const LVGzipResult full = gzipFile(source, copy);
        QCOMPARE(full.status, LVGzipResult::Failed);
        QVERIFY2(full.error.contains(QLatin1String("data.lua.gz")), qPrintable(full.error));
        QVERIFY(!QFileInfo(copy).isSymLink() && !QFile::exists(copy));

        const LVGzipResult noFolder = gzipFile(source, dir.filePath(QStringLiteral("absent/data.lua.gz")));
        QCOMPARE(noFolder.status, LVGzipResult::Failed);
    }
};

QTEST_GUILESS_MAIN(TestUploadBody)
#include "TestUploadBody.moc"
