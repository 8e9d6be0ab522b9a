#include "LVBusRecorder.h"
#include "LVDelegateProbe.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "auth/md5.h"
#include "net/UploadBody.h"

#include <QtTest>

// The bytes of an upload, its requests to the reference site on loopback, and the clean-up after it.
// The whole road of a sound upload is the upload run's test.
class TestUploadTransport : public QObject {
    Q_OBJECT

    LVGameFolder mGame;
    std::unique_ptr<LVTestWorld> mWorld;
    LVApplicationDelegate *mDelegate = nullptr;

    QString path(const char *relative) const { return mGame.filePath(QString::fromLatin1(relative)); }
    void post(const QString &account) {
        mDelegate->postFilesWithUsername(LVTestSite::kUser, md5HexString(LVTestSite::kPassword), account);
    }

private slots:
    void init() {
        mWorld = std::make_unique<LVTestWorld>();
        mWorld->startSite();
        mWorld->settings.setValue(kWowApplicationPathKey, mGame.applicationPath());
        mWorld->settings.setValue(kFilesToUploadKey, QStringList{"%WoW%/%account_name%.lua"});
        mDelegate = &mWorld->makeDelegate();
        LVDelegateProbe::setVerboseLogging(*mDelegate, true);
        mGame.writeFile("ALPHA.lua", "alpha").writeFile("BETA.lua", "beta");
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

    void overlappingRequestsKeepTheirOwnReplies() {
        LVBusRecorder bus;
        QSignalSpy finished(mDelegate, &LVApplicationDelegate::uploadRequestFinished);
        post("ALPHA");
        post("BETA");
        QCOMPARE(mDelegate->uploadsInFlight(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 10000);

        QStringList completions = bus.messages.filter("Upload complete.");
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
        post("ALPHA");
        QVERIFY(finished.wait(10000));

        QCOMPARE(finished.first().at(1).toBool(), false);
        QCOMPARE(bus.errorMessages().size(), 1);
        QVERIFY2(bus.errorMessages().first().startsWith("Upload failed for account ALPHA: ") &&
                     bus.errorMessages().first().contains(reason),
                 qPrintable(bus.errorMessages().first()));
        QCOMPARE(mDelegate->uploadsInFlight(), 0);
    }

    void cleanupRestoresAndRemoves() {
        mGame.writeFile("X.lua", "uploaded").writeFile("X.lua.rename", "restored").writeFile("X.lua.gz", "gz");
        mGame.writeFile("Y.lua", "no restore copy").writeFile("Z.lua", "kept").writeFile("Z.lua.RENAME", "plain");
        mGame.writeFile("W.lua/inside", "a folder").writeFile("W.lua.rename", "cannot replace a folder");
        QStringList files;
        for (const char *name : {"X.lua.rename", "X.lua.gz", "Y.lua.rename", "Z.lua.RENAME", "gone.gz", "W.lua.rename"})
            files << path(name);
        LVDelegateProbe::setFilesToCleanup(*mDelegate, files);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Restore copy .*Y.lua.rename is missing"));
        QTest::ignoreMessage(QtWarningMsg, qPrintable("Unable to cleanup file: " + path("gone.gz") + "."));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Unable to rename file: .*W.lua.rename to .*W.lua\\."));
        LVBusRecorder bus;

        mDelegate->cleanup();

        QCOMPARE(mGame.readFile("X.lua"), "restored");
        QCOMPARE(mGame.readFile("Y.lua"), "no restore copy");
        QCOMPARE(mGame.readFile("Z.lua"), "kept");
        QCOMPARE(mGame.readFile("W.lua.rename"), "cannot replace a folder");
        for (const char *gone : {"X.lua.rename", "X.lua.gz", "Z.lua.RENAME"})
            QVERIFY2(!QFile::exists(path(gone)), gone);
        QCOMPARE(mDelegate->filesToCleanup(), std::optional<QStringList>(QStringList()));
        QVERIFY(bus.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestUploadTransport)
#include "TestUploadTransport.moc"
