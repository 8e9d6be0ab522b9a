#include "LVGameFolder.h"
#include "LVSiteServer.h"
#include "common/md5.h"
#include "net/Gzip.h"

#include <QTcpSocket>
#include <QtTest>

#include <mutex>

// The reference site on its own, where the client's tests do not reach: what it refuses to store or
// serve, its throttle and its log.
class TestSite : public QObject {
    Q_OBJECT

    LVGameFolder mDir; // addon/ is what the site publishes, data/ what it stores
    std::unique_ptr<LVSiteServer> mServer;
    std::mutex mLogMutex;
    QStringList mLog;

    static QString credentials(const char *user, const QByteArray &password) {
        return QStringLiteral("username=%1&password=%2&mac").arg(user, lv::md5HexString(password));
    }
    // The response to one request on a connection of its own, sent as written: nothing normalises its path.
    QByteArray send(const QByteArray &method, const QString &target, const QByteArray &body = {}) const {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(mServer->port()));
        socket.write(method + ' ' + target.toUtf8() + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" +
                     "Content-Type: multipart/form-data; boundary=b\r\nContent-Length: " +
                     QByteArray::number(body.size()) + "\r\n\r\n" + body);
        QByteArray response;
        while (socket.waitForReadyRead(10000))
            response += socket.readAll();
        return response;
    }
    QStringList log() {
        std::lock_guard lock(mLogMutex);
        return mLog;
    }

private slots:
    void init() {
        mDir.writeFile(QStringLiteral("addon/Core.lua"), "core");
        LVSiteConfig config;
        config.users = {{"ALICE", "wonderland"}, {"BOB", "builder"}};
        config.dataFolder = QFile::encodeName(mDir.filePath(QStringLiteral("data"))).toStdString();
        config.addonFolder = QFile::encodeName(mDir.filePath(QStringLiteral("addon"))).toStdString();
        config.logSink = [this](const std::string &line) {
            std::lock_guard lock(mLogMutex);
            mLog << QString::fromStdString(line);
        };
        mServer = std::make_unique<LVSiteServer>(config);
        QVERIFY(mServer->start(0));
    }

    void cleanup() {
        mServer.reset();
        QDir(mDir.filePath(QStringLiteral("data"))).removeRecursively(), mLog.clear();
    }

    void uploadIsStoredOrRefused_data() {
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("stored"); // the file's name in the upload's folder; null: nothing stored
        lv::gzipData("rvUploaded = 0\n", mDir.filePath(QStringLiteral("source.gz")));
        const QByteArray good = mDir.readFile(QStringLiteral("source.gz")), pw = "wonderland";
        QTest::newRow("windows folders") << pw << QByteArray("C:\\Games\\x.lua.gz") << good << 200 << "x.lua";
        QTest::newRow("climbing out") << pw << QByteArray("../../x.lua.gz") << good << 200 << "x.lua";
        QTest::newRow("wrong credentials") << QByteArray("x") << QByteArray("a.lua.gz") << good << 401 << QString();
        QTest::newRow("not gzip") << pw << QByteArray("a.lua.gz") << QByteArray("rvUploaded = 0\n") << 400 << QString();
        QTest::newRow("truncated gzip") << pw << QByteArray("a.lua.gz") << good.chopped(4) << 400 << QString();
        QTest::newRow("the record's name") << pw << QByteArray("lorvane-upload.txt.gz") << good << 400 << QString();
    }

    // An accepted upload also opens the throttle window of its user, and of no one else.
    void uploadIsStoredOrRefused() {
        QFETCH(QByteArray, password);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, stored);
        const QByteArray body = "--b\r\nContent-Disposition: form-data; name=\"file0\"; filename=\"" + name +
                                "\"\r\n\r\n" + bytes + "\r\n--b--\r\n";
        QTEST(send("POST", "/upload?" + credentials("ALICE", password), body).mid(9, 3).toInt(), "status");

        const QDir data(mDir.filePath(QStringLiteral("data")));
        const QStringList folders = data.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QCOMPARE(folders.size(), stored.isNull() ? 0 : 1);
        QCOMPARE(mServer->uploads().size(), size_t(folders.size()));
        if (!stored.isNull())
            QCOMPARE(mDir.readFile("data/" + folders[0] + '/' + stored), QByteArray("rvUploaded = 0\n"));
        // The site's answers to a credential test are one byte long.
        QCOMPARE(send("GET", "/auth?" + credentials("ALICE", "wonderland")).right(1), stored.isNull() ? "0" : "2");
        QCOMPARE(send("GET", "/auth?" + credentials("BOB", "builder")).right(1), "0");
        // The log names each request, never the password's hash.
        QTRY_COMPARE(log().size(), 3);
        QVERIFY2(log().filter(QStringLiteral("password=***")).size() == 3, qPrintable(log().join('\n')));
    }

    void addonFilesStayInTheirFolder_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("status");
        QTest::newRow("file inside") << "/addon/Core.lua" << 200;
        QTest::newRow("encoded dot-dot") << "/addon/%2e%2e/data/secret" << 404;
        QTest::newRow("absolute") << "/addon/{dir}/data/secret" << 404;
        QTest::newRow("folder") << "/addon/Locales" << 404;
    }

    void addonFilesStayInTheirFolder() {
        QFETCH(QString, target);
        mDir.writeFile(QStringLiteral("data/secret"), "secret").addFolder(QStringLiteral("addon/Locales"));
        QTEST(send("GET", target.replace(QStringLiteral("{dir}"), mDir.path())).mid(9, 3).toInt(), "status");
    }
};

QTEST_GUILESS_MAIN(TestSite)
#include "TestSite.moc"
