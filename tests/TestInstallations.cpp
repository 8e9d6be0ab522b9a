#include "platform/LVLinuxWorkspace.h"
#include "platform/LaunchCommand.h"
#include "platform/LauncherConfigs.h"

#include <QtTest>

using LVFiles = QMap<QString, QString>; // path relative to the home folder → contents, "$HOME" spelled out

namespace {

const QString kX86 = QStringLiteral("drive_c/Program Files (x86)/World of Warcraft/");
const QString kPlain = QStringLiteral("drive_c/Program Files/World of Warcraft/");
const QString kNoWine = QStringLiteral("No Wine found to start the game: start it from your launcher");

// One install as the tests write it: "Steam|7|_retail_|.local/share/Steam/…/Wow.exe".
QString described(const QString &kind, const QString &launcherId, const QString &flavor, const QString &executable) {
    return QStringList{kind, launcherId, flavor, executable}.join(QLatin1Char('|'));
}

// A home folder (and a folder of programs beside it) built for one test.
class LVHome {
public:
    LVHome()
        : mRootPath(QFileInfo(mRoot.path()).canonicalFilePath()) {
        QDir().mkpath(path());
    }

    QString path() const { return mRootPath + QStringLiteral("/home"); }
    QString filePath(const QString &relative) const { return path() + QLatin1Char('/') + relative; }
    QString expanded(QString text) const { return text.replace(QStringLiteral("$HOME"), path()); }
    QString bin() const { return mRootPath + QStringLiteral("/bin"); }
    QString launchLog() const { return mRootPath + QStringLiteral("/launched.txt"); }

    void write(const LVFiles &files) const {
        for (auto file = files.cbegin(); file != files.cend(); ++file) {
            QDir().mkpath(QFileInfo(filePath(file.key())).path());
            QFile out(filePath(file.key()));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(expanded(file.value()).toUtf8());
        }
    }
    void link(const LVFiles &links) const {
        for (auto link = links.cbegin(); link != links.cend(); ++link)
            QVERIFY(QDir().mkpath(QFileInfo(filePath(link.key())).path()) &&
                    QFile::link(filePath(link.value()), filePath(link.key())));
    }
    // A program that writes its name, its arguments, $WINEPREFIX and the folder it runs in to the launch log.
    void writeRecordingProgram(const QString &path, const QString &name) const {
        QDir().mkpath(QFileInfo(path).path());
        QFile script(path);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' %1 \"$@\" \"WINEPREFIX=$WINEPREFIX\" \"$(pwd -P)\" "
                                    "> '%2.part' && /bin/mv '%2.part' '%2'\n")
                         .arg(name, launchLog())
                         .toUtf8());
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
    }
    QStringList launchLogLines() const {
        QFile log(launchLog());
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts)
                                             : QStringList();
    }
    QProcessEnvironment environment(const LVFiles &variables) const {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("HOME"), path());
        environment.insert(QStringLiteral("PATH"), bin());
        for (auto variable = variables.cbegin(); variable != variables.cend(); ++variable)
            environment.insert(variable.key(), expanded(variable.value()));
        return environment;
    }

private:
    QTemporaryDir mRoot;
    QString mRootPath;
};

} // namespace

// Finding every copy of the game in the prefixes of every Linux game launcher, and starting it the
// way its prefix was made.
class TestInstallations : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void findsEveryInstallEachPrefixOnce_data() {
        QTest::addColumn<LVFiles>("files");
        QTest::addColumn<LVFiles>("links"); // link → what it points at
        QTest::addColumn<LVFiles>("environment");
        QTest::addColumn<QStringList>("expected");

