#pragma once

#include "platform/GameInstallations.h"

#include <QMap>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

// How to start the game: a program with its arguments, run with a few variables added to the
// environment, in a folder.
struct LVLaunchCommand {
    QString program; // full path; empty when nothing can start the game
    QStringList arguments;
    QMap<QString, QString> environment; // added to the environment the program is started with
    QString workingFolder;              // empty: the folder the client runs in
};

namespace lv {

// The full path of a program found in the folders of PATH of that environment, or empty.
QString findExecutableIn(const QString &name, const QProcessEnvironment &environment);

// The game id Steam starts a game by, from the app id its compatdata folder is named after. A
// shortcut to a game from outside Steam has a 32-bit app id with the top bit set, and a 64-bit
// game id made from it.
QString steamGameId(const QString &appId);

// The command that starts the install: through the launcher that made its prefix when that
// launcher is installed, else with Wine inside the prefix. Empty, with the error filled, when
// neither can be found. findExecutable answers the full path of a program, or empty.
LVLaunchCommand launchCommand(const LVGameInstallation &install,
                              const std::function<QString(const QString &)> &findExecutable, QString *error);

// Starts the command detached, in that environment plus the command's own variables.
bool startLaunchCommand(const LVLaunchCommand &command, const QProcessEnvironment &environment,
                        QString *error = nullptr);

} // namespace lv
