#include "LVDelegateProbe.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "game/GameFolders.h"
#include "game/PathTemplates.h"

#include <QDir>
#include <QtTest>

class TestGameLayout : public QObject {
    Q_OBJECT

private:
    static QStringList listedFolders(const QString &folder) {
        // The order the file system lists them in, which the program keeps.
        return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    }

private slots:
    void applicationPaths_data() {
        QTest::addColumn<QString>("applicationPath");
        QTest::addColumn<bool>("launcher");
        QTest::addColumn<QString>("expected");

        QTest::newRow("game bundle") << "/Games/WoW/Game.app" << false << "/Games/WoW/Game.app";
        QTest::newRow("launcher bundle") << "/Games/WoW/Game.app" << true << "/Games/WoW/Launcher.app";
        QTest::newRow("windows launcher") << "/pfx/drive_c/WoW/Wow.exe" << true << "/pfx/drive_c/WoW/Launcher.exe";
        QTest::newRow("the configured name, not the configured file")
            << "/Games/WoW/Other.exe" << false << "/Games/WoW/Game.exe";
        QTest::newRow("no extension") << "/Games/WoW/game" << false << "/Games/WoW/Game";
    }

    void applicationPaths() {
        QFETCH(QString, applicationPath);
        QFETCH(bool, launcher);
        QFETCH(QString, expected);
        LVTestWorld world;
        world.settings.setValue(kWowApplicationPathKey, applicationPath);
        world.settings.registerDefaults({{kWowApplicationNameKey, QStringLiteral("Game")},
                                         {kWowLauncherApplicationNameKey, QStringLiteral("Launcher")}});
        LVApplicationDelegate &delegate = world.makeDelegate();

        QCOMPARE(delegate.fullPathToWorldOfWarcraft(launcher), expected);
        QCOMPARE(delegate.gameFolder(), QStringLiteral("/") + expected.section(QLatin1Char('/'), 1, -2));
        QVERIFY(world.workspace.lookedUp.isEmpty());
    }

    void withoutAPathTheWorkspaceIsAsked() {
        LVTestWorld world;
        world.settings.registerDefaults({{kWowApplicationNameKey, QStringLiteral("Wow")}});
        LVApplicationDelegate &delegate = world.makeDelegate();
        QVERIFY(delegate.fullPathToWorldOfWarcraft(false).isNull());
        QVERIFY(delegate.gameFolder().isNull());

        world.workspace.installedApplications.insert(QStringLiteral("Wow"), QStringLiteral("/pfx/WoW/Wow.exe"));
        QCOMPARE(delegate.fullPathToWorldOfWarcraft(false), QStringLiteral("/pfx/WoW/Wow.exe"));
        QCOMPARE(delegate.gameFolder(), QStringLiteral("/pfx/WoW"));
    }

    void accountsAndLocalesAreTheFoldersOneLevelDown() {
        LVGameFolder game;
        game.addAccount(QStringLiteral("ALPHA")).addAccount(QStringLiteral("BETA"));
        game.writeFile(QStringLiteral("WTF/Account/notes.txt"), "not an account");
        game.addFolder(QStringLiteral("WTF/Account/ALPHA/Nested"));
        game.addLocale(QStringLiteral("enUS")).addLocale(QStringLiteral("frFR"));
        QVERIFY(QFile::link(game.filePath(QStringLiteral("WTF/Account/ALPHA")),
                            game.filePath(QStringLiteral("WTF/Account/LINKED"))));
        LVTestWorld world;
        world.settings.setValue(kWowApplicationPathKey, game.applicationPath());
        LVApplicationDelegate &delegate = world.makeDelegate();

        delegate.gatherAccounts();
        delegate.gatherLocales();

        QStringList expectedAccounts = listedFolders(game.filePath(QStringLiteral("WTF/Account")));
        expectedAccounts.removeAll(QStringLiteral("LINKED"));
        QCOMPARE(delegate.accounts().value_or(QStringList()), expectedAccounts);
        QCOMPARE(QSet<QString>(expectedAccounts.begin(), expectedAccounts.end()),
                 (QSet<QString>{QStringLiteral("ALPHA"), QStringLiteral("BETA")}));
        const QStringList expectedLocales = listedFolders(game.filePath(QStringLiteral("Cache/WDB")));
        QCOMPARE(delegate.locales().value_or(QStringList()), expectedLocales);
        QCOMPARE(delegate.expandPath(QStringLiteral("%locale%")), expectedLocales.last());
    }

    void noFoldersLeaveTheListsAbsent() {
        LVGameFolder game;
        game.writeFile(QStringLiteral("WTF/Account/file-only"), "x");
        LVTestWorld world;
        world.settings.setValue(kWowApplicationPathKey, game.applicationPath());
        LVApplicationDelegate &delegate = world.makeDelegate();
        delegate.gatherAccounts();
        delegate.gatherLocales();
        QVERIFY(!delegate.accounts().has_value());
        QVERIFY(!delegate.locales().has_value());

        LVTestWorld noGame;
        LVApplicationDelegate &withoutPath = noGame.makeDelegate();
        withoutPath.gatherAccounts();
        QVERIFY(!withoutPath.accounts().has_value());
    }

