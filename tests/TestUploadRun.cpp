#include "LVBusRecorder.h"
#include "LVFileSizeLimit.h"
#include "LVSampleGame.h"
#include "LVTestWorld.h"
#include "auth/LVAuthenticationController.h"
#include "common/FileContents.h"
#include "common/md5.h"
#include "game/InstallChoices.h"
#include "net/Gzip.h"
#include "net/UploadBody.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

// The upload, as the Upload button's whole road, against the reference site: a sample game with two
// accounts, the second already uploaded, and one of the listed cache files missing.
class TestUploadRun : public QObject {
    Q_OBJECT

    static constexpr char kMissing[] = "creaturecache.wdb";
    static constexpr char kRealmList[] = "Data/enUS/realmlist.wtf";
    const QString kSuccess = QStringLiteral("Upload successful. You can upload again after 1 minute.");
    QTemporaryDir mGame;
    std::unique_ptr<LVTestWorld> mWorld;
    LVApplicationDelegate *mDelegate = nullptr;
    QByteArray mFresh;   // ACCOUNT1's saved variables before the run
    QByteArray mFlagged; // and as the game gets them back
    QByteArray mSent;    // and as the site gets them
    QString mBodyCopy;   // of the last upload

    QString gamePath(const QString &relative) const { return mGame.filePath(relative); }
    QString savedVariables(int account) const {
        return gamePath(QString::fromStdString(LVSampleGame::savedVariablesPath(account).string()));
    }
    static QByteArray read(const QString &path) { return lv::contentsOfFile(path).value_or(QByteArray()); }
    static void write(const QString &path, const QByteArray &bytes) { QVERIFY(lv::writeFileAtomically(path, {bytes})); }
    // What the site stored of the upload's part.
    QByteArray stored(size_t upload, size_t part = 0) const {
        return read(QFile::decodeName(site().uploads().at(upload).parts.at(part).storedPath.c_str()));
    }
    static QByteArray body(const QString &fileName, const QByteArray &data) {
        QByteArray body;
        lv::appendUploadPart(body, 0, "b", fileName, data);
        lv::appendUploadEnd(body, "b");
        return body;
    }
    LVUploadRun &run() const { return mDelegate->uploadRun(); }
    LVAuthentication &auth() const { return mDelegate->authentication(); }
    QPushButton *uploadButton() const { return mWorld->find<QPushButton>("uploadButton"); }
    LVSiteServer &site() const { return mWorld->site->server(); }
    // Presses Upload and waits for the run's end; what the run ended with.
    LVUploadOutcome upload() {
        QSignalSpy ended(&run(), &LVUploadRun::runEnded);
        uploadButton()->click();
        if (ended.isEmpty() && !ended.wait(20000)) {
            LVUploadOutcome neverEnded;
            neverEnded.failed = true;
            neverEnded.runError = QStringLiteral("the run did not end");
            return neverEnded;
        }
        return ended.first().first().value<LVUploadOutcome>();
    }
    QStringList leftovers() const {
        QStringList found;
        for (QDirIterator it(mGame.path(), QDir::Files | QDir::System, QDirIterator::Subdirectories); it.hasNext();)
            if (const QString path = it.next(); path.endsWith(".gz") || path.endsWith(".rename"))
                found << path;
        return found;
    }
    QString url(const QString &query) const {
        return mWorld->site->url("/upload?username=alice&password=" + query + "&mac");
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        mBodyCopy = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/post.html";
    }

    void init() {
        QDir(mGame.path()).removeRecursively();
        LVSampleGame::writeSampleGame(QFile::encodeName(mGame.path()).toStdString(), 2, 0.05);
        write(savedVariables(2), read(savedVariables(2)).replace("rvUploaded = 0", "rvUploaded = 1"));
        QVERIFY(QFile::remove(gamePath("Cache/WDB/enUS/") + kMissing));
        QFile::remove(mBodyCopy);
        mFresh = read(savedVariables(1));
        mFlagged = QByteArray(mFresh).replace(mFresh.indexOf("rvUploaded = 0"), 14, "rvUploaded = 1");
        mSent = mFlagged + "\nrvRealm = \"eu.logon.worldofwarcraft.com\";";

        mWorld = std::make_unique<LVTestWorld>();
        mDelegate = &mWorld->makeDelegateWithWindow();
        mWorld->startSite(QString(), 0);
        mWorld->settings.setValue(kWowApplicationPathKey, gamePath("Wow.exe"));
        mDelegate->install().gatherAccounts();
        mDelegate->install().gatherLocales();
        mDelegate->validateUserInterface();
    }

    void cleanup() { mWorld.reset(); }

