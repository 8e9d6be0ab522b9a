#include "LVBusRecorder.h"
#include "LVFileSizeLimit.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "common/FileContents.h"
#include "common/LVBusyGuard.h"
#include "common/md5.h"
#include "game/AddonUpdate.h"
#include "game/InstallChoices.h"
#include "game/LVAddonInstaller.h"
#include "game/LVGameInstalls.h"

#include <QDirIterator>
#include <QNetworkAccessManager>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>

Q_DECLARE_METATYPE(LVDownloadLimits)

// While it lives the process may map no more than `bytes` beyond what it maps now: a larger
// allocation fails.
class LVMemoryLimit {
public:
    explicit LVMemoryLimit(qint64 bytes) {
        QFile status(QStringLiteral("/proc/self/status"));
        status.open(QIODevice::ReadOnly);
        const QByteArray all = status.readAll();
        const QByteArray size = all.mid(all.indexOf("VmSize:") + 7).trimmed();
        getrlimit(RLIMIT_AS, &mPrevious);
        rlimit lowered = mPrevious;
        lowered.rlim_cur = rlim_t(size.split(' ').first().toLongLong() * 1024 + bytes);
        setrlimit(RLIMIT_AS, &lowered);
    }
    ~LVMemoryLimit() { setrlimit(RLIMIT_AS, &mPrevious); }

private:
    rlimit mPrevious{};
};

// Bringing the installed addon up to date from the manifest of the reference site on loopback.
class TestAddonUpdate : public QObject {
    Q_OBJECT

    const QString kChecking = QStringLiteral("Checking for Lorvane Harvex addon updates…");
    const QString kUpdated = QStringLiteral("Lorvane Harvex addon updated!");
    const QString kUpToDate = QStringLiteral("Looks like you're up-to-date!");
    const QString kAddon = QStringLiteral("%WoW%/Interface/AddOns/+Lorvane_Harvex");
    const QByteArray kHostile = "written by a hostile manifest\n";
    // What the site publishes, in the order of its manifest; "#" and " " need escaping in an address.
    const QList<std::pair<QString, QByteArray>> kPublished{
        {QStringLiteral("+Lorvane_Harvex.lua"), "local ADDON_NAME = ...\nrvUploaded = 0\n"},
        {QStringLiteral("+Lorvane_Harvex.toc"), "## SavedVariables: rvUploaded, rvRealm, rvData\n"},
        {QStringLiteral("Notes #1.txt"), "A name that needs escaping in an address.\n"}};

    std::unique_ptr<LVGameFolder> mRoot; // game/ is the game, site/ what the site publishes
    std::unique_ptr<LVTestWorld> mWorld;
    LVBusyGuard mBusy;
    QNetworkAccessManager mNetwork;
    std::unique_ptr<LVGameInstalls> mInstalls;
    std::unique_ptr<LVAddonInstaller> mInstaller;

