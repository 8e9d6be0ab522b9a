#include "LVSampleGame.h"
#include "LVSiteServer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QHttpMultiPart>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

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

struct ManifestFile {
    QString name;
    QString md5;
    qint64 size = 0;
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

QByteArray randomBytes(qsizetype size) {
    QRandomGenerator random(42);
    QByteArray bytes(size, '\0');
    for (char &byte : bytes)
        byte = static_cast<char>(random.generate());
    return bytes;
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

QList<ManifestFile> manifestFiles(const QByteArray &xml, QString *source) {
    QList<ManifestFile> files;
    QXmlStreamReader reader(xml);
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("lorvaneclient")) {
            *source = reader.attributes().value("source").toString();
        } else if (reader.name() == QLatin1String("file")) {
            const QXmlStreamAttributes attributes = reader.attributes();
            files.append({attributes.value("name").toString(), attributes.value("md5").toString(),
                          attributes.value("size").toLongLong()});
            reader.skipCurrentElement();
        }
    }
    if (reader.hasError())
        files.append({"XML error: " + reader.errorString(), {}, -1});
    return files;
}

} // namespace

class TestSite : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void auth_data();
    void auth();
    void authThrottledAfterUpload_data();
    void authThrottledAfterUpload();
    void uploadStoresPartsInOrder();
    void uploadStoredAs_data();
    void uploadStoredAs();
    void uploadRefused_data();
    void uploadRefused();
    void manifestDescribesAddonFolder();
    void manifestWithoutAddonFolderIsEmpty();
    void addonPaths_data();
    void addonPaths();
    void cannedResponse_data();
    void cannedResponse();
    void stallReleasedByStop_data();
    void stallReleasedByStop();
    void requestsRecordedAndLoggedWithoutPassword();
    void sampleGameLayout();
    void sampleGameCacheFilesWalkToEndRecord();
    void sampleGameSavedVariables_data();
    void sampleGameSavedVariables();

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

void TestSite::auth_data() {
    QTest::addColumn<QString>("query");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("accepted") << credentials("ALICE", alicePassword) << QByteArray("0");
    QTest::newRow("wrong hash") << credentials("ALICE", "looking glass") << QByteArray("1");
    QTest::newRow("another user's password") << credentials("ALICE", bobPassword) << QByteArray("1");
    QTest::newRow("unknown user") << credentials("CAROL", alicePassword) << QByteArray("1");
    QTest::newRow("upper-case hash") << QString("username=ALICE&password=" + md5Hex(alicePassword).toUpper() + "&mac")
                                     << QByteArray("1");
    QTest::newRow("missing password") << QString("username=ALICE&mac") << QByteArray("1");
    QTest::newRow("missing user") << QString("password=" + md5Hex(alicePassword) + "&mac") << QByteArray("1");
}

void TestSite::auth() {
    QFETCH(QString, query);
    QFETCH(QByteArray, expected);
    startServer();
    const HttpReply reply = get("/auth?" + query);
    QVERIFY(reply.finished);
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.body, expected);
    QVERIFY(reply.contentType.startsWith("text/plain"));
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

