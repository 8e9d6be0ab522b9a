#include "platform/LVProcProcessMonitor.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// Watching the processes through /proc: the names a user would call them by, what counts as a
// start and an end, and a real child process that looks like the game run by Wine.
class TestProcessMonitor : public QObject {
    Q_OBJECT

    // The contents of a cmdline file: each argument followed by a zero byte.
    static QByteArray argv(std::initializer_list<const char *> arguments) {
        QByteArray cmdline;
        for (const char *argument : arguments)
            cmdline.append(argument).append('\0');
        return cmdline;
    }

    static void writeProcFile(const QString &path, const QByteArray &contents) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

private slots:
    void nameIsArgvZeroWithoutFolderAndExtension_data() {
        QTest::addColumn<QByteArray>("cmdline");
        QTest::addColumn<QByteArray>("comm");
        QTest::addColumn<QString>("name"); // null: nothing names the process

        QTest::newRow("game under wine") << argv({"C:\\Program Files (x86)\\World of Warcraft\\_retail_\\Wow.exe"})
                                         << QByteArray("Wow.exe\n") << "Wow";
        QTest::newRow("drive mapped by wine")
            << argv({"Z:\\home\\ann\\Games\\wow\\World of Warcraft Launcher.exe", "-uid", "wow"})
            << QByteArray("World of Warcra\n") << "World of Warcraft Launcher";
        QTest::newRow("mixed separators") << argv({"C:/Games/WoW\\Wow.exe"}) << QByteArray() << "Wow";
        QTest::newRow("only the last extension goes") << argv({"/opt/game.v2.exe"}) << QByteArray() << "game.v2";
        QTest::newRow("leading dot is no extension") << argv({"/home/ann/.hidden"}) << QByteArray() << ".hidden";
        QTest::newRow("no terminating zero") << QByteArray("/usr/bin/sleep") << QByteArray() << "sleep";
        QTest::newRow("kernel thread") << QByteArray() << QByteArray("kworker/0:1H\n") << "kworker/0:1H";
        QTest::newRow("empty argv zero") << argv({"", "--flag"}) << QByteArray("daemon\n") << "daemon";
        QTest::newRow("nothing at all") << QByteArray() << QByteArray("\n") << QString();
    }

    void nameIsArgvZeroWithoutFolderAndExtension() {
        QFETCH(QByteArray, cmdline);
        QFETCH(QByteArray, comm);
        QFETCH(QString, name);
        const QString found = applicationNameOfProcess(cmdline, comm);
        QCOMPARE(found, name);
        QCOMPARE(found.isNull(), name.isNull());
    }

    void changesBetweenTwoLooks_data() {
        QTest::addColumn<LVProcessTable>("before");
        QTest::addColumn<LVProcessTable>("after");
        QTest::addColumn<QStringList>("terminated");
        QTest::addColumn<QStringList>("launched");

        const LVProcessTable idle{{1, "init"}, {200, "bash"}};
        QTest::newRow("nothing changed") << idle << idle << QStringList() << QStringList();
        QTest::newRow("game started") << idle << LVProcessTable{{1, "init"}, {200, "bash"}, {4242, "Wow"}}
                                      << QStringList() << QStringList{"Wow"};
        QTest::newRow("game quit") << LVProcessTable{{1, "init"}, {4242, "Wow"}} << LVProcessTable{{1, "init"}}
                                   << QStringList{"Wow"} << QStringList();
        QTest::newRow("exec into the game")
            << LVProcessTable{{1, "init"}, {300, "bash"}} << LVProcessTable{{1, "init"}, {300, "Wow"}}
            << QStringList{"bash"} << QStringList{"Wow"};
        QTest::newRow("two copies, one quits") << LVProcessTable{{10, "Wow"}, {11, "Wow"}}
                                               << LVProcessTable{{11, "Wow"}} << QStringList{"Wow"} << QStringList();
    }

    void changesBetweenTwoLooks() {
        QFETCH(LVProcessTable, before);
        QFETCH(LVProcessTable, after);
        QFETCH(QStringList, terminated);
        QFETCH(QStringList, launched);
        const LVProcessChanges changes = compareProcessTables(before, after);
        QCOMPARE(changes.terminated, terminated);
        QCOMPARE(changes.launched, launched);
    }

    void unreadableProcessesArePassedOver() {
        QTemporaryDir proc;
        writeProcFile(proc.filePath("1/cmdline"), argv({"/sbin/init", "splash"}));
        writeProcFile(proc.filePath("2/cmdline"), QByteArray());
        writeProcFile(proc.filePath("2/comm"), "kthreadd\n");
        QDir().mkpath(proc.filePath("3"));                          // ended since the listing
        writeProcFile(proc.filePath("4/cmdline"), QByteArray());    // its comm is gone
        writeProcFile(proc.filePath("self/cmdline"), argv({"me"})); // not a process id
        writeProcFile(proc.filePath("5000/cmdline"), argv({"C:\\WoW\\Wow.exe"}));
        writeProcFile(proc.filePath("uptime"), "1.0 1.0\n");

        const LVProcessTable expected{{1, "init"}, {2, "kthreadd"}, {5000, "Wow"}};
        QCOMPARE(readProcessTable(proc.path()), expected);
        QCOMPARE(LVProcProcessMonitor(proc.path()).runningApplicationNames(), (QStringList{"init", "kthreadd", "Wow"}));
        QVERIFY(readProcessTable(proc.filePath("missing")).isEmpty());
    }

    void gameRestartedBetweenTwoLooksEndsUpRunning() {
        QTemporaryDir proc;
        writeProcFile(proc.filePath("4242/cmdline"), argv({"C:\\WoW\\Wow.exe"}));
        LVProcProcessMonitor monitor(proc.path());
        monitor.setPollInterval(20);
        QStringList events;
        connect(&monitor, &LVProcessMonitor::applicationLaunched, this,
                [&](const QString &name) { events << "+" + name; });
        connect(&monitor, &LVProcessMonitor::applicationTerminated, this,
                [&](const QString &name) { events << "-" + name; });

        QVERIFY(QDir(proc.path()).rename(QStringLiteral("4242"), QStringLiteral("4300")));
        QTRY_COMPARE(events, (QStringList{"-Wow", "+Wow"}));
    }

    void seesTheGameRunByWineStartAndQuit() {
        LVProcProcessMonitor monitor;
        monitor.setPollInterval(50);
        QStringList launched;
        QStringList terminated;
        connect(&monitor, &LVProcessMonitor::applicationLaunched, this, [&](const QString &name) { launched << name; });
        connect(&monitor, &LVProcessMonitor::applicationTerminated, this,
                [&](const QString &name) { terminated << name; });

        QProcess game;
        game.start(QStringLiteral("bash"),
                   {QStringLiteral("-c"),
                    QStringLiteral(R"(exec -a 'C:\Games\World of Warcraft\_retail_\Wow.exe' sleep 30)")});
        QVERIFY(game.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(launched.contains(QStringLiteral("Wow")), 10000);
        QVERIFY(monitor.runningApplicationNames().contains(QStringLiteral("Wow")));
        QVERIFY(!terminated.contains(QStringLiteral("Wow")));

        game.kill();
        QVERIFY(game.waitForFinished());
        QTRY_VERIFY_WITH_TIMEOUT(terminated.contains(QStringLiteral("Wow")), 10000);
        QVERIFY(!monitor.runningApplicationNames().contains(QStringLiteral("Wow")));
    }
};

QTEST_GUILESS_MAIN(TestProcessMonitor)
#include "TestProcessMonitor.moc"
