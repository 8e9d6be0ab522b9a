#include "platform/launchers/Launchers.h"

#include "platform/launchers/LauncherFiles.h"

#include <QFileInfo>

namespace {

bool liesIn(const QString &path, const QString &folder) {
    // Wine finds files whatever the case of their names; launchers write them as the user typed them.
    return lv::canonicalOrClean(path).startsWith(lv::canonicalOrClean(folder) + QLatin1Char('/'), Qt::CaseInsensitive);
}

bool startsBattleNet(const LVGameInstallation &install, const QString &program) {
    for (const char *folder : {"/drive_c/Program Files (x86)/Battle.net", "/drive_c/Program Files/Battle.net"})
        if (liesIn(program, install.prefix + QLatin1String(folder)))
            return true;
    return false;
}

// How surely the launcher's game is this install: 3 its own program, 2 Battle.net beside it, 1 a
// program the launcher does not say, 0 another game.
int matchOf(const LVGameInstallation &install, const LVLauncherGame &game) {
    if (game.program.isEmpty())
        return 1;
    if (liesIn(game.program, lv::gameFolderOf(install)))
        return 3;
    return !install.prefix.isEmpty() && startsBattleNet(install, game.program) ? 2 : 0;
}

} // namespace

namespace lv {

const std::vector<std::unique_ptr<LVLauncher>> &launchers() {
    static const std::vector<std::unique_ptr<LVLauncher>> all = [] {
        std::vector<std::unique_ptr<LVLauncher>> list;
        for (auto make : {makePlainWine, makeLutris, makeSteam, makeBottles, makeHeroic, makeFaugus, makePortProton})
            list.push_back(make());
        return list;
    }();
    return all;
}

QString gameIdFor(const LVGameInstallation &install, const QList<LVLauncherGame> &games) {
    int best = 0;
    QString id;
    for (const LVLauncherGame &game : games) {
        const int match = matchOf(install, game);
        if (match > best) {
            best = match;
            id = game.id;
        }
    }
    return id;
}

std::optional<LVLaunchCommand> copyCommand(LVLauncherCopy copy, const LVFindExecutable &findExecutable,
                                           const QString &nativeProgram, const QStringList &flatpakRun,
                                           const QStringList &arguments) {
    const QString runner = findExecutable(copy == LVLauncherCopy::Native    ? nativeProgram
                                          : copy == LVLauncherCopy::Flatpak ? QStringLiteral("flatpak")
                                                                            : QStringLiteral("snap"));
    if (runner.isEmpty())
        return std::nullopt;
    QStringList words;
    if (copy == LVLauncherCopy::Flatpak)
        words << QStringLiteral("run") << flatpakRun;
    else if (copy == LVLauncherCopy::Snap)
        words << QStringLiteral("run") << nativeProgram;
    return LVLaunchCommand{runner, words + arguments, {}, {}};
}

} // namespace lv
