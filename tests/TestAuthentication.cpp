#include "LVBusRecorder.h"
#include "LVTestWorld.h"
#include "auth/LVAuthenticationController.h"
#include "common/TimeText.h"
#include "common/md5.h"

#include <QPushButton>
#include <QtTest>

// The credential test against the reference site on loopback.
class TestAuthentication : public QObject {
    Q_OBJECT

    std::unique_ptr<LVTestWorld> mWorld;
    LVApplicationDelegate *mDelegate = nullptr;
    LVAuthentication *mAuth = nullptr;

    LVSiteServer &site() const { return mWorld->site->server(); }
    bool uploadEnabled() const { return mWorld->find<QPushButton>("uploadButton")->isEnabled(); }
    // What follows a test the site gave no answer to.
    QString askedAgain() const {
        return "The site gave no answer: it is asked again at " + lv::shortDateTime(mAuth->nextTest()) + ".";
    }

private slots:
    void init() {
        mWorld = std::make_unique<LVTestWorld>();
        mWorld->startSite();
        mWorld->settings.setValue(kWowApplicationPathKey, QStringLiteral("/Games/WoW/Wow.exe"));
        mDelegate = &mWorld->makeDelegateWithWindow();
        mAuth = &mDelegate->authentication();
    }

    void cleanup() { mWorld.reset(); }

    void eachReplyHasItsOutcome_data() {
        QTest::addColumn<QByteArray>("reply"); // null: the site's own answer
        QTest::addColumn<int>("httpStatus");
        QTest::addColumn<QByteArray>("storedPassword");
        QTest::addColumn<int>("accountStatus"); // the test starts from 1
        QTest::addColumn<QStringList>("messages");
        const QByteArray password = LVTestSite::kPassword;
        const QString failed = QStringLiteral("error: Authentication failed.");
        QTest::newRow("accepted") << QByteArray() << 200 << password << 0
                                  << QStringList{"Authentication succeeded.", ""};
        QTest::newRow("rejected") << QByteArray() << 200 << QByteArray("wrong") << 1 << QStringList{failed, ""};
        QTest::newRow("throttled") << QByteArray("2") << 200 << password << 2
                                   << QStringList{"Authentication succeeded but cannot upload for about another "
                                                  "minute. Will retry in 30 seconds.",
                                                  ""};
        // Not an answer: asked again later (the message with its time is added below).
        QTest::newRow("trailing line feed") << QByteArray("0\n") << 200 << password << 1
                                            << QStringList{"error: Buffer length should be 1, instead it is 2", failed};
        QTest::newRow("unexpected byte") << QByteArray("A") << 200 << password << 1
                                         << QStringList{"error: Buffer data should be 0, 1, or 2, instead it is A",
                                                        failed};
        // The reply is read no further than its limit; what came of it does not count.
        QTest::newRow("reply past its limit")
            << QByteArray(1025, '0') << 200 << password << 1
            << QStringList{"error: The server at 127.0.0.1 sent more than 1024 bytes.",
                           "error: Buffer length should be 1, instead it is 0", failed};
        QTest::newRow("the HTTP status plays no part")
            << QByteArray("0") << 500 << password << 0 << QStringList{"Authentication succeeded.", ""};
    }

    void eachReplyHasItsOutcome() {
        QFETCH(QByteArray, reply);
        QFETCH(int, httpStatus);
        QFETCH(QByteArray, storedPassword);
        QFETCH(int, accountStatus);
        QFETCH(QStringList, messages);
        mWorld->answerCredentialTest("1");
        if (!reply.isNull())
            site().setResponse("GET", "/auth", httpStatus, reply.toStdString());
        mWorld->credentialStore.password = storedPassword;
        LVBusRecorder bus;

        mAuth->testAuthentication();

        if (mAuth->siteUnanswered())
            messages << askedAgain() << "";
        QCOMPARE(bus.messages, messages);
        QCOMPARE(mAuth->accountStatus(), accountStatus);
        QCOMPARE(bool(mAuth->accountStatusTimer()), accountStatus == 2);
        QCOMPARE(QString::fromStdString(site().requests().back().query),
                 QStringLiteral("username=alice&password=%1&mac").arg(lv::md5HexString(storedPassword)));
    }

