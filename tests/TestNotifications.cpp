#include "LVBusRecorder.h"
#include "LVLogRecorder.h"
#include "LVPrivateBus.h"
#include "LVSampleGame.h"
#include "LVTestWorld.h"
#include "app/LVDesktopNotifier.h"
#include "app/LVHistoryWindow.h"
#include "app/UploadReadiness.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusMessage>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// A notification service of our own on a private bus: it keeps what it is sent and answers with an
// id, or with an error when told to; it shows actions when told to.
class LVNotificationService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QList<QVariantList> received; // the arguments of each call
    bool answerWithError = false;
    bool showsActions = false;

public slots:
    QStringList GetCapabilities() {
        if (!showsActions)
            sendErrorReply(QDBusError::UnknownMethod, QStringLiteral("an old service"));
        return {QStringLiteral("body"), QStringLiteral("actions")};
    }

    uint Notify(const QString &appName, uint replacesId, const QString &icon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int expireTimeout) {
        received << QVariantList{appName, replacesId, icon, summary, body, actions, hints, expireTimeout};
        if (answerWithError)
            sendErrorReply(QDBusError::Failed, QStringLiteral("the desktop is busy"));
        return 1000 + uint(received.size());
    }
};

// Desktop notifications as the notification service receives them, over a D-Bus daemon started for
// this test alone.
class TestNotifications : public QObject {
    Q_OBJECT

    static constexpr QLatin1StringView kServiceConnection{"service side"};
    static constexpr QLatin1StringView kClientConnection{"client side"};
    static constexpr QLatin1StringView kNoBusConnection{"no bus"};

    QTemporaryDir mDir;
    LVPrivateBus mBus;
    std::unique_ptr<LVNotificationService> mService;

    static QDBusConnection serviceBus() { return QDBusConnection(kServiceConnection); }
    static QDBusConnection clientBus() { return QDBusConnection(kClientConnection); }

    void registerService() {
        QVERIFY(serviceBus().registerObject(QString(LVDesktopNotifier::kPath), mService.get(),
                                            QDBusConnection::ExportAllSlots));
        QVERIFY(serviceBus().registerService(QString(LVDesktopNotifier::kService)));
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(mBus.isRunning());
        QVERIFY(mBus.connect(kServiceConnection).isConnected());
        QVERIFY(mBus.connect(kClientConnection).isConnected());
    }

    void cleanupTestCase() {
        for (QLatin1StringView name : {kServiceConnection, kClientConnection, kNoBusConnection})
            QDBusConnection::disconnectFromBus(name);
    }

    void init() { mService = std::make_unique<LVNotificationService>(); }

    void cleanup() {
        serviceBus().unregisterService(QString(LVDesktopNotifier::kService));
        serviceBus().unregisterObject(QString(LVDesktopNotifier::kPath)), mService.reset();
    }

    void eachCallWhileEnabledShowsOneNotification_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("urgency");

