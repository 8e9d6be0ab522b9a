#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "game/GameFolders.h"
#include "game/InstallChoices.h"
#include "game/LVGameInstall.h"
#include "game/LVGameInstalls.h"
#include "game/PathTemplates.h"

#include <QDir>
#include <QtTest>

// Where the game's installs and their folders are, which of them the program uses, and how they are
// laid out.
class TestGameLayout : public QObject {
    Q_OBJECT

    static QStringList listedFolders(const QString &folder) {
        // The order the file system lists them in, which the program keeps.
        return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    }

private slots:
    // Paths are relative to a folder the test fills; a trailing "/" makes a folder.
    void applicationPaths_data() {
        QTest::addColumn<QString>("applicationPath"); // null: none stored, the workspace is asked
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("gameName"); // the user's own; null: only the default "Game"
        QTest::addColumn<bool>("launcher");
        QTest::addColumn<QString>("expected"); // null: none; absolute: outside the folder
        const QString retail = QStringLiteral("_retail_/Wow.exe");
        QTest::newRow("the game program, whatever the default name")
            << "_classic_/WowClassic.exe" << QStringList() << QString() << false << "_classic_/WowClassic.exe";
        QTest::newRow("the name the user set, the program's extension")
            << "WoW/Other.exe" << QStringList() << "Game" << false << "WoW/Game.exe";
        QTest::newRow("launcher beside the game first")
            << retail << QStringList{"_retail_/Launcher.exe", "Launcher.exe"} << QString() << true
            << "_retail_/Launcher.exe";
        QTest::newRow("launcher bundle") << "WoW/Game.app" << QStringList{"Launcher.app/"} << QString() << true
                                         << "Launcher.app";
        QTest::newRow("no launcher near the game")
            << retail << QStringList{"_retail_/Launcher.app", "Other/Launcher.exe", "../Launcher.exe"} << QString()
            << true << QString();
        QTest::newRow("no path stored") << QString() << QStringList() << QString() << false << "/detected/Game.exe";
    }

    void applicationPaths() {
        QFETCH(QString, applicationPath);
        QFETCH(QStringList, present);
        QFETCH(QString, gameName);
        QFETCH(bool, launcher);
        QFETCH(QString, expected);
        LVGameFolder root(QStringLiteral("root/placeholder"));
        const auto make = [&root](const QString &relative) {
            relative.endsWith('/') ? root.addFolder("root/" + relative) : root.writeFile("root/" + relative, "");
        };
        const auto inRoot = [&root](const QString &relative) {
            return relative.startsWith('/') ? relative : QDir::cleanPath(root.filePath("root/" + relative));
        };
        for (const QString &path : present)
            make(path);
        LVTestWorld world;
        world.settings.registerDefaults({{kWowApplicationNameKey, QStringLiteral("Game")},
                                         {kWowLauncherApplicationNameKey, QStringLiteral("Launcher")}});
        if (!gameName.isNull())
            world.settings.setValue(kWowApplicationNameKey, gameName);
        world.workspace.installedApplications.insert(QStringLiteral("Game"), QStringLiteral("/detected/Game.exe"));
        const QString executable = applicationPath.isNull() ? QString() : inRoot(applicationPath);
        LVGameInstall install(world.settings, world.workspace, executable);

        QCOMPARE(install.fullPathToWorldOfWarcraft(launcher), expected.isNull() ? QString() : inRoot(expected));
        QCOMPARE(install.gameFolder(), (executable.isNull() ? expected : executable).section(QLatin1Char('/'), 0, -2));
        QCOMPARE(world.workspace.lookedUp.isEmpty(), !applicationPath.isNull());
    }

