#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "game/GameFolders.h"
#include "game/LVGameInstall.h"
#include "game/PathTemplates.h"

#include <QDir>
#include <QtTest>

// Where the game's folders are, and how they are laid out.
class TestGameLayout : public QObject {
    Q_OBJECT

    static QStringList listedFolders(const QString &folder) {
        // The order the file system lists them in, which the program keeps.
        return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
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

    // A folder named "X%locale%" is that account's, not the one of "XenUS" beside it.
    void accountNamedLikeAPlaceholderKeepsItsOwnFolder() {
        LVGameFolder game;
        game.addAccount(QStringLiteral("X%locale%")).addAccount(QStringLiteral("XenUS"));
        game.addLocale(QStringLiteral("enUS"));
        LVTestWorld world;
        world.settings.setValue(kWowApplicationPathKey, game.applicationPath());
        LVGameInstall install(world.settings, world.workspace);
        install.gatherAccounts();
        install.gatherLocales();
        QVERIFY(install.accounts().value_or(QStringList()).contains(QStringLiteral("X%locale%")));
        for (const QString &account : install.accounts().value_or(QStringList()))
            QCOMPARE(install.expandPath(QStringLiteral("%WoW%/WTF/Account/%account_name%/SavedVariables"), account),
                     game.filePath(QStringLiteral("WTF/Account/%1/SavedVariables").arg(account)));
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
        // Placeholders are looked for in the template only, never in a value put in.
        QTest::newRow("account named like a placeholder") << "%WoW%/WTF/Account/%account_name%/%locale%"
                                                          << "X%locale%"
                                                          << "/Games/WoW/WTF/Account/X%locale%/frFR";
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
};

QTEST_GUILESS_MAIN(TestGameLayout)
#include "TestGameLayout.moc"
