#include "LVBusRecorder.h"
#include "LVGameFolder.h"
#include "LVProcFolder.h"
#include "LVTestWorld.h"
#include "app/LVHeadless.h"
#include "game/InstallChoices.h"
#include "platform/LVProcProcessMonitor.h"

#include <QPushButton>
#include <QtTest>

// Following the game as it starts and quits: the processes seen through /proc, then the controller
// with the real main window, a fake process monitor and a fake workspace.
class TestProcessTracking : public QObject {
    Q_OBJECT

    const QString kGame = QStringLiteral("Wow");
    const QString kRunStarts = QStringLiteral("Checking for supported realms…");
    static constexpr int kNoTimer = 24 * 3600 * 1000; // the test looks by itself

    std::unique_ptr<LVGameFolder> mGame;
    std::unique_ptr<LVTestWorld> mWorld;
    LVApplicationDelegate *mDelegate = nullptr;
    QStringList mEvents; // what a real monitor reported: "+name" for a launch, "-name" for a termination

    LVFakeProcessMonitor &monitor() const { return mWorld->processMonitor; }
    QPushButton *button(const char *name) const { return mWorld->find<QPushButton>(name); }
    // Whether the controller and both buttons agree that the game runs.
    void verifyGameRunning(bool running) const {
        QCOMPARE(mDelegate->gameWatch().isGameRunning(), running);
        QCOMPARE(button("launchButton")->isEnabled(), !running);
        QCOMPARE(button("uploadButton")->isEnabled(), !running);
    }
    void record(LVProcProcessMonitor &watched) {
        watched.setPollInterval(kNoTimer);
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

    void readsAStatLine_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<qlonglong>("startTime"); // -1: not a stat line
        QTest::addColumn<bool>("kernelThread");
        const QByteArray fields = " S 1 77 77 0 -1 %flags 120 0 0 0 3 1 0 0 20 0 1 0 %start 8282112 135 "
                                  "18446744073709551615 1 1 0 0 0 0 0 0 0 17 1 0 0 0 0 0\n";
        const auto line = [&](const QByteArray &comm, const char *flags, const char *start) {
            return "77 (" + comm + ")" + QByteArray(fields).replace("%flags", flags).replace("%start", start);
        };
        QTest::newRow("a kernel thread") << line("kworker/1:0-events", "69238880", "12") << 12ll << true;
        QTest::newRow("spaces and parentheses in the name")
            << line("Wow) S 1 2 3 (x", "4194304", "991") << 991ll << false;
        QTest::newRow("no parentheses") << QByteArray("77 sleep S 1 77") << -1ll << false;
        QTest::newRow("cut short") << line("sleep", "4194304", "5843127").left(40) << -1ll << false;
        QTest::newRow("not a number") << line("sleep", "4194304", "soon") << -1ll << false;
    }
    void readsAStatLine() {
        QFETCH(QByteArray, line);
        const std::optional<LVProcessStat> stat = lv::parseProcessStat(line);
        QTEST(stat ? qlonglong(stat->startTime) : -1ll, "startTime");
        QTEST(stat && stat->kernelThread, "kernelThread");
    }

    void readsTheRealUser_data() {
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<int>("uid"); // -1: none
        QTest::newRow("started by a user, running as another")
            << QByteArray("Name:\tsu\nUmask:\t0022\nState:\tS\nUid:\t1000\t0\t0\t0\nGid:\t1000\t0\t0\t0\n") << 1000;
        QTest::newRow("on the first line") << QByteArray("Uid:\t0\t0\t0\t0\n") << 0;
        QTest::newRow("no such line") << QByteArray("Name:\tsleep\nRealUid:\t5\n") << -1;
        QTest::newRow("no number") << QByteArray("Name:\tsleep\nUid:\t\n") << -1;
    }
    void readsTheRealUser() {
        QFETCH(QByteArray, status);
        QFETCH(int, uid);
        const std::optional<uid_t> user = lv::realUserIdFromStatus(status);
        QCOMPARE(user ? int(*user) : -1, uid);
    }

