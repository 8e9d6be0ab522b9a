#include "LVBusRecorder.h"
#include "LVSampleGame.h"
#include "LVTestWorld.h"
#include "common/FileContents.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

// The uploads nobody pressed a button for, on a clock the test moves: the game quitting, the retries of
// accounts the site could not take, and their pause. A sample game with two accounts, the second
// already uploaded; the client left alone as in the tray.
class TestAutomaticUploads : public QObject {
    Q_OBJECT

    QTemporaryDir mGame;
    std::unique_ptr<LVTestWorld> mWorld;
    LVApplicationDelegate *mDelegate = nullptr;
    QByteArray mFresh; // ACCOUNT1's saved variables with new data

    QString savedVariables(int account) const {
        return mGame.filePath(QString::fromStdString(LVSampleGame::savedVariablesPath(account).string()));
    }
    bool markedUploaded() const {
        return lv::contentsOfFile(savedVariables(1)).value_or("").contains("rvUploaded = 1");
    }
    LVSiteServer &site() const { return mWorld->site->server(); }
    LVUploadRun &run() const { return mDelegate->uploadRun(); }
    LVAutomaticUploads &automatic() const { return mDelegate->automaticUploads(); }
    bool uploadEnabled() const { return mWorld->find<QPushButton>("uploadButton")->isEnabled(); }
    void playAndQuit() const {
        mWorld->processMonitor.launch(QStringLiteral("Wow"));
        mWorld->processMonitor.terminate(QStringLiteral("Wow"));
    }
    // Seconds from the test's now to that moment.
    qint64 secondsTo(const QDateTime &when) const { return mWorld->clock.now().secsTo(when); }
    QList<bool> historyOutcomes() const {
        QList<bool> outcomes; // oldest first
        for (const LVUploadRecord &record : mDelegate->reports().history().records())
            outcomes.prepend(record.succeeded);
        return outcomes;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        QDir(mGame.path()).removeRecursively();
        LVSampleGame::writeSampleGame(QFile::encodeName(mGame.path()).toStdString(), 2, 0.02);
        const QByteArray second = lv::contentsOfFile(savedVariables(2)).value_or("");
        QVERIFY(lv::writeFileAtomically(savedVariables(2), {QByteArray(second).replace("= 0", "= 1")}));
        mFresh = lv::contentsOfFile(savedVariables(1)).value_or("");
        mWorld = std::make_unique<LVTestWorld>();
        mDelegate = &mWorld->makeDelegateWithWindow();
        mWorld->startSite(QString(), 0);
        mWorld->settings.setValue(kWowApplicationPathKey, mGame.filePath("Wow.exe"));
        mDelegate->applicationDidFinishLaunching();
        QVERIFY(uploadEnabled());
    }

    void cleanup() { mWorld.reset(); }

    // The site restarts while the client tests the credentials after an upload, and is back 40 s later:
    // nothing stays disabled, and the next game's data goes up when the game quits, whether the retry
    // found the site back first or the game quit first.
    void siteDownForTheRetestAfterAnUpload_data() {
        QTest::addColumn<bool>("retryFirst");
        QTest::newRow("the retry finds it back") << true;
        QTest::newRow("the game quits first") << false;
    }
    void siteDownForTheRetestAfterAnUpload() {
        QFETCH(bool, retryFirst);
        QSignalSpy ended(&run(), &LVUploadRun::runEnded);
        mDelegate->upload();
        QVERIFY(ended.wait(10000) && markedUploaded());
        const int port = site().port();
        site().stop();
        mDelegate->retestAuthentication(mDelegate->authentication().accountStatusTimer());
        mWorld->clock.advance(secondsTo(mDelegate->authentication().nextTest())); // still down
        QVERIFY(mDelegate->authentication().siteUnanswered() && uploadEnabled());
        QVERIFY(site().start(port));
        QVERIFY(lv::writeFileAtomically(savedVariables(1), {mFresh})); // the next game session's data
        if (retryFirst) {
            mWorld->clock.advance(secondsTo(mDelegate->authentication().nextTest()));
            QCOMPARE(mDelegate->authentication().accountStatus(), LVAuthentication::AccountValid);
        }

        playAndQuit();
        QVERIFY(ended.wait(10000));
        QCOMPARE(ended.last().first().value<LVUploadOutcome>().storedAccounts, QStringList{"ACCOUNT1"});
        QCOMPARE(site().uploads().size(), size_t(2));
    }

