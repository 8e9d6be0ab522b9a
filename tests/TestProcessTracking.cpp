#include "LVBusRecorder.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "app/LVMainWindow.h"

#include <QPushButton>
#include <QtTest>

// The controller following the game as it starts and quits, and starting it: the real main window,
// a fake process monitor and a fake workspace.
class TestProcessTracking : public QObject {
    Q_OBJECT

    const QString kGame = QStringLiteral("Wow");
    const QString kLauncher = QStringLiteral("World of Warcraft Launcher");
    const QString kRunStarts = QStringLiteral("Checking for supported realms…");

    std::unique_ptr<LVGameFolder> mGame;
    std::unique_ptr<LVTestWorld> mWorld;
    std::unique_ptr<LVMainWindow> mWindow;
    LVApplicationDelegate *mDelegate = nullptr;

    QPushButton *launchButton() const { return mWindow->findChild<QPushButton *>(QStringLiteral("launchButton")); }
    QPushButton *uploadButton() const { return mWindow->findChild<QPushButton *>(QStringLiteral("uploadButton")); }
    LVFakeProcessMonitor &monitor() const { return mWorld->processMonitor; }

    // Whether the controller, both buttons and the running flag agree that the game runs.
    void verifyGameRunning(bool running) const {
        QCOMPARE(mDelegate->isWoWRunning(), running);
        QCOMPARE(launchButton()->isEnabled(), !running);
        QCOMPARE(uploadButton()->isEnabled(), !running);
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        mGame = std::make_unique<LVGameFolder>();
        mGame->addAccount(QStringLiteral("ACCOUNT1"));
        mWorld = std::make_unique<LVTestWorld>();
        mWorld->settings.setValue(kWowApplicationPathKey, mGame->applicationPath());
        mWorld->settings.setValue(kUsernameKey, QStringLiteral("alice"));
        mWorld->credentialStore.password = QByteArray("secret");
        mWindow = std::make_unique<LVMainWindow>();
        mDelegate = &mWorld->makeDelegate();
        mWindow->connectTo(*mDelegate);
        mDelegate->gatherAccounts();
        mDelegate->validateUserInterface();
    }

    void cleanup() {
        mWindow.reset();
        mWorld.reset();
        mGame.reset();
    }

    void quittingTheGameUploadsWhenAutomaticUploadIsOn_data() {
        QTest::addColumn<bool>("autoUpload");
        QTest::newRow("automatic upload") << true;
        QTest::newRow("no automatic upload") << false;
    }