    // An address the credential test cannot use is said, never with the password's hash in it: the
    // site takes the hash as the password.
    void anUnusableAddressShowsNoPasswordHash_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("why");
        QTest::newRow("empty") << ""
                               << " is not a valid address.";
        QTest::newRow("without a scheme") << "example.org/auth?"
                                          << " is not a valid address.";
        QTest::newRow("not the web") << "ftp://example.org/auth?"
                                     << " is not an http or https address.";
    }
    void anUnusableAddressShowsNoPasswordHash() {
        QFETCH(QString, address);
        QFETCH(QString, why);
        mWorld->settings.setValue(kAuthURLKey, address);
        LVBusRecorder bus;
        mAuth->testAuthentication();
        QCOMPARE(bus.errorMessages().first(),
                 "The site cannot be reached: \"" + address + "username=alice&password=********&mac\"" + why);
        QVERIFY(!bus.messages.join('\n').contains(lv::md5HexString(LVTestSite::kPassword)));
    }

    void throttledAccountIsRetestedAfterThirtySeconds() {
        site().setResponse("GET", "/auth", 200, "2");
        mAuth->testAuthentication();
        QTimer *retest = mAuth->accountStatusTimer();
        QVERIFY(retest && retest->isActive() && retest->isSingleShot());
        QCOMPARE(retest->interval(), 30000);
        mDelegate->validateUserInterface();
        QVERIFY(!uploadEnabled());

        site().clearResponses();
        mAuth->retestAuthentication(retest);
        QCOMPARE(mAuth->accountStatus(), qint32(0));
        QVERIFY(!mAuth->accountStatusTimer());
        QVERIFY(uploadEnabled());
    }

    void serviceThatIsDownOrNeverAnswersFails_data() {
        QTest::addColumn<bool>("down");
        QTest::newRow("down, during a retest") << true;
        QTest::newRow("never answers") << false;
    }

    // No answer is no refusal: the site is asked again after 30 s, then 1, 2, 4… minutes, at once when
    // the network comes back, and Upload stays pressable (it asks first) meanwhile.
    void serviceThatIsDownOrNeverAnswersFails() {
        QFETCH(bool, down);
        mAuth->setNetworkTimeouts({300, 300});
        const int port = site().port();
        if (down)
            site().stop();
        else
            mWorld->settings.setValue(kAuthURLKey, mWorld->site->url(QStringLiteral("/stall?")));
        LVBusRecorder bus;
        if (down)
            mAuth->retestAuthentication(nullptr);
        else
            mAuth->testAuthentication();
        // Why the site could not be reached comes first.
        QVERIFY2(bus.messages.value(0).startsWith("error: The site cannot be reached: " +
                                                  QString(down ? "Connection refused" : "The server at 127.0.0.1")),
                 qPrintable(bus.messages.value(0)));
        QCOMPARE(bus.messages.mid(1), (QStringList{"error: Buffer length should be 1, instead it is 0",
                                                   "error: Authentication failed.", askedAgain(), ""}));
        // A retest marks the account throttled first; a failed test leaves that as it is.
        QCOMPARE(mAuth->accountStatus(), qint32(down ? 2 : 0));
        QVERIFY(!mAuth->accountStatusTimer());
        const qint64 wait = mWorld->clock.now().secsTo(mAuth->nextTest());
        QVERIFY2(wait >= 27 && wait <= 33, qPrintable(QString::number(wait)));
        QVERIFY(uploadEnabled());

        // Still nothing 30 s later: a minute after that. Back, it is asked as soon as the network is.
        mWorld->clock.advance(wait);
        QCOMPARE(bus.messages.count("error: Authentication failed."), 2);
        QVERIFY(mWorld->clock.now().secsTo(mAuth->nextTest()) >= 54);
        if (down)
            QVERIFY(site().start(port));
        mWorld->settings.setValue(kAuthURLKey, mWorld->site->url(QStringLiteral("/auth?")));
        emit mWorld->systemEvents.networkReachable();
        QCOMPARE(bus.messages.mid(bus.messages.size() - 2), (QStringList{"Authentication succeeded.", ""}));
        QCOMPARE(mAuth->accountStatus(), LVAuthentication::AccountValid);
        QVERIFY(!mAuth->nextTest().isValid() && !mAuth->siteUnanswered() && uploadEnabled());
    }

    void retestArrivingDuringATestWaitsForIt() {
        mAuth->setNetworkTimeouts({400, 400});
        mWorld->settings.setValue(kAuthURLKey, mWorld->site->url(QStringLiteral("/stall?")));
        LVBusRecorder bus;
        QTimer::singleShot(50, mAuth, [this] {
            mWorld->settings.setValue(kAuthURLKey, mWorld->site->url(QStringLiteral("/auth?")));
            mAuth->retestAuthentication(nullptr);
        });
        mAuth->testAuthentication();
        QCOMPARE(bus.messages.size(), 5); // the first test ended before the retest began
        QTRY_COMPARE(bus.messages.mid(5), (QStringList{"Authentication succeeded.", ""}));
    }

    // Not signed in is no failure: the sheet asks, the cursor in the first empty field, and nothing is
    // logged as an error, not even when the user cancels.
    void noStoredPasswordAsksForOne() {
        mWorld->credentialStore.password.reset();
        LVBusRecorder bus;
        mAuth->testAuthentication();
        auto *sheet = mWorld->find<LVAuthenticationController>();
        QVERIFY(sheet);
        QCOMPARE(sheet->focusWidget(), sheet->findChild<QWidget *>("passwordField"));
        sheet->reject();
        QCOMPARE(bus.messages, QStringList{""});
        QVERIFY(site().requests().empty());
    }
};

QTEST_MAIN(TestAuthentication)
#include "TestAuthentication.moc"