    void requestBytesAreExact() {
        // The user name is percent-encoded, an absent one sent empty; the password's hex form stays.
        QCOMPARE(lv::uploadQuery("a&b #c=dë", "0aff", true), "username=a%26b%20%23c%3Dd%C3%AB&password=0aff&mac");
        QCOMPARE(lv::uploadQuery(QString(), "0aff", false), "username=&password=0aff&mac&ignorecharacterdata");
        QCOMPARE(lv::redactedUrl("http://s/u?username=p&password=0aff&mac"),
                 "http://s/u?username=p&password=********&mac");

        // The controller's address, cut to 32 bits, in upper case.
        const QString boundary = lv::uploadBoundary(reinterpret_cast<const void *>(quintptr(0x7ffd00ab12cdULL)));
        QByteArray body;
        lv::appendUploadPart(body, 0, boundary, "+Lorvane_Harvex.lua.gz", "AB");
        lv::appendUploadPart(body, 1, boundary, "ité.wdb.gz", QByteArray("\0\r\n", 3));
        lv::appendUploadEnd(body, boundary);
        QCOMPARE(body, "--------AB12CD\r\n"
                       "Content-Disposition: form-data; name=\"file0\"; filename=\"+Lorvane_Harvex.lua.gz\"\r\n"
                       "Content-Type: application/binary\r\n\r\n"
                       "AB\r\n--------AB12CD\r\n"
                       "Content-Disposition: form-data; name=\"file1\"; filename=\"it\xc3\xa9.wdb.gz\"\r\n"
                       "Content-Type: application/binary\r\n\r\n" +
                           QByteArray("\0\r\n", 3) + "\r\n--------AB12CD--\r\n");
    }

    void uploadSendsTheAccountWithNewData_data() {
        QTest::addColumn<bool>("verbose");
        QTest::addColumn<bool>("corrupt"); // the first cache file cut short
        QTest::newRow("quiet") << false << false;
        QTest::newRow("verbose, without character data") << true << false;
        QTest::newRow("quiet, corrupt cache") << false << true;
        QTest::newRow("verbose, corrupt cache") << true << true;
    }
    void uploadSendsTheAccountWithNewData() {
        QFETCH(bool, verbose);
        QFETCH(bool, corrupt);
        const QString itemCache = gamePath("Cache/WDB/enUS/itemcache.wdb");
        if (corrupt)
            write(itemCache, read(itemCache).left(30));
        LVStatusBus::setVerboseLogging(verbose);
        mWorld->settings.setValue(kCharacterDataKey, !verbose);
        LVBusRecorder bus;

        const LVUploadOutcome outcome = upload();

        const QString redacted = url("********") + (verbose ? "&ignorecharacterdata" : "");
        const auto &uploads = site().uploads();
        const QString receipt = uploads.empty() ? QString() : QString::fromStdString(uploads.front().receipt());
        QStringList expected{"Checking for supported realms…", "Found valid realm: eu.logon.worldofwarcraft.com",
                             "----------\nUsing account ACCOUNT1"};
        const auto add = [&expected](bool when, const QStringList &messages) {
            expected += when ? messages : QStringList();
        };
        add(verbose, {"Checking for uploaded flag…", "rvUpload == 1", "Validating cache files…"});
        add(true, {"Validating data…"});
        add(corrupt, {"error: Invalid cache file: itemcache.wdb", "error: One or more .wdb cache files are corrupt"});
        for (const std::string &name : LVSampleGame::cacheFileNames())
            add(verbose && !corrupt, {"Validating cache file: " + QString::fromStdString(name)});
        add(!corrupt, {"Initiating upload…"});
        add(verbose && !corrupt,
            {"Url is…", redacted, "Initiating POST request to: " + redacted, "Upload complete. Result =  " + receipt});
        add(!corrupt, {"Cleaning up…", ""});
        add(true, {"----------\nUsing account ACCOUNT2"});
        add(verbose, {"Checking for uploaded flag…"});
        add(true, {"Nothing to upload to the server", ""});
        add(true, {corrupt ? "error: Upload failed for 1 of 1 accounts: ACCOUNT1" : kSuccess});
        add(corrupt, {"ACCOUNT1 waits for you (a cache file is corrupt): quit the game normally, so that it writes "
                      "its cache anew, then press Upload."});
        QCOMPARE(bus.messages, expected);
        QCOMPARE(outcome.failed, corrupt);
        QCOMPARE(run().uploadState(), LVUploadRun::UploadIdle);
        QCOMPARE(uploadButton()->isEnabled(), corrupt);

        // Nothing temporary is left; the game gets the flag set and no realm line, or, when nothing
        // was sent, its file exactly as it was, so that the addon keeps its data for the next upload.
        QCOMPARE(leftovers(), QStringList());
        QCOMPARE(read(savedVariables(1)), corrupt ? mFresh : mFlagged);
        QCOMPARE(!auth().accountStatusTimer(), corrupt);
        QCOMPARE(uploads.size(), size_t(corrupt ? 0 : 1));
        if (corrupt)
            return;

        // The site got ACCOUNT1 alone: parts file0, file1, … of the saved variables with the realm
        // line, then the cache files there are.
        QVERIFY(uploads.front().flags ==
                (verbose ? std::vector<std::string>{"mac", "ignorecharacterdata"} : std::vector<std::string>{"mac"}));
        QStringList sent{LVSampleGame::savedVariablesName};
        for (const std::string &name : LVSampleGame::cacheFileNames())
            if (name != kMissing)
                sent << QString::fromStdString(name);
        const auto &parts = uploads.front().parts;
        QCOMPARE(parts.size(), size_t(sent.size()));
        for (qsizetype i = 0; i < sent.size(); ++i) {
            QCOMPARE(QString::fromStdString(parts[i].fieldName), "file" + QString::number(i));
            QCOMPARE(QString::fromStdString(parts[i].fileName), sent[i] + ".gz");
            QCOMPARE(stored(0, size_t(i)), i ? read(gamePath("Cache/WDB/enUS/" + sent[i])) : mSent);
        }
        QVERIFY(read(mBodyCopy).endsWith(lv::uploadBoundary(&run()).toLatin1() + "--\r\n"));

        // The site takes no upload for a minute; then the credentials are tested again, and the
        // button comes back.
        QVERIFY(auth().accountStatusTimer()->isActive());
        QCOMPARE(auth().accountStatusTimer()->interval(), 65000);
        mDelegate->retestAuthentication(auth().accountStatusTimer());
        QCOMPARE(auth().accountStatus(), LVAuthentication::AccountValid);
        QVERIFY(uploadButton()->isEnabled());
    }