    // A failure that passes is tried again, for the failed accounts alone, never while the game runs, as
    // late as the site asks; every try is in the history. One that needs the user waits for the user.
    void failedAccountsAreTriedAgain_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("retryAfter");
        QTest::addColumn<int>("firstWait"); // the least, in seconds; 0: never tried again
        QTest::newRow("503, then 200") << 503 << QByteArray() << 27;
        QTest::newRow("429, asking for two minutes") << 429 << QByteArray("120") << 120;
        QTest::newRow("a date two hours away, an hour at most")
            << 503 << QDateTime::currentDateTimeUtc().addSecs(7200).toString(Qt::RFC2822Date).toLatin1() << 3600;
        QTest::newRow("400 needs the user") << 400 << QByteArray() << 0;
    }
    void failedAccountsAreTriedAgain() {
        QFETCH(int, status);
        QFETCH(QByteArray, retryAfter);
        QFETCH(int, firstWait);
        mWorld->settings.setValue(kAutoUploadKey, false);
        site().setResponse("POST", "/upload", status, "not now\n", "text/plain",
                           retryAfter.isEmpty()
                               ? std::map<std::string, std::string>()
                               : std::map<std::string, std::string>{{"Retry-After", retryAfter.toStdString()}});
        QSignalSpy ended(&run(), &LVUploadRun::runEnded);
        LVBusRecorder bus;
        mDelegate->upload();
        QVERIFY(ended.wait(10000));
        site().clearResponses();
        const QDateTime retry = automatic().nextRetry();
        if (firstWait == 0) {
            QVERIFY(!retry.isValid());
            QVERIFY(!bus.statusMessages().filter("ACCOUNT1 waits for you (the site refused its data)").isEmpty());
            mWorld->clock.advance(3600);
            QCOMPARE(historyOutcomes(), QList<bool>{false});
            return;
        }
        QVERIFY2(secondsTo(retry) >= firstWait && secondsTo(retry) <= qMax(33, firstWait),
                 qPrintable(retry.toString()));
        QVERIFY(!bus.statusMessages().filter(QRegularExpression("^ACCOUNT1: tried again at ")).isEmpty());

        mWorld->clock.advance(secondsTo(retry) - 1);
        mWorld->processMonitor.launch(QStringLiteral("Wow"));
        mWorld->clock.advance(1);
        QCOMPARE(ended.size(), 1); // the game runs
        bus.messages.clear();
        mWorld->processMonitor.terminate(QStringLiteral("Wow"));
        QVERIFY(ended.wait(10000));
        QCOMPARE(ended.last().first().value<LVUploadOutcome>().storedAccounts, QStringList{"ACCOUNT1"});
        QVERIFY(bus.messages.filter("Using account").size() == 1 && markedUploaded());
        QCOMPARE(historyOutcomes(), (QList<bool>{false, true}));
        QVERIFY(!automatic().nextRetry().isValid());
    }

    // Upload stays disabled through a long run, whatever happens meanwhile; the game quitting during it
    // is followed by a second run once it has ended.
    void automaticUploadsWaitForTheRunBeforeThem() {
        mWorld->settings.setValue(kPostURLKey, mWorld->site->url(QStringLiteral("/upload?delay=1500&")));
        QSignalSpy started(&run(), &LVUploadRun::runStarted);
        QSignalSpy ended(&run(), &LVUploadRun::runEnded);
        mDelegate->upload();
        QTRY_VERIFY(!site().requests().empty() && site().requests().back().method == "POST");
        mDelegate->retestAuthentication(nullptr);
        QCOMPARE(mDelegate->authentication().accountStatus(), LVAuthentication::AccountValid);
        QVERIFY(!uploadEnabled());
        playAndQuit();
        QVERIFY(!uploadEnabled());
        QCOMPARE(started.size(), 1);
        QVERIFY(ended.wait(10000));
        QTRY_COMPARE(started.size(), 2);
        QTRY_COMPARE(ended.size(), 2);
    }

    // Paused, the game quitting uploads nothing until the pause is over; Upload still works.
    void pauseHoldsAutomaticUploads() {
        QSignalSpy ended(&run(), &LVUploadRun::runEnded);
        automatic().pause(3600);
        playAndQuit();
        QTest::qWait(50);
        QCOMPARE(ended.size(), 0);
        QVERIFY(mWorld->find<QLabel>("lastUploadLabel")->text().startsWith("Automatic uploads paused until "));
        mWorld->clock.advance(3599);
        QCOMPARE(ended.size(), 0);
        mWorld->clock.advance(1);
        QVERIFY(ended.wait(10000));
        QVERIFY(markedUploaded());

        automatic().pause(std::nullopt);
        QVERIFY(lv::writeFileAtomically(savedVariables(1), {mFresh}));
        mDelegate->retestAuthentication(mDelegate->authentication().accountStatusTimer());
        mWorld->find<QPushButton>("uploadButton")->click();
        QVERIFY(ended.wait(10000) && markedUploaded());
    }
};

QTEST_MAIN(TestAutomaticUploads)
#include "TestAutomaticUploads.moc"
