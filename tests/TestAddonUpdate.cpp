#include "LVBusRecorder.h"
#include "LVDelegateProbe.h"
#include "LVFileSizeLimit.h"
#include "LVTestSite.h"
#include "LVTestWorld.h"
#include "auth/md5.h"
#include "game/AddonUpdate.h"

#include <QDirIterator>
#include <QtTest>

// Bringing the installed addon up to date from the site's manifest: the pieces on their own, then
// the whole check against the reference site on loopback.
class TestAddonUpdate : public QObject {
    Q_OBJECT

    const QString kChecking = QStringLiteral("Checking for Lorvane Harvex addon updates…");
    const QString kUpdated = QStringLiteral("Lorvane Harvex addon updated!");
    const QString kUpToDate = QStringLiteral("Looks like you're up-to-date!");
    const QString kRefusing = QStringLiteral("error: Refusing to write outside the game folder: ");
    const QString kAddon = QStringLiteral("%WoW%/Interface/AddOns/+Lorvane_Harvex");
    // What the site publishes, in the order of its manifest.
    const QList<std::pair<QString, QByteArray>> kPublished{
        {QStringLiteral("+Lorvane_Harvex.lua"), "local ADDON_NAME = ...\nrvUploaded = 0\n"},
        {QStringLiteral("+Lorvane_Harvex.toc"), "## SavedVariables: rvUploaded, rvRealm, rvData\n"},
        {QStringLiteral("Notes #1.txt"), "A name that needs escaping in an address.\n"}};

    struct Entry {
        QString name, destination, md5, size;
    };

    std::unique_ptr<QTemporaryDir> mRoot; // game/ is the game, site/ what the site publishes
    std::unique_ptr<LVTestSite> mSite;
    std::unique_ptr<LVTestWorld> mWorld;
    LVApplicationDelegate *mDelegate = nullptr;

    QString installed(const QString &name = QString()) const {
        return mRoot->filePath(QStringLiteral("game/Interface/AddOns/+Lorvane_Harvex/") + name);
    }
    static void write(const QString &path, const QByteArray &bytes) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static QByteArray read(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
    }
    QMap<QString, QByteArray> everything() const {
        QMap<QString, QByteArray> files;
        QDirIterator it(mRoot->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            files.insert(path, read(path));
        }
        return files;
    }
    QStringList requested() const {
        QStringList paths;
        for (const LVSiteRequest &request : mSite->server().requests())
            paths << QString::fromStdString(request.path);
        return paths;
    }
    static Entry entry(const QString &name, const QString &destination, const QByteArray &bytes) {
        return {name, destination, md5HexString(bytes), QString::number(bytes.size())};
    }
    void serve(const QString &manifest) const {
        mSite->server().setResponse("GET", "/updates.xml", 200, manifest.toStdString(), "application/xml");
    }
    static QString element(const Entry &entry) {
        return QStringLiteral("<file name=\"%1\" destination=\"%2\" md5=\"%3\" size=\"%4\"/>\n")
            .arg(entry.name.toHtmlEscaped(), entry.destination.toHtmlEscaped(), entry.md5, entry.size);
    }
    // A manifest whose downloads come from the site; `before` stands before its "updates" element.
    QString manifest(const QList<Entry> &entries, const QString &before = QString()) const {
        QString files;
        for (const Entry &file : entries)
            files += element(file);
        return QStringLiteral("<?xml version=\"1.0\"?>\n<lorvaneclient source=\"%1\">%2<updates>\n%3</updates>"
                              "</lorvaneclient>\n")
            .arg(mSite->url(QStringLiteral("/addon")), before, files);
    }
    QStringList check() const {
        LVBusRecorder bus;
        mDelegate->checkForUpdates();
        return bus.messages;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        mRoot = std::make_unique<QTemporaryDir>();
        write(mRoot->filePath(QStringLiteral("game/Wow.exe")), "placeholder for the game\n");
        QDir().mkpath(installed());
        for (const auto &[name, bytes] : kPublished)
            write(mRoot->filePath(QStringLiteral("site/") + name), bytes);
        mSite = std::make_unique<LVTestSite>(mRoot->filePath(QStringLiteral("site")));
        mWorld = std::make_unique<LVTestWorld>();
        mWorld->settings.setValue(kWowApplicationPathKey, mRoot->filePath(QStringLiteral("game/Wow.exe")));
        mSite->configure(mWorld->settings);
        mDelegate = &mWorld->makeDelegate();
        mDelegate->awakeFromNib();
    }

