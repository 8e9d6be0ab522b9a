#include "LVBusRecorder.h"
#include "LVDelegateProbe.h"
#include "LVTestSite.h"
#include "LVTestWorld.h"
#include "app/LVMainWindow.h"
#include "auth/LVAuthenticationController.h"
#include "auth/md5.h"

#include <QPushButton>
#include <QtTest>

// The credential test against the reference site on loopback.
class TestAuthentication : public QObject {
    Q_OBJECT

    std::unique_ptr<LVTestWorld> mWorld;
    std::unique_ptr<LVTestSite> mSite;
    std::unique_ptr<LVMainWindow> mWindow;
    LVApplicationDelegate *mDelegate = nullptr;

    bool uploadEnabled() const { return mWindow->findChild<QPushButton *>("uploadButton")->isEnabled(); }

private slots:
    void init() {
        mWorld = std::make_unique<LVTestWorld>();
        mSite = std::make_unique<LVTestSite>();
        mSite->configure(mWorld->settings);
        mWorld->settings.setValue(kUsernameKey, QString::fromLatin1(LVTestSite::kUser));
        mWorld->settings.setValue(kWowApplicationPathKey, QStringLiteral("/Games/WoW/Wow.exe"));
        mWorld->credentialStore.password = QByteArray(LVTestSite::kPassword);
        mWindow = std::make_unique<LVMainWindow>();
        mDelegate = &mWorld->makeDelegate();
        mWindow->connectTo(*mDelegate);
    }

    void cleanup() {
        mWindow.reset();
        mWorld.reset();
        mSite.reset();
    }

    void eachReplyHasItsOutcome_data() {
        QTest::addColumn<QByteArray>("reply"); // null: the site's own answer
        QTest::addColumn<int>("httpStatus");
        QTest::addColumn<QByteArray>("storedPassword");
        QTest::addColumn<int>("accountStatus"); // the test starts from 1 unless it is 1
        QTest::addColumn<QStringList>("messages");

        const QString succeeded = QStringLiteral("Authentication succeeded.");
        const QString failed = QStringLiteral("error: Authentication failed.");
        QTest::newRow("accepted by the site")
            << QByteArray() << 200 << QByteArray(LVTestSite::kPassword) << 0 << QStringList{succeeded, ""};
        QTest::newRow("rejected by the site")
            << QByteArray() << 200 << QByteArray("wrong") << 1 << QStringList{failed, ""};
        QTest::newRow("throttled") << QByteArray("2") << 200 << QByteArray(LVTestSite::kPassword) << 2
                                   << QStringList{"Authentication succeeded but cannot upload for about another "
                                                  "minute. Will retry in 30 seconds.",
                                                  ""};
        QTest::newRow("trailing line feed")
            << QByteArray("0\n") << 200 << QByteArray(LVTestSite::kPassword) << 1
            << QStringList{"error: Buffer length should be 1, instead it is 2", failed, ""};
        QTest::newRow("empty reply") << QByteArray("") << 200 << QByteArray(LVTestSite::kPassword) << 1
                                     << QStringList{"error: Buffer length should be 1, instead it is 0", failed, ""};
        QTest::newRow("unexpected byte") << QByteArray("A") << 200 << QByteArray(LVTestSite::kPassword) << 1
                                         << QStringList{"error: Buffer data should be 0, 1, or 2, instead it is A",
                                                        failed, ""};
        QTest::newRow("the HTTP status plays no part")
            << QByteArray("0") << 500 << QByteArray(LVTestSite::kPassword) << 0 << QStringList{succeeded, ""};
    }

    void eachReplyHasItsOutcome() {
        QFETCH(QByteArray, reply);
        QFETCH(int, httpStatus);
        QFETCH(QByteArray, storedPassword);
        QFETCH(int, accountStatus);
        QFETCH(QStringList, messages);
        if (!reply.isNull())
            mSite->server().setResponse("GET", "/auth", httpStatus, reply.toStdString());
        mWorld->credentialStore.password = storedPassword;
        LVDelegateProbe::setAccountStatus(*mDelegate, 1);
        LVBusRecorder bus;

        mDelegate->testAuthentication();

        QCOMPARE(bus.messages, messages);
        QCOMPARE(mDelegate->accountStatus(), accountStatus);
        QCOMPARE(bool(mDelegate->accountStatusTimer()), accountStatus == 2);
        const auto requests = mSite->server().requests();
        QCOMPARE(requests.size(), size_t(1));
        QCOMPARE(QString::fromStdString(requests.front().query),
                 QStringLiteral("username=alice&password=%1&mac").arg(md5HexString(storedPassword)));
    }

    void throttledAccountIsRetestedAfterThirtySeconds() {
        mSite->server().setResponse("GET", "/auth", 200, "2");
        mDelegate->testAuthentication();
        QTimer *retest = mDelegate->accountStatusTimer();
        QVERIFY(retest && retest->isActive() && retest->isSingleShot());
        QCOMPARE(retest->interval(), 30000);
        mDelegate->validateUserInterface();
        QVERIFY(!uploadEnabled());

        mSite->server().clearResponses();
        mDelegate->retestAuthentication(retest);
        QCOMPARE(mDelegate->accountStatus(), qint32(0));
        QVERIFY(!mDelegate->accountStatusTimer());
        QVERIFY(uploadEnabled());
    }

    void unreachableServiceDuringARetestKeepsTheAccountThrottled() {
        mSite->server().stop();
        LVBusRecorder bus;
        mDelegate->retestAuthentication(nullptr);
        QCOMPARE(mDelegate->accountStatus(), qint32(2));
        QVERIFY(!mDelegate->accountStatusTimer());
        QVERIFY(!uploadEnabled());
        QCOMPARE(bus.messages.first(), QStringLiteral("error: Buffer length should be 1, instead it is 0"));
    }

    void serviceThatNeverAnswersTimesOut() {
        mDelegate->setNetworkTimeouts({300, 300});
        mWorld->settings.setValue(kAuthURLKey, mSite->url(QStringLiteral("/stall?")));
        LVBusRecorder bus;
        mDelegate->testAuthentication();
        QCOMPARE(bus.messages, (QStringList{"error: Buffer length should be 1, instead it is 0",
                                            "error: Authentication failed.", ""}));
        QCOMPARE(mDelegate->accountStatus(), qint32(0));
    }

    void retestArrivingDuringATestWaitsForIt() {
        mDelegate->setNetworkTimeouts({400, 400});
        mWorld->settings.setValue(kAuthURLKey, mSite->url(QStringLiteral("/stall?")));
        LVBusRecorder bus;
        QTimer::singleShot(50, mDelegate, [this] {
            mWorld->settings.setValue(kAuthURLKey, mSite->url(QStringLiteral("/auth?")));
            mDelegate->retestAuthentication(nullptr);
        });
        mDelegate->testAuthentication();
        QCOMPARE(bus.messages.size(), 3); // the first test ended before the retest began
        QTRY_COMPARE(bus.messages.size(), 5);
        QCOMPARE(bus.messages.mid(3), (QStringList{"Authentication succeeded.", ""}));
    }

    void noStoredPasswordAsksForOne() {
        mWorld->credentialStore.password.reset();
        LVBusRecorder bus;
        mDelegate->testAuthentication();
        QCOMPARE(bus.messages, (QStringList{"error: Authentication failed.", ""}));
        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadWaitingForSignIn));
        QVERIFY(mWindow->findChild<LVAuthenticationController *>());
        QVERIFY(mSite->server().requests().empty());
    }
};

QTEST_MAIN(TestAuthentication)
#include "TestAuthentication.moc"