    // Each install written "+path" when checked, "-path" when not.
    void installsFollowTheSettings_data() {
        QTest::addColumn<QStringList>("stored"); // the user's list; empty: none stored
        QTest::addColumn<QStringList>("unchecked");
        QTest::addColumn<QString>("gamePath"); // the user's own; null: none stored
        QTest::addColumn<QString>("defaultPath");
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QStringList>("installs");
        QTest::addColumn<QStringList>("watched");
        const QString retail = "/p/_retail_/Wow.exe", classic = "/p/_classic_/WowClassic.exe",
                      ptr = "/p/_ptr_/WowT.exe";
        const QStringList none;
        QTest::newRow("nothing stored: the defaults file's game, then every install found; one name a flavor")
            << none << none << QString() << "/opt/WoW/Wow.exe" << QStringList{retail, classic}
            << QStringList{"+/opt/WoW/Wow.exe", "+" + retail, "+" + classic} << QStringList{"Wow", "WowClassic"};
        QTest::newRow("a game chosen before there were several stays the only checked one")
            << none << none << classic << QString() << QStringList{retail, "/p/_classic_//WowClassic.exe"}
            << QStringList{"+" + classic, "-" + retail} << QStringList{"WowClassic"};
        // Once the choices are stored, an install found later waits for the user to check it.
        QTest::newRow("the stored list, then newly found installs, unchecked; empty paths passed over")
            << QStringList{"", "/a/Wow.exe", classic} << QStringList{"/a/./Wow.exe"} << classic << ""
            << QStringList{"", "/p/_ptr_/../_classic_/WowClassic.exe", ptr}
            << QStringList{"-/a/Wow.exe", "+" + classic, "-" + ptr} << QStringList{"WowClassic"};
        QTest::newRow("none checked: the game's default name")
            << QStringList{retail} << QStringList{retail} << retail << QString() << none << QStringList{"-" + retail}
            << QStringList{"Wow"};
    }

    void installsFollowTheSettings() {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, unchecked);
        QFETCH(QString, gamePath);
        QFETCH(QString, defaultPath);
        QFETCH(QStringList, found);
        QFETCH(QStringList, installs);
        LVTestWorld world;
        // As at start-up: the defaults file's game, else the first install found, is the default game.
        world.settings.registerDefaults({{kWowApplicationNameKey, QStringLiteral("Wow")},
                                         {kWowApplicationPathKey, defaultPath},
                                         {kWowInstallsKey, found}});
        if (!stored.isEmpty())
            world.settings.setValue(kWowInstallsKey, stored);
        if (!unchecked.isEmpty())
            world.settings.setValue(kWowInstallsUncheckedKey, unchecked);
        if (!gamePath.isNull())
            world.settings.setValue(kWowApplicationPathKey, gamePath);

