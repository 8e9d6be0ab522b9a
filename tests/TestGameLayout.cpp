#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "game/GameFolders.h"
#include "game/LVGameInstall.h"
#include "game/PathTemplates.h"
#include "platform/LVLinuxWorkspace.h"

#include <QDir>
#include <QtTest>

// Where the game is, in the user's Wine prefixes, and how its folders are laid out.
class TestGameLayout : public QObject {
    Q_OBJECT

    static QStringList listedFolders(const QString &folder) {
        // The order the file system lists them in, which the program keeps.
        return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    }
    static void touch(const QString &path) {
        QDir().mkpath(QFileInfo(path).path());
        QFile(path).open(QIODevice::WriteOnly);
    }

private slots:
    void applicationPaths_data() {
        QTest::addColumn<QString>("applicationPath"); // null: none stored, the workspace is asked
        QTest::addColumn<bool>("launcher");
        QTest::addColumn<QString>("expected");
        QTest::newRow("game bundle") << "/Games/WoW/Game.app" << false << "/Games/WoW/Game.app";
        QTest::newRow("launcher bundle") << "/Games/WoW/Game.app" << true << "/Games/WoW/Launcher.app";
        QTest::newRow("the configured name, the configured extension")
            << "/pfx/drive_c/WoW/Other.exe" << false << "/pfx/drive_c/WoW/Game.exe";
        QTest::newRow("no path stored") << QString() << false << "/detected/Game.exe";
    }

    void applicationPaths() {
        QFETCH(QString, applicationPath);
        QFETCH(bool, launcher);
        QFETCH(QString, expected);
        LVTestWorld world;
        if (!applicationPath.isNull())
            world.settings.setValue(kWowApplicationPathKey, applicationPath);
        world.settings.registerDefaults({{kWowApplicationNameKey, QStringLiteral("Game")},
                                         {kWowLauncherApplicationNameKey, QStringLiteral("Launcher")}});
        world.workspace.installedApplications.insert(QStringLiteral("Game"), QStringLiteral("/detected/Game.exe"));
        LVGameInstall install(world.settings, world.workspace);

        QCOMPARE(install.fullPathToWorldOfWarcraft(launcher), expected);
        QCOMPARE(install.gameFolder(), expected.section(QLatin1Char('/'), 0, -2));
        QCOMPARE(world.workspace.lookedUp.isEmpty(), !applicationPath.isNull());
    }

    void accountsAndLocalesAreTheFoldersOneLevelDown() {
        LVGameFolder game;
        game.addAccount(QStringLiteral("ALPHA")).addAccount(QStringLiteral("BETA"));
        game.writeFile(QStringLiteral("WTF/Account/notes.txt"), "not an account");
        game.addLocale(QStringLiteral("enUS")).addLocale(QStringLiteral("frFR"));
        QVERIFY(QFile::link(game.filePath(QStringLiteral("WTF/Account/ALPHA")),
                            game.filePath(QStringLiteral("WTF/Account/LINKED"))));
        LVTestWorld world;
        world.settings.setValue(kWowApplicationPathKey, game.applicationPath());
        LVGameInstall install(world.settings, world.workspace);
        install.gatherAccounts();
        install.gatherLocales();

        QStringList accounts = listedFolders(game.filePath(QStringLiteral("WTF/Account")));
        accounts.removeAll(QStringLiteral("LINKED"));
        QCOMPARE(install.accounts().value_or(QStringList()), accounts);
        QCOMPARE(accounts.size(), 2);
        const QStringList locales = listedFolders(game.filePath(QStringLiteral("Cache/WDB")));
        QCOMPARE(install.locales().value_or(QStringList()), locales);
        QCOMPARE(install.expandPath(QStringLiteral("%locale%")), locales.last());

        QDir(game.filePath(QStringLiteral("Cache"))).removeRecursively();
        install.gatherLocales();
        QVERIFY(!install.locales().has_value());
    }

    void realmListIsTheFirstMatchOfADepthFirstWalk() {
        LVGameFolder game;
        game.writeFile(QStringLiteral("Data/Realmlist.wtf"), "wrong case");
        game.addFolder(QStringLiteral("Data/loop"));
        QVERIFY(QFile::link(game.filePath(QStringLiteral("Data")), game.filePath(QStringLiteral("Data/loop/back"))));
        game.writeFile(QStringLiteral("Data/enUS/realmlist.wtf"), "deep");
        game.writeFile(QStringLiteral("WTF/realmlist.wtf"), "other branch");
        // A folder's contents come right after the folder, before its later siblings.
        const bool dataFirst = listedFolders(game.path()).indexOf("Data") < listedFolders(game.path()).indexOf("WTF");
        QCOMPARE(lv::findFirstEntryNamed(game.path(), QStringLiteral("realmlist.wtf")),
                 game.filePath(dataFirst ? "Data/enUS/realmlist.wtf" : "WTF/realmlist.wtf"));
        QVERIFY(lv::findFirstEntryNamed(game.path(), QStringLiteral("missing.wtf")).isNull());
    }