    void quittingTheGameUploadsWhenAutomaticUploadIsOn() {
        QFETCH(bool, autoUpload);
        mWorld->settings.setValue(kAutoUploadKey, autoUpload);
        LVBusRecorder bus;
        // The buttons are set before the run starts: the run's first message finds them so.
        bool launchEnabledAtRunStart = false;
        connect(&LVStatusBus::instance(), &LVStatusBus::statusMessageChanged, &bus, [&](const QString &message) {
            if (message == kRunStarts)
                launchEnabledAtRunStart = launchButton()->isEnabled();
        });

        monitor().launch(kGame);
        verifyGameRunning(true);
        mDelegate->upload();
        QCOMPARE(bus.messages, QStringList());

        monitor().terminate(kGame);
        QCOMPARE(mDelegate->isWoWRunning(), false);
        QVERIFY(launchButton()->isEnabled());
        if (autoUpload) {
            QCOMPARE(bus.messages.value(0), kRunStarts);
            QVERIFY(launchEnabledAtRunStart);
        } else {
            QCOMPARE(bus.messages, QStringList());
            QVERIFY(uploadButton()->isEnabled());
        }
        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadIdle));
    }

    void otherApplicationsChangeNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("gameRunning");

        for (const bool running : {false, true}) {
            const char *suffix = running ? ", game running" : "";
            QTest::addRow("the launcher%s", suffix) << kLauncher << running;
            QTest::addRow("longer name%s", suffix) << QStringLiteral("WowB") << running;
            QTest::addRow("name with more words%s", suffix) << QStringLiteral("Wow Helper") << running;
            QTest::addRow("name ending like the game's%s", suffix) << QStringLiteral("NotWow") << running;
            QTest::addRow("lower case%s", suffix) << QStringLiteral("wow") << running;
            QTest::addRow("with its extension%s", suffix) << QStringLiteral("Wow.exe") << running;
        }
    }

    void otherApplicationsChangeNothing() {
        QFETCH(QString, name);
        QFETCH(bool, gameRunning);
        if (gameRunning)
            monitor().launch(kGame);
        LVBusRecorder bus;

        monitor().launch(name);
        verifyGameRunning(gameRunning);
        monitor().terminate(name);
        verifyGameRunning(gameRunning);
        QCOMPARE(bus.messages, QStringList());
    }

    void eventsDuringAWaitAreHandledAfterIt() {
        LVBusRecorder bus;
        {
            LVApplicationDelegate::BusyScope busy(*mDelegate);
            monitor().launch(kGame);
            verifyGameRunning(false);
        }
        QTRY_VERIFY(mDelegate->isWoWRunning());
        verifyGameRunning(true);

        {
            LVApplicationDelegate::BusyScope busy(*mDelegate);
            monitor().terminate(kGame);
            QVERIFY(mDelegate->isWoWRunning());
            QCOMPARE(bus.messages, QStringList());
        }
        QTRY_VERIFY(!mDelegate->isWoWRunning());
        QCOMPARE(bus.messages.value(0), kRunStarts);
    }

    void scanFindsTheGameByItsExactName_data() {
        QTest::addColumn<QStringList>("running");
        QTest::addColumn<QString>("gameName");
        QTest::addColumn<bool>("found");

        QTest::newRow("the game among others") << QStringList{"bash", "Wow", "Xorg"} << "Wow" << true;
        QTest::newRow("nothing runs") << QStringList() << "Wow" << false;
        QTest::newRow("only the launcher") << QStringList{kLauncher} << "Wow" << false;
        QTest::newRow("names that contain the game's")
            << QStringList{"WowB", "Wow Helper", "wow", "Wow.exe"} << "Wow" << false;
        QTest::newRow("another game name setting") << QStringList{"Wow", "WowClassic"} << "WowClassic" << true;
        QTest::newRow("an empty name is no game") << QStringList{""} << "" << false;
    }

    void scanFindsTheGameByItsExactName() {
        QFETCH(QStringList, running);
        QFETCH(QString, gameName);
        QFETCH(bool, found);
        monitor().names = running;
        mWorld->settings.setValue(kWowApplicationNameKey, gameName);
        QCOMPARE(mDelegate->isWOWRunning(), found);
    }

    void launchStartsTheGameOrItsLauncher_data() {
        QTest::addColumn<QString>("gamePath"); // null: none stored
        QTest::addColumn<QString>("detected"); // where the workspace knows the game; null: nowhere
        QTest::addColumn<bool>("runLauncher");
        QTest::addColumn<QStringList>("launched");

        const QString wine = QStringLiteral("/home/ann/.wine/drive_c/WoW/Wow.exe");
        QTest::newRow("the game") << "/Games/Wow.exe" << wine << false << QStringList{"/Games/Wow.exe"};
        QTest::newRow("the launcher next to it")
            << "/Games/Wow.exe" << wine << true << QStringList{"/Games/World of Warcraft Launcher.exe"};
        QTest::newRow("the launcher next to a bundle") << "/Applications/Wow.app" << QString() << true
                                                       << QStringList{"/Applications/World of Warcraft Launcher.app"};
        QTest::newRow("the game found at start-up") << QString() << wine << false << QStringList{wine};
        QTest::newRow("the launcher next to the game found at start-up")
            << QString() << wine << true << QStringList{"/home/ann/.wine/drive_c/WoW/World of Warcraft Launcher.exe"};
        QTest::newRow("nothing to start") << QString() << QString() << false << QStringList();
    }

    void launchStartsTheGameOrItsLauncher() {
        QFETCH(QString, gamePath);
        QFETCH(QString, detected);
        QFETCH(bool, runLauncher);
        QFETCH(QStringList, launched);
        LVTestWorld world;
        if (!detected.isNull())
            world.workspace.installedApplications.insert(kGame, detected);
        if (!gamePath.isNull())
            world.settings.setValue(kWowApplicationPathKey, gamePath);
        world.settings.setValue(kRunLauncherAppKey, runLauncher);
        LVApplicationDelegate &delegate = world.makeDelegate();
        delegate.awakeFromNib();
        LVBusRecorder bus;

        delegate.launchWoW();

        QCOMPARE(world.workspace.launched, launched);
        // The game counts as running only when it is seen to start.
        QVERIFY(!delegate.isWoWRunning());
        QCOMPARE(bus.messages, QStringList());
    }

    void launchButtonStartsTheGame() {
        launchButton()->click();
        QCOMPARE(mWorld->workspace.launched, QStringList{mGame->applicationPath()});
    }
};

QTEST_MAIN(TestProcessTracking)
#include "TestProcessTracking.moc"
