// How long the search for the game takes in a busy home folder: a Steam library with hundreds of
// Proton prefixes and a second library on another card, Lutris games with their settings and their
// library, bottles with theirs, Heroic prefixes, the game in the last library searched. The client
// searches at start-up; it looks up the install of one program for each row of Options and each launch. The folders
// live in /dev/shm when there is one, so the figures are the program's own and not the disk's; give a folder as the
// first argument to use another.

#include "platform/LVLinuxWorkspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSteamPrefixes = 400;
constexpr int kLutrisGames = 40;
constexpr int kBottles = 20;
constexpr int kHeroicGames = 40;
constexpr int kRuns = 21;
const QString kGameFolder = QStringLiteral("/drive_c/Program Files (x86)/World of Warcraft");

void writeFile(const QString &path, const QByteArray &contents = {}) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("Cannot write %s", qPrintable(path));
}

void makePrefix(const QString &prefix) {
    QDir().mkpath(prefix + QStringLiteral("/drive_c/windows/system32"));
    QDir().mkpath(prefix + QStringLiteral("/drive_c/Program Files"));
}

// Each game's settings as PyYAML writes them, and the library Lutris keeps of them.
void makeLutrisGames(const QString &home) {
    QDir().mkpath(home + QStringLiteral("/.local/share/lutris"));
    {
        QSqlDatabase library = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        library.setDatabaseName(home + QStringLiteral("/.local/share/lutris/pga.db"));
        if (!library.open())
            qFatal("Cannot write pga.db");
        QSqlQuery query(library);
        query.exec(QStringLiteral("CREATE TABLE games (id INTEGER PRIMARY KEY, slug TEXT, configpath TEXT, "
                                  "directory TEXT, installed INTEGER)"));
        for (int game = 0; game < kLutrisGames; ++game) {
            makePrefix(home + QStringLiteral("/Games/game-%1").arg(game));
            writeFile(home + QStringLiteral("/.config/lutris/games/game-%1-1700000000.yml").arg(game),
                      QStringLiteral("game:\n  exe: %1/Games/game-%2/drive_c/x.exe\n  prefix: %1/Games/game-%2\n"
                                     "game_slug: game-%2\nname: Game %2\nwine:\n  version: wine-ge-8-26-x86_64\n")
                          .arg(home)
                          .arg(game)
                          .toUtf8());
            query.exec(
                QStringLiteral("INSERT INTO games VALUES (%1, 'game-%1', 'game-%1-1700000000', '', 1)").arg(game));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
}

void makeHome(const QString &home) {
    const QString steam = home + QStringLiteral("/.local/share/Steam/steamapps");
    writeFile(steam + QStringLiteral("/libraryfolders.vdf"),
              QStringLiteral("\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"%1/.local/share/Steam\"\n\t}\n"
                             "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"%1/card\"\n\t}\n}\n")
                  .arg(home)
                  .toUtf8());
    for (int app = 0; app < kSteamPrefixes; ++app)
        makePrefix(steam + QStringLiteral("/compatdata/%1/pfx").arg(1000 + app));
    makeLutrisGames(home);
    for (int bottle = 0; bottle < kBottles; ++bottle) {
        const QString folder = home + QStringLiteral("/.local/share/bottles/bottles/bottle-%1").arg(bottle);
        makePrefix(folder);
        writeFile(
            folder + QStringLiteral("/bottle.yml"),
            QStringLiteral("Arch: win64\nCustom_Path: false\nName: Bottle %1\nPath: bottle-%1\n").arg(bottle).toUtf8());
    }
    for (int game = 0; game < kHeroicGames; ++game) {
        makePrefix(home + QStringLiteral("/Games/Heroic/Prefixes/default/game-%1").arg(game));
        writeFile(home + QStringLiteral("/.config/heroic/GamesConfig/app%1.json").arg(game),
                  QStringLiteral("{\"app%1\": {\"winePrefix\": \"%2/Games/Heroic/Prefixes/default/game-%1\"}}")
                      .arg(game)
                      .arg(home)
                      .toUtf8());
    }
    const QString card = home + QStringLiteral("/card/steamapps/compatdata/3000000000/pfx");
    makePrefix(card);
    writeFile(card + kGameFolder + QStringLiteral("/_retail_/Wow.exe"));
    writeFile(card + kGameFolder + QStringLiteral("/_classic_era_/WowClassic.exe"));
}

void report(const char *what, std::vector<double> milliseconds) {
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("%s: best %.2f ms, median %.2f ms (%d runs)\n", what, milliseconds.front(),
                milliseconds[milliseconds.size() / 2], kRuns);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const QString scratch = arguments.size() > 1                                 ? arguments.at(1)
                            : QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                                 : QDir::tempPath();
    QTemporaryDir home(scratch + QStringLiteral("/lorvane-bench-XXXXXX"));
    makeHome(home.path());
    const LVLinuxWorkspace workspace(home.path(), QProcessEnvironment());

    std::vector<double> milliseconds;
    qsizetype installs = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        installs = workspace.findInstallations().size();
        milliseconds.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("prefixes %lld, installs %lld\n", qlonglong(workspace.winePrefixes().size()), qlonglong(installs));
    report("find every install", milliseconds);

    const QString game = workspace.findInstallations().value(0).executable;
    milliseconds.clear();
    bool known = true;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        known = known && workspace.installationOf(game).kind == LVPrefixKind::Steam;
        milliseconds.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    report("the install of one program", milliseconds);
    return installs == 2 && known ? 0 : 1;
}
