#include "LVBusRecorder.h"
#include "LVDelegateProbe.h"
#include "LVFileSizeLimit.h"
#include "LVTestSite.h"
#include "LVTestWorld.h"
#include "auth/md5.h"
#include "game/AddonUpdate.h"
#include "net/LVSyncGet.h"

#include <QDirIterator>
#include <QtTest>

// Bringing the installed addon up to date from the site's manifest: the pieces on their own, then
// the whole check against the reference site on loopback.
class TestAddonUpdate : public QObject {
    Q_OBJECT

    const QString kChecking = QStringLiteral("Checking for Lorvane Harvex addon updates…");
    const QString kUpdated = QStringLiteral("Lorvane Harvex addon updated!");
    const QString kUpToDate = QStringLiteral("Looks like you're up-to-date!");
    const QString kTrouble =
        QStringLiteral("error: The Lorvane Harvex update server is having some trouble at the moment.");
    const QString kAddonFolder = QStringLiteral("%WoW%/Interface/AddOns/+Lorvane_Harvex");
    const QString kInstalled = QStringLiteral("game/Interface/AddOns/+Lorvane_Harvex");
    // What the site publishes: the name, and the bytes.
    const QList<std::pair<QString, QByteArray>> kPublished{
        {QStringLiteral("+Lorvane_Harvex.lua"), "local ADDON_NAME = ...\nrvUploaded = 0\n"},
        {QStringLiteral("+Lorvane_Harvex.toc"),
         "## Interface: 110002\n## SavedVariables: rvUploaded, rvRealm, rvData\n"},
        {QStringLiteral("Notes #1.txt"), "Names that need escaping in an address.\n"}};

    struct Entry {
        QString name;
        QString destination;
        QString md5;
        QString size;
    };

    // root/game holds the game, root/site the addon as the site publishes it; anything else in
    // root is outside the game folder.
    std::unique_ptr<QTemporaryDir> mRoot;
    std::unique_ptr<LVTestSite> mSite;
    std::unique_ptr<LVTestWorld> mWorld;
    LVApplicationDelegate *mDelegate = nullptr;

