#include "LVBusRecorder.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "platform/LVProcProcessMonitor.h"

#include <QPushButton>
#include <QtTest>

// Following the game as it starts and quits: the processes seen through /proc, then the controller
// with the real main window, a fake process monitor and a fake workspace.
class TestProcessTracking : public QObject {
    Q_OBJECT

    const QString kGame = QStringLiteral("Wow");
    const QString kRunStarts = QStringLiteral("Checking for supported realms…");

    std::unique_ptr<LVGameFolder> mGame;
    std::unique_ptr<LVTestWorld> mWorld;
    LVApplicationDelegate *mDelegate = nullptr;
    QStringList mEvents; // what a real monitor reported: "+name" for a launch, "-name" for a termination

    LVFakeProcessMonitor &monitor() const { return mWorld->processMonitor; }
    QPushButton *button(const char *name) const { return mWorld->find<QPushButton>(name); }
    // Whether the controller and both buttons agree that the game runs.
    void verifyGameRunning(bool running) const {
        QCOMPARE(mDelegate->isWoWRunning(), running);
        QCOMPARE(button("launchButton")->isEnabled(), !running);
        QCOMPARE(button("uploadButton")->isEnabled(), !running);
    }
    void record(LVProcProcessMonitor &watched, int pollInterval) {
        watched.setPollInterval(pollInterval);
        connect(&watched, &LVProcessMonitor::applicationLaunched, this,
                [this](const QString &name) { mEvents << "+" + name; });
        connect(&watched, &LVProcessMonitor::applicationTerminated, this,
                [this](const QString &name) { mEvents << "-" + name; });
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        mEvents.clear();
        mGame = std::make_unique<LVGameFolder>();
        mWorld = std::make_unique<LVTestWorld>();
        mWorld->settings.setValue(kWowApplicationPathKey, mGame->applicationPath());
        mWorld->settings.setValue(kUsernameKey, QStringLiteral("alice"));
        mWorld->credentialStore.password = QByteArray("secret");
        mDelegate = &mWorld->makeDelegateWithWindow();
        mDelegate->validateUserInterface();
    }

    void cleanup() {
        mWorld.reset();
        mGame.reset();
    }

    // A process is named by argv[0] without folder and extension, by comm when argv[0] is empty.
    void procNamesTheProcessesAndTheirChanges() {
        LVGameFolder proc;
        const auto process = [&](const QString &folder, const QByteArray &cmdline, const QByteArray &comm = {}) {
            proc.writeFile(folder + "/cmdline", QByteArray(cmdline).replace('|', '\0')); // '|': a zero byte
            if (!comm.isNull())
                proc.writeFile(folder + "/comm", comm);
        };
        process("10", "C:\\Program Files (x86)\\World of Warcraft\\_retail_\\Wow.exe|", "Wow.exe\n");
        process("11", "C:/Games/WoW\\Launcher.v2.exe|-uid|wow|");
        process("12", "/home/ann/.hidden|");
        process("13", "/usr/bin/sleep");
        process("14", "", "kworker/0:1H\n");
        process("15", "|--flag|", "daemon\n");
        process("16", "", "\n"); // names nothing
        process("17", "");       // its comm is gone
        process("self", "me|");
        proc.addFolder("18"); // ended since the listing
        const LVProcessTable expected{{10, "Wow"},   {11, "Launcher.v2"},  {12, ".hidden"},
                                      {13, "sleep"}, {14, "kworker/0:1H"}, {15, "daemon"}};
        QCOMPARE(readProcessTable(proc.path()), expected);

        LVProcProcessMonitor watching(proc.path());
        record(watching, 20);
        // The game quits and starts again between two looks: it ends up running.
        QVERIFY(QDir(proc.path()).rename("10", "4300"));
        QTRY_COMPARE(mEvents, (QStringList{"-Wow", "+Wow"}));
        // A process that runs the game instead of another program: one ends, one starts.
        process("11", "C:\\WoW\\Wow.exe|");
        QTRY_COMPARE(mEvents.mid(2), (QStringList{"-Launcher.v2", "+Wow"}));
        // One of two copies quits.
        QVERIFY(QDir(proc.filePath("4300")).removeRecursively());
        QTRY_COMPARE(mEvents.mid(4), QStringList{"-Wow"});
    }

