#include "LVBusRecorder.h"
#include "LVDelegateProbe.h"
#include "LVSampleGame.h"
#include "LVTestSite.h"
#include "LVTestWorld.h"
#include "app/LVMainWindow.h"
#include "auth/LVAuthenticationController.h"
#include "auth/md5.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The Upload button's whole road, against the reference site: a sample game with two accounts,
// the second already uploaded.
class TestUploadRun : public QObject {
    Q_OBJECT

    QTemporaryDir mGameDir;
    std::unique_ptr<LVTestWorld> mWorld;
    std::unique_ptr<LVTestSite> mSite;
    std::unique_ptr<LVMainWindow> mWindow;
    LVApplicationDelegate *mDelegate = nullptr;
    QByteArray mFreshData; // ACCOUNT1's saved variables before the run

    QString gamePath(const QString &relative) const { return mGameDir.filePath(relative); }
    QString savedVariables(int account) const {
        return gamePath(QString::fromStdString(LVSampleGame::savedVariablesPath(account).string()));
    }
    static QByteArray read(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void write(const QString &path, const QByteArray &bytes) {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
    }
    QPushButton *uploadButton() const { return mWindow->findChild<QPushButton *>("uploadButton"); }
    QStringList leftoverTemporaryFiles() const {
        QStringList found;
        QDirIterator it(mGameDir.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.endsWith(QLatin1String(".gz")) || path.endsWith(QLatin1String(".rename")))
                found << path;
        }
        return found;
    }
    // The messages of one account that had new data and sound cache files.
    QStringList postedAccount(const QString &account, bool verbose) const {
        const QString url = mSite->url(QStringLiteral("/upload?username=alice&password=%1&mac")
                                           .arg(md5HexString(QByteArray(LVTestSite::kPassword))));
        QStringList messages{"----------\nUsing account " + account};
        if (verbose)
            messages << "Checking for uploaded flag…"
                     << "rvUpload == 1"
                     << "Validating cache files…";
        messages << "Validating data…";
        if (verbose)
            for (const std::string &name : LVSampleGame::cacheFileNames())
                messages << "Validating cache file: " + QString::fromStdString(name);
        messages << "Initiating upload…";
        if (verbose)
            messages << "Url is…" << url << "Initiating POST request to: " + url;
        return messages << "Cleaning up…"
                        << "";
    }
    QStringList uploadedAccount(const QString &account, bool verbose) const {
        QStringList messages{"----------\nUsing account " + account};
        if (verbose)
            messages << "Checking for uploaded flag…";
        return messages << "Nothing to upload to the server";
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        QDir(mGameDir.path()).removeRecursively();
        QDir().mkpath(mGameDir.path());
        LVSampleGame::writeSampleGame(QFile::encodeName(mGameDir.path()).toStdString(), 2, 0.05);
        write(savedVariables(2), read(savedVariables(2)).replace("rvUploaded = 0", "rvUploaded = 1"));
        mFreshData = read(savedVariables(1));

        mWorld = std::make_unique<LVTestWorld>();
        mSite = std::make_unique<LVTestSite>(QString(), 0);
        mWorld->settings.setValue(kWowApplicationPathKey, gamePath("Wow.exe"));
        mWorld->settings.setValue(kUsernameKey, QString::fromLatin1(LVTestSite::kUser));
        mWorld->credentialStore.password = QByteArray(LVTestSite::kPassword);
        mSite->configure(mWorld->settings);
        mWindow = std::make_unique<LVMainWindow>();
        mDelegate = &mWorld->makeDelegate();
        mWindow->connectTo(*mDelegate);
        mDelegate->gatherAccounts();
        mDelegate->gatherLocales();
        mDelegate->validateUserInterface();
        QVERIFY(mDelegate->accounts().has_value() && mDelegate->accounts()->size() == 2);
    }

    void cleanup() {
        mWindow.reset();
        mWorld.reset();
        mSite.reset();
    }

    void uploadSendsEveryAccountWithNewData_data() {
        QTest::addColumn<bool>("verbose");
        QTest::newRow("quiet") << false;
        QTest::newRow("verbose") << true;
    }