    QString path(const QString &relative) const { return mRoot->filePath(relative); }
    QString installed(const QString &name) const { return path(kInstalled + QLatin1Char('/') + name); }
    void write(const QString &relative, const QByteArray &bytes) const {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QByteArray read(const QString &relative) const {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QMap<QString, QByteArray> everything() const {
        QMap<QString, QByteArray> entries;
        QDirIterator it(mRoot->path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString relative = QDir(mRoot->path()).relativeFilePath(it.next());
            entries.insert(relative, it.fileInfo().isDir() ? QByteArray("folder") : read(relative));
        }
        return entries;
    }
    void installPublishedAddon() const {
        for (const auto &[name, bytes] : kPublished)
            write(kInstalled + QLatin1Char('/') + name, bytes);
    }
    QStringList requestedPaths() const {
        QStringList paths;
        for (const LVSiteRequest &request : mSite->server().requests())
            paths << QString::fromStdString(request.path);
        return paths;
    }
    static Entry entryFor(const QString &name, const QString &destination, const QByteArray &bytes) {
        return {name, destination, md5HexString(bytes), QString::number(bytes.size())};
    }
    // A manifest of the entries whose files come from the site's addon folder.
    std::string manifest(const QList<Entry> &entries) const {
        QString xml = QStringLiteral("<?xml version=\"1.0\"?>\n<lorvaneclient source=\"%1\">\n<updates>\n")
                          .arg(mSite->url(QStringLiteral("/addon")).toHtmlEscaped());
        for (const Entry &entry : entries)
            xml += QStringLiteral("<file name=\"%1\" destination=\"%2\" md5=\"%3\" size=\"%4\"/>\n")
                       .arg(entry.name.toHtmlEscaped(), entry.destination.toHtmlEscaped(), entry.md5, entry.size);
        return (xml + QStringLiteral("</updates>\n</lorvaneclient>\n")).toStdString();
    }
    void serveManifest(const std::string &xml) const {
        mSite->server().setResponse("GET", "/updates.xml", 200, xml, "application/xml");
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        mRoot = std::make_unique<QTemporaryDir>();
        write(QStringLiteral("game/Wow.exe"), "placeholder for the game\n");
        QDir().mkpath(path(kInstalled));
        for (const auto &[name, bytes] : kPublished)
            write(QStringLiteral("site/") + name, bytes);
        mSite = std::make_unique<LVTestSite>(path(QStringLiteral("site")));
        mWorld = std::make_unique<LVTestWorld>();
        mWorld->settings.setValue(kWowApplicationPathKey, path(QStringLiteral("game/Wow.exe")));
        mSite->configure(mWorld->settings);
        mDelegate = &mWorld->makeDelegate();
        mDelegate->awakeFromNib();
    }

    void cleanup() {
        mWorld.reset();
        mSite.reset();
        mRoot.reset();
    }

    // The pieces on their own.

    void namesMustKeepToTheirFolder_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("keeps");

        QTest::newRow("plain name") << "+Lorvane_Harvex.lua" << true;
        QTest::newRow("in a subfolder") << "Locales/deDE.lua" << true;
        QTest::newRow("dots inside a name") << "a..b.lua" << true;
        QTest::newRow("starting with two dots") << "..hidden" << true;
        QTest::newRow("one level up") << "../x" << false;
        QTest::newRow("two levels up") << "../../x" << false;
        QTest::newRow("down, then up") << "Locales/../../x" << false;
        QTest::newRow("up, Windows style") << "..\\..\\x" << false;
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
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("inside");

        QTest::newRow("below it") << "/g/Interface/AddOns/x.lua"
                                  << "/g" << true;
        QTest::newRow("the folder itself") << "/g"
                                           << "/g" << false;
        QTest::newRow("a sibling sharing its start") << "/games/x"
                                                     << "/g" << false;
        QTest::newRow("climbing out") << "/g/Interface/../../x"
                                      << "/g" << false;
        QTest::newRow("climbing within") << "/g/Interface/../WTF/x"
                                         << "/g" << true;
        QTest::newRow("doubled and dotted") << "/g//./x"
                                            << "/g/" << true;
        QTest::newRow("relative") << "Interface/x"
                                  << "/g" << false;
        QTest::newRow("placeholder left") << "%AppPath%/x"
                                          << "/g" << false;
        QTest::newRow("no game folder") << "/g/x"
                                        << "" << false;
    }

    void pathsInsideTheGameFolder() {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(bool, inside);
        QCOMPARE(liesInsideFolder(path, folder), inside);
    }

    void downloadAddressEncodesEachComponent_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("address"); // null: none can be formed

        const QString source = QStringLiteral("http://127.0.0.1:8765/addon");
        QTest::newRow("plus sign") << source << "+Lorvane_Harvex.lua"
                                   << QByteArray("http://127.0.0.1:8765/addon/%2BLorvane_Harvex.lua");
        QTest::newRow("subfolder and space")
            << source << "Locales/de DE.lua" << QByteArray("http://127.0.0.1:8765/addon/Locales/de%20DE.lua");
        QTest::newRow("fragment and query marks")
            << source << "Notes #1?.txt" << QByteArray("http://127.0.0.1:8765/addon/Notes%20%231%3F.txt");
        QTest::newRow("percent sign") << source << "100%.lua" << QByteArray("http://127.0.0.1:8765/addon/100%25.lua");
        QTest::newRow("accented") << source << "Über.lua" << QByteArray("http://127.0.0.1:8765/addon/%C3%9Cber.lua");
        QTest::newRow("source ending in a slash") << source + "/"
                                                  << "x.lua" << QByteArray("http://127.0.0.1:8765/addon//x.lua");
        QTest::newRow("no source") << QString() << "x.lua" << QByteArray();
        QTest::newRow("source is no address") << "addon files"
                                              << "x.lua" << QByteArray();
    }