    static QString installed(const QString &name) { return "game/Interface/AddOns/+Lorvane_Harvex/" + name; }
    QMap<QString, QByteArray> everything() const {
        QMap<QString, QByteArray> files;
        for (QDirIterator it(mRoot->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = QDir(mRoot->path()).relativeFilePath(it.next());
            files.insert(path, mRoot->readFile(path));
        }
        return files;
    }
    QStringList requested() const {
        QStringList paths;
        for (const LVSiteRequest &request : mWorld->site->server().requests())
            paths << QString::fromStdString(request.path);
        return paths;
    }
    static QString entry(const QString &name, const QString &destination, const QByteArray &bytes) {
        return QStringLiteral("<file name=\"%1\" destination=\"%2\" md5=\"%3\" size=\"%4\"/>\n")
            .arg(name.toHtmlEscaped(), destination.toHtmlEscaped(), lv::md5HexString(bytes))
            .arg(bytes.size());
    }
    // A manifest whose downloads come from the site; `before` stands before its "updates" element.
    void serve(const QString &entries, const QString &before = QString()) const {
        const QString manifest = QStringLiteral("<?xml version=\"1.0\"?>\n<lorvaneclient source=\"%1\">%2<updates>\n"
                                                "%3</updates></lorvaneclient>\n")
                                     .arg(mWorld->site->url(QStringLiteral("/addon")), before, entries);
        mWorld->site->server().setResponse("GET", "/updates.xml", 200, manifest.toStdString(), "application/xml");
    }
    // Builds each item under the root: "a>b" links a to b, "a/" is a folder, "a" a file.
    void build(const QStringList &items) const {
        for (const QString &item : items) {
            if (item.contains('>'))
                QVERIFY(QFile::link(mRoot->filePath(item.section('>', 1)), mRoot->filePath(item.section('>', 0, 0))));
            else
                item.endsWith('/') ? void(mRoot->addFolder(item)) : void(mRoot->writeFile(item, "outside the addon\n"));
        }
    }
    QStringList check() const {
        LVBusRecorder bus;
        mInstaller->checkForUpdates();
        return bus.messages;
    }

private slots:
    void init() {
        mRoot = std::make_unique<LVGameFolder>(QStringLiteral("game/Wow.exe"));
        mRoot->addFolder(installed(QString()));
        for (const auto &[name, bytes] : kPublished)
            mRoot->writeFile("site/" + name, bytes);
        mWorld = std::make_unique<LVTestWorld>();
        mWorld->settings.setValue(kWowApplicationPathKey, mRoot->applicationPath());
        mWorld->startSite(mRoot->filePath(QStringLiteral("site")));
        lv::registerDefaultsFromFile(mWorld->settings, mWorld->resourceFolder() + "/Defaults.plist", mWorld->workspace);
        mInstalls = std::make_unique<LVGameInstalls>(mWorld->settings, mWorld->workspace);
        mInstaller =
            std::make_unique<LVAddonInstaller>(mWorld->settings, *mInstalls, mNetwork, mBusy, mWorld->resourceFolder());
    }

    void cleanup() { mInstaller.reset(), mInstalls.reset(), mWorld.reset(), mRoot.reset(); }

    void filesUnlikeThePublishedOnesAreDownloaded_data() {
        QTest::addColumn<bool>("present"); // the published files are installed already
        QTest::newRow("missing") << false;
        QTest::newRow("present") << true;
    }

    void filesUnlikeThePublishedOnesAreDownloaded() {
        QFETCH(bool, present);
        QStringList messages{kChecking}, requests{"/updates.xml"};
        for (const auto &[name, bytes] : kPublished) {
            if (present)
                mRoot->writeFile(installed(name), bytes);
            else
                requests << "/addon/" + name, messages << "Updating Lorvane Harvex file: " + name;
        }
        LVStatusBus::setVerboseLogging(true);
        QCOMPARE(check(), messages << (present ? kUpToDate : kUpdated) << "");
        QCOMPARE(requested(), requests);
        for (const auto &[name, bytes] : kPublished)
            QCOMPARE(mRoot->readFile(installed(name)), bytes);
    }

    // Every checked install is brought up to date, each file downloaded once; an unchecked one is left.
    void everyCheckedInstallIsUpdated() {
        const QString classic = QStringLiteral("classic/_classic_/"), unchecked = QStringLiteral("other/");
        for (const QString &folder : {classic, unchecked})
            mRoot->addFolder(folder + "Interface/AddOns/+Lorvane_Harvex");
        lv::storeInstallChoices(mWorld->settings, {{mRoot->applicationPath(), true},
                                                   {mRoot->filePath(unchecked + "Wow.exe"), false},
                                                   {mRoot->filePath(classic + "WowClassic.exe"), true}});
        const auto &[name, bytes] = kPublished.first();
        serve(entry(name, kAddon, bytes));
        mRoot->writeFile(classic + "Interface/AddOns/+Lorvane_Harvex/" + name, "rvUploaded = 1\n");
        QMap<QString, QByteArray> expected = everything();
        for (const QString &install : {QStringLiteral("game/"), classic})
            expected.insert(install + "Interface/AddOns/+Lorvane_Harvex/" + name, bytes);
        QCOMPARE(check(), (QStringList{kChecking, kUpdated, ""}));
        QCOMPARE(requested(), (QStringList{"/updates.xml", "/addon/" + name}));
        QCOMPARE(everything(), expected);
    }

    void entriesThatChangeNothing_data() {
        QTest::addColumn<QString>("entry");     // "{root}" stands for the folder around the game
        QTest::addColumn<QStringList>("setup"); // what build() makes first
        QTest::addColumn<QString>("error");     // null: none
        QTest::addColumn<QByteArray>("local");  // what is installed; null: nothing is downloaded
        const auto &[name, published] = kPublished.first();
        const QString listed = entry(name, kAddon, published), md5 = lv::md5HexString(published);
        const QByteArray older = "rvUploaded = 1\n";
        // The site serves the published file: none of these entries describes it.
        QTest::newRow("other bytes of that size")
            << entry(name, kAddon, QByteArray(published).replace('0', '1')) << QStringList() << QString() << published;
        QTest::newRow("entry's size wrong")
            << QString(listed).replace("size=\"", "size=\"9") << QStringList() << QString() << older;
        // Compared as lower-case text, an upper-case digest never matches, not even the file it describes.
        QTest::newRow("upper-case md5") << QString(listed).replace(md5, md5.toUpper()) << QStringList() << QString()
                                        << published;
        // A download is read no further than one byte past the size the manifest gives.
        QTest::newRow("download longer than listed")
            << entry(name, kAddon, published.left(10)) << QStringList()
            << "Refusing the download of " + name + ": it is longer than the 10 bytes the update list gives." << older;
        // The manifest comes over plain HTTP; the site would serve any address made of these entries.
        const auto row = [&](const char *tag, const QString &destination, const QString &file, const QString &path,
                             const QStringList &setup = {}) {
            QTest::newRow(tag) << entry(file, destination, kHostile) << setup
                               << (path.isNull() ? QString() : "Refusing to write outside Interface/AddOns: " + path)
                               << QByteArray();
        };
        row("name climbing within the game", kAddon, "../../x", "../../x");
        row("name climbing, Windows style", kAddon, "..\\..\\x", "..\\..\\x");
        row("absolute name", kAddon, "/etc/x", "/etc/x");
        row("destination climbing out", "%WoW%/..", "x", "{root}/game/../x");
        row("the addon's saved variables", "%WoW%/WTF/Account/ALPHA/SavedVariables", name,
            "{root}/game/WTF/Account/ALPHA/SavedVariables/" + name, {"game/WTF/Account/ALPHA/SavedVariables/"});
        // Nothing is written through a symbolic link, wherever it leads.
        const QString addon = "{root}/" + installed(QString());
        row("file linked outside", kAddon, name, addon + name, {"outside.lua", installed(name) + ">outside.lua"});
        row("link to nothing yet", kAddon, "new.lua", addon + "new.lua", {installed("new.lua") + ">nowhere.lua"});
        row("the bundled gzip", "%AppPath%", "gzip.exe", QString());
        row("gzip in another case", "%AppPath%", "Gzip.exe", "%AppPath%/Gzip.exe");
    }

    void entriesThatChangeNothing() {
        QFETCH(QString, entry);
        QFETCH(QString, error);
        QFETCH(QByteArray, local);
        for (const char *path : {"/x", "/etc/x", "/addon/x", "/addon/gzip.exe", "/addon/Gzip.exe"})
            mWorld->site->server().setResponse("GET", path, 200, kHostile.toStdString());
        QFETCH(QStringList, setup);
        build(setup);
        if (!local.isNull())
            mRoot->writeFile(installed(kPublished.first().first), local);
        serve(entry.replace(QStringLiteral("{root}"), mRoot->path()));
        const QMap<QString, QByteArray> before = everything();
        QStringList messages{kChecking};
        if (error.startsWith(QLatin1String("Refusing to write"))) // why goes to the system log
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("The update manifest names .* - .+")));
        if (!error.isNull())
            messages << "error: " + error.replace("{root}", mRoot->path());
        QCOMPARE(check(), messages << kUpToDate << "");
        QCOMPARE(requested().size(), local.isNull() ? 1 : 2);
        QCOMPARE(everything(), before);
        QVERIFY(!QFileInfo::exists(QStringLiteral("/etc/x")));
    }

    // Links above the addon folder are the user's own arrangement; below it, none is passed through.
    void onlyPlainPathsBelowTheAddonFolderAreWritable_data() {
        QTest::addColumn<QString>("path");   // below the root
        QTest::addColumn<QString>("addons"); // the game's addon folder, below the root
        QTest::addColumn<bool>("safe");
        const QString addon = installed(QString()), addons = QStringLiteral("game/Interface/AddOns");
        QTest::newRow("a file in a new folder") << addon + "Locales/deDE.lua" << addons << true;
        QTest::newRow("doubled separators") << "game/Interface//AddOns/+Lorvane_Harvex//new.lua" << addons << true;
        QTest::newRow("the addon folder itself") << addons << addons << false;
        QTest::newRow("climbing out and back") << addon + "../../AddOns/x.lua" << addons << false;
        QTest::newRow("a folder of a similar name") << "game/Interface/AddOnsX/x.lua" << addons << false;
        QTest::newRow("through a linked folder") << addon + "elsewhere/x.lua" << addons << false;
        QTest::newRow("through a link that stays inside") << "game/Interface/AddOns/alias/new.lua" << addons << false;
        QTest::newRow("a shared addon folder") << "linked-game/Interface/AddOns/Other/x.lua"
                                               << "linked-game/Interface/AddOns" << true;
        QTest::newRow("no addon folder") << "bare/Interface/AddOns/x.lua"
                                         << "bare/Interface/AddOns" << false;
    }

    void onlyPlainPathsBelowTheAddonFolderAreWritable() {
        QFETCH(QString, path);
        QFETCH(QString, addons);
        build({"outside/", installed("elsewhere") + ">outside", "game/Interface/AddOns/alias>" + installed(QString()),
               "game/Interface/AddOnsX/", "bare/", "linked-game/Interface/",
               "linked-game/Interface/AddOns>game/Interface/AddOns"});
        QFETCH(bool, safe);
        QString why;
        QCOMPARE(lv::isSafeAddonTarget(mRoot->filePath(path), mRoot->filePath(addons), &why), safe);
        QCOMPARE(why.isEmpty(), safe);
        QVERIFY(!lv::isSafeAddonTarget(path, addons)); // relative paths are never safe
    }

    // A file is replaced by a new one; a link in its place is replaced, never written through.
    void replacingAFileLeavesWhatALinkPointsTo() {
        build({"outside.lua", installed("linked.lua") + ">outside.lua", installed("dangling.lua") + ">nowhere.lua"});
        QMap<QString, QByteArray> expected = everything();
        for (const QString name : {"linked.lua", "dangling.lua"}) {
            QVERIFY(lv::replaceFileWithoutFollowingLinks(mRoot->filePath(installed(name)), "new\n"));
            QVERIFY(!QFileInfo(mRoot->filePath(installed(name))).isSymLink());
            expected.insert(installed(name), "new\n");
        }
        QCOMPARE(everything(), expected); // nowhere.lua is not made, outside.lua not changed
    }

    // Only entries after "updates" count, each on its own, up to where the manifest breaks off.
    void eachEntryCountsOnItsOwn() {
        const auto &[early, earlyBytes] = kPublished.at(0);
        const auto &[late, lateBytes] = kPublished.at(1);
        // No folder is made for a file, so the missing one cannot be read; the site has no gone.lua.
        serve(entry("Locales/deDE.lua", kAddon, "1") + entry("gone.lua", kAddon, "2") + entry(late, kAddon, lateBytes) +
                  entry("third.lua", kAddon, "3").left(20),
              entry(early, kAddon, earlyBytes));
        const QStringList messages = check();
        QCOMPARE(messages.size(), 5);
        QVERIFY2(messages[1].startsWith("error: " + mRoot->filePath(installed("Locales/deDE.lua")) + ": "),
                 qPrintable(messages[1]));
        QCOMPARE(messages.mid(2), (QStringList{"error: The server answered 404 Not Found.", kUpdated, ""}));
        QCOMPARE(requested(), (QStringList{"/updates.xml", "/addon/gone.lua", "/addon/" + late}));
        QCOMPARE(mRoot->readFile(installed(late)), lateBytes);
    }

    // Downloads come only from http and https addresses: never a local file, a named pipe or the
    // program's own input, which could hang the program or copy anything into the game.
    void sourcesThatAreNoWebAddressesAreRefused_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("name");
        QTest::newRow("a local file") << "file:///etc"
                                      << "hostname";
        QTest::newRow("a named pipe") << "file://{root}"
                                      << "pipe";
        QTest::newRow("the program's input") << "file:///proc/self/fd"
                                             << "0";
    }
    void sourcesThatAreNoWebAddressesAreRefused() {
        QFETCH(QString, source);
        QFETCH(QString, name);
        QCOMPARE(mkfifo(QFile::encodeName(mRoot->filePath("pipe")).constData(), 0600), 0);
        const QByteArray local = lv::contentsOfFile("/etc/hostname").value_or("x");
        source.replace("{root}", mRoot->path());
        mWorld->site->server().setResponse(
            "GET", "/updates.xml", 200,
            QStringLiteral("<lorvaneclient source=\"%1\"><updates>%2</updates></lorvaneclient>")
                .arg(source, entry(name, kAddon, local))
                .toStdString());
        const QMap<QString, QByteArray> before = everything();
        QCOMPARE(check(),
                 (QStringList{kChecking, "error: \"" + source + "/" + name + "\" is not an http or https address.",
                              kUpToDate, ""}));
        QMap<QString, QByteArray> after = everything();
        QCOMPARE(after.take(installed(name)), "");
        QCOMPARE(after, before);
    }

    // A download goes straight to disk, never whole into memory, and one check downloads no more than
    // its limits allow, whatever the manifest lists.
    void downloadsStayWithinTheirLimits_data() {
        QTest::addColumn<qint64>("bigSize"); // of a file listed first; 0: none
        QTest::addColumn<LVDownloadLimits>("limits");
        QTest::addColumn<QStringList>("messages"); // between the first and the last
        QTest::addColumn<int>("downloaded");       // of the published files, in order
        QTest::newRow("150 MB with 100 MB of memory to spare")
            << qint64(150'000'000) << LVDownloadLimits() << QStringList{kUpdated} << 3;
        QTest::newRow("more bytes than allowed") << qint64(0) << LVDownloadLimits{100, 1000}
                                                 << QStringList{"error: The addon update stopped: its downloads would "
                                                                "come to more than 100 bytes."}
                                                 << 2;
        QTest::newRow("more entries than allowed") << qint64(0) << LVDownloadLimits{1000, 2}
                                                   << QStringList{"error: The update list names more than 2 files: the "
                                                                  "addon update stopped after the first 2."}
                                                   << 2;
    }
    void downloadsStayWithinTheirLimits() {
        QFETCH(qint64, bigSize);
        QFETCH(LVDownloadLimits, limits);
        QFETCH(QStringList, messages);
        QFETCH(int, downloaded);
        QString entries;
        if (bigSize > 0) {
            QFile big(mRoot->filePath("site/big.bin"));
            QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(bigSize) && big.seek(0));
            LVMd5Hash digest;
            for (qint64 left = bigSize; left > 0; left -= 1 << 20)
                digest.addData(QByteArray(qMin<qint64>(left, 1 << 20), '\0'));
            entries = QStringLiteral("<file name=\"big.bin\" destination=\"%1\" md5=\"%2\" size=\"%3\"/>")
                          .arg(kAddon, digest.hexDigest())
                          .arg(bigSize);
        }
        for (const auto &[name, bytes] : kPublished)
            entries += entry(name, kAddon, bytes);
        serve(entries);
        mInstaller->setDownloadLimits(limits);
        std::optional<LVMemoryLimit> memory(std::in_place, 100'000'000);
        const QStringList said = check();
        memory.reset();
        QCOMPARE(said, QStringList{kChecking} + messages + QStringList{""});
        QCOMPARE(QFileInfo(mRoot->filePath(installed("big.bin"))).size(), bigSize > 0 ? bigSize : 0);
        for (qsizetype i = 0; i < kPublished.size(); ++i)
            QCOMPARE(mRoot->readFile(installed(kPublished[i].first)) == kPublished[i].second, i < downloaded);
        QCOMPARE(QDir(mRoot->filePath(installed(""))).entryList(QDir::Hidden | QDir::Files).filter(".lvtmp"),
                 QStringList());
        // What a path may hold goes into the address as it is.
        QCOMPARE(lv::downloadUrl("http://h/a", "+L/Notes #1.txt").toString(QUrl::FullyEncoded),
                 "http://h/a/+L/Notes%20%231.txt");
    }

    void unusableManifestPostsTheTrouble_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QStringList>("messages"); // after the first
        const QString server = QStringLiteral("error: The Lorvane Harvex update server is ");
        QTest::newRow("no XML") << 200 << "The site is down."
                                << QStringList{server + "having some trouble at the moment.", ""};
        QTest::newRow("empty") << 200 << "" << QStringList{server + "not responding at the moment."};
        QTest::newRow("longer than any manifest")
            << 200 << QString(1024 * 1024 + 1, 'x')
            << QStringList{"error: The server at 127.0.0.1 sent more than 1048576 bytes."};
        QTest::newRow("server error") << 500 << ""
                                      << QStringList{"error: The server answered 500 Internal Server Error."};
    }

    void unusableManifestPostsTheTrouble() {
        QFETCH(int, status);
        QFETCH(QString, reply);
        QFETCH(QStringList, messages);
        mWorld->site->server().setResponse("GET", "/updates.xml", status, reply.toStdString());
        QCOMPARE(check(), QStringList{kChecking} << messages);
        QCOMPARE(requested(), QStringList{"/updates.xml"});
    }

    void failedWriteKeepsTheOldFile() {
        const auto &[name, bytes] = kPublished.first();
        serve(entry(name, kAddon, bytes));
        mRoot->writeFile(installed(name), "rvUploaded = 1\n");
        const QMap<QString, QByteArray> before = everything();
        std::optional<LVFileSizeLimit> limit(std::in_place, bytes.size() - 1);
        const QStringList messages = check();
        limit.reset();
        QVERIFY2(messages.value(1).startsWith("error: " + mRoot->filePath(installed(name)) + ": "),
                 qPrintable(messages.value(1)));
        QCOMPARE(messages.mid(2), (QStringList{kUpToDate, ""}));
        QCOMPARE(everything(), before); // neither a cut file nor a temporary one is left
    }
};

QTEST_GUILESS_MAIN(TestAddonUpdate)
#include "TestAddonUpdate.moc"
