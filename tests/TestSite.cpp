#include "LVSampleGame.h"
#include "LVSiteServer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QHttpMultiPart>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

#include <memory>
#include <mutex>

namespace {

const QByteArray alicePassword = "wonderland";
const QByteArray bobPassword = "builder";

struct HttpReply {
    bool finished = false;
    int status = 0;
    QByteArray body;
    QByteArray contentType;
};

QByteArray md5Hex(const QByteArray &data) {
    return QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex();
}

QString credentials(const QString &user, const QByteArray &password) {
    return "username=" + user + "&password=" + QString::fromLatin1(md5Hex(password)) + "&mac";
}

QByteArray gzipped(const QByteArray &data) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray output(static_cast<qsizetype>(deflateBound(&stream, static_cast<uLong>(data.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(output.data());
    stream.avail_out = static_cast<uInt>(output.size());
    deflate(&stream, Z_FINISH);
    output.resize(static_cast<qsizetype>(stream.total_out));
    deflateEnd(&stream);
    return output;
}

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &data) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QString qPath(const std::filesystem::path &path) {
    return QString::fromStdString(path.string());
}

quint32 wordAt(const QByteArray &bytes, qsizetype offset) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

} // namespace

class TestSite : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void authThrottledAfterUpload_data();
    void authThrottledAfterUpload();
    void uploadStoredAs_data();
    void uploadStoredAs();
    void uploadRefused_data();
    void uploadRefused();
    void addonPaths_data();
    void addonPaths();
    void stallReleasedByStop();
    void requestsRecordedAndLoggedWithoutPassword();
    void sampleGameCacheFilesWalkToEndRecord();

private:
    void startServer(int throttleSeconds = 60, bool withAddon = false, bool withLog = false);
    QUrl url(const QString &pathAndQuery) const;
    HttpReply get(const QString &pathAndQuery);
    HttpReply upload(const QString &query, const QByteArrayList &fileNames, const QByteArrayList &contents,
                     QByteArrayList fields = {});
    HttpReply finish(QNetworkReply *reply);
    int rawGetStatus(const QByteArray &target);
    QStringList storedEntries() const;
    QString dataFolder() const { return mDir->filePath("data"); }
    QString addonFolder() const { return mDir->filePath("addon"); }
    QStringList logLines() {
        std::lock_guard lock(mLogMutex);
        return mLogLines;
    }

    std::unique_ptr<QTemporaryDir> mDir;
    std::unique_ptr<LVSiteServer> mServer;
    QNetworkAccessManager mNetwork;
    std::mutex mLogMutex;
    QStringList mLogLines;
};

void TestSite::initTestCase() {
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void TestSite::init() {
    mDir = std::make_unique<QTemporaryDir>();
    QVERIFY(mDir->isValid());
    mLogLines.clear();
}

void TestSite::cleanup() {
    mServer.reset();
    mDir.reset();
}

void TestSite::startServer(int throttleSeconds, bool withAddon, bool withLog) {
    LVSiteConfig config;
    config.users = {{"ALICE", alicePassword.toStdString()}, {"BOB", bobPassword.toStdString()}};
    config.dataFolder = dataFolder().toStdString();
    if (withAddon)
        config.addonFolder = addonFolder().toStdString();
    config.throttleSeconds = throttleSeconds;
    config.logRequests = withLog;
    config.logSink = [this](const std::string &line) {
        std::lock_guard lock(mLogMutex);
        mLogLines.append(QString::fromStdString(line));
    };
    mServer = std::make_unique<LVSiteServer>(config);
    QVERIFY(mServer->start(0));
    QVERIFY(mServer->port() > 0);
}

QUrl TestSite::url(const QString &pathAndQuery) const {
    return QUrl(QString::fromStdString(mServer->baseUrl()) + pathAndQuery);
}

HttpReply TestSite::finish(QNetworkReply *reply) {
    QSignalSpy finished(reply, &QNetworkReply::finished);
    HttpReply result;
    result.finished = reply->isFinished() || finished.wait(20000);
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.body = reply->readAll();
    result.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    reply->deleteLater();
    return result;
}

HttpReply TestSite::get(const QString &pathAndQuery) {
    return finish(mNetwork.get(QNetworkRequest(url(pathAndQuery))));
}

HttpReply TestSite::upload(const QString &query, const QByteArrayList &fileNames, const QByteArrayList &contents,
                           QByteArrayList fields) {
    auto *multiPart = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    for (qsizetype i = 0; i < fileNames.size(); ++i) {
        const QByteArray field = i < fields.size() ? fields[i] : "file" + QByteArray::number(i + 1);
        QHttpPart part;
        part.setHeader(QNetworkRequest::ContentDispositionHeader,
                       "form-data; name=\"" + field + "\"; filename=\"" + fileNames[i] + "\"");
        part.setHeader(QNetworkRequest::ContentTypeHeader, "application/gzip");
        part.setBody(contents[i]);
        multiPart->append(part);
    }
    QNetworkReply *reply = mNetwork.post(QNetworkRequest(url("/upload?" + query)), multiPart);
    multiPart->setParent(reply);
    return finish(reply);
}

int TestSite::rawGetStatus(const QByteArray &target) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(mServer->port()));
    if (!socket.waitForConnected(5000))
        return -1;
    socket.write("GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    QByteArray response;
    while (socket.waitForReadyRead(10000))
        response += socket.readAll();
    const QList<QByteArray> statusLine = response.left(response.indexOf("\r\n")).split(' ');
    return statusLine.size() >= 2 ? statusLine[1].toInt() : -1;
}

QStringList TestSite::storedEntries() const {
    return QDir(dataFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
}

void TestSite::authThrottledAfterUpload_data() {
    QTest::addColumn<int>("throttleSeconds");
    QTest::addColumn<QByteArray>("uploadPassword");
    QTest::addColumn<QByteArray>("expectedAfterUpload");
    QTest::newRow("inside the window") << 60 << alicePassword << QByteArray("2");
    QTest::newRow("zero-second window") << 0 << alicePassword << QByteArray("0");
    QTest::newRow("refused upload") << 60 << QByteArray("wrong") << QByteArray("0");
}

void TestSite::authThrottledAfterUpload() {
    QFETCH(int, throttleSeconds);
    QFETCH(QByteArray, uploadPassword);
    QFETCH(QByteArray, expectedAfterUpload);
    startServer(throttleSeconds);
    QCOMPARE(get("/auth?" + credentials("ALICE", alicePassword)).body, QByteArray("0"));
    QVERIFY(upload(credentials("ALICE", uploadPassword), {"a.lua.gz"}, {gzipped("rvUploaded = 0\n")}).finished);
    QCOMPARE(get("/auth?" + credentials("ALICE", alicePassword)).body, expectedAfterUpload);
    QCOMPARE(get("/auth?" + credentials("BOB", bobPassword)).body, QByteArray("0"));
}

void TestSite::uploadStoredAs_data() {
    QTest::addColumn<QByteArray>("fileName");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("storedName");
    QTest::addColumn<QByteArray>("stored");
    const QByteArray data = "rvUploaded = 0\n";
    QTest::newRow("plain") << QByteArray("+Lorvane_Harvex.lua.gz") << gzipped(data) << "+Lorvane_Harvex.lua" << data;
    QTest::newRow("folders") << QByteArray("WTF/Account/ACCOUNT1/SavedVariables/x.lua.gz") << gzipped(data) << "x.lua"
                             << data;
    QTest::newRow("windows folders") << QByteArray("C:\\Games\\x.lua.gz") << gzipped(data) << "x.lua" << data;
    QTest::newRow("climbing out") << QByteArray("../../x.lua.gz") << gzipped(data) << "x.lua" << data;
    QTest::newRow("two gzip members") << QByteArray("x.lua.gz") << gzipped("first ") + gzipped("second") << "x.lua"
                                      << QByteArray("first second");
}

void TestSite::uploadStoredAs() {
    QFETCH(QByteArray, fileName);
    QFETCH(QByteArray, content);
    QFETCH(QString, storedName);
    QFETCH(QByteArray, stored);
    startServer();
    QCOMPARE(upload(credentials("ALICE", alicePassword), {fileName}, {content}).status, 200);
    const std::vector<LVSiteUpload> uploads = mServer->uploads();
    QCOMPARE(uploads.size(), size_t(1));
    QCOMPARE(uploads[0].parts[0].storedPath, uploads[0].folder / storedName.toStdString());
    QCOMPARE(readAll(qPath(uploads[0].parts[0].storedPath)), stored);
    QCOMPARE(QDir(dataFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 1);
}

void TestSite::uploadRefused_data() {
    QTest::addColumn<QString>("query");
    QTest::addColumn<QByteArrayList>("fileNames");
    QTest::addColumn<QByteArrayList>("contents");
    QTest::addColumn<int>("status");
    const QString alice = credentials("ALICE", alicePassword);
    const QByteArray good = gzipped(QByteArray::fromStdString(LVSampleGame::savedVariables(1, 64 * 1024)));
    const QByteArrayList one = {"a.lua.gz"};
    QTest::newRow("wrong hash") << credentials("ALICE", "x") << one << QByteArrayList{good} << 401;
    QTest::newRow("not gzip") << alice << one << QByteArrayList{"rvUploaded = 0\n"} << 400;
    QTest::newRow("truncated gzip") << alice << one << QByteArrayList{good.left(good.size() / 2)} << 400;
    QTest::newRow("second part bad") << alice << QByteArrayList{"a.lua.gz", "b.lua.gz"}
                                     << QByteArrayList{good, good.left(100)} << 400;
    QTest::newRow("name without .gz") << alice << QByteArrayList{"a.lua"} << QByteArrayList{good} << 400;
    QTest::newRow("name sent twice") << alice << QByteArrayList{"a.lua.gz", "dir/a.lua.gz"}
                                     << QByteArrayList{good, good} << 400;
    QTest::newRow("record name") << alice << QByteArrayList{"lorvane-upload.txt.gz"} << QByteArrayList{good} << 400;
    QTest::newRow("no parts") << alice << QByteArrayList{} << QByteArrayList{} << 400;
}

void TestSite::uploadRefused() {
    QFETCH(QString, query);
    QFETCH(QByteArrayList, fileNames);
    QFETCH(QByteArrayList, contents);
    QFETCH(int, status);
    startServer();
    const HttpReply reply = upload(query, fileNames, contents);
    QVERIFY(reply.finished);
    QCOMPARE(reply.status, status);
    QVERIFY2(reply.body.endsWith('\n') && reply.body.count('\n') == 1, reply.body.constData());
    QVERIFY(mServer->uploads().empty());
    QCOMPARE(storedEntries(), QStringList());
}

void TestSite::addonPaths_data() {
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<int>("status");
    QTest::newRow("file inside") << QByteArray("/addon/Core.lua") << 200;
    QTest::newRow("dot-dot") << QByteArray("/addon/../secret.txt") << 404;
    QTest::newRow("encoded dot-dot") << QByteArray("/addon/%2e%2e/secret.txt") << 404;
    QTest::newRow("encoded slash") << QByteArray("/addon/..%2fsecret.txt") << 404;
    QTest::newRow("folder") << QByteArray("/addon/Locales") << 404;
}

void TestSite::addonPaths() {
    QFETCH(QByteArray, target);
    QFETCH(int, status);
    QVERIFY(writeAll(mDir->filePath("secret.txt"), "secret"));
    QVERIFY(writeAll(addonFolder() + "/Core.lua", "core"));
    QVERIFY(writeAll(addonFolder() + "/Locales/enUS.lua", "enUS"));
    startServer(60, true);
    QCOMPARE(rawGetStatus(target), status);
    const QByteArray absolute = "/addon/" + QFile::encodeName(mDir->filePath("secret.txt"));
    QCOMPARE(rawGetStatus(absolute), 404);
}

void TestSite::stallReleasedByStop() {
    startServer();
    // Leaves the client holding an idle kept-alive connection, which must not delay stop() either.
    QCOMPARE(get("/updates.xml").status, 200);
    QNetworkRequest request(url("/stall"));
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/octet-stream");
    QNetworkReply *reply = mNetwork.post(request, QByteArray("body"));
    QSignalSpy finished(reply, &QNetworkReply::finished);
    QTRY_VERIFY(!mServer->requests().empty() && mServer->requests().back().path == "/stall");
    QVERIFY(!reply->isFinished());

    QElapsedTimer timer;
    timer.start();
    mServer->stop();
    QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(reply->isFinished() || finished.wait(10000));
    reply->deleteLater();
}

void TestSite::requestsRecordedAndLoggedWithoutPassword() {
    startServer(60, false, true);
    const QString query = credentials("ALICE", alicePassword);
    QCOMPARE(get("/auth?" + query).status, 200);
    QCOMPARE(get("/updates.xml").status, 200);
    QCOMPARE(get("/no%20such?x=1").status, 404);

    const std::vector<LVSiteRequest> requests = mServer->requests();
    QCOMPARE(requests.size(), size_t(3));
    QCOMPARE(requests[0].method, std::string("GET"));
    QCOMPARE(requests[0].path, std::string("/auth"));
    QCOMPARE(QString::fromStdString(requests[0].query), query);
    QCOMPARE(requests[1].path, std::string("/updates.xml"));
    QCOMPARE(requests[1].query, std::string());
    QCOMPARE(requests[2].path, std::string("/no such"));
    QCOMPARE(requests[2].query, std::string("x=1"));

    QTRY_COMPARE(logLines().size(), 3);
    const QStringList lines = logLines();
    for (const QString &line : lines)
        QVERIFY2(!line.contains(QString(md5Hex(alicePassword))), qPrintable(line));
    QVERIFY2(lines.contains("GET /auth?username=ALICE&password=***&mac -> 200, 1 bytes"), qPrintable(lines.join('\n')));
    QVERIFY2(lines.filter(QRegularExpression("^GET /no%20such\\?x=1 -> 404, \\d+ bytes$")).size() == 1,
             qPrintable(lines.join('\n')));
}

void TestSite::sampleGameCacheFilesWalkToEndRecord() {
    const std::filesystem::path game = mDir->filePath("game").toStdString();
    LVSampleGame::writeSampleGame(game, 1, 0.01);
    const QString cacheFolder = qPath(game / "Cache/WDB/enUS");
    QCOMPARE(QDir(cacheFolder).entryList(QDir::Files).size(), 8);
    for (const std::string &name : LVSampleGame::cacheFileNames()) {
        const QByteArray bytes = readAll(cacheFolder + "/" + QString::fromStdString(name));
        QVERIFY2(bytes.size() >= 2 * 1024 && bytes.size() <= 512 * 1024, name.c_str());
        qsizetype offset = 20;
        int records = 0;
        QSet<quint32> ids;
        while (offset + 8 <= bytes.size()) {
            const quint32 id = wordAt(bytes, offset);
            const quint32 length = wordAt(bytes, offset + 4);
            offset += 8;
            if (id == 0 && length == 0)
                break;
            QVERIFY2(length > 0 && offset + length <= bytes.size(), name.c_str());
            QVERIFY2(!ids.contains(id), name.c_str());
            ids.insert(id);
            offset += length;
            ++records;
        }
        QVERIFY2(records > 0, name.c_str());
        QCOMPARE(offset, bytes.size());
        QCOMPARE(bytes.right(8), QByteArray(8, '\0'));
    }
}

QTEST_GUILESS_MAIN(TestSite)
#include "TestSite.moc"