        // In a prefix each flavor comes first, then the game folder itself; the x86 folder first.
        QTest::newRow("plain wine, then lutris prefixes in name order; other programs are no install")
            << LVFiles{{".wine/" + kPlain + "Wow.exe", ""},
                       {".wine/" + kX86 + "Wow.exe", ""},
                       {".wine/" + kX86 + "_retail_/Wow.exe", ""},
                       {".wine/" + kX86 + "_classic_era_/WowClassic.exe", ""},
                       {".wine/" + kX86 + "_classic_/Wow.exe", ""},
                       {".wine/" + kX86 + "WowB.exe", ""},
                       {"Games/b-wow/" + kX86 + "_retail_/Wow.exe", ""},
                       {"Games/a-wow/" + kX86 + "_classic_/WowClassic.exe", ""},
                       {"Games/copy/Program Files/World of Warcraft/Wow.exe", ""}}
            << LVFiles{} << LVFiles{}
            << QStringList{described("Wine", "", "_retail_", ".wine/" + kX86 + "_retail_/Wow.exe"),
                           described("Wine", "", "_classic_era_", ".wine/" + kX86 + "_classic_era_/WowClassic.exe"),
                           described("Wine", "", "", ".wine/" + kX86 + "Wow.exe"),
                           described("Wine", "", "", ".wine/" + kPlain + "Wow.exe"),
                           described("Lutris", "", "_classic_", "Games/a-wow/" + kX86 + "_classic_/WowClassic.exe"),
                           described("Lutris", "", "_retail_", "Games/b-wow/" + kX86 + "_retail_/Wow.exe")};

        QTest::newRow("$WINEPREFIX first; a prefix reached twice counts once")
            << LVFiles{{"custom/" + kX86 + "_retail_/Wow.exe", ""}, {".wine/" + kPlain + "Wow.exe", ""}}
            << LVFiles{{"Games/same", "custom"}} << LVFiles{{"WINEPREFIX", "$HOME/custom/"}}
            << QStringList{described("Custom prefix", "", "_retail_", "custom/" + kX86 + "_retail_/Wow.exe"),
                           described("Wine", "", "", ".wine/" + kPlain + "Wow.exe")};

        QTest::newRow("lutris games its settings name, in ~/Games and elsewhere, native and flatpak")
            << LVFiles{{"Games/wow/" + kX86 + "_retail_/Wow.exe", ""},
                       {"Games/other/" + kX86 + "_ptr_/WowT.exe", ""},
                       {".config/lutris/games/world-of-warcraft-1700000000.yml",
                        "game:\n  exe: $HOME/Games/wow/drive_c/x.exe\n  prefix: $HOME/Games/wow\n"
                        "name: World of Warcraft\nrunner: wine\n"},
                       {"Wine Prefixes/WoW Classic/" + kX86 + "_classic_era_/WowClassic.exe", ""},
                       {".var/app/net.lutris.Lutris/data/lutris/games/wow-classic-1700000001.yml",
                        "game:\n  prefix: '~/Wine Prefixes/WoW Classic'  # the old one\ngame_slug: classic-era\n"}}
            << LVFiles{} << LVFiles{}
            << QStringList{
                   described("Lutris", "", "_ptr_", "Games/other/" + kX86 + "_ptr_/WowT.exe"),
                   described("Lutris", "world-of-warcraft", "_retail_", "Games/wow/" + kX86 + "_retail_/Wow.exe"),
                   described("Lutris", "classic-era", "_classic_era_",
                             "Wine Prefixes/WoW Classic/" + kX86 + "_classic_era_/WowClassic.exe")};

        const QString steamApps = QStringLiteral(".local/share/Steam/steamapps/");
        QTest::newRow("steam libraries its libraryfolders.vdf lists, then flatpak steam")
            << LVFiles{{steamApps + "compatdata/2/pfx/" + kX86 + "_retail_/Wow.exe", ""},
                       {steamApps + "libraryfolders.vdf",
                        "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"$HOME/.local/share/Steam\"\n"
                        "\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"1\"\n\t\t}\n\t}\n"
                        "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"$HOME/sdcard\"\n\t}\n}\n"},
                       {"sdcard/steamapps/compatdata/3000000000/pfx/" + kX86 + "_classic_/WowClassic.exe", ""},
                       {".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/1/pfx/" + kPlain +
                            "Wow.exe",
                        ""}}
            << LVFiles{{".steam/steam", ".local/share/Steam"}} << LVFiles{}
            << QStringList{
                   described("Steam", "2", "_retail_", steamApps + "compatdata/2/pfx/" + kX86 + "_retail_/Wow.exe"),
                   described("Steam", "3000000000", "_classic_",
                             "sdcard/steamapps/compatdata/3000000000/pfx/" + kX86 + "_classic_/WowClassic.exe"),
                   described("Steam", "1", "",
                             ".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/1/pfx/" +
                                 kPlain + "Wow.exe")};

