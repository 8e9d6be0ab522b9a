#include "LVBusRecorder.h"
#include "LVMemoryCredentialStore.h"
#include "LVProcFolder.h"
#include "app/HeadlessLaunch.h"
#include "app/LVApplicationDelegate.h"
#include "platform/LVLinuxWorkspace.h"
#include "platform/LVProcProcessMonitor.h"
#include "platform/LaunchCommand.h"
#include "platform/launchers/Launchers.h"
#include "settings/LVSettings.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using LVFiles = QMap<QString, QString>; // path relative to the home folder → contents, "$HOME" spelled out

namespace {

const QString kX86 = QStringLiteral("drive_c/Program Files (x86)/World of Warcraft/");
const QString kPlain = QStringLiteral("drive_c/Program Files/World of Warcraft/");
const QString kNoWine = QStringLiteral("No Wine found to start the game: start it from your launcher");
// A file with this text becomes a fake program that records how it was started.
const QString kRecorder = QStringLiteral("#recorder");
const QStringList kLaunchers{"wine",   "lutris",          "flatpak",  "snap",       "steam",
                             "heroic", "faugus-launcher", "xdg-open", "portproton", "bottles-cli"};

// One install as the tests write it, "Source|id|flavor|program", and then how Launch started it,
// "~" standing for the home folder.
QString described(const QString &source, const QString &id, const QString &flavor, const QString &program,
                  const QString &launched) {
    return QStringList{source, id, flavor, program, launched}.join(QLatin1Char('|'));
}

// A home folder and, beside it, a folder of fake launchers and a log of what they were asked.
class LVHome {
public:
    LVHome()
        : mRootPath(QFileInfo(mRoot.path()).canonicalFilePath()) {
        QDir().mkpath(path());
        for (const QString &program : kLaunchers)
            writeRecorder(bin() + QLatin1Char('/') + program, QString());
    }
    ~LVHome() {
        for (const QString &name : std::as_const(mLibraries)) {
            QSqlDatabase::database(name).rollback();
            QSqlDatabase::database(name).close();
            QSqlDatabase::removeDatabase(name);
        }
    }

    QString path() const { return mRootPath + QStringLiteral("/home"); }
    QString filePath(const QString &relative) const { return path() + QLatin1Char('/') + relative; }
    QString expanded(QString text) const { return text.replace(QStringLiteral("$HOME"), path()); }
    QString bin() const { return mRootPath + QStringLiteral("/bin"); }
    QString root() const { return mRootPath; }

    // Each file written as the test gives it; a pga.db as the rows of a Lutris library.
    void write(const LVFiles &files) {
        for (auto file = files.cbegin(); file != files.cend(); ++file) {
            QDir().mkpath(QFileInfo(filePath(file.key())).path());
            if (file.key().endsWith(QLatin1String("pga.db")))
                writeLutrisLibrary(filePath(file.key()), file.value());
            else if (file.value().startsWith(kRecorder))
                writeRecorder(filePath(file.key()), file.value().mid(kRecorder.size()));
            else
                writeFile(filePath(file.key()), expanded(file.value()).toUtf8());
        }
    }
    void link(const LVFiles &links) const {
        for (auto link = links.cbegin(); link != links.cend(); ++link)
            QVERIFY(QDir().mkpath(QFileInfo(filePath(link.key())).path()) &&
                    QFile::link(filePath(link.value()), filePath(link.key())));
    }
    // A program that writes its name, its arguments and $WINEPREFIX to the launch log, then does what
    // the script says.
    void writeRecorder(const QString &path, const QString &script) const {
        QDir().mkpath(QFileInfo(path).path());
        writeFile(path,
                  QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"${0##*/} $*${WINEPREFIX:+ WINEPREFIX=$WINEPREFIX}\" "
                                 ">>'%1/launched.txt'\n%2\n")
                      .arg(mRootPath, script)
                      .toUtf8());
        QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner));
    }
    QStringList launchLog() const {
        QFile log(mRootPath + QStringLiteral("/launched.txt"));
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(log.readAll()).replace(path(), QStringLiteral("~")).split('\n', Qt::SkipEmptyParts);
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
    static void writeFile(const QString &path, const QByteArray &contents) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(contents) == contents.size());
    }
    // Lutris's library (lutris/lutris, lutris/database/schema.py), one game a line:
    // "id|slug|configpath|installed". It stays inside an exclusive transaction while the test runs, as
    // a busy Lutris may hold it: the search has to read it without a lock.
    void writeLutrisLibrary(const QString &file, const QString &rows) {
        const QString name = QStringLiteral("lutris-%1-%2").arg(quintptr(this)).arg(mLibraries.size());
        mLibraries << name;
        QSqlDatabase library = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        library.setDatabaseName(file);
        QVERIFY(library.open());
        QSqlQuery query(library);
        QVERIFY(query.exec(
            "CREATE TABLE games (id INTEGER PRIMARY KEY, name TEXT, sortname TEXT, slug TEXT, installer_slug TEXT, "
            "parent_slug TEXT, platform TEXT, runner TEXT, executable TEXT, directory TEXT, updated DATETIME, "
            "lastplayed INTEGER, installed INTEGER, installed_at INTEGER, year INTEGER, configpath TEXT, "
            "has_custom_banner INTEGER, has_custom_icon INTEGER, has_custom_coverart_big INTEGER, playtime REAL, "
            "service TEXT, service_id TEXT, discord_id TEXT, modified_at INTEGER)"));
        for (const QString &row : rows.split('\n', Qt::SkipEmptyParts)) {
            const QStringList fields = row.split('|');
            QVERIFY(query.prepare("INSERT INTO games (id, name, slug, runner, configpath, installed) "
                                  "VALUES (?, 'World of Warcraft', ?, 'wine', ?, ?)"));
            for (const QString &field : fields)
                query.addBindValue(field);
            QVERIFY(query.exec());
        }
        QVERIFY(query.exec("BEGIN EXCLUSIVE"));
    }

    QTemporaryDir mRoot;
    QString mRootPath;
    QStringList mLibraries; // connections to the Lutris libraries written
};

} // namespace