    void downloadAddressEncodesEachComponent() {
        QFETCH(QString, source);
        QFETCH(QString, name);
        QFETCH(QByteArray, address);
        const QUrl url = downloadUrl(source, name);
        QCOMPARE(url.isValid(), !address.isNull());
        if (!address.isNull())
            QCOMPARE(url.toEncoded(), address);
    }

    void sizeIsTheLeadingInteger_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint32>("size");

        QTest::newRow("digits") << "1234" << 1234;
        QTest::newRow("white space first") << " \t\n42" << 42;
        QTest::newRow("plus sign") << "+7" << 7;
        QTest::newRow("minus sign") << "-3" << -3;
        QTest::newRow("trailing text") << "12 bytes" << 12;
        QTest::newRow("no digits") << "twelve" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("sign alone") << "-" << 0;
        QTest::newRow("too large") << "99999999999" << std::numeric_limits<qint32>::max();
        QTest::newRow("too small") << "-99999999999" << std::numeric_limits<qint32>::min();
    }

    void sizeIsTheLeadingInteger() {
        QFETCH(QString, text);
        QFETCH(qint32, size);
        QCOMPARE(leadingInteger(text), size);
    }

    void onlyStartTagsAreRead_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QStringList>("tags");

        QTest::newRow("whole document") << QByteArray(
                                               "<?xml version=\"1.0\"?><!-- c --><a x=\"1\">text<b/><c><b/></c></a>")
                                        << QStringList{"a", "b", "c", "b"};
        QTest::newRow("broken part way") << QByteArray("<a><b/><c><d></c><e/>") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("cut short") << QByteArray("<a><b/><c name=\"x") << QStringList{"a", "b"};
        QTest::newRow("prefixed names as written")
            << QByteArray("<x:a xmlns:x=\"urn:x\"><file/></x:a>") << QStringList{"x:a", "file"};
        QTest::newRow("not xml") << QByteArray("The site is down for maintenance.") << QStringList();
    }

    void onlyStartTagsAreRead() {
        QFETCH(QByteArray, xml);
        QFETCH(QStringList, tags);
        QStringList seen;
        readStartElements(xml, [&](const QString &name, const QXmlStreamAttributes &) { seen << name; });
        QCOMPARE(seen, tags);
    }

    // The whole check against the site.

    void missingFilesAreCreatedDownloadedAndCounted_data() {
        QTest::addColumn<bool>("verbose");
        QTest::newRow("quiet") << false;
        QTest::newRow("verbose") << true;
    }

    void missingFilesAreCreatedDownloadedAndCounted() {
        QFETCH(bool, verbose);
        LVDelegateProbe::setVerboseLogging(*mDelegate, verbose);
        LVBusRecorder bus;

        mDelegate->checkForUpdates();

        QStringList expected{kChecking};
        QStringList requested{"/updates.xml"};
        for (const auto &[name, bytes] : kPublished) {
            QCOMPARE(read(kInstalled + QLatin1Char('/') + name), bytes);
            if (verbose)
                expected << QStringLiteral("Updating Lorvane Harvex file: ") + name;
            requested << QStringLiteral("/addon/") + name;
        }
        QCOMPARE(bus.messages, expected << kUpdated << "");
        QCOMPARE(requestedPaths(), requested);
    }

    void matchingFilesDownloadNothing() {
        installPublishedAddon();
        LVBusRecorder bus;
        mDelegate->checkForUpdates();
        QCOMPARE(bus.messages, (QStringList{kChecking, kUpToDate, ""}));
        QCOMPARE(requestedPaths(), QStringList{"/updates.xml"});
    }

    void downloadUnlikeItsEntryIsDiscarded_data() {
        QTest::addColumn<QByteArray>("download"); // null: the site's own file
        QTest::addColumn<QString>("md5");         // null: the published file's
        QTest::addColumn<QString>("size");        // null: the published file's

        const QByteArray published = kPublished.first().second;
        QTest::newRow("one byte short") << published.chopped(1) << QString() << QString();
        QTest::newRow("one byte too many") << published + "\n" << QString() << QString();
        QTest::newRow("same size, other bytes")
            << QByteArray(published).replace("= 0", "= 1") << QString() << QString();
        QTest::newRow("entry's size wrong") << QByteArray() << QString() << QString::number(published.size() + 1);
        // The digest is compared as lower-case text: an upper-case one never matches.
        QTest::newRow("upper-case md5") << QByteArray() << md5HexString(published).toUpper() << QString();
    }

    void downloadUnlikeItsEntryIsDiscarded() {
        QFETCH(QByteArray, download);
        QFETCH(QString, md5);
        QFETCH(QString, size);
        const auto &[name, published] = kPublished.first();
        Entry entry = entryFor(name, kAddonFolder, published);
        entry.md5 = md5.isNull() ? entry.md5 : md5;
        entry.size = size.isNull() ? entry.size : size;
        if (!download.isNull())
            mSite->server().setResponse("GET", "/addon/" + name.toStdString(), 200, download.toStdString());
        serveManifest(manifest({entry}));
        // Even the very file the entry describes is fetched again when the digest is upper-case.
        const QByteArray before = md5.isNull() ? QByteArray("rvUploaded = 1\n") : published;
        write(kInstalled + QLatin1Char('/') + name, before);
        LVBusRecorder bus;

        mDelegate->checkForUpdates();

        QCOMPARE(bus.messages, (QStringList{kChecking, kUpToDate, ""}));
        QCOMPARE(requestedPaths(), (QStringList{"/updates.xml", "/addon/" + name}));
        QCOMPARE(read(kInstalled + QLatin1Char('/') + name), before);
    }

    void bundledGzipIsLeftAlone_data() {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("errors");

        QTest::newRow("as written") << "%AppPath%"
                                    << "gzip.exe" << QStringList();
        QTest::newRow("destination ending in a slash") << "%AppPath%/"
                                                       << "gzip.exe" << QStringList();
        QTest::newRow("another letter case is no exception")
            << "%AppPath%"
            << "Gzip.exe" << QStringList{"error: Refusing to write outside the game folder: %AppPath%/Gzip.exe"};
    }

    void bundledGzipIsLeftAlone() {
        QFETCH(QString, destination);
        QFETCH(QString, name);
        QFETCH(QStringList, errors);
        serveManifest(manifest({entryFor(name, destination, "gzip")}));
        const QMap<QString, QByteArray> before = everything();
        LVBusRecorder bus;

        mDelegate->checkForUpdates();

        QCOMPARE(bus.messages, QStringList{kChecking} << errors << kUpToDate << "");
        QCOMPARE(requestedPaths(), QStringList{"/updates.xml"});
        QCOMPARE(everything(), before);
        QVERIFY(!QFileInfo::exists(QStringLiteral("%AppPath%")));
    }

    void fileBeforeUpdatesIsDropped() {
        const auto &[early, earlyBytes] = kPublished.at(0);
        const auto &[late, lateBytes] = kPublished.at(1);
        const auto element = [this](const Entry &entry) {
            return QStringLiteral("<file name=\"%1\" destination=\"%2\" md5=\"%3\" size=\"%4\"/>")
                .arg(entry.name, entry.destination, entry.md5, entry.size);
        };
        serveManifest(QStringLiteral("<lorvaneclient source=\"%1\">%2<updates>%3</updates></lorvaneclient>")
                          .arg(mSite->url(QStringLiteral("/addon")), element(entryFor(early, kAddonFolder, earlyBytes)),
                               element(entryFor(late, kAddonFolder, lateBytes)))
                          .toStdString());
        LVBusRecorder bus;

        mDelegate->checkForUpdates();

        QCOMPARE(bus.messages, (QStringList{kChecking, kUpdated, ""}));
        QVERIFY(!QFileInfo::exists(installed(early)));
        QCOMPARE(read(kInstalled + QLatin1Char('/') + late), lateBytes);
        QCOMPARE(mDelegate->updatesList()->updates->size(), 1);
    }

    void brokenManifestKeepsWhatCameBeforeTheBreak() {
        const auto &[name, bytes] = kPublished.first();
        std::string xml = manifest({entryFor(name, kAddonFolder, bytes), entryFor("second.lua", kAddonFolder, "2")});
        serveManifest(xml.substr(0, xml.find("second.lua")));
        LVBusRecorder bus;

        mDelegate->checkForUpdates();

        QCOMPARE(bus.messages, (QStringList{kChecking, kUpdated, ""}));
        QCOMPARE(read(kInstalled + QLatin1Char('/') + name), bytes);
        QCOMPARE(requestedPaths(), (QStringList{"/updates.xml", "/addon/" + name}));
    }

    void manifestThatIsNoXmlIsTrouble_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("plain text") << QByteArray("The site is down for maintenance.");
        QTest::newRow("json") << QByteArray("{\"updates\": []}");
        QTest::newRow("declaration only") << QByteArray("<?xml version=\"1.0\"?>");
        QTest::newRow("binary") << QByteArray("\x1f\x8b\x08\x00\x00\x00", 6);
    }

    void manifestThatIsNoXmlIsTrouble() {
        QFETCH(QByteArray, reply);
        serveManifest(reply.toStdString());
        LVBusRecorder bus;
        mDelegate->checkForUpdates();
        QCOMPARE(bus.messages, (QStringList{kChecking, kTrouble, ""}));
        QVERIFY(!mDelegate->updatesList());
    }

    void emptyManifestIsNoAnswer() {
        serveManifest("");
        LVBusRecorder bus;
        mDelegate->checkForUpdates();
        QCOMPARE(bus.messages,
                 (QStringList{kChecking, "error: The Lorvane Harvex update server is not responding at the moment."}));
    }

    void hostileEntriesWriteNothingOutsideTheGame_data() {
        QTest::addColumn<QString>("destination"); // "{root}" stands for the folder around the game
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reported");

        const QString addon = kAddonFolder;
        QTest::newRow("name climbing within the game") << addon << "../../x"
                                                       << "../../x";
        QTest::newRow("name climbing out") << addon << "../../../../outside.txt"
                                           << "../../../../outside.txt";
        QTest::newRow("name climbing Windows style") << addon << "..\\..\\..\\..\\outside.txt"
                                                     << "..\\..\\..\\..\\outside.txt";
        QTest::newRow("absolute name") << addon << "/etc/x"
                                       << "/etc/x";
        QTest::newRow("absolute name next to the game") << addon << "{root}/outside.txt"
                                                        << "{root}/outside.txt";
        QTest::newRow("destination next to the game") << "{root}"
                                                      << "outside.txt"
                                                      << "{root}/outside.txt";
        QTest::newRow("destination climbing out") << "%WoW%/.."
                                                  << "outside.txt"
                                                  << "{root}/game/../outside.txt";
        QTest::newRow("destination without the game folder") << "Interface/AddOns"
                                                             << "x.lua"
                                                             << "Interface/AddOns/x.lua";
    }

    void hostileEntriesWriteNothingOutsideTheGame() {
        QFETCH(QString, destination);
        QFETCH(QString, name);
        QFETCH(QString, reported);
        destination.replace(QStringLiteral("{root}"), mRoot->path());
        name.replace(QStringLiteral("{root}"), mRoot->path());
        reported.replace(QStringLiteral("{root}"), mRoot->path());
        // Whatever address a careless client made of the entry, the site would serve the file.
        const QByteArray payload = "written by a hostile manifest\n";
        for (const char *served : {"/x", "/outside.txt", "/etc/x", "/addon/x", "/addon/outside.txt", "/addon/x.lua"})
            mSite->server().setResponse("GET", served, 200, payload.toStdString());
        serveManifest(manifest({entryFor(name, destination, payload)}));
        const QMap<QString, QByteArray> before = everything();
        LVBusRecorder bus;

        mDelegate->checkForUpdates();

        QCOMPARE(bus.messages, (QStringList{kChecking, "error: Refusing to write outside the game folder: " + reported,
                                            kUpToDate, ""}));
        QCOMPARE(requestedPaths(), QStringList{"/updates.xml"});
        QCOMPARE(everything(), before);
        QVERIFY(!QFileInfo::exists(QStringLiteral("/etc/x")));
    }

    void eachEntryFailsOnItsOwn() {
        const auto &[name, bytes] = kPublished.first();
        serveManifest(manifest({entryFor("Locales/deDE.lua", kAddonFolder, "not there"),
                                entryFor("unpublished.lua", kAddonFolder, "not published"),
                                entryFor(name, kAddonFolder, bytes)}));
        LVBusRecorder bus;

        mDelegate->checkForUpdates();

        // No folder is made for a file: the missing one cannot be read.
        QCOMPARE(bus.messages.size(), 5);
        QCOMPARE(bus.messages.at(0), kChecking);
        QVERIFY2(bus.messages.at(1).startsWith("error: " + installed("Locales/deDE.lua") + ": "),
                 qPrintable(bus.messages.at(1)));
        QCOMPARE(bus.messages.at(2), QStringLiteral("error: The server answered 404 Not Found."));
        QCOMPARE(bus.messages.mid(3), (QStringList{kUpdated, ""}));
        QCOMPARE(requestedPaths(), (QStringList{"/updates.xml", "/addon/unpublished.lua", "/addon/" + name}));
        QCOMPARE(read(kInstalled + QLatin1Char('/') + name), bytes);
        QVERIFY(!QFileInfo::exists(installed("Locales")));
    }

    void failedWriteKeepsTheOldFile() {
        installPublishedAddon();
        const auto &[name, bytes] = kPublished.first();
        const QByteArray old = "rvUploaded = 1\n";
        write(kInstalled + QLatin1Char('/') + name, old);
        const QMap<QString, QByteArray> before = everything();
        LVBusRecorder bus;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Unable to write .*")));

        {
            LVFileSizeLimit limit(bytes.size() - 1);
            mDelegate->checkForUpdates();
        }

        QCOMPARE(bus.messages.size(), 4);
        QVERIFY2(bus.messages.at(1).startsWith("error: " + installed(name) + ": "), qPrintable(bus.messages.at(1)));
        QCOMPARE(bus.messages, (QStringList{kChecking, bus.messages.at(1), kUpToDate, ""}));
        // Neither a cut file nor a temporary one is left.
        QCOMPARE(everything(), before);
    }

    void siteThatIsDownPostsTheFetchError() {
        mSite->server().stop();
        const QString failure =
            synchronousGet(mDelegate->networkAccess(), QUrl(mWorld->settings.stringForKey(kUpdateURLKey)),
                           mDelegate->networkTimeouts())
                .errorText;
        QVERIFY(!failure.isEmpty());
        LVBusRecorder bus;
        mDelegate->checkForUpdates();
        QCOMPARE(bus.messages, (QStringList{kChecking, "error: " + failure}));
        QVERIFY(!QFileInfo::exists(installed(kPublished.first().first)));
    }

    void noUpdateAddressEndsTheCheck_data() {
        QTest::addColumn<QString>("address");
        QTest::newRow("empty") << "";
        QTest::newRow("no address") << "http://[::1";
    }

    void noUpdateAddressEndsTheCheck() {
        QFETCH(QString, address);
        mWorld->settings.setValue(kUpdateURLKey, address);
        LVBusRecorder bus;
        mDelegate->checkForUpdates();
        QCOMPARE(bus.messages, QStringList{kChecking});
        QVERIFY(mSite->server().requests().empty());
    }
};

QTEST_GUILESS_MAIN(TestAddonUpdate)
#include "TestAddonUpdate.moc"
