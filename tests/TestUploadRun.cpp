#include "LVBusRecorder.h"
#include "LVDelegateProbe.h"
#include "LVSampleGame.h"
#include "LVTestWorld.h"
#include "auth/LVAuthenticationController.h"
#include "auth/md5.h"
#include "net/UploadBody.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The upload, piece by piece and as the Upload button's whole road, against the reference site: a
// sample game with two accounts, the second already uploaded, and one of the listed cache files missing.
class TestUploadRun : public QObject {
    Q_OBJECT

    static constexpr char kMissing[] = "creaturecache.wdb";
    static constexpr char kRealmList[] = "Data/enUS/realmlist.wtf";
    QTemporaryDir mGame;
    std::unique_ptr<LVTestWorld> mWorld;
    LVApplicationDelegate *mDelegate = nullptr;
    QByteArray mFresh;   // ACCOUNT1's saved variables before the run
    QByteArray mFlagged; // and as the game gets them back
    QString mBodyCopy;   // of the last upload

    QString gamePath(const QString &relative) const { return mGame.filePath(relative); }
    QString savedVariables(int account) const {
        return gamePath(QString::fromStdString(LVSampleGame::savedVariablesPath(account).string()));
    }
    static QByteArray read(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void write(const QString &path, const QByteArray &bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QPushButton *uploadButton() const { return mWorld->find<QPushButton>("uploadButton"); }
    // One account's request, as the run sends it; the body is made, so the copies go at once.
    void post(const QString &account) {
        mDelegate->postFilesWithUsername(LVTestSite::kUser, md5HexString(LVTestSite::kPassword), account);
        mDelegate->cleanup();
    }
    QStringList leftovers() const {
        QStringList found;
        for (QDirIterator it(mGame.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            if (const QString path = it.next(); path.endsWith(".gz") || path.endsWith(".rename"))
                found << path;
        return found;
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

        mWorld = std::make_unique<LVTestWorld>();
        mDelegate = &mWorld->makeDelegateWithWindow();
        mWorld->startSite(QString(), 0);
        mWorld->settings.setValue(kWowApplicationPathKey, gamePath("Wow.exe"));
        mDelegate->gatherAccounts();
        mDelegate->gatherLocales();
        mDelegate->validateUserInterface();
    }

    void cleanup() { mWorld.reset(); }

    void requestBytesAreExact() {
        // The user name is percent-encoded, an absent one sent empty; the password's hex form stays.
        QCOMPARE(uploadQuery("a&b #c=dë", "0aff", true), "username=a%26b%20%23c%3Dd%C3%AB&password=0aff&mac");
        QCOMPARE(uploadQuery(QString(), "0aff", false), "username=&password=0aff&mac&ignorecharacterdata");

        // The controller's address, cut to 32 bits, in upper case.
        const QString boundary = uploadBoundary(reinterpret_cast<const void *>(quintptr(0x7ffd00ab12cdULL)));
        QByteArray body;
        appendUploadPart(body, 0, boundary, "+Lorvane_Harvex.lua.gz", "AB");
        appendUploadPart(body, 1, boundary, "ité.wdb.gz", QByteArray("\0\r\n", 3));
        appendUploadEnd(body, boundary);
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
        LVDelegateProbe::setVerboseLogging(*mDelegate, verbose);
        mWorld->settings.setValue(kCharacterDataKey, !verbose);
        LVBusRecorder bus;
        QSignalSpy finished(mDelegate, &LVApplicationDelegate::uploadRequestFinished);

        uploadButton()->click();

        const QString url =
            mWorld->site->url("/upload?username=alice&password=" + md5HexString(LVTestSite::kPassword) + "&mac") +
            (verbose ? "&ignorecharacterdata" : "");
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
        add(verbose && !corrupt, {"Url is…", url, "Initiating POST request to: " + url});
        add(!corrupt, {"Cleaning up…", ""});
        add(true, {"----------\nUsing account ACCOUNT2"});
        add(verbose, {"Checking for uploaded flag…"});
        add(true, {"Nothing to upload to the server", ""});
        add(!corrupt, {"Upload successful. You can upload again after 1 minute."});
        QCOMPARE(bus.messages, expected);
        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadIdle));
        QCOMPARE(uploadButton()->isEnabled(), corrupt);

        // Nothing temporary is left; the game gets the flag set and no realm line, or, when nothing
        // was sent, its file exactly as it was, so that the addon keeps its data for the next upload.
        QCOMPARE(leftovers(), QStringList());
        QCOMPARE(read(savedVariables(1)), corrupt ? mFresh : mFlagged);
        if (corrupt) {
            QVERIFY(!mDelegate->accountStatusTimer());
            QVERIFY(mWorld->site->server().uploads().empty());
            return;
        }

        // The site got ACCOUNT1 alone: parts file0, file1, … of the saved variables with the realm
        // line, then the cache files there are.
        QVERIFY(finished.count() == 1 || finished.wait(10000));
        QCOMPARE(finished.first().at(1).toBool(), true);
        const auto uploads = mWorld->site->server().uploads();
        QCOMPARE(uploads.size(), size_t(1));
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
            QCOMPARE(read(QFile::decodeName(parts[i].storedPath.c_str())),
                     i ? read(gamePath("Cache/WDB/enUS/" + sent[i]))
                       : mFlagged + "\nrvRealm = \"eu.logon.worldofwarcraft.com\";");
        }
        QVERIFY(read(mBodyCopy).endsWith(uploadBoundary(mDelegate).toLatin1() + "--\r\n"));
        if (verbose)
            QCOMPARE(bus.messages.last(),
                     "Upload complete. Result =  " + QString::fromStdString(uploads.front().receipt()));

        // The site takes no upload for a minute; then the credentials are tested again, and the
        // button comes back.
        QVERIFY(mDelegate->accountStatusTimer() && mDelegate->accountStatusTimer()->isActive());
        QCOMPARE(mDelegate->accountStatusTimer()->interval(), 65000);
        mDelegate->retestAuthentication(mDelegate->accountStatusTimer());
        QCOMPARE(mDelegate->accountStatus(), qint32(0));
        QVERIFY(uploadButton()->isEnabled());
    }

    void compressionFailureEndsTheAccountAndTheRunGoesOn() {
        QVERIFY(QDir().mkpath(gamePath("Cache/WDB/enUS/questcache.wdb.gz/in the way")));
        LVBusRecorder bus;
        uploadButton()->click();

        QCOMPARE(bus.errorMessages().size(), 1);
        QVERIFY2(bus.errorMessages().first().contains("questcache.wdb.gz"), qPrintable(bus.errorMessages().first()));
        QVERIFY(bus.messages.contains("Nothing to upload to the server")); // ACCOUNT2 followed
        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadIdle));
        QVERIFY(uploadButton()->isEnabled());
        QCOMPARE(read(savedVariables(1)), mFresh);
        QCOMPARE(leftovers(), QStringList());
    }

    void overlappingRequestsKeepTheirOwnReplies() {
        LVDelegateProbe::setVerboseLogging(*mDelegate, true);
        LVBusRecorder bus;
        QSignalSpy finished(mDelegate, &LVApplicationDelegate::uploadRequestFinished);
        post("ACCOUNT1");
        post("ACCOUNT2");
        QCOMPARE(mDelegate->uploadsInFlight(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 10000);

        const QStringList completions = bus.messages.filter("Upload complete.");
        QStringList receipts;
        for (const LVSiteUpload &upload : mWorld->site->server().uploads())
            receipts << "Upload complete. Result =  " + QString::fromStdString(upload.receipt());
        QCOMPARE(receipts.size(), 2);
        QCOMPARE(completions.size(), 2);
        QVERIFY(completions.contains(receipts[0]) && completions.contains(receipts[1]));
        QVERIFY(bus.errorMessages().isEmpty());
    }

    void failedRequestsAreReported_data() {
        QTest::addColumn<bool>("siteDown");
        QTest::addColumn<QString>("reason");
        QTest::newRow("site answers 500") << false << "the site answered 500";
        QTest::newRow("site down") << true << "Connection refused";
    }

    void failedRequestsAreReported() {
        QFETCH(bool, siteDown);
        QFETCH(QString, reason);
        if (siteDown)
            mWorld->site->server().stop();
        else
            mWorld->site->server().setResponse("POST", "/upload", 500, "out of order\n");
        LVBusRecorder bus;
        QSignalSpy finished(mDelegate, &LVApplicationDelegate::uploadRequestFinished);
        uploadButton()->click();
        QVERIFY(finished.wait(10000));

        QCOMPARE(finished.first().at(1).toBool(), false);
        // The data did not reach the site: the addon keeps it for the next upload.
        QCOMPARE(read(savedVariables(1)), mFresh);
        QCOMPARE(bus.errorMessages().size(), 1);
        QVERIFY2(bus.errorMessages().first().startsWith("Upload failed for account ACCOUNT1: ") &&
                     bus.errorMessages().first().contains(reason),
                 qPrintable(bus.errorMessages().first()));
        QCOMPARE(mDelegate->uploadsInFlight(), 0);
    }

    // X's restore copy goes over it; Y's is missing, so Y stays; Z.lua.RENAME is no restore copy; gone.gz
    // is gone already; a folder stands where W's restore copy should go. Only the log hears of failures.
    void cleanupRestoresAndRemoves() {
        QVERIFY(QDir(mGame.path()).mkpath("W.lua/a folder"));
        for (const char *name : {"X.lua", "X.lua.rename", "X.lua.gz", "Y.lua", "Z.lua", "Z.lua.RENAME", "W.lua.rename"})
            write(gamePath(name), name);
        QStringList files;
        for (const char *name : {"X.lua.rename", "X.lua.gz", "Y.lua.rename", "Z.lua.RENAME", "gone.gz", "W.lua.rename"})
            files << gamePath(name);
        LVDelegateProbe::setFilesToCleanup(*mDelegate, files);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Restore copy .*Y.lua.rename is missing"));
        QTest::ignoreMessage(QtWarningMsg, qPrintable("Unable to cleanup file: " + gamePath("gone.gz") + "."));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Unable to rename file: .*W.lua.rename to .*W.lua\\."));
        LVBusRecorder bus;

        mDelegate->cleanup();

        QCOMPARE(read(gamePath("X.lua")), "X.lua.rename");
        for (const char *kept : {"Y.lua", "Z.lua", "W.lua.rename"})
            QCOMPARE(read(gamePath(kept)), kept);
        for (const char *gone : {"X.lua.rename", "X.lua.gz", "Z.lua.RENAME"})
            QVERIFY2(!QFile::exists(gamePath(gone)), gone);
        QCOMPARE(mDelegate->filesToCleanup(), std::optional<QStringList>(QStringList()));
        QVERIFY(bus.messages.isEmpty());
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

        QCOMPARE(mDelegate->checkSupportedRealms(), !expected.isNull());
        QCOMPARE(mDelegate->realm(), expected);
        const QString checking = "Checking for supported realms…";
        QCOMPARE(bus.messages, (QStringList{checking, expected.isNull() ? "No valid realm found."
                                                                        : "Found valid realm: " + expected}));

        // A failing check keeps the realm found before, and says "No valid realm found." only while there is none.
        write(gamePath(kRealmList), "set realmlist gamma\n");
        QVERIFY(!mDelegate->checkSupportedRealms());
        QCOMPARE(mDelegate->realm(), expected);
        QCOMPARE(bus.messages.mid(2),
                 (expected.isNull() ? QStringList{checking, "No valid realm found."} : QStringList{checking}));
    }

    void refusalsChangeNothing_data() {
        QTest::addColumn<int>("uploadState");
        QTest::addColumn<bool>("gameRunning");
        QTest::addColumn<int>("accountStatus");
        QTest::addColumn<QByteArray>("realmList"); // empty: the sample game's
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("waiting for sign-in") << 1 << false << 0 << QByteArray() << QStringList();
        QTest::newRow("game running") << 0 << true << 0 << QByteArray() << QStringList();
        QTest::newRow("throttled") << 0 << false << 2 << QByteArray()
                                   << QStringList{"error: Invalid Lorvane credentials"};
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
        LVDelegateProbe::setUploadState(*mDelegate, uploadState);
        LVDelegateProbe::setWoWIsRunning(*mDelegate, gameRunning);
        LVDelegateProbe::setAccountStatus(*mDelegate, accountStatus);
        if (!realmList.isEmpty())
            write(gamePath(kRealmList), realmList);
        uploadButton()->setEnabled(true);
        LVBusRecorder bus;
        mDelegate->upload();
        QCOMPARE(bus.messages, messages);
        QCOMPARE(mDelegate->uploadState(), uploadState);
        QVERIFY(uploadButton()->isEnabled());
        QCOMPARE(read(savedVariables(1)), mFresh);
    }

    void signingInResumesOrDropsTheRun_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("OK") << "okButton";
        QTest::newRow("Cancel") << "cancelButton";
    }

    void signingInResumesOrDropsTheRun() {
        QFETCH(QString, button);
        mWorld->credentialStore.password.reset();
        mDelegate->upload();
        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadWaitingForSignIn));
        auto *sheet = mWorld->find<LVAuthenticationController>();
        QVERIFY(sheet && sheet->isVisible());

        sheet->findChild<QLineEdit *>("passwordField")->setText(QString::fromUtf8(LVTestSite::kPassword));
        LVBusRecorder bus;
        sheet->findChild<QPushButton *>(button)->click();

        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadIdle));
        if (button == "cancelButton") {
            QVERIFY(bus.messages.isEmpty());
            QCOMPARE(read(savedVariables(1)), mFresh);
            return;
        }
        // The run, then the credential test; the site's throttle window is over at once.
        QCOMPARE(bus.messages.first(), QStringLiteral("Checking for supported realms…"));
        QCOMPARE(
            bus.messages.mid(bus.messages.size() - 3),
            (QStringList{"Upload successful. You can upload again after 1 minute.", "Authentication succeeded.", ""}));
    }
};

QTEST_MAIN(TestUploadRun)
#include "TestUploadRun.moc"