    // The monitor on a /proc-like folder, looked at once when made and then once per table: what
    // each look after the first reported, and the names running after the last.
    void watchesAProcFolder_data() {
        QTest::addColumn<QList<QStringList>>("looks");
        QTest::addColumn<QStringList>("reports"); // "+name" a launch, "-name" a termination
        QTest::addColumn<QStringList>("running");
        // A process is named by argv[0] without folder and extension, by comm when argv[0] is empty;
        // what is no process is passed over.
        QTest::newRow("one name for each process")
            << QList<QStringList>{{"13 ended", "self me", "15"},
                                  {"10 C:\\Program~Files~(x86)\\World~of~Warcraft\\_retail_\\Wow.exe| comm=Wow.exe",
                                   "11 /usr/bin/sleep", "12 C:\\Wow.exe", "13 ended", "14 comm=kworker/0:1H",
                                   "40 C:/Games/WoW\\Launcher.v2.exe|-uid|wow|", "41 /home/ann/.hidden|",
                                   "43 |--flag| comm=daemon", "44 comm=~", "self me", "15"}}
            << QStringList{"+Wow +sleep +Wow +kworker/0:1H +Launcher.v2 +.hidden +daemon"}
            << QStringList{"Wow", "sleep", "Wow", "kworker/0:1H", "Launcher.v2", ".hidden", "daemon"};
        QTest::newRow("copies quit, and an id is used again")
            << QList<QStringList>{{"20 Wow", "21 Wow"},
                                  {"21 Wow"},
                                  {"4300 Wow start=5 comm=a)~S~1~(b"},
                                  {"4300 Wow start=9 comm=a)~S~1~(b"}}
            << QStringList{"-Wow", "-Wow +Wow", "-Wow +Wow"} << QStringList{"Wow"};
        QTest::newRow("the same process in a folder made anew")
            << QList<QStringList>{{"20 Wow"}, {"20 Wow"}, {"20 sleep anew"}} << QStringList{"", ""}
            << QStringList{"Wow"};
        QTest::newRow("seen between its fork and its exec")
            << QList<QStringList>{{"20 bash"}, {"20 C:\\Wow.exe"}} << QStringList{"-bash +Wow"} << QStringList{"Wow"};
        QTest::newRow("a name seen at two looks is not read again")
            << QList<QStringList>{{"20 bash"}, {"20 bash"}, {"20 Wow"}} << QStringList{"", ""} << QStringList{"bash"};
        for (const QString loader :
             {"/usr/bin/wine|C:\\Wow.exe|", "/usr/lib/wine/wine64|C:\\Wow.exe|", "/usr/lib/wine/wine-preloader",
              "/opt/bin/wine64-preloader", "comm=wine64-preloade"}) {
            const QString shown = loader.section('|', 0, 0).section('/', -1).section('=', -1);
            QTest::addRow("Wine's loader as %s until it shows the game", qPrintable(shown))
                << QList<QStringList>{{"20 " + loader}, {"20 " + loader}, {"20 " + loader}, {"20 C:\\Games\\Wow.exe"}}
                << QStringList{"", "", "-" + shown + " +Wow"} << QStringList{"Wow"};
        }
        QTest::newRow("an empty command line until it is filled")
            << QList<QStringList>{{"30 comm=Wow.exe"}, {"30 comm=Wow.exe"}, {"30 C:\\Wow.exe comm=Wow.exe"}}
            << QStringList{"", "-Wow.exe +Wow"} << QStringList{"Wow"};
        QTest::newRow("a kernel thread, named by its comm once")
            << QList<QStringList>{{"2 comm=kthreadd kernel"}, {"2 comm=kthreadd kernel"}, {"2 comm=other kernel"}}
            << QStringList{"", ""} << QStringList{"kthreadd"};
        QTest::newRow("another user's processes, Wine's loader among them")
            << QList<QStringList>{{"20 Wow uid=other", "21 sleep", "23 wine64 uid=other"},
                                  {"20 Wow uid=other", "21 sleep", "22 C:\\Wow.exe uid=other",
                                   "23 C:\\Wow.exe uid=other"}}
            << QStringList{""} << QStringList{"sleep"};
    }
    void watchesAProcFolder() {
        QFETCH(QList<QStringList>, looks);
        QFETCH(QStringList, running);
        LVProcFolder proc;
        proc.show(looks.first());
        LVProcProcessMonitor watching(proc.path(), getuid());
        record(watching);
        QStringList reports;
        for (const QStringList &look : looks.mid(1)) {
            proc.show(look);
            watching.pollNow();
            reports << mEvents.join(' ');
            mEvents.clear();
        }
        QTEST(reports, "reports");
        QCOMPARE(watching.runningApplicationNames(), running);
        // The names are read afresh: a process started since the last look counts, and the next look
        // still reports it.
        proc.show(looks.last() + QStringList{"9990 Wow", "9991 Wow"});
        QCOMPARE(watching.runningApplicationNames(), running + QStringList(2, kGame));
        QCOMPARE(watching.runningCount(kGame), running.count(kGame) + 2);
        watching.pollNow();
        QCOMPARE(mEvents, (QStringList{"+Wow", "+Wow"}));
    }