void TestSite::uploadStoresPartsInOrder() {
    startServer();
    const QByteArray savedVariables = QByteArray::fromStdString(LVSampleGame::savedVariables(1, 512 * 1024));
    const QByteArray binary = randomBytes(300 * 1024);
    const QByteArrayList compressed = {gzipped(savedVariables), gzipped(binary)};
    // Field names that sort the other way round ("file10" < "file2"), so parts kept in name order
    // instead of arrival order show.
    const QByteArrayList fields = {"file2", "file10"};
    const QByteArrayList fileNames = {"+Lorvane_Harvex.lua.gz", "random.bin.gz"};
    const HttpReply reply =
        upload(credentials("ALICE", alicePassword) + "&ignorecharacterdata", fileNames, compressed, fields);
    QVERIFY(reply.finished);
    QCOMPARE(reply.status, 200);
    QCOMPARE(
        QString(reply.body).split('\n', Qt::SkipEmptyParts),
        QStringList({"Received 2 files for ALICE:", QString("+Lorvane_Harvex.lua %1 bytes").arg(savedVariables.size()),
                     QString("random.bin %1 bytes").arg(binary.size())}));

    const std::vector<LVSiteUpload> uploads = mServer->uploads();
    QCOMPARE(uploads.size(), size_t(1));
    QCOMPARE(uploads[0].user, std::string("ALICE"));
    QCOMPARE(uploads[0].flags, std::vector<std::string>({"mac", "ignorecharacterdata"}));
    QCOMPARE(uploads[0].parts.size(), size_t(2));
    const QByteArrayList originals = {savedVariables, binary};
    for (int i = 0; i < 2; ++i) {
        const LVSiteUploadPart &part = uploads[0].parts[size_t(i)];
        QCOMPARE(QByteArray::fromStdString(part.fieldName), fields[i]);
        QCOMPARE(QByteArray::fromStdString(part.fileName), fileNames[i]);
        QCOMPARE(part.compressedSize, quint64(compressed[i].size()));
        QCOMPARE(part.storedSize, quint64(originals[i].size()));
        QVERIFY(readAll(qPath(part.storedPath)) == originals[i]);
    }

    const QString folder = qPath(uploads[0].folder);
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 3);
    const QStringList record = QString(readAll(folder + "/lorvane-upload.txt")).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(record.size(), 5);
    QCOMPARE(record[0], QString("user\tALICE"));
    QVERIFY2(QRegularExpression("^time\t\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ$").match(record[1]).hasMatch(),
             qPrintable(record[1]));
    QCOMPARE(record[2], QString("flags\tmac\tignorecharacterdata"));
    QCOMPARE(
        record[3],
        QString("part\tfile2\t+Lorvane_Harvex.lua.gz\t%1\t%2").arg(compressed[0].size()).arg(savedVariables.size()));
    QCOMPARE(record[4], QString("part\tfile10\trandom.bin.gz\t%1\t%2").arg(compressed[1].size()).arg(binary.size()));
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
    QTest::newRow("unknown user") << credentials("CAROL", alicePassword) << one << QByteArrayList{good} << 401;
    QTest::newRow("no password") << QString("username=ALICE&mac") << one << QByteArrayList{good} << 401;
    QTest::newRow("not gzip") << alice << one << QByteArrayList{"rvUploaded = 0\n"} << 400;
    QTest::newRow("truncated gzip") << alice << one << QByteArrayList{good.left(good.size() / 2)} << 400;
    QTest::newRow("gzip then garbage") << alice << one << QByteArrayList{good + "garbage"} << 400;
    QTest::newRow("empty part") << alice << one << QByteArrayList{""} << 400;
    QTest::newRow("second part bad") << alice << QByteArrayList{"a.lua.gz", "b.lua.gz"}
                                     << QByteArrayList{good, good.left(100)} << 400;
    QTest::newRow("name without .gz") << alice << QByteArrayList{"a.lua"} << QByteArrayList{good} << 400;
    QTest::newRow("name is dot-dot") << alice << QByteArrayList{"...gz"} << QByteArrayList{good} << 400;
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

void TestSite::manifestDescribesAddonFolder() {
    const QStringList names = {"+Lorvane_Harvex.toc", "Core.lua", "Locales/enUS.lua", "Media/Icons & \"Art\".tga"};
    for (const QString &name : names)
        QVERIFY(writeAll(addonFolder() + "/" + name, (name + " content\n").toUtf8().repeated(names.indexOf(name) + 1)));
    QVERIFY(QDir(addonFolder()).mkpath("Empty"));
    startServer(60, true);

    QString source;
    QList<ManifestFile> files = manifestFiles(get("/updates.xml").body, &source);
    QCOMPARE(source, url("/addon").toString());
    QCOMPARE(files.size(), names.size());
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QByteArray content = readAll(addonFolder() + "/" + names[i]);
        QCOMPARE(files[i].name, names[i]);
        QCOMPARE(files[i].md5, QString(md5Hex(content)));
        QCOMPARE(files[i].size, content.size());
        const HttpReply download = get("/addon/" + QString(QUrl::toPercentEncoding(files[i].name, "/")));
        QCOMPARE(download.status, 200);
        QVERIFY(download.body == content);
    }

    QVERIFY(writeAll(addonFolder() + "/Core.lua", "changed"));
    files = manifestFiles(get("/updates.xml").body, &source);
    QCOMPARE(files[1].md5, QString(md5Hex("changed")));
    QCOMPARE(files[1].size, 7);
}

void TestSite::manifestWithoutAddonFolderIsEmpty() {
    startServer();
    const HttpReply reply = get("/updates.xml");
    QCOMPARE(reply.status, 200);
    QString source;
    QCOMPARE(manifestFiles(reply.body, &source).size(), 0);
    QVERIFY(reply.body.contains("<updates/>"));
    QCOMPARE(source, url("/addon").toString());
}

