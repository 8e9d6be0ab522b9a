#include "LVBusRecorder.h"
#include "LVDelegateProbe.h"
#include "LVGameFolder.h"
#include "LVTestSite.h"
#include "LVTestWorld.h"
#include "auth/md5.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtTest>

// Uploads to the reference site on loopback: what its multipart parser received is what counts.
class TestUploadTransport : public QObject {
    Q_OBJECT

    std::unique_ptr<LVGameFolder> mGame;
    std::unique_ptr<LVTestWorld> mWorld;
    std::unique_ptr<LVTestSite> mSite;
    LVApplicationDelegate *mDelegate = nullptr;
    const QString mHash = md5HexString(QByteArray(LVTestSite::kPassword));

    const QByteArray mSavedVariables = "rvUploaded = 1\nrvData = { [1] = \"é\" }\nrvRealm = \"eu\";";
    const QByteArray mItemCache = QByteArray("WDBI").repeated(2000);
    const QByteArray mQuestCache = QByteArray(70000, '\x07');

    bool waitForRequests(int count) {
        QSignalSpy finished(mDelegate, &LVApplicationDelegate::uploadRequestFinished);
        while (finished.count() < count)
            if (!finished.wait(10000))
                return false;
        return true;
    }

    QByteArray storedFile(const LVSiteUploadPart &part) const {
        QFile file(QFile::decodeName(part.storedPath.c_str()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        mGame = std::make_unique<LVGameFolder>();
        mGame->addAccount(QStringLiteral("ALPHA")).addLocale(QStringLiteral("enUS"));
        mGame->writeFile(QStringLiteral("WTF/Account/ALPHA/SavedVariables/+Lorvane_Harvex.lua"), mSavedVariables);
        mGame->writeFile(QStringLiteral("Cache/WDB/enUS/itemcache.wdb"), mItemCache);
        mGame->writeFile(QStringLiteral("Cache/WDB/enUS/questcache.wdb"), mQuestCache);
        mWorld = std::make_unique<LVTestWorld>();
        mSite = std::make_unique<LVTestSite>();
        mWorld->settings.setValue(kWowApplicationPathKey, mGame->applicationPath());
        mWorld->settings.setValue(kCharacterDataKey, true);
        mWorld->settings.setValue(
            kFilesToUploadKey,
            QStringList{QStringLiteral("%WoW%/WTF/Account/%account_name%/SavedVariables/+Lorvane_Harvex.lua"),
                        QStringLiteral("%WoW%/Cache/WDB/%locale%/itemcache.wdb"),
                        QStringLiteral("%WoW%/Cache/WDB/%locale%/missing.wdb"),
                        QStringLiteral("%WoW%/Cache/WDB/%locale%/questcache.wdb")});
        mSite->configure(mWorld->settings);
        mDelegate = &mWorld->makeDelegate();
        mDelegate->gatherLocales();
    }

    void cleanup() {
        mWorld.reset();
        mSite.reset();
        mGame.reset();
    }

    void siteReceivesEveryFileInOrder() {
        QVERIFY(
            mDelegate->postFilesWithUsername(QString::fromLatin1(LVTestSite::kUser), mHash, QStringLiteral("ALPHA")));
        QVERIFY(waitForRequests(1));

        const auto uploads = mSite->server().uploads();
        QCOMPARE(uploads.size(), size_t(1));
        const LVSiteUpload &upload = uploads.front();
        QCOMPARE(upload.user, std::string(LVTestSite::kUser));
        QVERIFY(upload.flags == std::vector<std::string>{"mac"});
        QCOMPARE(upload.parts.size(), size_t(3));
        const QList<QByteArray> sources{mSavedVariables, mItemCache, mQuestCache};
        const QStringList names{"+Lorvane_Harvex.lua.gz", "itemcache.wdb.gz", "questcache.wdb.gz"};
        for (int i = 0; i < 3; ++i) {
            const LVSiteUploadPart &part = upload.parts.at(size_t(i));
            QCOMPARE(QString::fromStdString(part.fieldName), QStringLiteral("file%1").arg(i));
            QCOMPARE(QString::fromStdString(part.fileName), names.at(i));
            QCOMPARE(storedFile(part), sources.at(i));
        }
        // The missing file left nothing behind; the copies made are queued for the clean-up.
        QVERIFY(!QFile::exists(mGame->filePath(QStringLiteral("Cache/WDB/enUS/missing.wdb.gz"))));
        QCOMPARE(mDelegate->filesToCleanup().value_or(QStringList()).size(), 3);

        QFile copy(QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)).filePath("post.html"));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QVERIFY(copy.readAll().endsWith("--\r\n"));
    }

    void withoutCharacterDataTheSiteIsToldSo() {
        mWorld->settings.setValue(kCharacterDataKey, false);
        mDelegate->postFilesWithUsername(QString::fromLatin1(LVTestSite::kUser), mHash, QStringLiteral("ALPHA"));
        QVERIFY(waitForRequests(1));
        QVERIFY((mSite->server().uploads().front().flags == std::vector<std::string>{"mac", "ignorecharacterdata"}));
    }

