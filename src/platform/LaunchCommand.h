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

    bool operator==(const LVLaunchCommand &) const = default;
};

// Answers the full path of a program found on PATH, or empty.
using LVFindExecutable = std::function<QString(const QString &)>;

namespace lv {

// The full path of a program found in the folders of PATH of that environment, or empty.
QString findExecutableIn(const QString &name, const QProcessEnvironment &environment);

// The command that starts the install: through the copy of the launcher that made its prefix, with
// that launcher's id for the game, when the launcher keeps the game and is installed; else with
// Wine inside the prefix. Empty, with the error filled, when neither can be found.
LVLaunchCommand launchCommand(const LVGameInstallation &install, const LVFindExecutable &findExecutable,
                              QString *error);

// The command as a shell would take it, for messages and bug reports: its variables, the program and
// the arguments, each quoted where it needs to be.
QString describeCommand(const LVLaunchCommand &command);

} // namespace lv