        QTest::newRow("bottles under $XDG_DATA_HOME, then flatpak bottles")
            << LVFiles{{"data/bottles/bottles/WoW/" + kX86 + "_retail_/Wow.exe", ""},
                       {".local/share/bottles/bottles/Unused/" + kX86 + "_retail_/Wow.exe", ""},
                       {".var/app/com.usebottles.bottles/data/bottles/bottles/Flat/" + kPlain + "Wow.exe", ""}}
            << LVFiles{} << LVFiles{{"XDG_DATA_HOME", "$HOME/data"}}
            << QStringList{
                   described("Bottles", "WoW", "_retail_", "data/bottles/bottles/WoW/" + kX86 + "_retail_/Wow.exe"),
                   described("Bottles", "Flat", "",
                             ".var/app/com.usebottles.bottles/data/bottles/bottles/Flat/" + kPlain + "Wow.exe")};

        const QString heroic = QStringLiteral("Games/Heroic/Prefixes/");
        QTest::newRow("heroic prefixes, named by its settings or not")
            << LVFiles{{heroic + "default/World of Warcraft/" + kX86 + "_retail_/Wow.exe", ""},
                       {heroic + "Other/" + kX86 + "_ptr_/WowT.exe", ""},
                       {".config/heroic/GamesConfig/Prime.json",
                        R"({"Prime": {"winePrefix": "$HOME/Games/Heroic/Prefixes/default/World of Warcraft",
                            "wineVersion": {"bin": "/usr/bin/wine"}}, "version": "v0", "explicit": true})"},
                       {".var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig/Beta.json",
                        R"({"Beta": {"winePrefix": "~/heroic-beta"}})"},
                       {"heroic-beta/" + kX86 + "_beta_/WowB.exe", ""}}
            << LVFiles{} << LVFiles{}
            << QStringList{described("Heroic", "", "_ptr_", heroic + "Other/" + kX86 + "_ptr_/WowT.exe"),
                           described("Heroic", "Prime", "_retail_",
                                     heroic + "default/World of Warcraft/" + kX86 + "_retail_/Wow.exe"),
                           described("Heroic", "Beta", "_beta_", "heroic-beta/" + kX86 + "_beta_/WowB.exe")};

        QTest::newRow("faugus and portproton")
            << LVFiles{{"Faugus/wow/" + kX86 + "_retail_/Wow.exe", ""},
                       {".local/share/faugus-launcher/prefixes/era/" + kX86 + "_anniversary_/WowClassic.exe", ""},
                       {".local/share/PortProton/data/prefixes/DEFAULT/" + kX86 + "_xptr_/WowT.exe", ""},
                       {"PortProton/data/prefixes/second/" + kX86 + "_classic_ptr_/WowClassicT.exe", ""}}
            << LVFiles{} << LVFiles{}
            << QStringList{
                   described("Faugus", "", "_retail_", "Faugus/wow/" + kX86 + "_retail_/Wow.exe"),
                   described("Faugus", "", "_anniversary_",
                             ".local/share/faugus-launcher/prefixes/era/" + kX86 + "_anniversary_/WowClassic.exe"),
                   described("PortProton", "", "_xptr_",
                             ".local/share/PortProton/data/prefixes/DEFAULT/" + kX86 + "_xptr_/WowT.exe"),
                   described("PortProton", "", "_classic_ptr_",
                             "PortProton/data/prefixes/second/" + kX86 + "_classic_ptr_/WowClassicT.exe")};

        QTest::newRow("$XDG_CONFIG_HOME holds the launchers' settings instead of ~/.config")
            << LVFiles{{"conf/lutris/games/moved-1.yml", "game:\n  prefix: $HOME/moved\n"},
                       {"moved/" + kX86 + "_retail_/Wow.exe", ""},
                       {".config/lutris/games/stale-1.yml", "game:\n  prefix: $HOME/stale\n"},
                       {"stale/" + kX86 + "_retail_/Wow.exe", ""}}
            << LVFiles{} << LVFiles{{"XDG_CONFIG_HOME", "$HOME/conf"}}
            << QStringList{described("Lutris", "moved", "_retail_", "moved/" + kX86 + "_retail_/Wow.exe")};
    }

    void findsEveryInstallEachPrefixOnce() {
        QFETCH(LVFiles, files);
        QFETCH(LVFiles, links);
        QFETCH(LVFiles, environment);
        QFETCH(QStringList, expected);
        LVHome home;
        home.write(files);
        home.link(links);

        const QList<LVGameInstallation> installations =
            LVLinuxWorkspace(home.path(), home.environment(environment)).findInstallations();
        QStringList found;
        for (const LVGameInstallation &install : installations) {
            QVERIFY2(install.executable.startsWith(install.prefix + "/drive_c/"), qPrintable(install.executable));
            found << described(lv::prefixKindName(install.kind), install.launcherId, install.flavor,
                               QDir(home.path()).relativeFilePath(install.executable));
        }
        QCOMPARE(found, expected);
        const auto prefixes = LVLinuxWorkspace(home.path(), home.environment(environment)).winePrefixes();
        QSet<QString> distinct;
        for (const LVWinePrefix &prefix : prefixes)
            distinct.insert(QFileInfo(prefix.path).canonicalFilePath());
        QCOMPARE(distinct.size(), prefixes.size());
    }

    void findsTheFirstInstallOfAnApplicationName() {
        LVHome home;
        const QString classic = ".wine/" + kX86 + "_classic_era_/WowClassic.exe";
        const QString retail = "Games/wow/" + kX86 + "_retail_/Wow.exe";
        home.write({{classic, ""}, {retail, ""}, {"Games/wow/" + kX86 + "_classic_/WowClassic.exe", ""}});
        const LVLinuxWorkspace workspace(home.path(), home.environment({}));
        QCOMPARE(workspace.fullPathForApplication("Wow"), home.filePath(retail));
        QCOMPARE(workspace.fullPathForApplication("WowClassic"), home.filePath(classic));
        QVERIFY(workspace.fullPathForApplication("WowB").isNull());
        QVERIFY(workspace.fullPathForApplication("").isNull());
    }

    void describesAProgramByItsPath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("flavorAndName");
        QTest::newRow("the game folder itself") << "/p/" + kPlain + "Wow.exe" << QStringList{"", "Wow"};
        QTest::newRow("windows separators, upper-case extension")
            << "C:\\Games\\World of Warcraft\\_ptr_\\WowT.EXE" << QStringList{"_ptr_", "WowT"};
        QTest::newRow("an application bundle") << "/Applications/World of Warcraft/_retail_/World of Warcraft.app"
                                               << QStringList{"_retail_", "World of Warcraft"};
        QTest::newRow("a folder only named like a flavor") << "/games/_retail/Wow.exe" << QStringList{"", "Wow"};
        QTest::newRow("a native program") << "/usr/games/wow" << QStringList{"", "wow"};
    }

    void describesAProgramByItsPath() {
        QFETCH(QString, path);
        const LVExecutableIdentity identity = lv::identifyExecutable(path);
        QTEST((QStringList{identity.flavor, identity.applicationName}), "flavorAndName");
    }

    // The install a path belongs to: the one whose prefix holds it, even through a link; a path in no
    // prefix found is described from the path alone.
    void findsTheInstallOfAPath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("install"); // kind, launcher id, prefix (null: none), flavor
        const QString steam = QStringLiteral(".local/share/Steam/steamapps/compatdata/7/pfx");
        QTest::newRow("the game in a steam prefix")
            << steam + "/" + kX86 + "_retail_/Wow.exe" << QStringList{"Steam", "7", steam, "_retail_"};
        QTest::newRow("its launcher, through the link to steam's folder")
            << ".steam/steam/steamapps/compatdata/7/pfx/" + kX86 + "World of Warcraft Launcher.exe"
            << QStringList{"Steam", "7", steam, ""};
        QTest::newRow("a prefix no launcher made") << "elsewhere/pfx/" + kPlain + "_classic_/WowClassic.exe"
                                                   << QStringList{"Chosen by hand", "", "elsewhere/pfx", "_classic_"};
        QTest::newRow("no prefix at all") << "native/Wow.exe" << QStringList{"Chosen by hand", "", QString(), ""};
    }

    void findsTheInstallOfAPath() {
        QFETCH(QString, path);
        QFETCH(QStringList, install);
        LVHome home;
        home.write({{".local/share/Steam/steamapps/compatdata/7/pfx/" + kX86 + "_retail_/Wow.exe", ""},
                    {".local/share/Steam/steamapps/compatdata/7/pfx/" + kX86 + "World of Warcraft Launcher.exe", ""},
                    {"elsewhere/pfx/" + kPlain + "_classic_/WowClassic.exe", ""},
                    {"native/Wow.exe", ""}});
        home.link({{".steam/steam", ".local/share/Steam"}});

        const LVGameInstallation found =
            LVLinuxWorkspace(home.path(), home.environment({})).installationOf(home.filePath(path));
        QCOMPARE(found.executable, home.filePath(path));
        QCOMPARE((QStringList{lv::prefixKindName(found.kind), found.launcherId, found.prefix, found.flavor}),
                 (QStringList{install[0], install[1], install[2].isNull() ? QString() : home.filePath(install[2]),
                              install[3]}));
    }

    void readsLutrisSettings_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("slug");
        QTest::newRow("double quotes, ~, a comment; slug from the file name")
            << "game:\n  prefix: \"~/My \\\"WoW\\\"\"  # quoted\n"
            << "world-of-warcraft-1690000000.yml"
            << "/home/u/My \"WoW\""
            << "world-of-warcraft";
        QTest::newRow("single quotes, windows line endings")
            << "game:\r\n  prefix: '/x/it''s: here'\r\ngame_slug: w\r\n"
            << "a.yml"
            << "/x/it's: here"
            << "w";
        QTest::newRow("a prefix of another section or deeper is not the game's")
            << "wine:\n  prefix: /wrong\ngame:\n  exe: /x.exe\n  args:\n    prefix: /deeper\nsystem:\n  prefix: /sys\n"
            << "no-prefix.yml" << QString() << "no-prefix";
        QTest::newRow("the slug only at the top level")
            << "game:\n  game_slug: inner\n  prefix: ~\n# game_slug: commented\n"
            << "wow-12-34.yml"
            << "/home/u"
            << "wow-12";
    }

    void readsLutrisSettings() {
        QFETCH(QString, text);
        QFETCH(QString, fileName);
        QFETCH(QString, prefix);
        QFETCH(QString, slug);
        const LVLauncherPrefix game = lv::lutrisGamePrefix(text, fileName, QStringLiteral("/home/u"));
        QCOMPARE(game.prefix, prefix);
        QCOMPARE(game.prefix.isNull(), prefix.isNull());
        QCOMPARE(game.launcherId, slug);
    }

    void readsSteamLibraryLists_data() {
        QTest::addColumn<QString>("vdf");
        QTest::addColumn<QStringList>("libraries");
        QTest::newRow("the older numbered form")
            << "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1690000000\"\n\t\"1\"\t\t\"/mnt/games\"\n}\n"
            << QStringList{"/mnt/games"};
        QTest::newRow("escapes, the key in any case") << "\t\"Path\"\t\t\"/mnt/a \\\"b\\\" \\\\c\"\n"
                                                      << QStringList{"/mnt/a \"b\" \\c"};
        QTest::newRow("not a library file") << "<html>\"path\"</html>" << QStringList{};
    }

    void readsSteamLibraryLists() {
        QFETCH(QString, vdf);
        QFETCH(QStringList, libraries);
        QCOMPARE(lv::steamLibraryFolders(vdf), libraries);
    }

    // The prefix is "/pfx" except for a game picked by hand; WINEPREFIX is set, and the game's folder
    // used, whenever wine runs it in a prefix.
    void launchesThroughThePrefixsLauncher_data() {
        QTest::addColumn<LVPrefixKind>("kind");
        QTest::addColumn<QString>("launcherId");
        QTest::addColumn<QStringList>("installed"); // programs on PATH
        QTest::addColumn<QStringList>("command");   // program, then its arguments; empty: none

        const QString exe = QStringLiteral("/pfx/") + kX86 + "_retail_/Wow.exe";
        const QStringList all{"steam", "lutris", "bottles-cli", "heroic", "xdg-open", "flatpak", "wine"};
        const QStringList wine{"/bin/wine", exe};
        using K = LVPrefixKind;
        QTest::newRow("steam") << K::Steam << "2" << all << QStringList{"/bin/steam", "steam://rungameid/2"};
        QTest::newRow("a game steam runs as a shortcut")
            << K::Steam << "3000000000" << all << QStringList{"/bin/steam", "steam://rungameid/12884901888033554432"};
        QTest::newRow("flatpak steam") << K::Steam << "2" << QStringList{"flatpak", "wine"}
                                       << QStringList{"/bin/flatpak", "run", "com.valvesoftware.Steam",
                                                      "steam://rungameid/2"};
        QTest::newRow("lutris") << K::Lutris << "wow" << all << QStringList{"/bin/lutris", "lutris:rungame/wow"};
        QTest::newRow("bottles") << K::Bottles << "WoW" << all
                                 << QStringList{"/bin/bottles-cli", "run", "-b", "WoW", "-e", exe};
        QTest::newRow("flatpak bottles")
            << K::Bottles << "WoW" << QStringList{"flatpak"}
            << QStringList{"/bin/flatpak", "run", "--command=bottles-cli", "com.usebottles.bottles", "run", "-b", "WoW",
                           "-e",           exe};
        QTest::newRow("heroic") << K::Heroic << "Prime" << all << QStringList{"/bin/heroic", "heroic://launch/Prime"};
        QTest::newRow("heroic through its link") << K::Heroic << "Prime" << QStringList{"xdg-open", "wine"}
                                                 << QStringList{"/bin/xdg-open", "heroic://launch/Prime"};
        QTest::newRow("a launcher that is not installed leaves it to wine")
            << K::Lutris << "wow" << QStringList{"steam", "wine"} << wine;
        QTest::newRow("a prefix without its launcher's id") << K::Steam << "" << all << wine;
        QTest::newRow("a launcher that only uses wine") << K::Faugus << "" << all << wine;
        QTest::newRow("picked by hand, in no prefix") << K::Manual << "" << QStringList{"wine"} << wine;
        QTest::newRow("nothing to start it") << K::Steam << "2" << QStringList{"lutris"} << QStringList{};
    }

    void launchesThroughThePrefixsLauncher() {
        QFETCH(LVPrefixKind, kind);
        QFETCH(QString, launcherId);
        QFETCH(QStringList, installed);
        QFETCH(QStringList, command);
        const QString prefix = kind == LVPrefixKind::Manual ? QString() : QStringLiteral("/pfx");
        const LVGameInstallation install{QStringLiteral("/pfx/") + kX86 + "_retail_/Wow.exe", "_retail_", prefix, kind,
                                         launcherId};
        const auto findExecutable = [&installed](const QString &name) {
            return installed.contains(name) ? QStringLiteral("/bin/") + name : QString();
        };

        QString error = QStringLiteral("untouched");
        const LVLaunchCommand launch = lv::launchCommand(install, findExecutable, &error);
        QCOMPARE(QStringList{launch.program} + launch.arguments, command.isEmpty() ? QStringList{""} : command);
        QCOMPARE(error, command.isEmpty() ? kNoWine : QStringLiteral("untouched"));
        const bool wine = launch.program == QLatin1String("/bin/wine");
        QMap<QString, QString> environment;
        if (wine && !prefix.isEmpty())
            environment.insert(QStringLiteral("WINEPREFIX"), prefix);
        QCOMPARE(launch.environment, environment);
        QCOMPARE(launch.workingFolder, wine ? QFileInfo(install.executable).path() : QString());
    }

    // The launch really starts a program: fake launchers on a private PATH write what they were given.
    void startsTheGameForReal_data() {
        QTest::addColumn<LVFiles>("files");
        QTest::addColumn<QStringList>("programs"); // fake programs on PATH
        QTest::addColumn<QString>("game");
        QTest::addColumn<QStringList>("expected"); // what the program started wrote; $CWD: the test's folder

        const QString steam = QStringLiteral(".local/share/Steam/steamapps/compatdata/7/pfx/");
        const QString steamGame = steam + kX86 + "_retail_/Wow.exe";
        const LVFiles steamFiles{{steamGame, ""}};
        QTest::newRow("wine in a plain prefix")
            << LVFiles{{".wine/" + kX86 + "_retail_/Wow.exe", ""}} << QStringList{"wine", "steam", "lutris"}
            << ".wine/" + kX86 + "_retail_/Wow.exe"
            << QStringList{"wine", "$HOME/.wine/" + kX86 + "_retail_/Wow.exe", "WINEPREFIX=$HOME/.wine",
                           "$HOME/.wine/" + kX86 + "_retail_"};
        QTest::newRow("steam for its own prefix") << steamFiles << QStringList{"wine", "steam"} << steamGame
                                                  << QStringList{"steam", "steam://rungameid/7", "WINEPREFIX=", "$CWD"};
        QTest::newRow("nothing to start it") << steamFiles << QStringList{} << steamGame << QStringList{};
        QTest::newRow("a native program runs itself")
            << LVFiles{} << QStringList{} << "native/wow" << QStringList{"wow", "WINEPREFIX=", "$HOME/native"};
    }

    void startsTheGameForReal() {
        QFETCH(LVFiles, files);
        QFETCH(QStringList, programs);
        QFETCH(QString, game);
        QFETCH(QStringList, expected);
        LVHome home;
        home.write(files);
        QDir().mkpath(home.bin());
        for (const QString &program : programs)
            home.writeRecordingProgram(home.bin() + QLatin1Char('/') + program, program);
        if (!QFileInfo::exists(home.filePath(game)))
            home.writeRecordingProgram(home.filePath(game), QFileInfo(game).fileName());
        LVLinuxWorkspace workspace(home.path(), home.environment({}));

        QString error;
        const bool started = workspace.launchApplication(home.filePath(game), &error);
        QCOMPARE(started, !expected.isEmpty());
        if (expected.isEmpty()) {
            QCOMPARE(error, kNoWine);
            QVERIFY(!QFileInfo::exists(home.launchLog()));
            return;
        }
        const QString currentFolder = QFileInfo(QDir::currentPath()).canonicalFilePath();
        QStringList lines;
        for (const QString &line : expected)
            lines << QString(line).replace(QStringLiteral("$CWD"), currentFolder).replace("$HOME", home.path());
        QTRY_COMPARE(home.launchLogLines(), lines);
    }
};

QTEST_GUILESS_MAIN(TestInstallations)
#include "TestInstallations.moc"
