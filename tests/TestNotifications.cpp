#include "LVBusRecorder.h"
#include "LVLogRecorder.h"
#include "LVSampleGame.h"
#include "LVTestWorld.h"
#include "app/LVDesktopNotifier.h"
#include "common/FileContents.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// A notification service of our own on a private bus: it keeps what it is sent and answers with an
// id, or with an error when told to.
class LVNotificationService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QList<QVariantList> received; // the arguments of each call
    bool answerWithError = false;

public slots:
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
    QProcess mDaemon;
    std::unique_ptr<LVNotificationService> mService;

    static QDBusConnection serviceBus() { return QDBusConnection(kServiceConnection); }
    static QDBusConnection clientBus() { return QDBusConnection(kClientConnection); }

    void registerService() {
        QVERIFY(serviceBus().registerObject(QString(LVDesktopNotifier::kPath), mService.get(),
                                            QDBusConnection::ExportAllSlots));
        QVERIFY(serviceBus().registerService(QString(LVDesktopNotifier::kService)));
    }

private slots:
    // Without service files the daemon starts nothing on its own: a missing name stays missing.
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        const QString configuration = mDir.filePath(QStringLiteral("bus.conf"));
        QVERIFY(lv::writeFileAtomically(configuration,
                                        {"<busconfig><type>session</type><listen>unix:dir=" + mDir.path().toUtf8() +
                                         "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                                         "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                                         "<allow own=\"*\"/></policy></busconfig>\n"}));
        mDaemon.start(QStringLiteral("dbus-daemon"),
                      {"--config-file=" + configuration, "--nofork", "--nopidfile", "--print-address"});
        QVERIFY2(mDaemon.waitForStarted() && mDaemon.waitForReadyRead(), qPrintable(mDaemon.errorString()));
        const QString address = QString::fromUtf8(mDaemon.readLine()).trimmed();
        QVERIFY(QDBusConnection::connectToBus(address, kServiceConnection).isConnected());
        QVERIFY(QDBusConnection::connectToBus(address, kClientConnection).isConnected());
    }

    void cleanupTestCase() {
        for (QLatin1StringView name : {kServiceConnection, kClientConnection, kNoBusConnection})
            QDBusConnection::disconnectFromBus(name);
        mDaemon.terminate();
        QVERIFY(mDaemon.waitForFinished());
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
        QCOMPARE(received, (QVariantList{"Lorvane Client", 0u, "lorvane-client", summary, body, QStringList(),
                                         QVariantMap{{"urgency", urgency}}, -1}));
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

    // A finished run tells its real outcome once, after the site has answered; not when turned off. The
    // line under the buttons and the history say the same, also when a later account went up.
    void eachFinishedRunShowsItsOutcome_data() {
        QTest::addColumn<int>("siteStatus"); // of the first account's request; the second's is 200
        QTest::addColumn<int>("accounts");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QStringList>("notification"); // summary and body; empty: none
        const QStringList failed{"Upload failed",
                                 "ACCOUNT1: the site answered 500 Internal Server Error: out of order"};
        QTest::newRow("went up") << 200 << 1 << true << QStringList{"Upload complete", "1 account went up: ACCOUNT1"};
        QTest::newRow("failed") << 500 << 1 << true << failed;
        QTest::newRow("the first of two failed, the second went up") << 500 << 2 << true << failed;
        QTest::newRow("turned off") << 200 << 1 << false << QStringList();
    }

    void eachFinishedRunShowsItsOutcome() {
        QFETCH(int, siteStatus);
        QFETCH(int, accounts);
        QFETCH(bool, enabled);
        QFETCH(QStringList, notification);
        registerService();
        QTemporaryDir game;
        LVSampleGame::writeSampleGame(QFile::encodeName(game.path()).toStdString(), accounts, 0.01);
        LVTestWorld world;
        world.notificationBus = clientBus();
        LVApplicationDelegate &delegate = world.makeDelegateWithWindow();
        world.startSite(QString(), 0);
        if (siteStatus != 200)
            world.site->server().setResponse("POST", "/upload", siteStatus, "out of order\n");
        connect(&delegate.uploadRun(), &LVUploadRun::uploadRequestFinished, this,
                [&world] { world.site->server().clearResponses(); });
        world.settings.setValue(kWowApplicationPathKey, game.filePath("Wow.exe"));
        world.settings.setValue(kNotificationsKey, enabled);
        delegate.install().gatherAccounts();
        delegate.install().gatherLocales();
        delegate.reports().openHistory();
        QSignalSpy ended(&delegate.uploadRun(), &LVUploadRun::runEnded);
        LVBusRecorder bus;
        delegate.upload();
        QVERIFY(ended.wait(10000));

        if (siteStatus != 200)
            QCOMPARE(bus.errorMessages().last(),
                     QStringLiteral("Upload failed for 1 of %1 accounts: ACCOUNT1").arg(accounts));
        const auto outcome = ended.first().first().value<LVUploadOutcome>();
        QCOMPARE(outcome.failed, siteStatus != 200);
        QCOMPARE(outcome.storedAccounts.size(), accounts - (siteStatus != 200));
        QCOMPARE(world.find<QLabel>("lastUploadLabel")->text().endsWith(" failed"), siteStatus != 200);
        QSignalSpy fromHistory(&delegate.reports(), &LVRunReports::lastUploadChanged);
        delegate.reports().openHistory(); // as the next start reads it
        QCOMPARE(fromHistory.first().mid(1), (QVariantList{accounts - (siteStatus != 200), siteStatus == 200}));
        if (notification.isEmpty()) {
            QTest::qWait(200);
            QVERIFY(mService->received.isEmpty());
            return;
        }
        QTRY_COMPARE(mService->received.size(), 1);
        QCOMPARE(mService->received.first().mid(3, 2), (QVariantList{notification.at(0), notification.at(1)}));
    }
};

QTEST_MAIN(TestNotifications)
#include "TestNotifications.moc"