    // Processes of the watched names start and end, "+name" and "-name": the game runs while any of
    // them runs, the buttons follow it, and quitting it starts an upload run when automatic upload is on.
    void theGameQuitsWithItsLastProcess_data() {
        QTest::addColumn<QString>("gameName");     // the setting, read afresh each time; null: left as it is
        QTest::addColumn<QStringList>("installs"); // checked "+program", unchecked "-program"; empty: none
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("running"); // after each event, 1 or 0; "u": 1, with no automatic upload
        QTest::newRow("the game, no automatic upload")
            << QString() << QStringList() << QStringList{"+Wow", "-Wow"} << "u0";
        QTest::newRow("the old game after a change of name")
            << "WowClassic" << QStringList() << QStringList{"+Wow", "-Wow"} << "00";
        for (const char *other : {"WowB", "wow", "Wow.exe"})
            QTest::newRow(other) << QString() << QStringList()
                                 << QStringList{"+" + QString(other), "-" + QString(other)} << "00";
        QTest::newRow("two copies of the game")
            << QString() << QStringList{"+_retail_/Wow"} << QStringList{"+Wow", "+Wow", "-Wow", "-Wow"} << "1110";
        QTest::newRow("two checked flavors")
            << QString() << QStringList{"+_retail_/Wow", "+_classic_/WowClassic"}
            << QStringList{"+WowClassic", "+Wow", "-WowClassic", "+WowClassic", "-Wow", "-WowClassic"} << "111110";
        QTest::newRow("an unchecked flavor does not count")
            << QString() << QStringList{"+_retail_/Wow", "-_classic_/WowClassic"}
            << QStringList{"+Wow", "+WowClassic", "-Wow"} << "110";
    }
    void theGameQuitsWithItsLastProcess() {
        QFETCH(QString, gameName);
        QFETCH(QStringList, installs);
        QFETCH(QStringList, events);
        QFETCH(QString, running);
        QList<LVInstallChoice> choices;
        for (const QString &install : installs)
            choices.append({mGame->filePath(install.mid(1) + ".exe"), install.startsWith('+')});
        if (!choices.isEmpty())
            lv::storeInstallChoices(mWorld->settings, choices);
        if (!gameName.isNull())
            mWorld->settings.setValue(kWowApplicationNameKey, gameName);
        mWorld->settings.setValue(kAutoUploadKey, !running.contains('u'));
        running.replace('u', '1');
        for (qsizetype i = 0; i < events.size(); ++i) {
            LVBusRecorder bus;
            // The buttons are set before the run starts: the run's first message finds them so.
            bool launchEnabledAtRunStart = false;
            connect(&LVStatusBus::instance(), &LVStatusBus::statusMessageChanged, &bus, [&](const QString &message) {
                launchEnabledAtRunStart |= message == kRunStarts && button("launchButton")->isEnabled();
            });
            const QString name = events[i].mid(1);
            events[i].startsWith('+') ? monitor().launch(name) : monitor().terminate(name);
            verifyGameRunning(running[i] == '1');
            QCOMPARE(mDelegate->isWOWRunning(), running[i] == '1');
            const bool runs =
                i > 0 && running[i - 1] == '1' && running[i] == '0' && mWorld->settings.boolForKey(kAutoUploadKey);
            // With several installs, each install's run is announced first.
            QVERIFY2(bus.messages.indexOf(kRunStarts) ==
                         (runs ? int(installs.join("").count(QLatin1Char('+')) > 1) : -1),
                     qPrintable(events.mid(0, i + 1).join(' ')));
            QCOMPARE(launchEnabledAtRunStart, runs);
        }
    }