// Finding every copy of the game in the prefixes of every Linux game launcher, from the files each
// launcher writes, and starting it through the copy of the launcher that made its prefix.
class TestInstallations : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Each fixture is written the way its launcher writes it; the launchers' sources are named.
    void findsAndStartsEveryInstall_data() {
        QTest::addColumn<LVFiles>("files");
        QTest::addColumn<LVFiles>("links"); // link → what it points at
        QTest::addColumn<LVFiles>("environment");
        QTest::addColumn<QStringList>("expected");

        const QString wine = QStringLiteral("wine ~/%1 WINEPREFIX=~/%2");
        // In a prefix each flavor comes first, then the game folder itself; the x86 folder first.
        QTest::newRow("plain wine, then lutris prefixes in name order; other programs are no install")
            << LVFiles{{".wine/" + kPlain + "Wow.exe", ""},
                       {".wine/" + kX86 + "_retail_/Wow.exe", ""},
                       {".wine/" + kX86 + "_classic_era_/WowClassic.exe", ""},
                       {".wine/" + kX86 + "_classic_/Wow.exe", ""},
                       {".wine/" + kX86 + "WowB.exe", ""},
                       {"Games/b-wow/" + kX86 + "_retail_/Wow.exe", ""},
                       {"Games/a-wow/" + kX86 + "_classic_/WowClassic.exe", ""},
                       {"Games/copy/Program Files/World of Warcraft/Wow.exe", ""}}
            << LVFiles{} << LVFiles{}
            << QStringList{described("Wine", "", "_retail_", ".wine/" + kX86 + "_retail_/Wow.exe",
                                     wine.arg(".wine/" + kX86 + "_retail_/Wow.exe", ".wine")),
                           described("Wine", "", "_classic_era_", ".wine/" + kX86 + "_classic_era_/WowClassic.exe",
                                     wine.arg(".wine/" + kX86 + "_classic_era_/WowClassic.exe", ".wine")),
                           described("Wine", "", "", ".wine/" + kPlain + "Wow.exe",
                                     wine.arg(".wine/" + kPlain + "Wow.exe", ".wine")),
                           described("Lutris", "", "_classic_", "Games/a-wow/" + kX86 + "_classic_/WowClassic.exe",
                                     wine.arg("Games/a-wow/" + kX86 + "_classic_/WowClassic.exe", "Games/a-wow")),
                           described("Lutris", "", "_retail_", "Games/b-wow/" + kX86 + "_retail_/Wow.exe",
                                     wine.arg("Games/b-wow/" + kX86 + "_retail_/Wow.exe", "Games/b-wow"))};

        QTest::newRow("$WINEPREFIX first; a prefix reached twice counts once")
            << LVFiles{{"custom/" + kX86 + "_retail_/Wow.exe", ""}, {".wine/" + kPlain + "Wow.exe", ""}}
            << LVFiles{{"Games/same", "custom"}} << LVFiles{{"WINEPREFIX", "$HOME/custom/"}}
            << QStringList{described("Custom prefix", "", "_retail_", "custom/" + kX86 + "_retail_/Wow.exe",
                                     wine.arg("custom/" + kX86 + "_retail_/Wow.exe", "custom")),
                           described("Wine", "", "", ".wine/" + kPlain + "Wow.exe",
                                     wine.arg(".wine/" + kPlain + "Wow.exe", ".wine"))};

        // lutris/lutris: lutris/config.py (games/<slug>-<time>.yml), lutris/util/yaml.py (PyYAML's
        // safe_dump), lutris/database/games.py (pga.db), lutris/runners/wine.py (prefix from exe).
        const QString lutris = QStringLiteral(".config/lutris/games/");
        QTest::newRow("lutris: one installer run twice, each game by its own id in pga.db")
            << LVFiles{{"Games/world-of-warcraft/" + kX86 + "_retail_/Wow.exe", ""},
                       {"Games/world-of-warcraft-2/" + kX86 + "_classic_/WowClassic.exe", ""},
                       {lutris + "world-of-warcraft-battlenet-1700000000.yml",
                        "game:\n  exe: $HOME/Games/world-of-warcraft/drive_c/Program Files "
                        "(x86)/Battle.net/Battle.net\n"
                        "    Launcher.exe\n  prefix: $HOME/Games/world-of-warcraft\ngame_slug: world-of-warcraft\n"
                        "name: World of Warcraft\nslug: world-of-warcraft-battlenet\nwine:\n  version: "
                        "wine-ge-8-26-x86_64\n"},
                       {lutris + "world-of-warcraft-battlenet-1700000600.yml",
                        "game:\n  prefix: $HOME/Games/world-of-warcraft-2\ngame_slug: world-of-warcraft\n"},
                       // The user renamed the first game's identifier: the library's slug is "my-wow".
                       {".local/share/lutris/pga.db", "3|my-wow|world-of-warcraft-battlenet-1700000000|1\n"
                                                      "5|world-of-warcraft|gone-1690000000|0\n"
                                                      "8|world-of-warcraft|world-of-warcraft-battlenet-1700000600|1"}}
            << LVFiles{} << LVFiles{}
            << QStringList{described("Lutris", "3", "_retail_", "Games/world-of-warcraft/" + kX86 + "_retail_/Wow.exe",
                                     "lutris lutris:rungameid/3"),
                           described("Lutris", "8", "_classic_",
                                     "Games/world-of-warcraft-2/" + kX86 + "_classic_/WowClassic.exe",
                                     "lutris lutris:rungameid/8")};

        const QString flatpakLutris = QStringLiteral(".var/app/net.lutris.Lutris/data/lutris/");
        QTest::newRow("lutris as PyYAML writes it: escapes, folded lines, only an exe; the flatpak's own games")
            << LVFiles{{"Games/Wörld of Warcraft/" + kX86 + "_retail_/Wow.exe", ""},
                       {lutris + "world-of-warcraft-1700000000.yml",
                        "game:\n  exe: \"$HOME/Games/W\\xF6rld of Warcraft/drive_c/Program Files (x86)/World of\\\n"
                        "    \\ Warcraft/_retail_/Wow.exe\"\n  prefix: \"$HOME/Games/W\\xF6rld of Warcraft\"\n"
                        "game_slug: world-of-warcraft\nname: \"W\\xF6rld of Warcraft\"\n"},
                       {"Games/an install of the game kept in a folder with a long name/world of warcraft/" + kX86 +
                            "_ptr_/WowT.exe",
                        ""},
                       {lutris + "wow-ptr-1700000100.yml",
                        "game:\n  prefix: $HOME/Games/an install of the game kept in a folder with a long name/world\n"
                        "    of warcraft\n"},
                       {"Wine Prefixes/WoW Classic Era/" + kX86 + "_classic_era_/WowClassic.exe", ""},
                       {flatpakLutris + "games/wow-classic-1700000200.yml",
                        "game:\n  exe: $HOME/Wine Prefixes/WoW Classic Era/drive_c/Program Files (x86)/World of\n"
                        "    Warcraft/_classic_era_/WowClassic.exe\nname: WoW Classic\n"},
                       {".local/share/lutris/pga.db", "4|world-of-warcraft|world-of-warcraft-1700000000|1\n"
                                                      "6|wow-ptr|wow-ptr-1700000100|1"},
                       {flatpakLutris + "pga.db", "2|wow-classic|wow-classic-1700000200|1"}}
            << LVFiles{} << LVFiles{}
            << QStringList{described("Lutris", "4", "_retail_", "Games/Wörld of Warcraft/" + kX86 + "_retail_/Wow.exe",
                                     "lutris lutris:rungameid/4"),
                           described("Lutris", "6", "_ptr_",
                                     "Games/an install of the game kept in a folder with a long name/world of "
                                     "warcraft/" +
                                         kX86 + "_ptr_/WowT.exe",
                                     "lutris lutris:rungameid/6"),
                           described("Lutris (Flatpak)", "2", "_classic_era_",
                                     "Wine Prefixes/WoW Classic Era/" + kX86 + "_classic_era_/WowClassic.exe",
                                     "flatpak run net.lutris.Lutris lutris:rungameid/2")};

        QTest::newRow("lutris settings under $XDG_CONFIG_HOME instead of ~/.config")
            << LVFiles{{"conf/lutris/games/moved-1.yml", "game:\n  prefix: $HOME/moved\n"},
                       {"moved/" + kX86 + "_retail_/Wow.exe", ""},
                       {".config/lutris/games/stale-1.yml", "game:\n  prefix: $HOME/stale\n"},
                       {"stale/" + kX86 + "_retail_/Wow.exe", ""}}
            << LVFiles{} << LVFiles{{"XDG_CONFIG_HOME", "$HOME/conf"}}
            << QStringList{described("Lutris", "", "_retail_", "moved/" + kX86 + "_retail_/Wow.exe",
                                     wine.arg("moved/" + kX86 + "_retail_/Wow.exe", "moved"))};

        // Matoking/protontricks, src/protontricks/steam.py: libraryfolders.vdf, "steamapps" in any
        // case, the Snap's and the Flatpak's folders.
        const QString steamApps = QStringLiteral(".local/share/Steam/steamapps/");
        const QString snap = QStringLiteral("snap/steam/common/.local/share/Steam/steamapps/compatdata/5/pfx/");
        const QString flatpakSteam = QStringLiteral(".var/app/com.valvesoftware.Steam/.local/share/Steam/");
        QTest::newRow("steam libraries its libraryfolders.vdf lists, SteamApps, the snap's and the flatpak's")
            << LVFiles{{steamApps + "compatdata/2/pfx/" + kX86 + "_retail_/Wow.exe", ""},
                       {steamApps + "libraryfolders.vdf",
                        "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"$HOME/.local/share/Steam\"\n"
                        "\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"1\"\n\t\t}\n\t}\n"
                        "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"$HOME/sdcard\"\n\t}\n}\n"},
                       {"sdcard/SteamApps/compatdata/3000000000/pfx/" + kX86 + "_classic_/WowClassic.exe", ""},
                       {snap + kX86 + "_beta_/WowB.exe", ""},
                       {flatpakSteam + "steamapps/compatdata/1/pfx/" + kPlain + "Wow.exe", ""},
                       {flatpakSteam + "steamapps/libraryfolders.vdf",
                        "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"$HOME/.local/share/Steam\"\n\t}\n}\n"}}
            << LVFiles{{".steam/steam", ".local/share/Steam"}} << LVFiles{}
            << QStringList{described("Steam", "2", "_retail_",
                                     steamApps + "compatdata/2/pfx/" + kX86 + "_retail_/Wow.exe",
                                     "steam steam://rungameid/2"),
                           described("Steam", "3000000000", "_classic_",
                                     "sdcard/SteamApps/compatdata/3000000000/pfx/" + kX86 + "_classic_/WowClassic.exe",
                                     "steam steam://rungameid/12884901888033554432"),
                           described("Steam (Snap)", "5", "_beta_", snap + kX86 + "_beta_/WowB.exe",
                                     "snap run steam steam://rungameid/5"),
                           described("Steam (Flatpak)", "1", "",
                                     flatpakSteam + "steamapps/compatdata/1/pfx/" + kPlain + "Wow.exe",
                                     "flatpak run com.valvesoftware.Steam steam://rungameid/1")};

        // bottlesdevs/Bottles, bottles/backend/managers/manager.py: a bottle's folder is its name with
        // "-" for spaces, bottle.yml (yaml.dump, indent 4) holds its Name, placeholder.yml its Path.
        const QString bottles = QStringLiteral("data/bottles/bottles/");
        const QString flatpakBottles = QStringLiteral(".var/app/com.usebottles.bottles/data/bottles/bottles/");
        QTest::newRow("bottles by their Name, on a custom path, and the flatpak's")
            << LVFiles{{bottles + "World-of-Warcraft/" + kX86 + "_retail_/Wow.exe", ""},
                       {bottles + "World-of-Warcraft/bottle.yml",
                        "Arch: win64\nCustom_Path: false\nEnvironment: Gaming\nName: World of Warcraft\n"
                        "Path: World-of-Warcraft\nRunner: soda-9.0-1\n"},
                       {bottles + "Classic-Era/placeholder.yml", "Path: \"$HOME/Sp\\xE4ter/Classic-Era\"\n"},
                       {"Später/Classic-Era/bottle.yml",
                        "Custom_Path: true\nName: Classic Era\nPath: \"$HOME/Sp\\xE4ter/Classic-Era\"\n"},
                       {"Später/Classic-Era/" + kX86 + "_classic_era_/WowClassic.exe", ""},
                       {".local/share/bottles/bottles/Unused/" + kX86 + "_retail_/Wow.exe", ""},
                       {flatpakBottles + "Flat/" + kPlain + "Wow.exe", ""},
                       {flatpakBottles + "Flat/bottle.yml", "Name: Flat\nPath: Flat\n"}}
            << LVFiles{} << LVFiles{{"XDG_DATA_HOME", "$HOME/data"}}
            << QStringList{described("Bottles", "Classic Era", "_classic_era_",
                                     "Später/Classic-Era/" + kX86 + "_classic_era_/WowClassic.exe",
                                     "bottles-cli run -b Classic Era -e ~/Später/Classic-Era/" + kX86 +
                                         "_classic_era_/WowClassic.exe"),
                           described("Bottles", "World of Warcraft", "_retail_",
                                     bottles + "World-of-Warcraft/" + kX86 + "_retail_/Wow.exe",
                                     "bottles-cli run -b World of Warcraft -e ~/" + bottles + "World-of-Warcraft/" +
                                         kX86 + "_retail_/Wow.exe"),
                           described("Bottles (Flatpak)", "Flat", "", flatpakBottles + "Flat/" + kPlain + "Wow.exe",
                                     "flatpak run --command=bottles-cli com.usebottles.bottles run -b Flat -e ~/" +
                                         flatpakBottles + "Flat/" + kPlain + "Wow.exe")};

        // Heroic-Games-Launcher/HeroicGamesLauncher: src/backend/game_config.ts (GamesConfig, written
        // with JSON.stringify(config, null, 2)), src/backend/storeManagers/sideload (library.json,
        // electron-store's tabs), src/backend/utils.ts (Proton's "pfx"), src/backend/protocol.ts.
        const QString heroic = QStringLiteral("Games/Heroic/Prefixes/");
        const QString wowPrefix = QStringLiteral("$HOME/Games/Heroic/Prefixes/default/World of Warcraft");
        const QString flatpakHeroic = QStringLiteral(".var/app/com.heroicgameslauncher.hgl/config/heroic/");
        QTest::newRow("heroic: the config whose game is this one, a proton prefix, the flatpak's")
            << LVFiles{{heroic + "default/World of Warcraft/" + kX86 + "_retail_/Wow.exe", ""},
                       {heroic + "Other/" + kX86 + "_ptr_/WowT.exe", ""},
                       {".config/heroic/GamesConfig/1207658924.json",
                        "{\n  \"1207658924\": {\n    \"winePrefix\": \"" + wowPrefix +
                            "\",\n    \"wineVersion\": {\n"
                            "      \"bin\": \"/usr/bin/wine\",\n      \"type\": \"wine\"\n    }\n  },\n  \"version\": "
                            "\"v0\",\n"
                            "  \"explicit\": true\n}"},
                       {".config/heroic/GamesConfig/zW0wSide.json",
                        "{\n  \"zW0wSide\": {\n    \"winePrefix\": \"" + wowPrefix + "\"\n  }\n}"},
                       {".config/heroic/sideload_apps/library.json",
                        "{\n\t\"games\": [\n\t\t{\n\t\t\t\"runner\": \"sideload\",\n\t\t\t\"app_name\": \"zW0wSide\",\n"
                        "\t\t\t\"title\": \"World of Warcraft\",\n\t\t\t\"install\": {\n\t\t\t\t\"executable\": \"" +
                            wowPrefix + "/" + kX86 +
                            "World of Warcraft Launcher.exe\",\n\t\t\t\t\"platform\": "
                            "\"windows\"\n\t\t\t},\n\t\t\t\"is_installed\": true\n\t\t}\n\t]\n}"},
                       {heroic + "Classic/pfx/" + kX86 + "_classic_/WowClassic.exe", ""},
                       {flatpakHeroic + "GamesConfig/cL4ss1c.json",
                        "{\n  \"cL4ss1c\": {\n    \"winePrefix\": \"~/Games/Heroic/Prefixes/Classic\",\n"
                        "    \"wineVersion\": {\n      \"type\": \"proton\"\n    }\n  }\n}"},
                       {flatpakHeroic + "sideload_apps/library.json",
                        "{\n\t\"games\": [\n\t\t{\n\t\t\t\"app_name\": \"cL4ss1c\",\n\t\t\t\"install\": {\n"
                        "\t\t\t\t\"executable\": \"$HOME/Games/Heroic/Prefixes/Classic/pfx/drive_c/Program Files "
                        "(x86)/Battle.net/Battle.net Launcher.exe\"\n\t\t\t}\n\t\t}\n\t]\n}"}}
            << LVFiles{} << LVFiles{}
            << QStringList{described("Heroic (Flatpak)", "cL4ss1c", "_classic_",
                                     heroic + "Classic/pfx/" + kX86 + "_classic_/WowClassic.exe",
                                     "flatpak run com.heroicgameslauncher.hgl heroic://launch/sideload/cL4ss1c"),
                           described("Heroic", "", "_ptr_", heroic + "Other/" + kX86 + "_ptr_/WowT.exe",
                                     wine.arg(heroic + "Other/" + kX86 + "_ptr_/WowT.exe", heroic + "Other")),
                           described("Heroic", "zW0wSide", "_retail_",
                                     heroic + "default/World of Warcraft/" + kX86 + "_retail_/Wow.exe",
                                     "heroic heroic://launch/sideload/zW0wSide")};

        // Faugus/faugus-launcher, faugus/path_manager.py (games.json, ~/Faugus) and faugus/runner.py
        // (--game); Castro-Fidel/PortWINE, data_from_portwine/scripts/functions_helper (start.sh, the
        // Flatpak's desktop entries).
        const QString flatpakPortProton = QStringLiteral(".var/app/ru.linux_gaming.PortProton/data/prefixes/");
        QTest::newRow("faugus by games.json, portproton natively and as a flatpak")
            << LVFiles{{"Faugus/world-of-warcraft/" + kX86 + "_retail_/Wow.exe", ""},
                       {"Faugus/unlisted/" + kX86 + "_ptr_/WowT.exe", ""},
                       {"Spiele/era/" + kX86 + "_anniversary_/WowClassic.exe", ""},
                       {".local/share/faugus-launcher/games.json",
                        "[\n    {\n        \"gameid\": \"world-of-warcraft\",\n        \"title\": \"World of "
                        "Warcraft\",\n"
                        "        \"path\": \"$HOME/Faugus/world-of-warcraft/" +
                            kX86 +
                            "_retail_/Wow.exe\",\n"
                            "        \"prefix\": \"$HOME/Faugus/world-of-warcraft\",\n        \"runner\": \"Proton-GE "
                            "Latest\"\n"
                            "    },\n    {\n        \"gameid\": \"anniversary\",\n        \"path\": "
                            "\"$HOME/Spiele/era/" +
                            kX86 +
                            "_anniversary_/WowClassic.exe\",\n        \"prefix\": \"$HOME/Spiele/era\"\n    }\n]"},
                       {".local/share/faugus-launcher/prefixes/never/" + kX86 + "_retail_/Wow.exe", ""},
                       {"PortProton/data/prefixes/DEFAULT/" + kX86 + "_xptr_/WowT.exe", ""},
                       {"PortProton/data/scripts/start.sh", kRecorder},
                       {flatpakPortProton + "DEFAULT/" + kX86 + "_classic_ptr_/WowClassicT.exe", ""}}
            << LVFiles{} << LVFiles{}
            << QStringList{described("Faugus", "", "_ptr_", "Faugus/unlisted/" + kX86 + "_ptr_/WowT.exe",
                                     wine.arg("Faugus/unlisted/" + kX86 + "_ptr_/WowT.exe", "Faugus/unlisted")),
                           described("Faugus", "world-of-warcraft", "_retail_",
                                     "Faugus/world-of-warcraft/" + kX86 + "_retail_/Wow.exe",
                                     "faugus-launcher --game world-of-warcraft"),
                           described("Faugus", "anniversary", "_anniversary_",
                                     "Spiele/era/" + kX86 + "_anniversary_/WowClassic.exe",
                                     "faugus-launcher --game anniversary"),
                           described("PortProton", "", "_xptr_",
                                     "PortProton/data/prefixes/DEFAULT/" + kX86 + "_xptr_/WowT.exe",
                                     "start.sh ~/PortProton/data/prefixes/DEFAULT/" + kX86 + "_xptr_/WowT.exe"),
                           described("PortProton (Flatpak)", "", "_classic_ptr_",
                                     flatpakPortProton + "DEFAULT/" + kX86 + "_classic_ptr_/WowClassicT.exe",
                                     "flatpak run ru.linux_gaming.PortProton ~/" + flatpakPortProton + "DEFAULT/" +
                                         kX86 + "_classic_ptr_/WowClassicT.exe")};
    }

    void findsAndStartsEveryInstall() {
        QFETCH(LVFiles, files);
        QFETCH(LVFiles, links);
        QFETCH(LVFiles, environment);
        QFETCH(QStringList, expected);
        LVHome home;
        home.write(files);
        home.link(links);
        LVLinuxWorkspace workspace(home.path(), home.environment(environment));

        QStringList found;
        for (const LVGameInstallation &install : workspace.findInstallations()) {
            QVERIFY2(install.executable.startsWith(install.prefix + "/drive_c/"), qPrintable(install.executable));
            QString error;
            QVERIFY2(workspace.launchApplication(install.executable, &error), qPrintable(error));
            QTRY_COMPARE(home.launchLog().size(), found.size() + 1);
            found << described(lv::installSourceName(install), install.launcherId, install.flavor,
                               QDir(home.path()).relativeFilePath(install.executable), home.launchLog().last());
        }
        QCOMPARE(found, expected);
        const QList<LVLauncherPrefix> prefixes = workspace.winePrefixes();
        QSet<QString> distinct;
        for (const LVLauncherPrefix &prefix : prefixes)
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

    // When the copy of the launcher that made the prefix is missing, or it keeps no game that is this
    // one, Wine starts the game in its prefix; another copy of the launcher never does.
    void startsWithWineWhenTheLauncherCannot_data() {
        QTest::addColumn<LVGameInstallation>("install");
        QTest::addColumn<QStringList>("installed"); // programs on PATH
        QTest::addColumn<QStringList>("command");   // program, then its arguments; empty: none
        const QString exe = QStringLiteral("/pfx/") + kX86 + "_retail_/Wow.exe";
        const QStringList wine{"/bin/wine", exe};
        using K = LVPrefixKind;
        using C = LVLauncherCopy;
        QTest::newRow("the native copy is not installed, the flatpak is")
            << LVGameInstallation{exe, "_retail_", "/pfx", K::Lutris, "3", C::Native} << QStringList{"flatpak", "wine"}
            << wine;
        QTest::newRow("the flatpak is not, the native copy is")
            << LVGameInstallation{exe, "_retail_", "/pfx", K::Bottles, "WoW", C::Flatpak}
            << QStringList{"bottles-cli", "wine"} << wine;
        QTest::newRow("no game of the launcher is this one")
            << LVGameInstallation{exe, "_retail_", "/pfx", K::Faugus, "", C::Native}
            << QStringList{"faugus-launcher", "wine"} << wine;
        QTest::newRow("heroic as an appimage, through its link")
            << LVGameInstallation{exe, "_retail_", "/pfx", K::Heroic, "a b", C::Native}
            << QStringList{"xdg-open", "wine"} << QStringList{"/bin/xdg-open", "heroic://launch/sideload/a%20b"};
        QTest::newRow("portproton without its start script")
            << LVGameInstallation{exe, "_retail_", "/pfx", K::PortProton, "", C::Native}
            << QStringList{"portproton", "wine"} << QStringList{"/bin/portproton", exe};
        QTest::newRow("nothing to start it") << LVGameInstallation{exe, "_retail_", "/pfx", K::Steam, "2", C::Native}
                                             << QStringList{"lutris"} << QStringList{};
    }

    void startsWithWineWhenTheLauncherCannot() {
        QFETCH(LVGameInstallation, install);
        QFETCH(QStringList, installed);
        QFETCH(QStringList, command);
        const auto findExecutable = [&installed](const QString &name) {
            return installed.contains(name) ? QStringLiteral("/bin/") + name : QString();
        };
        QString error = QStringLiteral("untouched");
        const LVLaunchCommand launch = lv::launchCommand(install, findExecutable, &error);
        QCOMPARE(QStringList{launch.program} + launch.arguments, command.isEmpty() ? QStringList{""} : command);
        QCOMPARE(error, command.isEmpty() ? kNoWine : QStringLiteral("untouched"));
        const bool wine = launch.program == QLatin1String("/bin/wine");
        QCOMPARE(launch.environment.value("WINEPREFIX"), wine ? install.prefix : QString());
        QCOMPARE(launch.workingFolder, wine ? QFileInfo(install.executable).path() : QString());
    }

    // Launch, as the window and --launch start it, waits for the game's process in the test's own
    // process table: the launcher's fault shows at once, a launcher that starts nothing when time is up.
    void launchWaitsForTheGame_data() {
        QTest::addColumn<QString>("launcher"); // what the fake bottles-cli does after recording
        QTest::addColumn<QString>("failure");  // null: the game starts
        const QString start = QStringLiteral("/bin/mv \"$STAGED\" \"$PROC/4242\"");
        const QString command = QStringLiteral("{bin}/bottles-cli run -b 'World of Warcraft' -e "
                                               "'~/.local/share/bottles/bottles/World-of-Warcraft/") +
                                kX86 + "_retail_/Wow.exe'";
        QTest::newRow("the launcher starts the game") << start << QString();
        QTest::newRow("the game starts after the launcher ended") << "(/bin/sleep 0.3; " + start + ") &" << QString();
        QTest::newRow("the launcher fails")
            << "echo >&2; echo 'Bottle World-of-Warcraft not found' >&2; echo more >&2; exit 1"
            << "The launcher did not start the game: " + command +
                   " ended with status 1: Bottle World-of-Warcraft not found";
        QTest::newRow("the launcher starts nothing") << "exit 0"
                                                     << "The launcher did not start the game: " + command;
    }

    void launchWaitsForTheGame() {
        QFETCH(QString, launcher);
        QFETCH(QString, failure);
        LVHome home;
        LVProcFolder proc;
        const QString staged = home.root() + QStringLiteral("/game-process");
        LVProcFolder::writeProcessAt(staged, QStringLiteral("4242 C:\\Games\\World~of~Warcraft\\_retail_\\Wow.exe"));
        home.write({{".local/share/bottles/bottles/World-of-Warcraft/bottle.yml", "Name: World of Warcraft\n"},
                    {".local/share/bottles/bottles/World-of-Warcraft/" + kX86 + "_retail_/Wow.exe", ""}});
        home.writeRecorder(home.bin() + "/bottles-cli",
                           QStringLiteral("STAGED='%1' PROC='%2'\n%3").arg(staged, proc.path(), launcher));
        LVSettings settings(home.root() + QStringLiteral("/settings.ini"));
        LVLinuxWorkspace workspace(home.path(), home.environment({}));
        LVProcProcessMonitor monitor(proc.path(), getuid());
        monitor.setPollInterval(50);
        LVMemoryCredentialStore keychain;
        LVApplicationDelegate delegate({&settings, &workspace, &monitor, &keychain,
                                        QStringLiteral(LV_SOURCE_RESOURCES_DIR), QString(), false,
                                        home.root() + QStringLiteral("/history.sqlite"),
                                        QDBusConnection(QStringLiteral("lv-test-without-a-bus"))});
        delegate.gameWatch().setLaunchTimeout(std::chrono::milliseconds(1500));

        LVBusRecorder bus;
        QCOMPARE(lv::runHeadlessLaunch(delegate), failure.isNull() ? 0 : 1);
        QCOMPARE(home.launchLog().size(), 1);
        const QStringList errors =
            bus.errorMessages().replaceInStrings(home.path(), "~").replaceInStrings(home.bin(), "{bin}");
        QCOMPARE(errors, failure.isNull() ? QStringList() : QStringList{failure});
    }
};

QTEST_GUILESS_MAIN(TestInstallations)
#include "TestInstallations.moc"