void TestSite::addonPaths_data() {
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<int>("status");
    QTest::newRow("file inside") << QByteArray("/addon/Core.lua") << 200;
    QTest::newRow("encoded name inside") << QByteArray("/addon/Core%2Elua") << 200;
    QTest::newRow("dot-dot") << QByteArray("/addon/../secret.txt") << 404;
    QTest::newRow("encoded dot-dot") << QByteArray("/addon/%2e%2e/secret.txt") << 404;
    QTest::newRow("encoded slash") << QByteArray("/addon/..%2fsecret.txt") << 404;
    QTest::newRow("deeper then out") << QByteArray("/addon/Locales/../../secret.txt") << 404;
    QTest::newRow("folder") << QByteArray("/addon/Locales") << 404;
    QTest::newRow("missing") << QByteArray("/addon/Nothing.lua") << 404;
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

void TestSite::cannedResponse_data() {
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("contentType");
    QTest::newRow("auth with newline") << "GET"
                                       << "/auth" << 200 << QByteArray("0\n") << QByteArray("text/plain");
    QTest::newRow("auth letter") << "GET"
                                 << "/auth" << 200 << QByteArray("A") << QByteArray("text/plain");
    QTest::newRow("hostile manifest") << "GET"
                                      << "/updates.xml" << 200
                                      << QByteArray("<lorvaneclient source=\"file:///etc\"><updates><file "
                                                    "name=\"../../passwd\" md5=\"x\" size=\"-1\"/></updates>")
                                      << QByteArray("application/xml");
    QTest::newRow("upload fails") << "POST"
                                  << "/upload" << 500 << QByteArray("internal error\n") << QByteArray("text/plain");
}

void TestSite::cannedResponse() {
    QFETCH(QString, method);
    QFETCH(QString, path);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, contentType);
    startServer();
    mServer->setResponse(method.toStdString(), path.toStdString(), status, body.toStdString(),
                         contentType.toStdString());
    const QString query = credentials("ALICE", alicePassword);
    // A large body for the POST, so a canned reply that left it unread would meet a connection reset.
    const HttpReply reply = method == "GET" ? get(path + "?" + query)
                                            : upload(query, {"a.lua.gz"}, {gzipped(randomBytes(2 * 1024 * 1024))});
    QVERIFY(reply.finished);
    QCOMPARE(reply.status, status);
    QCOMPARE(reply.body, body);
    QVERIFY(reply.contentType.startsWith(contentType));
    QVERIFY(mServer->uploads().empty());
    QCOMPARE(storedEntries(), QStringList());

    mServer->clearResponses();
    QCOMPARE(get("/auth?" + query).body, QByteArray("0"));
}

void TestSite::stallReleasedByStop_data() {
    QTest::addColumn<bool>("post");
    QTest::newRow("GET") << false;
    QTest::newRow("POST") << true;
}

void TestSite::stallReleasedByStop() {
    QFETCH(bool, post);
    startServer();
    // Leaves the client holding an idle kept-alive connection, which must not delay stop() either.
    QCOMPARE(get("/updates.xml").status, 200);
    QNetworkRequest request(url("/stall"));
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/octet-stream");
    QNetworkReply *reply = post ? mNetwork.post(request, QByteArray("body")) : mNetwork.get(request);
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

void TestSite::sampleGameLayout() {
    const std::filesystem::path game = mDir->filePath("game").toStdString();
    const std::vector<std::filesystem::path> written = LVSampleGame::writeSampleGame(game, 3, 0.01);
    for (const std::filesystem::path &file : written)
        QVERIFY2(std::filesystem::is_regular_file(game / file), qPrintable(qPath(file)));
    QCOMPARE(readAll(qPath(game / "Data/enUS/realmlist.wtf")),
             QByteArray("set realmlist eu.logon.worldofwarcraft.com\n"));
    for (const char *program : {"Wow.exe", "World of Warcraft Launcher.exe"})
        QVERIFY(QFileInfo(qPath(game / program)).size() > 0 && QFileInfo(qPath(game / program)).size() < 4096);
    QVERIFY(QDir(qPath(game / "Interface/AddOns")).exists());
    QVERIFY(QDir(qPath(game / "Interface/AddOns")).isEmpty());
    const QStringList accounts = QDir(qPath(game / "WTF/Account")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(accounts, QStringList({"ACCOUNT1", "ACCOUNT2", "ACCOUNT3"}));
    for (const QString &account : accounts)
        QVERIFY(QFileInfo::exists(qPath(game) + "/WTF/Account/" + account + "/SavedVariables/+Lorvane_Harvex.lua"));
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

void TestSite::sampleGameSavedVariables_data() {
    QTest::addColumn<double>("megabytes");
    QTest::newRow("0.1 MB") << 0.1;
    QTest::newRow("1 MB") << 1.0;
}

void TestSite::sampleGameSavedVariables() {
    QFETCH(double, megabytes);
    const std::filesystem::path game = mDir->filePath("game").toStdString();
    LVSampleGame::writeSampleGame(game, 2, megabytes);
    const QByteArray first = readAll(qPath(game / LVSampleGame::savedVariablesPath(1)));
    const QByteArray second = readAll(qPath(game / LVSampleGame::savedVariablesPath(2)));
    const double requested = megabytes * 1024 * 1024;
    QVERIFY2(first.size() > requested * 0.95 && first.size() < requested * 1.05,
             qPrintable(QString::number(first.size())));
    QVERIFY(first.split('\n').mid(0, 5).contains(QByteArray("rvUploaded = 0")));
    QCOMPARE(first.count('{'), first.count('}'));
    QVERIFY(first != second);
    const double ratio = double(first.size()) / double(gzipped(first).size());
    QVERIFY2(ratio > 2.5 && ratio < 15, qPrintable(QString::number(ratio)));
    LVSampleGame::writeSampleGame(mDir->filePath("again").toStdString(), 1, megabytes);
    QVERIFY(readAll(mDir->filePath("again") + "/" + qPath(LVSampleGame::savedVariablesPath(1))) == first);
}

QTEST_GUILESS_MAIN(TestSite)
#include "TestSite.moc"