    void expandPathReplacesEachPlaceholderOnce_data() {
        QTest::addColumn<QString>("pathTemplate");
        QTest::addColumn<QString>("account");
        QTest::addColumn<QString>("expected");
        QTest::newRow("saved variables") << "%WoW%/WTF/Account/%account_name%/SavedVariables/X.lua"
                                         << "ALPHA"
                                         << "/Games/WoW/WTF/Account/ALPHA/SavedVariables/X.lua";
        QTest::newRow("each placeholder once") << "%WoW%/%WoW%/%locale%/%locale%"
                                               << ""
                                               << "/Games/WoW/%WoW%/frFR/%locale%";
        QTest::newRow("no account, nothing put in its place")
            << "%WoW%/WTF/Account/%account_name%/x" << QString() << "/Games/WoW/WTF/Account/%account_name%/x";
    }

    void expandPathReplacesEachPlaceholderOnce() {
        QFETCH(QString, pathTemplate);
        QFETCH(QString, account);
        QFETCH(QString, expected);
        QCOMPARE(lv::expandPathTemplate(pathTemplate, QStringLiteral("/Games/WoW"), account, QStringLiteral("frFR")),
                 expected);
        QCOMPARE(lv::expandPathTemplate(QStringLiteral("/%locale%"), QString(), QString(), QString()),
                 QStringLiteral("/%locale%"));
    }

    void findsTheGameInTheFirstPrefixThatHasIt_data() {
        QTest::addColumn<QStringList>("games"); // relative to the home folder
        QTest::addColumn<QString>("expected");
        const QString retail = QStringLiteral("drive_c/Program Files (x86)/World of Warcraft/_retail_/Wow.exe");
        const QString classic = QStringLiteral("drive_c/Program Files (x86)/World of Warcraft/_classic_/Wow.exe");
        const QString plain = QStringLiteral("drive_c/Program Files/World of Warcraft/Wow.exe");
        const QString steam = QStringLiteral(".local/share/Steam/steamapps/compatdata/2/pfx/");

        QTest::newRow("plain wine before lutris")
            << QStringList{".wine/" + plain, "Games/world-of-warcraft/" + retail} << ".wine/" + plain;
        QTest::newRow("lutris prefixes in name order")
            << QStringList{"Games/b-wow/" + retail, "Games/a-wow/" + classic} << "Games/a-wow/" + classic;
        QTest::newRow("retail before classic, x86 before the other")
            << QStringList{".wine/" + plain, ".wine/" + classic, ".wine/" + retail} << ".wine/" + retail;
        QTest::newRow("steam before flatpak steam")
            << QStringList{".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/1/pfx/" + retail,
                           steam + classic}
            << steam + classic;
        QTest::newRow("bottles") << QStringList{".local/share/bottles/bottles/WoW/" + retail}
                                 << ".local/share/bottles/bottles/WoW/" + retail;
        QTest::newRow("a name that only starts like the game's")
            << QStringList{".wine/drive_c/Program Files/World of Warcraft/WowB.exe"} << QString();
    }

    void findsTheGameInTheFirstPrefixThatHasIt() {
        QFETCH(QStringList, games);
        QFETCH(QString, expected);
        QTemporaryDir home;
        for (const QString &game : games)
            touch(home.filePath(game));
        QCOMPARE(LVLinuxWorkspace(home.path()).fullPathForApplication(QStringLiteral("Wow")),
                 expected.isEmpty() ? QString() : home.filePath(expected));
    }

    void linkedSteamFolderIsSearchedOnce() {
        QTemporaryDir home;
        touch(home.filePath(QStringLiteral(".local/share/Steam/steamapps/compatdata/7/pfx/drive_c/x")));
        QDir(home.path()).mkpath(QStringLiteral(".steam"));
        QVERIFY(QFile::link(home.filePath(QStringLiteral(".local/share/Steam")),
                            home.filePath(QStringLiteral(".steam/steam"))));
        QCOMPARE(LVLinuxWorkspace(home.path()).winePrefixes().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestGameLayout)
#include "TestGameLayout.moc"