    void seesTheGameRunByWineStartAndQuit() {
        LVProcProcessMonitor watching;
        record(watching, 50);
        QProcess game;
        game.start("bash", {"-c", R"(exec -a 'C:\Games\World of Warcraft\_retail_\Wow.exe' sleep 30)"});
        QVERIFY(game.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(mEvents.contains("+Wow"), 10000);
        QVERIFY(watching.runningApplicationNames().contains(kGame));

        game.kill();
        QVERIFY(game.waitForFinished());
        QTRY_VERIFY_WITH_TIMEOUT(mEvents.contains("-Wow"), 10000);
        QVERIFY(!watching.runningApplicationNames().contains(kGame));
    }

    void applicationLaunchesAndQuits_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("gameName"); // the setting, read afresh each time
        QTest::addColumn<bool>("autoUpload");
        QTest::addColumn<bool>("isGame");
        QTest::newRow("the game") << kGame << kGame << true << true;
        QTest::newRow("the game, no automatic upload") << kGame << kGame << false << true;
        QTest::newRow("a game of another name") << "WowClassic"
                                                << "WowClassic" << true << true;
        QTest::newRow("the old game after a change of name") << kGame << "WowClassic" << true << false;
        for (const char *other : {"World of Warcraft Launcher", "WowB", "Wow Helper", "wow", "Wow.exe"})
            QTest::newRow(other) << QString(other) << kGame << true << false;
    }

    // The buttons follow the game; quitting it starts an upload run when automatic upload is on.
    void applicationLaunchesAndQuits() {
        QFETCH(QString, name);
        QFETCH(QString, gameName);
        QFETCH(bool, autoUpload);
        QFETCH(bool, isGame);
        mWorld->settings.setValue(kWowApplicationNameKey, gameName);
        mWorld->settings.setValue(kAutoUploadKey, autoUpload);
        LVBusRecorder bus;
        // The buttons are set before the run starts: the run's first message finds them so.
        bool launchEnabledAtRunStart = false;
        connect(&LVStatusBus::instance(), &LVStatusBus::statusMessageChanged, &bus, [&](const QString &message) {
            launchEnabledAtRunStart |= message == kRunStarts && button("launchButton")->isEnabled();
        });

        monitor().launch(name);
        verifyGameRunning(isGame);
        QCOMPARE(mDelegate->isWOWRunning(), isGame); // as the look at start-up finds it
        QCOMPARE(bus.messages, QStringList());

        monitor().terminate(name);
        verifyGameRunning(false);
        QCOMPARE(bus.messages.value(0), isGame && autoUpload ? kRunStarts : QString());
        QCOMPARE(launchEnabledAtRunStart, isGame && autoUpload);
    }

    void eventsDuringAWaitAreHandledAfterIt() {
        LVBusRecorder bus; // automatic upload is on by default
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

    void launchButtonStartsTheGameOrItsLauncher() {
        LVBusRecorder bus;
        for (const bool runLauncher : {false, true}) {
            mWorld->settings.setValue(kRunLauncherAppKey, runLauncher);
            button("launchButton")->click();
        }
        QCOMPARE(mWorld->workspace.launched,
                 (QStringList{mGame->applicationPath(), mGame->filePath("World of Warcraft Launcher.exe")}));
        QCOMPARE(bus.errorMessages(), QStringList());
        // The game counts as running only when it is seen to start.
        QVERIFY(!mDelegate->isWoWRunning());

        mWorld->workspace.launchError = QStringLiteral("No Wine found to start the game: start it from your launcher");
        button("launchButton")->click();
        QCOMPARE(bus.errorMessages(), QStringList{mWorld->workspace.launchError});
    }
};

QTEST_MAIN(TestProcessTracking)
#include "TestProcessTracking.moc"