        QTest::newRow("accounts went up") << "succeeded" << QStringList{"ACCOUNT1", "ACCOUNT2"} << "Upload complete"
                                          << "2 accounts went up: ACCOUNT1, ACCOUNT2" << 1;
        QTest::newRow("one account went up") << "succeeded" << QStringList{"ACCOUNT1"} << "Upload complete"
                                             << "1 account went up: ACCOUNT1" << 1;
        QTest::newRow("reason with markup")
            << "failed" << QStringList{"A&B", "the site answered <html>"} << "Upload failed"
            << "A&amp;B: the site answered &lt;html&gt;" << 2;
        QTest::newRow("sign-in problem") << "credential" << QStringList{"The site refused the password of NAME."}
                                         << "Sign-in problem"
                                         << "The site refused the password of NAME." << 2;
    }

    void eachCallWhileEnabledShowsOneNotification() {
        QFETCH(QString, call);
        QFETCH(QStringList, arguments);
        QFETCH(QString, summary);
        QFETCH(QString, body);
        QFETCH(int, urgency);
        registerService();
        LVDesktopNotifier notifier(clientBus());
        QSignalSpy shown(&notifier, &LVDesktopNotifier::shown);
        auto send = [&] {
            if (call == QLatin1String("succeeded"))
                notifier.notifyUploadSucceeded(arguments);
            else if (call == QLatin1String("failed"))
                notifier.notifyUploadFailed(arguments.at(0), arguments.at(1));
            else
                notifier.notifyCredentialProblem(arguments.at(0));
        };
        notifier.setEnabled(false);
        send(); // calls on one connection arrive in order: had this been sent, it would come first
        notifier.setEnabled(true);
        send();
        QVERIFY(shown.wait());
        QCOMPARE(shown.first().first().toUInt(), 1001u);

        QCOMPARE(mService->received.size(), 1);
        const QVariantList &received = mService->received.first();
        QCOMPARE(received,
                 (QVariantList{"Lorvane Client", 0u, "lorvane-client", summary, body, QStringList(),
                               QVariantMap{{"urgency", urgency}, {"desktop-entry", "org.lorvane.client"}}, -1}));
        // A byte, as the service expects: compared above by value only.
        QCOMPARE(received.at(6).toMap().value("urgency").metaType(), QMetaType::fromType<uchar>());
    }

    void withoutTheServiceNothingBreaksAndOneLineIsLogged_data() {
        QTest::addColumn<QString>("situation");
        QTest::newRow("no bus") << "no bus";
        QTest::newRow("no service on the bus") << "no service";
        QTest::newRow("the service answers with errors") << "errors";
    }

    void withoutTheServiceNothingBreaksAndOneLineIsLogged() {
        QFETCH(QString, situation);
        const bool noBus = situation == QLatin1String("no bus");
        if (situation == QLatin1String("errors")) {
            mService->answerWithError = true;
            registerService();
        }
        const QDBusConnection bus =
            noBus
                ? QDBusConnection::connectToBus(QStringLiteral("unix:path=") + mDir.filePath("none"), kNoBusConnection)
                : clientBus();
        LVLogRecorder log(QStringLiteral("lorvane.app"));
        LVDesktopNotifier notifier(bus);
        QSignalSpy failed(&notifier, &LVDesktopNotifier::failed);
        QSignalSpy shown(&notifier, &LVDesktopNotifier::shown);
        notifier.notifyUploadSucceeded({"ACCOUNT1"});
        notifier.notifyUploadFailed(QStringLiteral("ACCOUNT2"), QStringLiteral("the site answered 500"));
        notifier.notifyCredentialProblem(QStringLiteral("refused"));
        QCOMPARE(failed.count(), 0); // the answers come later: nothing waited for them
        QTRY_COMPARE(failed.count(), 3);
        QCOMPARE(log.messages().size(), 1);
        QCOMPARE(shown.count(), 0);
        if (noBus)
            return;

        // Once the service answers, notifications are shown again, without another line in the log.
        mService->answerWithError = false;
        if (situation == QLatin1String("no service"))
            registerService();
        notifier.notifyUploadSucceeded({"ACCOUNT1"});
        QVERIFY(shown.wait());
        QCOMPARE(log.messages().size(), 1);
    }

    // A finished run tells its real outcome once, after the site has answered; not when turned off. A
    // failure names every failed account and, where the service shows actions, offers to try again now.
    // The line under the buttons and the history say the same, also when a later account went up.
    void eachFinishedRunShowsItsOutcome_data() {
        QTest::addColumn<int>("failing"); // requests the site answers 500, from the first
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("actions");
        QTest::addColumn<QStringList>("notification"); // summary and body; empty: none
        const QString failed = "the site answered 500 Internal Server Error: out of order\nTried again at ";
        QTest::newRow("went up") << 0 << true << true
                                 << QStringList{"Upload complete", "2 accounts went up: ACCOUNT1, ACCOUNT2"};
        QTest::newRow("failed") << 2 << true << false
                                << QStringList{"Upload failed", "2 of 2 accounts: ACCOUNT1, ACCOUNT2: " + failed};
        QTest::newRow("failed, tried again from the notification")
            << 2 << true << true << QStringList{"Upload failed", "2 of 2 accounts: ACCOUNT1, ACCOUNT2: " + failed};
        QTest::newRow("the first failed, the second went up")
            << 1 << true << false << QStringList{"Upload failed", "1 of 2 accounts: ACCOUNT1: " + failed};
        QTest::newRow("turned off") << 0 << false << true << QStringList();
    }

    void eachFinishedRunShowsItsOutcome() {
        QFETCH(int, failing);
        QFETCH(bool, enabled);
        QFETCH(bool, actions);
        QFETCH(QStringList, notification);
        mService->showsActions = actions;
        registerService();
        QTemporaryDir game;
        LVSampleGame::writeSampleGame(QFile::encodeName(game.path()).toStdString(), 2, 0.01);
        LVTestWorld world;
        world.notificationBus = clientBus();
        LVApplicationDelegate &delegate = world.makeDelegateWithWindow();
        world.startSite(QString(), 0);
        if (failing > 0)
            world.site->server().setResponse("POST", "/upload", 500, "out of order\n");
        if (failing == 1)
            connect(&delegate.uploadRun(), &LVUploadRun::uploadRequestFinished, this,
                    [&world] { world.site->server().clearResponses(); });
        world.settings.setValue(kWowApplicationPathKey, game.filePath("Wow.exe"));
        world.settings.setValue(kNotificationsKey, enabled);
        delegate.reports().openHistory();
        delegate.install().gatherAccounts();
        delegate.install().gatherLocales();
        QSignalSpy ended(&delegate.uploadRun(), &LVUploadRun::runEnded);
        LVBusRecorder bus;
        delegate.upload();
        QVERIFY(ended.wait(10000));

        // The outcome, the summary, the line under the buttons and the history as the next start reads it.
        const auto outcome = ended.first().first().value<LVUploadOutcome>();
        QCOMPARE(outcome.storedAccounts.size(), 2 - failing);
        QCOMPARE(outcome.failed, failing > 0);
        QCOMPARE(bus.errorMessages().contains(QStringLiteral("Upload failed for %1 of 2 accounts: %2")
                                                  .arg(failing)
                                                  .arg(outcome.failedAccounts.join(", "))),
                 failing > 0);
        QCOMPARE(world.find<QLabel>("lastUploadLabel")->text().endsWith(" failed"), failing > 0);
        QSignalSpy fromHistory(&delegate.reports(), &LVRunReports::lastUploadChanged);
        delegate.reports().openHistory();
        QCOMPARE(fromHistory.first().mid(1), (QVariantList{2 - failing, failing == 0}));
        if (notification.isEmpty()) {
            QTest::qWait(200);
            QVERIFY(mService->received.isEmpty());
            return;
        }
        // A program about to end waits for its notification to reach the service, then nothing more.
        delegate.reports().notifier().finishSending(10000);
        QCOMPARE(mService->received.size(), 1);
        const QVariantList &received = mService->received.first();
        QCOMPARE(received.at(3), notification.at(0));
        QVERIFY2(received.at(4).toString().startsWith(notification.at(1)), qPrintable(received.at(4).toString()));
        const QStringList offered = received.at(5).toStringList();
        const QStringList expected{"retry", "Try again now", "history", "History"};
        QCOMPARE(offered, actions && failing > 0 ? expected : QStringList());
        if (offered.isEmpty())
            return;

        // Chosen on the desktop, the action tries again at once, and the History shows both tries.
        world.site->server().clearResponses();
        QDBusMessage invoked = QDBusMessage::createSignal(QString(LVDesktopNotifier::kPath),
                                                          QString(LVDesktopNotifier::kService), "ActionInvoked");
        invoked << 1001u << QStringLiteral("retry");
        QVERIFY(serviceBus().send(invoked));
        QVERIFY(ended.wait(10000));
        QCOMPARE(ended.last().first().value<LVUploadOutcome>().storedAccounts, (QStringList{"ACCOUNT1", "ACCOUNT2"}));
        QCOMPARE(delegate.reports().history().records().size(), 4);
        // The next start tells of that run alone, though the failed one came seconds before.
        delegate.reports().openHistory();
        QCOMPARE(fromHistory.last().mid(1), (QVariantList{2, true}));
        invoked.setArguments({1001u, QStringLiteral("history")});
        QVERIFY(serviceBus().send(invoked));
        QTRY_VERIFY(world.find<LVHistoryWindow>() && world.find<LVHistoryWindow>()->isVisible());
    }

    void failedAccountsAreAllNamed_data() {
        QTest::addColumn<QStringList>("failed");
        QTest::addColumn<int>("withData");
        QTest::addColumn<QString>("text");
        QTest::newRow("the only one") << QStringList{"A"} << 1 << "A";
        QTest::newRow("one of three") << QStringList{"B"} << 3 << "1 of 3 accounts: B";
        QTest::newRow("past five names") << QStringList{"A", "B", "C", "D", "E", "F", "G"} << 9
                                         << "7 of 9 accounts: A, B, C, D, E…";
    }
    void failedAccountsAreAllNamed() {
        QFETCH(QStringList, failed);
        QFETCH(int, withData);
        QTEST(lv::failedAccountsText(failed, withData), "text");
    }
};

QTEST_MAIN(TestNotifications)
#include "TestNotifications.moc"