    void cleanup() {
        mWorld.reset();
        mSite.reset();
        mRoot.reset();
    }

    void namesMustKeepToTheirFolder_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("keeps");
        QTest::newRow("in a subfolder") << "Locales/deDE.lua" << true;
        QTest::newRow("dots inside names") << "..a/b..lua" << true;
        QTest::newRow("down, then up twice") << "Locales/../../x" << false;
        QTest::newRow("up, Windows style") << "..\\x" << false;
        QTest::newRow("absolute") << "/etc/x" << false;
        QTest::newRow("absolute, Windows style") << "\\Windows\\x" << false;
    }

    void namesMustKeepToTheirFolder() {
        QFETCH(QString, name);
        QFETCH(bool, keeps);
        QCOMPARE(keepsToItsFolder(name), keeps);
    }

    void pathsInsideTheGameFolder_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("inside"); // of the folder "/g"
        QTest::newRow("below it") << "/g/Interface/x.lua" << true;
        QTest::newRow("the folder itself") << "/g/." << false;
        QTest::newRow("a sibling sharing its start") << "/games/x" << false;
        QTest::newRow("climbing out") << "/g/Interface/../../x" << false;
        QTest::newRow("climbing within") << "/g/Interface/../WTF//x" << true;
        QTest::newRow("relative") << "%AppPath%/x" << false;
    }

    void pathsInsideTheGameFolder() {
        QFETCH(QString, path);
        QFETCH(bool, inside);
        QCOMPARE(liesInsideFolder(path, QStringLiteral("/g")), inside);
    }

    void downloadAddressEncodesEachComponent_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("address"); // null: none can be formed
        const QString source = QStringLiteral("http://127.0.0.1:8765/addon");
        QTest::newRow("plus sign") << source << "+Harvex.lua"
                                   << QByteArray("http://127.0.0.1:8765/addon/%2BHarvex.lua");
        QTest::newRow("reserved characters")
            << source << "Notes #1?/100%.txt" << QByteArray("http://127.0.0.1:8765/addon/Notes%20%231%3F/100%25.txt");
        QTest::newRow("accented") << source << "Über.lua" << QByteArray("http://127.0.0.1:8765/addon/%C3%9Cber.lua");
        QTest::newRow("source ending in a slash") << source + "/"
                                                  << "x" << QByteArray("http://127.0.0.1:8765/addon//x");
        QTest::newRow("no source") << QString() << "x.lua" << QByteArray();
        QTest::newRow("source is no address") << "addon files"
                                              << "x.lua" << QByteArray();
    }

    void downloadAddressEncodesEachComponent() {
        QFETCH(QString, source);
        QFETCH(QString, name);
        QFETCH(QByteArray, address);
        const QUrl url = downloadUrl(source, name);
        QCOMPARE(url.isValid() ? url.toEncoded() : QByteArray(), address);
    }

    void sizeIsTheLeadingInteger_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint32>("size");
        QTest::newRow("white space, sign, trailing text") << " \t+42 bytes" << 42;
        QTest::newRow("negative") << "-3" << -3;
        QTest::newRow("no digits") << "twelve" << 0;
        QTest::newRow("too large") << "99999999999" << std::numeric_limits<qint32>::max();
        QTest::newRow("too small") << "-99999999999" << std::numeric_limits<qint32>::min();
    }

    void sizeIsTheLeadingInteger() {
        QFETCH(QString, text);
        QFETCH(qint32, size);
        QCOMPARE(leadingInteger(text), size);
    }

    void missingFilesAreCreatedDownloadedAndCounted_data() {
        QTest::addColumn<bool>("verbose");
        QTest::newRow("quiet") << false;
        QTest::newRow("verbose") << true;
    }

    void missingFilesAreCreatedDownloadedAndCounted() {
        QFETCH(bool, verbose);
        LVDelegateProbe::setVerboseLogging(*mDelegate, verbose);
        const QStringList messages = check();

        QStringList expected{kChecking};
        QStringList downloads{"/updates.xml"};
        for (const auto &[name, bytes] : kPublished) {
            QCOMPARE(read(installed(name)), bytes);
            if (verbose)
                expected << QStringLiteral("Updating Lorvane Harvex file: ") + name;
            downloads << QStringLiteral("/addon/") + name;
        }
        QCOMPARE(messages, expected << kUpdated << "");
        QCOMPARE(requested(), downloads);
    }

    void matchingFilesDownloadNothing() {
        for (const auto &[name, bytes] : kPublished)
            write(installed(name), bytes);
        QCOMPARE(check(), (QStringList{kChecking, kUpToDate, ""}));
        QCOMPARE(requested(), QStringList{"/updates.xml"});
    }

    void downloadUnlikeItsEntryIsDiscarded_data() {
        QTest::addColumn<QByteArray>("download"); // null: the published file
        QTest::addColumn<QString>("md5");         // null: the published file's
        QTest::addColumn<QString>("size");        // null: the published file's
        const QByteArray published = kPublished.first().second;
        QTest::newRow("one byte short") << published.chopped(1) << QString() << QString();
        QTest::newRow("same size, other bytes") << QByteArray(published).replace('0', '1') << QString() << QString();
        QTest::newRow("entry's size wrong") << QByteArray() << QString() << QString::number(published.size() + 1);
        // Compared as lower-case text, an upper-case digest never matches, not even the file it describes.
        QTest::newRow("upper-case md5") << QByteArray() << md5HexString(published).toUpper() << QString();
    }

    void downloadUnlikeItsEntryIsDiscarded() {
        QFETCH(QByteArray, download);
        QFETCH(QString, md5);
        QFETCH(QString, size);
        const auto &[name, published] = kPublished.first();
        Entry file = entry(name, kAddon, published);
        file.md5 = md5.isNull() ? file.md5 : md5;
        file.size = size.isNull() ? file.size : size;
        if (!download.isNull())
            mSite->server().setResponse("GET", "/addon/" + name.toStdString(), 200, download.toStdString());
        serve(manifest({file}));
        const QByteArray before = md5.isNull() ? QByteArray("rvUploaded = 1\n") : published;
        write(installed(name), before);

        QCOMPARE(check(), (QStringList{kChecking, kUpToDate, ""}));
        QCOMPARE(requested(), (QStringList{"/updates.xml", "/addon/" + name}));
        QCOMPARE(read(installed(name)), before);
    }

    void bundledGzipIsLeftAlone_data() {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("as written") << "%AppPath%"
                                    << "gzip.exe" << QStringList();
        QTest::newRow("joined with one slash") << "%AppPath%/"
                                               << "gzip.exe" << QStringList();
        QTest::newRow("another letter case") << "%AppPath%"
                                             << "Gzip.exe" << QStringList{kRefusing + "%AppPath%/Gzip.exe"};
    }

    void bundledGzipIsLeftAlone() {
        QFETCH(QString, destination);
        QFETCH(QString, name);
        QFETCH(QStringList, errors);
        serve(manifest({entry(name, destination, "gzip")}));
        const QMap<QString, QByteArray> before = everything();
        QCOMPARE(check(), QStringList{kChecking} << errors << kUpToDate << "");
        QCOMPARE(requested(), QStringList{"/updates.xml"});
        QCOMPARE(everything(), before);
    }

    void fileBeforeUpdatesIsDropped() {
        const auto &[early, earlyBytes] = kPublished.at(0);
        const auto &[late, lateBytes] = kPublished.at(1);
        serve(manifest({entry(late, kAddon, lateBytes)}, element(entry(early, kAddon, earlyBytes))));
        QCOMPARE(check(), (QStringList{kChecking, kUpdated, ""}));
        QVERIFY(!QFileInfo::exists(installed(early)));
        QCOMPARE(read(installed(late)), lateBytes);
    }

    void brokenManifestKeepsWhatCameBeforeTheBreak() {
        const auto &[name, bytes] = kPublished.first();
        const QString whole = manifest({entry(name, kAddon, bytes), entry("second.lua", kAddon, "2")});
        serve(whole.left(whole.indexOf(QStringLiteral("second.lua"))));
        QCOMPARE(check(), (QStringList{kChecking, kUpdated, ""}));
        QCOMPARE(read(installed(name)), bytes);
    }

    void manifestThatIsNoXml_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QStringList>("messages");
        const QStringList trouble{kChecking,
                                  "error: The Lorvane Harvex update server is having some trouble at the moment.", ""};
        QTest::newRow("plain text") << "The site is down for maintenance." << trouble;
        QTest::newRow("json") << "{\"updates\": []}" << trouble;
        QTest::newRow("declaration only") << "<?xml version=\"1.0\"?>" << trouble;
        QTest::newRow("empty")
            << "" << QStringList{kChecking, "error: The Lorvane Harvex update server is not responding at the moment."};
    }

    void manifestThatIsNoXml() {
        QFETCH(QString, reply);
        QFETCH(QStringList, messages);
        serve(reply);
        QCOMPARE(check(), messages);
        QVERIFY(!mDelegate->updatesList());
    }

    void hostileEntriesWriteNothingOutsideTheGame_data() {
        QTest::addColumn<QString>("destination"); // "{root}" stands for the folder around the game
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reported");
        QTest::newRow("name climbing within the game") << kAddon << "../../x"
                                                       << "../../x";
        QTest::newRow("name climbing out") << kAddon << "../../../../outside.txt"
                                           << "../../../../outside.txt";
        QTest::newRow("absolute name") << kAddon << "/etc/x"
                                       << "/etc/x";
        QTest::newRow("absolute name next to the game") << kAddon << "{root}/outside.txt"
                                                        << "{root}/outside.txt";
        QTest::newRow("destination next to the game") << "{root}"
                                                      << "outside.txt"
                                                      << "{root}/outside.txt";
        QTest::newRow("destination climbing out") << "%WoW%/.."
                                                  << "outside.txt"
                                                  << "{root}/game/../outside.txt";
        QTest::newRow("destination without the game folder") << "AddOns"
                                                             << "x.lua"
                                                             << "AddOns/x.lua";
    }

    void hostileEntriesWriteNothingOutsideTheGame() {
        QFETCH(QString, destination);
        QFETCH(QString, name);
        QFETCH(QString, reported);
        for (QString *text : {&destination, &name, &reported})
            text->replace(QStringLiteral("{root}"), mRoot->path());
        // Whatever address a careless client made of the entry, the site would serve the file.
        const QByteArray payload = "written by a hostile manifest\n";
        for (const char *path : {"/x", "/outside.txt", "/etc/x", "/addon/x", "/addon/outside.txt", "/addon/x.lua"})
            mSite->server().setResponse("GET", path, 200, payload.toStdString());
        serve(manifest({entry(name, destination, payload)}));
        const QMap<QString, QByteArray> before = everything();

        QCOMPARE(check(), (QStringList{kChecking, kRefusing + reported, kUpToDate, ""}));
        QCOMPARE(requested(), QStringList{"/updates.xml"});
        QCOMPARE(everything(), before);
        QVERIFY(!QFileInfo::exists(QStringLiteral("/etc/x")));
    }

    void eachEntryFailsOnItsOwn() {
        const auto &[name, bytes] = kPublished.first();
        serve(manifest(
            {entry("Locales/deDE.lua", kAddon, "1"), entry("gone.lua", kAddon, "2"), entry(name, kAddon, bytes)}));
        const QStringList messages = check();

        // No folder is made for a file, so the missing one cannot be read; the site has no gone.lua.
        QCOMPARE(messages.size(), 5);
        QVERIFY2(messages.at(1).startsWith("error: " + installed("Locales/deDE.lua") + ": "),
                 qPrintable(messages.at(1)));
        QCOMPARE(messages.at(2), QStringLiteral("error: The server answered 404 Not Found."));
        QCOMPARE(messages.mid(3), (QStringList{kUpdated, ""}));
        QCOMPARE(requested(), (QStringList{"/updates.xml", "/addon/gone.lua", "/addon/" + name}));
        QCOMPARE(read(installed(name)), bytes);
    }

    void failedWriteKeepsTheOldFile() {
        for (const auto &[name, bytes] : kPublished)
            write(installed(name), bytes);
        const auto &[name, bytes] = kPublished.first();
        write(installed(name), "rvUploaded = 1\n");
        const QMap<QString, QByteArray> before = everything();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Unable to write .*")));
        QStringList messages;
        {
            LVFileSizeLimit limit(bytes.size() - 1);
            messages = check();
        }
        QVERIFY2(messages.value(1).startsWith("error: " + installed(name) + ": "), qPrintable(messages.value(1)));
        QCOMPARE(messages, (QStringList{kChecking, messages.value(1), kUpToDate, ""}));
        // Neither a cut file nor a temporary one is left.
        QCOMPARE(everything(), before);
    }

    void siteThatIsDownPostsTheFetchError() {
        mSite->server().stop();
        const LVGetResult fetch =
            synchronousGet(mDelegate->networkAccess(), QUrl(mWorld->settings.stringForKey(kUpdateURLKey)),
                           mDelegate->networkTimeouts());
        QVERIFY(!fetch.succeeded());
        QCOMPARE(check(), (QStringList{kChecking, "error: " + fetch.errorText}));
    }
};

QTEST_GUILESS_MAIN(TestAddonUpdate)
#include "TestAddonUpdate.moc"