    // Until the site has answered 2xx, the game's file is not touched: whatever fails, the account keeps
    // "rvUploaded = 0" and is sent again next time, and the run says so only after the last answer.
    void accountsWhoseDataDidNotReachTheSiteKeepIt_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        QTest::newRow("site answers 500") << "500"
                                          << "the site answered 500 Internal Server Error: out of order";
        QTest::newRow("site down") << "down"
                                   << "Connection refused";
        QTest::newRow("site moved") << "301"
                                    << "moved to https://example.org/upload";
        QTest::newRow("a copy cannot be written") << "folder"
                                                  << "Unable to compress questcache.wdb.gz";
        QTest::newRow("disk full once the request is on its way") << "full"
                                                                  << "the site answered 500";
    }
    void accountsWhoseDataDidNotReachTheSiteKeepIt() {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        if (fault == "down")
            site().stop();
        else if (fault == "301")
            site().setResponse("POST", "/upload", 301, "moved\n", "text/plain",
                               {{"Location", "https://example.org/upload"}});
        else if (fault == "folder")
            QVERIFY(QDir().mkpath(gamePath("Cache/WDB/enUS/questcache.wdb.gz/in the way")));
        else
            site().setResponse("POST", "/upload", 500, "out of order\n");
        std::optional<LVFileSizeLimit> full;
        if (fault == "full") // nothing more may be written anywhere, as on a full disk
            connect(&mDelegate->transport(), &LVUploadTransport::uploadProgress, this, [&full] {
                if (!full)
                    full.emplace(0);
            });
        LVBusRecorder bus;

        const LVUploadOutcome outcome = upload();
        full.reset();

        QVERIFY(outcome.failed);
        QCOMPARE(outcome.failedAccounts, QStringList{"ACCOUNT1"});
        QCOMPARE(read(savedVariables(1)), mFresh);
        QCOMPARE(leftovers(), QStringList());
        QCOMPARE(bus.errorMessages().size(), 2);
        QVERIFY2(bus.errorMessages().first().contains(reason), qPrintable(bus.errorMessages().first()));
        QCOMPARE(bus.errorMessages().last(), "Upload failed for 1 of 1 accounts: ACCOUNT1");
        QVERIFY(!bus.messages.contains(kSuccess));
        QVERIFY(uploadButton()->isEnabled() && !auth().accountStatusTimer());
        QCOMPARE(mDelegate->transport().uploadsInFlight(), 0);
    }

    // What a run killed part-way left (the prepared file, its restore copy, the compressed copies) is
    // undone before the account is sent again; links at those names are removed, never followed.
    void leftoversOfAnUnfinishedRunAreUndone_data() {
        QTest::addColumn<bool>("links");
        QTest::newRow("files") << false;
        QTest::newRow("links") << true;
    }
    void leftoversOfAnUnfinishedRunAreUndone() {
        QFETCH(bool, links);
        const QString outside = mWorld->dir.filePath("outside.txt");
        write(outside, "keep me");
        const QStringList copies{savedVariables(1) + ".gz", savedVariables(1) + ".rename",
                                 gamePath("Cache/WDB/enUS/itemcache.wdb.gz")};
        if (links) {
            QVERIFY(QDir().mkpath(QFileInfo(mBodyCopy).path()));
            for (const QString &path : copies + QStringList{mBodyCopy})
                QVERIFY(QFile::link(outside, path));
            QVERIFY(QFile::link(mWorld->dir.filePath("nowhere"), gamePath("Cache/WDB/enUS/questcache.wdb.gz")));
        } else {
            write(savedVariables(1), mSent);
            write(copies[0], "half a gzip stream");
            write(copies[1], mFlagged);
            write(copies[2], "");
        }
        LVBusRecorder bus;

        QVERIFY(!upload().failed);

        QCOMPARE(site().uploads().size(), size_t(1));
        QCOMPARE(stored(0), mSent);
        QCOMPARE(read(savedVariables(1)), mFlagged);
        QCOMPARE(leftovers(), QStringList());
        if (!links)
            QCOMPARE(bus.messages.filter("did not finish").size(), 3);
        QCOMPARE(read(outside), "keep me");
        QVERIFY(!QFileInfo::exists(mWorld->dir.filePath("nowhere")) && !QFileInfo(mBodyCopy).isSymLink());
    }

    // The flag is set by one byte written in place: no free space is needed, and a file that is a link
    // (a WTF folder kept on another disk) is changed at its target and stays a link.
    void flagIsSetInPlace() {
        const QString target = mGame.filePath("elsewhere.lua");
        QVERIFY(QFile::rename(savedVariables(1), target) && QFile::link(target, savedVariables(1)));
        // From the answer on, no file may grow past the flag: rewriting the whole file would fail.
        const qsizetype limit = mFresh.indexOf("rvUploaded = 0") + 14;
        QVERIFY(limit < mFresh.size());
        std::optional<LVFileSizeLimit> full;
        connect(&run(), &LVUploadRun::uploadRequestFinished, this, [&full, limit] { full.emplace(limit); });

        const LVUploadOutcome outcome = upload();
        full.reset();

        QVERIFY(!outcome.failed);
        QCOMPARE(read(target), mFlagged);
        QCOMPARE(QFileInfo(savedVariables(1)).symLinkTarget(), target);
    }

    // The game saves its file again while the site is still answering (a /reload, a start): the flag is
    // set only in the very file that was read and sent, so the new data goes with the next upload.
    void gameSavingDuringTheUploadKeepsItsNewData_data() {
        QTest::addColumn<bool>("byRename");
        QTest::newRow("in place, the same size") << false;
        QTest::newRow("a new file of the same size renamed over it") << true;
    }
    void gameSavingDuringTheUploadKeepsItsNewData() {
        QFETCH(bool, byRename);
        QByteArray saved = mFresh;
        saved[0] = saved[0] == 'x' ? 'y' : 'x';
        connect(&mDelegate->transport(), &LVUploadTransport::uploadProgress, this, [&](int, qint64 sent, qint64 total) {
            QFile file(savedVariables(1));
            if (sent < total || read(file.fileName()) != mFresh)
                return;
            if (byRename)
                write(file.fileName(), saved);
            else
                QVERIFY(file.open(QIODevice::ReadWrite) && file.write(saved.left(1)) == 1);
        });
        mDelegate->reports().openHistory();
        LVBusRecorder bus;

        const LVUploadOutcome outcome = upload();

        QVERIFY(!outcome.failed);
        QCOMPARE(stored(0), mSent);
        QCOMPARE(read(savedVariables(1)), saved);
        QVERIFY(bus.statusMessages().contains(
            "ACCOUNT1: the game saved new data during the upload; it goes with the next upload"));
        QVERIFY(mDelegate->reports().history().lastRecord()->gameSavedMeanwhile);
    }

    // Whatever stands where a file is read, the run neither hangs nor reads without end: an account it
    // stands in fails with a message naming it, and the others go on.
    void whatIsNoFileFailsItsAccountAlone_data() {
        QTest::addColumn<QByteArray>("path"); // below the game folder
        QTest::addColumn<QString>("kind");    // "pipe", "zero" (a link to /dev/zero), "folder" (an account folder)
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("failed");
        const QByteArray savedVariables = QByteArray::fromStdString(LVSampleGame::savedVariablesPath(1).string());
        const QStringList first{"ACCOUNT1"}, both{"ACCOUNT1", "ACCOUNT2"};
        QTest::newRow("saved variables, a named pipe") << savedVariables << "pipe"
                                                       << "is a named pipe" << first;
        QTest::newRow("saved variables, a link to /dev/zero") << savedVariables << "zero"
                                                              << "is a device" << first;
        QTest::newRow("a cache file, a named pipe") << QByteArray("Cache/WDB/enUS/itemcache.wdb") << "pipe"
                                                    << "is a named pipe" << both;
        QTest::newRow("another listed file, a named pipe") << QByteArray("notes.txt") << "pipe"
                                                           << "is a named pipe" << both;
        QTest::newRow("the realm list, a named pipe") << QByteArray(kRealmList) << "pipe"
                                                      << "realmlist.wtf: it is a named pipe" << QStringList();
        QTest::newRow("an account folder named in no encoding")
            << QByteArray("WTF/Account/caf\xE9") << "folder"
            << "Unable to read the account folder caf\\xE9" << QStringList{"caf\\xE9"};
    }
    void whatIsNoFileFailsItsAccountAlone() {
        QFETCH(QByteArray, path);
        QFETCH(QString, kind);
        QFETCH(QStringList, failed);
        write(savedVariables(2), mFresh);
        mWorld->settings.setValue(kFilesToUploadKey, mWorld->settings.arrayForKey(kFilesToUploadKey).value()
                                                         << "%WoW%/notes.txt");
        const QByteArray where = QFile::encodeName(mGame.path()) + '/' + path;
        QFile::remove(QFile::decodeName(where));
        QCOMPARE(kind == "pipe"   ? mkfifo(where.constData(), 0600)
                 : kind == "zero" ? symlink("/dev/zero", where.constData())
                                  : mkdir(where.constData(), 0700),
                 0);
        mDelegate->install().gatherAccounts();
        LVBusRecorder bus;

        const LVUploadOutcome outcome = upload();
        rmdir(where.constData()); // a name Qt cannot remove when the game folder is cleared

        QFETCH(QString, error);
        QVERIFY2(!bus.errorMessages().filter(error).isEmpty(), qPrintable(bus.errorMessages().join('\n')));
        QCOMPARE(outcome.failedAccounts, failed);
        QCOMPARE(outcome.storedAccounts.size(), failed.isEmpty() ? 0 : 2 + (kind == "folder") - failed.size());
        QVERIFY(outcome.failed);
        QVERIFY(!bus.messages.contains(kSuccess));
    }

    // The account is compressed on worker threads: the window keeps answering, and shows how far it got.
    void windowKeepsAnsweringWhileCompressing() {
        QByteArray big = mFresh;
        for (int i = 0; big.size() < 24 * 1024 * 1024; ++i)
            big +=
                "[\"Creature-" + QByteArray::number(i * 7919 % 100003) + "\"] = { " + QByteArray::number(i) + " },\n";
        write(savedVariables(1), big);
        int ticks = 0, ticksWhenCompressed = -1;
        QTimer ticking;
        connect(&ticking, &QTimer::timeout, this, [&ticks] { ++ticks; });
        ticking.start(5);
        QStringList shown;
        auto *bar = mWorld->find<QProgressBar>("uploadProgress");
        connect(&run(), &LVUploadRun::progress, this, [&](const QString &what) {
            if (!bar->isHidden())
                shown << bar->text();
            if (what.startsWith("Sending") && ticksWhenCompressed < 0)
                ticksWhenCompressed = ticks;
        });

        QVERIFY(!upload().failed);

        QVERIFY2(ticksWhenCompressed > 10, qPrintable(QString::number(ticksWhenCompressed)));
        QVERIFY(shown.contains("Compressing ACCOUNT1… 100%"));
        QVERIFY(!shown.filter(QRegularExpression("^Sending ACCOUNT1…")).isEmpty());
        QVERIFY(bar->isHidden());
    }

    // The history never holds an upload back: one that cannot be read is set aside and a new one kept.
    void unreadableHistoryIsSetAside() {
        write(mWorld->dir.filePath("history.sqlite"), "not a database at all");
        LVBusRecorder bus;
        mDelegate->reports().openHistory();
        QCOMPARE(bus.errorMessages().size(), 1);
        QVERIFY(!upload().failed);
        QCOMPARE(mDelegate->reports().history().records().size(), 1);
        QCOMPARE(QDir(mWorld->dir.path()).entryList({"history.sqlite.broken-*"}).size(), 1);
    }

    void oneRunAtATime() {
        QLockFile other(mWorld->dir.filePath("run.lock"));
        QVERIFY(other.tryLock(0));
        LVBusRecorder bus;
        uploadButton()->click();
        QCOMPARE(bus.messages, QStringList{"error: Another upload is running"});
        QCOMPARE(run().uploadState(), LVUploadRun::UploadIdle);
        QCOMPARE(read(savedVariables(1)), mFresh);

        other.unlock();
        QVERIFY(!upload().failed);
        QCOMPARE(site().uploads().size(), size_t(1));
        QVERIFY(other.tryLock(0)); // a run that ended lets the next one in, from whatever program
    }

    // Requests in flight together each keep their own reply.
    void overlappingRequestsKeepTheirOwnReplies() {
        LVUploadTransport &transport = mDelegate->transport();
        QSignalSpy finished(&transport, &LVUploadTransport::requestFinished);
        for (const QString account : {"ACCOUNT1", "ACCOUNT2"}) {
            const QString copy = mWorld->dir.filePath(account + ".lua.gz");
            QCOMPARE(lv::gzipData("rvUploaded = 0\n", copy).status, LVGzipResult::Compressed);
            transport.postURL(QUrl(url(lv::md5HexString(LVTestSite::kPassword))), body(account + ".lua.gz", read(copy)),
                              "b", account);
        }
        QCOMPARE(transport.uploadsInFlight(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 10000);
        for (const QList<QVariant> &arguments : finished) {
            const auto reply = arguments.first().value<LVUploadReply>();
            QVERIFY2(reply.succeeded && reply.reply.contains(reply.account + ".lua"), qPrintable(reply.reply));
        }
    }

    // A slow link is not a dead one: a request fails when neither side has moved for the pause limit
    // once its body has had the time a slow link needs (but no more than the longest wait), or when its
    // answer has not ended by the deadline. A failure says how long the site really was silent.
    void slowSitesAndDeadOnes_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("bodyBytes");
        QTest::addColumn<int>("slowestRate"); // bytes a second
        QTest::addColumn<int>("longestMs");   // the longest wait for a silent site
        QTest::addColumn<QString>("reason");  // a pattern; null: it succeeds
        QTest::addColumn<int>("withinMs");    // when it must have ended
        const QString silent = QStringLiteral("stopped answering for (\\d+\\.\\d) seconds");
        QTest::newRow("reading 600 KB at 160 KB/s, far longer than the pause")
            << "/slow?rate=163840" << 600 * 1024 << 80 * 1024 << 60000 << QString() << 20000;
        QTest::newRow("reading nothing, answering nothing")
            << "/stall" << 100 * 1024 << 80 * 1024 << 60000 << silent << 20000;
        // The pause counts from the last movement, well before the deadline.
        QTest::newRow("a tiny body, nothing answered") << "/stall" << 100 << 80 * 1024 << 60000 << silent << 1300;
        // 2 MB at 1 KB a second would be half an hour: the wait ends at the longest allowed.
        QTest::newRow("a large body, nothing answered")
            << "/stall" << 2 * 1024 * 1024 << 1024 << 1000 << silent << 5000;
        QTest::newRow("answering one byte at a time")
            << "/trickle" << 1024 << 80 * 1024 << 60000 << "did not finish its answer within 1.5 seconds" << 20000;
    }
    void slowSitesAndDeadOnes() {
        QFETCH(QString, path);
        QFETCH(int, bodyBytes);
        QFETCH(int, slowestRate);
        QFETCH(int, longestMs);
        QFETCH(QString, reason);
        QNetworkAccessManager network;
        LVUploadTransport transport(network);
        // The real limits made ten to a hundred times shorter: pauses of 0.4 s, 1.5 s for an answer.
        transport.setNetworkTimeouts({15000, 400, 1500, slowestRate, longestMs});
        QSignalSpy finished(&transport, &LVUploadTransport::requestFinished);
        LVBusRecorder bus;
        QByteArray data((bodyBytes + 3) / 4 * 4, Qt::Uninitialized);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(data.data()), data.size() / 4);
        transport.postURL(QUrl(mWorld->site->url(path)), body("data.gz", data.left(bodyBytes)), "b", "ACCOUNT1");
        QVERIFY(finished.wait(20000));
        const auto reply = finished.first().first().value<LVUploadReply>();
        QCOMPARE(reply.succeeded, reason.isNull());
        const QRegularExpressionMatch match = QRegularExpression(reason).match(reply.reason);
        QVERIFY2(reason.isNull() || match.hasMatch(), qPrintable(reply.reason));
        QFETCH(int, withinMs);
        QVERIFY2(reply.durationMs < withinMs, qPrintable(QString::number(reply.durationMs)));
        const double silentMs = match.captured(1).toDouble() * 1000;
        QVERIFY(match.lastCapturedIndex() < 1 || (silentMs >= 400 && silentMs <= reply.durationMs + 50));
        QCOMPARE(bus.errorMessages().size(), reason.isNull() ? 0 : 1);
    }

    // Every checked install in turn, each named before its accounts, each with its own realm check; an
    // unchecked one is left alone. The second game's accounts have names of their own.
    void uploadGoesThroughEveryCheckedInstall_data() {
        QTest::addColumn<QByteArray>("secondRealmList");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QStringList>("storedAccounts"); // the accounts the site gets, in order
        QTest::newRow("both on accepted realms") << QByteArray("set realmlist us.logon.worldofwarcraft.com\n") << false
                                                 << QStringList{"ACCOUNT1", "OTHER1", "OTHER2"};
        QTest::newRow("the second on a refused realm")
            << QByteArray("set realmlist private.example.org\n") << true << QStringList{"ACCOUNT1"};
    }
    void uploadGoesThroughEveryCheckedInstall() {
        QFETCH(QByteArray, secondRealmList);
        QFETCH(bool, refused);
        QFETCH(QStringList, storedAccounts);
        QTemporaryDir second, unchecked;
        const QString classic = second.filePath("_classic_");
        LVSampleGame::writeSampleGame(QFile::encodeName(classic).toStdString(), 2, 0.02);
        LVSampleGame::writeSampleGame(QFile::encodeName(unchecked.path()).toStdString(), 1, 0.01);
        for (const QString account : {"1", "2"})
            QVERIFY(QDir(classic + "/WTF/Account").rename("ACCOUNT" + account, "OTHER" + account));
        write(classic + "/" + kRealmList, secondRealmList);
        const QByteArray otherFresh = read(classic + "/WTF/Account/OTHER1/SavedVariables/+Lorvane_Harvex.lua");
        const QString uncheckedAccount = unchecked.filePath("WTF/Account/ACCOUNT1/SavedVariables/+Lorvane_Harvex.lua");
        const QByteArray uncheckedFresh = read(uncheckedAccount);
        lv::storeInstallChoices(
            mWorld->settings,
            {{gamePath("Wow.exe"), true}, {unchecked.filePath("Wow.exe"), false}, {classic + "/WowClassic.exe", true}});
        mDelegate->installs().gatherNewInstalls();
        QSignalSpy uploaded(&run(), &LVUploadRun::accountUploaded);
        LVBusRecorder bus;

        const LVUploadOutcome outcome = upload();

        QStringList order;
        for (const QString &message : bus.messages)
            if (message.startsWith("Install: ") || message.contains("Using account") || message.contains("realm"))
                order << message.section('\n', -1);
        const QStringList checking{"Checking for supported realms…"};
        QCOMPARE(order, (QStringList{"Install: Game folder (Wow) in " + gamePath("")} + checking +
                         QStringList{"Found valid realm: eu.logon.worldofwarcraft.com", "Using account ACCOUNT1",
                                     "Using account ACCOUNT2", "Install: Classic (WowClassic) in " + classic} +
                         checking +
                         (refused ? QStringList{"No valid realm found.",
                                                "error: This version of WoW uses an unsupported realm"}
                                  : QStringList{"Found valid realm: us.logon.worldofwarcraft.com",
                                                "Using account OTHER1", "Using account OTHER2"})));
        QCOMPARE(outcome.storedAccounts, storedAccounts);
        QCOMPARE(outcome.failed, refused);
        QStringList installs;
        for (const QList<QVariant> &arguments : uploaded)
            installs << arguments.first().value<LVAccountUpload>().install;
        QCOMPARE(installs, QStringList{gamePath("")} + QStringList(storedAccounts.size() - 1, classic));

        // The site has each account's saved variables with its own install's realm, in the run's order.
        QCOMPARE(site().uploads().size(), size_t(storedAccounts.size()));
        QCOMPARE(stored(0), mSent);
        if (!refused)
            QCOMPARE(stored(1), QByteArray(otherFresh).replace("rvUploaded = 0", "rvUploaded = 1") +
                                    "\nrvRealm = \"us.logon.worldofwarcraft.com\";");
        QCOMPARE(read(uncheckedAccount), uncheckedFresh);

        // Every install unchecked: none is read, not even the one Launch would start, and the run says why.
        lv::storeInstallChoices(mWorld->settings, {{gamePath("Wow.exe"), false},
                                                   {unchecked.filePath("Wow.exe"), false},
                                                   {classic + "/WowClassic.exe", false}});
        QSignalSpy ended(&run(), &LVUploadRun::runEnded);
        run().upload(); // the button waits for the retest after the upload above
        QVERIFY(!ended.isEmpty() || ended.wait());
        const LVUploadOutcome none = ended.first().first().value<LVUploadOutcome>();
        QVERIFY(none.failed);
        QVERIFY2(none.runError.startsWith("No copy of the game is checked"), qPrintable(none.runError));
    }

    void realmCheckFindsTheFirstAcceptedRealmInTheListsOrder_data() {
        QTest::addColumn<QByteArray>("realmList"); // null: no file
        QTest::addColumn<QStringList>("accepted");
        QTest::addColumn<QString>("expected"); // null: none
        const QStringList alphaBeta{"alpha", "beta"};
        QTest::newRow("list order, not file order")
            << QByteArray("beta\nset realmlist \xC3\x86rdal") << QStringList{"Ærdal", "beta"} << "Ærdal";
        QTest::newRow("only the second, inside a longer word")
            << QByteArray("set realmlist xbeta.eu") << alphaBeta << "beta";
        QTest::newRow("letter case differs") << QByteArray("Alpha ALPHA") << alphaBeta << QString();
        QTest::newRow("empty name passed over") << QByteArray("beta") << QStringList{"", "beta"} << "beta";
        QTest::newRow("not UTF-8") << QByteArray("set realmlist alpha\xC0\x80") << alphaBeta << QString();
        QTest::newRow("no file") << QByteArray() << alphaBeta << QString();
    }
    void realmCheckFindsTheFirstAcceptedRealmInTheListsOrder() {
        QFETCH(QByteArray, realmList);
        QFETCH(QStringList, accepted);
        QFETCH(QString, expected);
        if (realmList.isNull())
            QVERIFY(QFile::remove(gamePath(kRealmList)));
        else
            write(gamePath(kRealmList), realmList);
        mWorld->settings.setValue(kValidRealmsKey, accepted);
        LVBusRecorder bus;

        QCOMPARE(mDelegate->install().checkSupportedRealms(), !expected.isNull());
        QCOMPARE(mDelegate->install().realm(), expected);
        const QString checking = "Checking for supported realms…", none = "No valid realm found.";
        QCOMPARE(bus.messages, (QStringList{checking, expected.isNull() ? none : "Found valid realm: " + expected}));

        // A failing check keeps the realm found before, and says "No valid realm found." only while there is none.
        write(gamePath(kRealmList), "set realmlist gamma\n");
        QVERIFY(!mDelegate->install().checkSupportedRealms());
        QCOMPARE(mDelegate->install().realm(), expected);
        QCOMPARE(bus.messages.mid(2), (expected.isNull() ? QStringList{checking, none} : QStringList{checking}));
    }

    // A run refused before it starts, or one whose sign-in is still to come, changes nothing in the game.
    void refusalsChangeNothing_data() {
        QTest::addColumn<int>("uploadState");
        QTest::addColumn<bool>("gameRunning");
        QTest::addColumn<int>("accountStatus");
        QTest::addColumn<QByteArray>("realmList"); // empty: the sample game's
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("waiting for sign-in") << 1 << false << 0 << QByteArray() << QStringList();
        QTest::newRow("game running") << 0 << true << 0 << QByteArray() << QStringList();
        QTest::newRow("throttled") << 0 << false << 2 << QByteArray()
                                   << QStringList{"error: Invalid Lorvane credentials",
                                                  "The site takes no new upload for about a minute."};
        QTest::newRow("rejected") << 0 << false << 1 << QByteArray()
                                  << QStringList{"error: Invalid Lorvane credentials",
                                                 "The site refused your password: sign in again, then press Upload."};
        QTest::newRow("unsupported realm") << 0 << false << 0 << QByteArray("set realmlist private.example.org\n")
                                           << QStringList{"Checking for supported realms…", "No valid realm found.",
                                                          "error: This version of WoW uses an unsupported realm", ""};
    }
    void refusalsChangeNothing() {
        QFETCH(int, uploadState);
        QFETCH(bool, gameRunning);
        QFETCH(int, accountStatus);
        QFETCH(QByteArray, realmList);
        QFETCH(QStringList, messages);
        if (uploadState == LVUploadRun::UploadWaitingForSignIn)
            run().waitForSignIn();
        if (gameRunning)
            mWorld->processMonitor.launch(QStringLiteral("Wow"));
        if (accountStatus != 0)
            mWorld->answerCredentialTest(QByteArray::number(accountStatus));
        if (!realmList.isEmpty())
            write(gamePath(kRealmList), realmList);
        uploadButton()->setEnabled(true);
        LVBusRecorder bus;
        mDelegate->upload();
        QCOMPARE(bus.messages, messages);
        QCOMPARE(int(run().uploadState()), uploadState);
        QVERIFY(uploadButton()->isEnabled());
        QCOMPARE(read(savedVariables(1)), mFresh);
    }

    // Signing in resumes the run that waited for it, or, cancelled, drops it.
    void signingInResumesOrDropsTheRun_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("OK") << "okButton";
        QTest::newRow("Cancel") << "cancelButton";
    }
    void signingInResumesOrDropsTheRun() {
        QFETCH(QString, button);
        mWorld->credentialStore.password.reset();
        mDelegate->upload();
        QCOMPARE(run().uploadState(), LVUploadRun::UploadWaitingForSignIn);
        auto *sheet = mWorld->find<LVAuthenticationController>();
        QVERIFY(sheet && sheet->isVisible());
        sheet->findChild<QLineEdit *>("passwordField")->setText(QString::fromUtf8(LVTestSite::kPassword));
        LVBusRecorder bus;
        QSignalSpy ended(&run(), &LVUploadRun::runEnded);
        sheet->findChild<QPushButton *>(button)->click();

        if (button == "cancelButton") {
            QCOMPARE(run().uploadState(), LVUploadRun::UploadIdle);
            QVERIFY(bus.messages.isEmpty());
            QCOMPARE(read(savedVariables(1)), mFresh);
            return;
        }
        // The run starts, then the credential test; the run ends when the site has answered.
        QVERIFY(ended.wait(10000));
        QCOMPARE(bus.messages.first(), QStringLiteral("Checking for supported realms…"));
        QVERIFY(bus.messages.indexOf("Authentication succeeded.") < bus.messages.indexOf(kSuccess));
        QCOMPARE(read(savedVariables(1)), mFlagged);
    }
};

QTEST_MAIN(TestUploadRun)
#include "TestUploadRun.moc"