    void uploadSendsEveryAccountWithNewData() {
        QFETCH(bool, verbose);
        LVDelegateProbe::setVerboseLogging(*mDelegate, verbose);
        LVBusRecorder bus;
        QSignalSpy finished(mDelegate, &LVApplicationDelegate::uploadRequestFinished);

        uploadButton()->click();

        QStringList expected{"Checking for supported realms…", "Found valid realm: eu.logon.worldofwarcraft.com"};
        for (const QString &account : *mDelegate->accounts())
            expected << (account == "ACCOUNT1" ? postedAccount(account, verbose) : uploadedAccount(account, verbose));
        expected << ""
                 << "Upload successful. You can upload again after 1 minute.";
        QCOMPARE(bus.messages, expected);
        QVERIFY(!uploadButton()->isEnabled());
        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadIdle));
        QVERIFY(mDelegate->accountStatusTimer() && mDelegate->accountStatusTimer()->isActive());
        QCOMPARE(mDelegate->accountStatusTimer()->interval(), 65000);

        // The game keeps the flag set, without the realm line; nothing temporary is left.
        QByteArray flagged = mFreshData;
        flagged.replace(mFreshData.indexOf("rvUploaded = 0"), 14, "rvUploaded = 1");
        QCOMPARE(read(savedVariables(1)), flagged);
        QCOMPARE(leftoverTemporaryFiles(), QStringList());

        // The site got ACCOUNT1 alone: the saved variables with the realm line, then the cache files.
        QVERIFY(finished.count() == 1 || finished.wait(10000));
        QCOMPARE(finished.first().at(1).toBool(), true);
        const auto uploads = mSite->server().uploads();
        QCOMPARE(uploads.size(), size_t(1));
        const auto &parts = uploads.front().parts;
        QCOMPARE(parts.size(), size_t(1 + LVSampleGame::cacheFileNames().size()));
        QCOMPARE(read(QFile::decodeName(parts.front().storedPath.c_str())),
                 flagged + "\nrvRealm = \"eu.logon.worldofwarcraft.com\";");
        for (size_t i = 1; i < parts.size(); ++i)
            QCOMPARE(read(QFile::decodeName(parts[i].storedPath.c_str())),
                     read(gamePath("Cache/WDB/enUS/" + QString::fromStdString(LVSampleGame::cacheFileNames()[i - 1]))));
        if (verbose)
            QCOMPARE(bus.messages.last(),
                     QStringLiteral("Upload complete. Result =  ") + QString::fromStdString(uploads.front().receipt()));

        // A minute later the credentials are tested again, and the button comes back.
        mDelegate->retestAuthentication(mDelegate->accountStatusTimer());
        QCOMPARE(mDelegate->accountStatus(), qint32(0));
        QVERIFY(uploadButton()->isEnabled());
    }

    void corruptCacheFileStopsTheAccount() {
        const QString itemCache = gamePath("Cache/WDB/enUS/itemcache.wdb");
        write(itemCache, read(itemCache).left(30));
        LVBusRecorder bus;
        mDelegate->upload();

        QVERIFY(bus.errorMessages() ==
                (QStringList{"Invalid cache file: itemcache.wdb", "One or more .wdb cache files are corrupt"}));
        QVERIFY(!bus.messages.contains("Upload successful. You can upload again after 1 minute."));
        QVERIFY(uploadButton()->isEnabled());
        QVERIFY(!mDelegate->accountStatusTimer());
        QCOMPARE(mDelegate->uploadsInFlight(), 0);
        QVERIFY(mSite->server().uploads().empty());

        // The account's restore copy waits for the next clean-up; leaving the program is the last one.
        QVERIFY(read(savedVariables(1)).contains("rvRealm"));
        mWorld->delegate.reset();
        QCOMPARE(leftoverTemporaryFiles(), QStringList());
        QVERIFY(!read(savedVariables(1)).contains("rvRealm"));
        QVERIFY(read(savedVariables(1)).contains("rvUploaded = 1"));
    }

    void compressionFailureEndsTheAccountAndTheRunGoesOn() {
        QVERIFY(QFile::link("/dev/full", gamePath("Cache/WDB/enUS/questcache.wdb.gz")));
        LVBusRecorder bus;
        mDelegate->upload();

        QCOMPARE(bus.errorMessages().size(), 1);
        QVERIFY2(bus.errorMessages().first().contains("questcache.wdb.gz"), qPrintable(bus.errorMessages().first()));
        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadIdle));
        QVERIFY(uploadButton()->isEnabled());
        QVERIFY(!read(savedVariables(1)).contains("rvRealm"));
        QCOMPARE(leftoverTemporaryFiles(), QStringList());
        QCOMPARE(mDelegate->uploadsInFlight(), 0);
    }

    void unsupportedRealmProcessesNoAccount() {
        write(gamePath("Data/enUS/realmlist.wtf"), "set realmlist private.example.org\n");
        LVBusRecorder bus;
        mDelegate->upload();
        QCOMPARE(bus.messages, (QStringList{"Checking for supported realms…", "No valid realm found.",
                                            "error: This version of WoW uses an unsupported realm", ""}));
        QVERIFY(uploadButton()->isEnabled());
        QCOMPARE(read(savedVariables(1)), mFreshData);
    }

    void entryChecksRefuseQuietlyOrWithOneError_data() {
        QTest::addColumn<int>("uploadState");
        QTest::addColumn<bool>("gameRunning");
        QTest::addColumn<int>("accountStatus");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("waiting for sign-in") << 1 << false << 0 << QStringList();
        QTest::newRow("game running") << 0 << true << 0 << QStringList();
        QTest::newRow("throttled") << 0 << false << 2 << QStringList{"error: Invalid Lorvane credentials"};
        QTest::newRow("rejected") << 0 << false << 1 << QStringList{"error: Invalid Lorvane credentials"};
    }

    void entryChecksRefuseQuietlyOrWithOneError() {
        QFETCH(int, uploadState);
        QFETCH(bool, gameRunning);
        QFETCH(int, accountStatus);
        QFETCH(QStringList, messages);
        LVDelegateProbe::setUploadState(*mDelegate, uploadState);
        LVDelegateProbe::setWoWIsRunning(*mDelegate, gameRunning);
        LVDelegateProbe::setAccountStatus(*mDelegate, accountStatus);
        uploadButton()->setEnabled(true);
        LVBusRecorder bus;
        mDelegate->upload();
        QCOMPARE(bus.messages, messages);
        QCOMPARE(mDelegate->uploadState(), uploadState);
        QVERIFY(uploadButton()->isEnabled());
        QCOMPARE(read(savedVariables(1)), mFreshData);
    }

    void signingInResumesTheWaitingRun() {
        mWorld->credentialStore.password.reset();
        mDelegate->upload();
        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadWaitingForSignIn));
        auto *sheet = mWindow->findChild<LVAuthenticationController *>();
        QVERIFY(sheet && sheet->isVisible());

        sheet->findChild<QLineEdit *>("passwordField")->setText(QString::fromUtf8(LVTestSite::kPassword));
        LVBusRecorder bus;
        sheet->findChild<QPushButton *>("okButton")->click();

        QCOMPARE(bus.messages.first(), QStringLiteral("Checking for supported realms…"));
        QVERIFY(bus.messages.contains("Upload successful. You can upload again after 1 minute."));
        // The credential test follows the run; the site throttles the account it just took data from,
        // unless its window is over.
        QCOMPARE(bus.messages.mid(bus.messages.size() - 2), (QStringList{"Authentication succeeded.", ""}));
        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadIdle));
    }

    void cancellingTheSignInDropsTheRun() {
        mWorld->credentialStore.password.reset();
        mDelegate->upload();
        LVBusRecorder bus;
        mWindow->findChild<LVAuthenticationController *>()->findChild<QPushButton *>("cancelButton")->click();
        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadIdle));
        QVERIFY(bus.messages.isEmpty());
        QCOMPARE(read(savedVariables(1)), mFreshData);
    }
};

QTEST_MAIN(TestUploadRun)
#include "TestUploadRun.moc"