    void verboseMessagesComeInOrder() {
        LVDelegateProbe::setVerboseLogging(*mDelegate, true);
        LVBusRecorder bus;
        mDelegate->postFilesWithUsername(QString::fromLatin1(LVTestSite::kUser), mHash, QStringLiteral("ALPHA"));
        QVERIFY(waitForRequests(1));

        const QString url = mSite->url(QStringLiteral("/upload?username=alice&password=%1&mac").arg(mHash));
        const std::string receipt = mSite->server().uploads().front().receipt();
        QCOMPARE(bus.messages,
                 (QStringList{QStringLiteral("Url is…"), url, QStringLiteral("Initiating POST request to: ") + url,
                              QStringLiteral("Upload complete. Result =  ") + QString::fromStdString(receipt)}));
    }

    void overlappingRequestsKeepTheirOwnReplies() {
        mGame->addAccount(QStringLiteral("BETA"));
        mGame->writeFile(QStringLiteral("WTF/Account/BETA/SavedVariables/+Lorvane_Harvex.lua"), "beta");
        LVDelegateProbe::setVerboseLogging(*mDelegate, true);
        LVBusRecorder bus;
        mDelegate->postFilesWithUsername(QString::fromLatin1(LVTestSite::kUser), mHash, QStringLiteral("ALPHA"));
        mDelegate->postFilesWithUsername(QString::fromLatin1(LVTestSite::kUser), mHash, QStringLiteral("BETA"));
        QCOMPARE(mDelegate->uploadsInFlight(), 2);
        QVERIFY(waitForRequests(2));

        QStringList completions;
        for (const QString &message : bus.messages)
            if (message.startsWith(QLatin1String("Upload complete.")))
                completions << message;
        QCOMPARE(completions.size(), 2);
        for (const LVSiteUpload &upload : mSite->server().uploads())
            QVERIFY(completions.contains(QStringLiteral("Upload complete. Result =  ") +
                                         QString::fromStdString(upload.receipt())));
        QVERIFY(bus.errorMessages().isEmpty());
    }

    void failedRequestsAreReported_data() {
        QTest::addColumn<QString>("postPrefix"); // "<down>": a port nothing listens on
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");

        QTest::newRow("site answers 500") << "/broken?" << 500 << "the site answered 500";
        QTest::newRow("wrong password") << "/upload?" << 0 << "the site answered 401";
        QTest::newRow("site down") << "<down>" << 0 << "Connection refused";
    }

    void failedRequestsAreReported() {
        QFETCH(QString, postPrefix);
        QFETCH(int, status);
        QFETCH(QString, reason);
        QString hash = mHash;
        if (status)
            mSite->server().setResponse("POST", "/broken", status, "out of order\n");
        else if (postPrefix == QLatin1String("/upload?"))
            hash = md5HexString("wrong");
        if (postPrefix == QLatin1String("<down>")) {
            mSite->server().stop();
            mWorld->settings.setValue(kPostURLKey, mSite->url(QStringLiteral("/upload?")));
        } else {
            mWorld->settings.setValue(kPostURLKey, mSite->url(postPrefix));
        }
        LVBusRecorder bus;
        QSignalSpy finished(mDelegate, &LVApplicationDelegate::uploadRequestFinished);
        mDelegate->postFilesWithUsername(QString::fromLatin1(LVTestSite::kUser), hash, QStringLiteral("ALPHA"));
        QVERIFY(finished.wait(10000));

        QCOMPARE(finished.first().at(1).toBool(), false);
        QCOMPARE(bus.errorMessages().size(), 1);
        QVERIFY2(bus.errorMessages().first().startsWith(QLatin1String("Upload failed for account ALPHA: ")) &&
                     bus.errorMessages().first().contains(reason),
                 qPrintable(bus.errorMessages().first()));
        QCOMPARE(mDelegate->uploadsInFlight(), 0);
    }

    void compressionFailureSendsNothing() {
        QVERIFY(QFile::link(QStringLiteral("/dev/full"),
                            mGame->filePath(QStringLiteral("Cache/WDB/enUS/itemcache.wdb.gz"))));
        LVBusRecorder bus;
        QVERIFY(
            !mDelegate->postFilesWithUsername(QString::fromLatin1(LVTestSite::kUser), mHash, QStringLiteral("ALPHA")));
        QCOMPARE(mDelegate->uploadsInFlight(), 0);
        QCOMPARE(bus.errorMessages().size(), 1);
        QVERIFY(bus.errorMessages().first().contains(QLatin1String("itemcache.wdb.gz")));
        QVERIFY(!QFile::exists(mGame->filePath(QStringLiteral("Cache/WDB/enUS/itemcache.wdb.gz"))));
    }
};

QTEST_GUILESS_MAIN(TestUploadTransport)
#include "TestUploadTransport.moc"