    void eventsDuringAWaitAreHandledAfterIt() {
        LVBusRecorder bus; // automatic upload is on by default
        {
            LVBusyGuard::Scope busy(mDelegate->busyGuard());
            monitor().launch(kGame);
            verifyGameRunning(false);
        }
        QTRY_VERIFY(mDelegate->gameWatch().isGameRunning());
        verifyGameRunning(true);
        {
            LVBusyGuard::Scope busy(mDelegate->busyGuard());
            monitor().terminate(kGame);
            QVERIFY(mDelegate->gameWatch().isGameRunning());
            QCOMPARE(bus.messages, QStringList());
        }
        QTRY_VERIFY(!mDelegate->gameWatch().isGameRunning());
        QCOMPARE(bus.messages.value(0), kRunStarts);
    }

    // An install found on the machine and nothing chosen yet: the program's own name is watched, and
    // Launch starts it; a process of another flavor's name, the default one included, is not the game.
    void aFoundInstallIsWatchedAndLaunchedByItsOwnName() {
        const QString program = QStringLiteral("_ptr_/WowT"), other = kGame;
        const QString name = program.section('/', 1);
        const QString executable = mGame->filePath("World of Warcraft/" + program + ".exe");
        for (const char *key : {kWowApplicationPathKey, kWowInstallsKey})
            mWorld->settings.removeValueForKey(key);
        mWorld->workspace.installations = {{executable, program.section('/', 0, 0), mGame->path(), LVPrefixKind::Lutris,
                                            QStringLiteral("world-of-warcraft")}};
        mDelegate->awakeFromNib(); // the search at start-up
        mDelegate->validateUserInterface();
        button("launchButton")->click();
        QCOMPARE(mWorld->workspace.launched, QStringList{executable});

        monitor().launch(other);
        verifyGameRunning(false);
        monitor().launch(name);
        verifyGameRunning(true);
        // Without a window, too, no upload starts while it runs.
        QCOMPARE(lv::runHeadlessUpload(*mDelegate, mWorld->settings, mWorld->credentialStore),
                 int(kHeadlessCannotStart));
        LVBusRecorder bus;
        monitor().terminate(name);
        verifyGameRunning(false);
        QCOMPARE(bus.messages.value(0), kRunStarts);
    }

    // The launcher is looked for beside the game, then in the folder above, as a real install keeps it.
    void launchButtonStartsTheGameOrItsLauncher_data() {
        QTest::addColumn<bool>("runLauncher");
        QTest::addColumn<QString>("launcherAt"); // relative to the game's folder; null: none
        QTest::addColumn<QString>("launched");   // null: nothing
        QTest::addColumn<QString>("error");      // "{folder}" stands for the game's folder
        const QString launcher = QStringLiteral("World of Warcraft Launcher.exe");
        QTest::newRow("the game") << false << launcher << "_retail_/Wow.exe" << QString();
        QTest::newRow("its launcher, in the folder above") << true << launcher << launcher << QString();
        QTest::newRow("no launcher") << true << QString() << QString()
                                     << "The game's launcher is not in {folder} nor in the folder above it";
        QTest::newRow("the game fails to start") << false << QString() << "_retail_/Wow.exe"
                                                 << "No Wine found to start the game: start it from your launcher";
    }
    void launchButtonStartsTheGameOrItsLauncher() {
        QFETCH(bool, runLauncher);
        QFETCH(QString, launcherAt);
        QFETCH(QString, launched);
        QFETCH(QString, error);
        LVGameFolder game(QStringLiteral("_retail_/Wow.exe"));
        if (!launcherAt.isNull())
            game.writeFile(launcherAt, "launcher");
        mWorld->settings.setValue(kWowApplicationPathKey, game.applicationPath());
        mWorld->settings.setValue(kRunLauncherAppKey, runLauncher);
        if (!runLauncher && !error.isNull())
            mWorld->workspace.launchError = error;
        LVBusRecorder bus;
        button("launchButton")->click();
        QCOMPARE(mWorld->workspace.launched, launched.isNull() ? QStringList() : QStringList{game.filePath(launched)});
        QCOMPARE(bus.errorMessages(),
                 error.isNull() ? QStringList() : QStringList{error.replace("{folder}", game.filePath("_retail_"))});
        // The game counts as running only when it is seen to start.
        QVERIFY(!mDelegate->gameWatch().isGameRunning());
    }
};

QTEST_MAIN(TestProcessTracking)
#include "TestProcessTracking.moc"