        QStringList described, checked;
        for (const LVInstallChoice &choice : lv::installChoices(world.settings)) {
            described << (choice.checked ? "+" : "-") + choice.executable;
            checked << (choice.checked ? QStringList{choice.executable} : QStringList());
        }
        QCOMPARE(described, installs);
        LVGameInstalls collection(world.settings, world.workspace);
        QTEST(collection.watchedApplicationNames(), "watched");
        // With none checked, the run and the gathering leave every install alone.
        QStringList used;
        for (const LVGameInstall *install : collection.checked())
            used << install->executable();
        QCOMPARE(used, checked);
        QCOMPARE(collection.gatherNewInstalls(), !checked.isEmpty());
        if (!checked.isEmpty())
            QCOMPARE(&collection.primary(), collection.checked().first());
        QVERIFY(!collection.gatherNewInstalls());
    }

    // The stored installs read back the same from the file, lists of one and paths with commas included.
    void storedInstallsReadBackFromTheFile_data() {
        QTest::addColumn<QStringList>("installs"); // as in installsFollowTheSettings; the game path is the second
        QTest::newRow("one") << QStringList{"+/g/Wow.exe"};
        QTest::newRow("the first unchecked, a comma, quotes")
            << QStringList{"-/a, b/Wow.exe", "+/c/\"q\" (x86)/_classic_/WowClassic.exe", "-/d/Wow.exe"};
    }

    void storedInstallsReadBackFromTheFile() {
        QFETCH(QStringList, installs);
        QList<LVInstallChoice> choices;
        for (const QString &install : installs)
            choices.append({install.mid(1), install.startsWith('+')});
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("settings.ini"));
        {
            LVSettings settings(file);
            settings.setValue(kWowInstallsUncheckedKey, QStringList{"/stale/Wow.exe"});
            lv::storeInstallChoices(settings, choices);
            QVERIFY(settings.synchronize());
        }
        LVSettings settings(file);
        QCOMPARE(lv::installChoices(settings), choices);
        QCOMPARE(settings.stringForKey(kWowApplicationPathKey), installs.value(1, installs.first()).mid(1));
        QCOMPARE(settings.hasUserValueForKey(kWowInstallsUncheckedKey), installs.join("").contains("-/"));
    }

    // A folder named "X%locale%" is that account's, not the one of "XenUS" beside it.
    void accountsAndLocalesAreTheFoldersOneLevelDown() {
        LVGameFolder game;
        game.addAccount(QStringLiteral("X%locale%")).addAccount(QStringLiteral("XenUS"));
        game.writeFile(QStringLiteral("WTF/Account/notes.txt"), "not an account");
        game.addLocale(QStringLiteral("enUS")).addLocale(QStringLiteral("frFR"));
        QVERIFY(QFile::link(game.filePath("WTF/Account/XenUS"), game.filePath("WTF/Account/LINKED")));
        LVTestWorld world;
        LVGameInstall install(world.settings, world.workspace, game.applicationPath());
        install.gatherAccounts();
        install.gatherLocales();

        QStringList accounts = listedFolders(game.filePath(QStringLiteral("WTF/Account")));
        accounts.removeAll(QStringLiteral("LINKED"));
        QCOMPARE(install.accounts().value_or(QStringList()), accounts);
        QCOMPARE(accounts.size(), 2);
        const QStringList locales = listedFolders(game.filePath(QStringLiteral("Cache/WDB")));
        QCOMPARE(install.locales().value_or(QStringList()), locales);
        QCOMPARE(install.expandPath(QStringLiteral("%locale%")), locales.last());
        for (const QString &account : accounts)
            QCOMPARE(install.expandPath(QStringLiteral("%WoW%/WTF/Account/%account_name%/SavedVariables"), account),
                     game.filePath(QStringLiteral("WTF/Account/%1/SavedVariables").arg(account)));

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
        const QString saved = QStringLiteral("%WoW%/WTF/Account/%account_name%/");
        QTest::newRow("saved variables") << saved + "X.lua"
                                         << "ALPHA"
                                         << "/Games/WoW/WTF/Account/ALPHA/X.lua";
        QTest::newRow("each once") << "%WoW%/%WoW%/%locale%/%locale%"
                                   << ""
                                   << "/Games/WoW/%WoW%/frFR/%locale%";
        QTest::newRow("no account") << saved + "x" << QString() << "/Games/WoW/WTF/Account/%account_name%/x";
        // Placeholders are looked for in the template only, never in a value put in.
        QTest::newRow("account named like a placeholder") << saved + "%locale%"
                                                          << "X%locale%"
                                                          << "/Games/WoW/WTF/Account/X%locale%/frFR";
    }

    void expandPathReplacesEachPlaceholderOnce() {
        QFETCH(QString, pathTemplate);
        QFETCH(QString, account);
        QTEST(lv::expandPathTemplate(pathTemplate, QStringLiteral("/Games/WoW"), account, QStringLiteral("frFR")),
              "expected");
        QCOMPARE(lv::expandPathTemplate(QStringLiteral("/%locale%"), QString(), QString(), QString()),
                 QStringLiteral("/%locale%"));
    }
};

QTEST_GUILESS_MAIN(TestGameLayout)
#include "TestGameLayout.moc"