    void realmListIsTheFirstMatchOfADepthFirstWalk() {
        LVGameFolder game;
        game.writeFile(QStringLiteral("Data/enUS/realmlist.wtf"), "deep");
        game.writeFile(QStringLiteral("Data/Realmlist.wtf"), "wrong case");
        LVTestWorld world;
        world.settings.setValue(kWowApplicationPathKey, game.applicationPath());
        LVApplicationDelegate &delegate = world.makeDelegate();
        QCOMPARE(delegate.realmlistPath(), game.filePath(QStringLiteral("Data/enUS/realmlist.wtf")));

        // A folder's contents come right after the folder, before its later siblings.
        QTemporaryDir root;
        QDir(root.path()).mkpath(QStringLiteral("a/b"));
        QDir(root.path()).mkpath(QStringLiteral("c"));
        QFile(root.filePath(QStringLiteral("a/b/realmlist.wtf"))).open(QIODevice::WriteOnly);
        QFile(root.filePath(QStringLiteral("c/realmlist.wtf"))).open(QIODevice::WriteOnly);
        const QStringList top = listedFolders(root.path());
        QCOMPARE(findFirstEntryNamed(root.path(), QStringLiteral("realmlist.wtf")),
                 root.filePath(top.first() == QLatin1String("a") ? "a/b/realmlist.wtf" : "c/realmlist.wtf"));
    }

    void realmListWalkSurvivesALinkLoop() {
        LVGameFolder game;
        game.addFolder(QStringLiteral("Data/loop"));
        QVERIFY(QFile::link(game.filePath(QStringLiteral("Data")), game.filePath(QStringLiteral("Data/loop/back"))));
        game.writeFile(QStringLiteral("Interface/realmlist.wtf"), "x");
        QCOMPARE(findFirstEntryNamed(game.path(), QStringLiteral("realmlist.wtf")),
                 game.filePath(QStringLiteral("Interface/realmlist.wtf")));
        QVERIFY(findFirstEntryNamed(game.path(), QStringLiteral("missing.wtf")).isNull());
    }

    void expandPathReplacesEachPlaceholderOnce_data() {
        QTest::addColumn<QString>("pathTemplate");
        QTest::addColumn<QString>("account");
        QTest::addColumn<QString>("expected");

        QTest::newRow("saved variables") << "%WoW%/WTF/Account/%account_name%/SavedVariables/X.lua"
                                         << "ALPHA"
                                         << "/Games/WoW/WTF/Account/ALPHA/SavedVariables/X.lua";
        QTest::newRow("game folder only once") << "%WoW%/%WoW%"
                                               << ""
                                               << "/Games/WoW/%WoW%";
        QTest::newRow("locale") << "%WoW%/Cache/WDB/%locale%/a.wdb"
                                << ""
                                << "/Games/WoW/Cache/WDB/frFR/a.wdb";
        QTest::newRow("account left in place without one")
            << "%WoW%/WTF/Account/%account_name%/x" << QString() << "/Games/WoW/WTF/Account/%account_name%/x";
        QTest::newRow("no placeholder") << "relative/x"
                                        << "ALPHA"
                                        << "relative/x";
    }

    void expandPathReplacesEachPlaceholderOnce() {
        QFETCH(QString, pathTemplate);
        QFETCH(QString, account);
        QFETCH(QString, expected);
        LVTestWorld world;
        world.settings.setValue(kWowApplicationPathKey, QStringLiteral("/Games/WoW/Wow.exe"));
        LVApplicationDelegate &delegate = world.makeDelegate();
        LVDelegateProbe::setLocales(delegate, QStringList{QStringLiteral("enUS"), QStringLiteral("frFR")});
        QCOMPARE(delegate.expandPath(pathTemplate, account), expected);
    }

    void localeLeftInPlaceWithoutLocales() {
        QCOMPARE(expandPathTemplate(QStringLiteral("%WoW%/%locale%/%locale%"), QStringLiteral("/g"), QString(), {}),
                 QStringLiteral("/g/%locale%/%locale%"));
    }

    void pathOperations() {
        QCOMPARE(deletingLastPathComponent(QStringLiteral("/a/b/c.app")), QStringLiteral("/a/b"));
        QCOMPARE(deletingLastPathComponent(QStringLiteral("/a/b/")), QStringLiteral("/a"));
        QCOMPARE(deletingLastPathComponent(QStringLiteral("/x")), QStringLiteral("/"));
        QCOMPARE(deletingLastPathComponent(QStringLiteral("Wow.exe")), QStringLiteral(""));
        QCOMPARE(appendingPathComponent(QStringLiteral("/a/"), QStringLiteral("/b")), QStringLiteral("/a/b"));
        QCOMPARE(appendingPathComponent(QStringLiteral(""), QStringLiteral("b")), QStringLiteral("b"));
        QCOMPARE(lastPathComponent(QStringLiteral("/a/b/c.gz")), QStringLiteral("c.gz"));
        QCOMPARE(pathExtension(QStringLiteral("/a/X.lua.rename")), QStringLiteral("rename"));
        QCOMPARE(pathExtension(QStringLiteral("/a.b/c")), QStringLiteral(""));
        QCOMPARE(deletingPathExtension(QStringLiteral("/a/X.lua.rename")), QStringLiteral("/a/X.lua"));
    }
};

QTEST_GUILESS_MAIN(TestGameLayout)
#include "TestGameLayout.moc"
