#pragma once

#include "platform/LaunchCommand.h"

#include <QObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

// A launch command started apart from the program, so that the launcher and the game it starts go
// on when the program quits; it tells when the command itself ends and how. Its error output is
// kept only in part (its first line), so a launcher that runs for hours fills nothing.
class LVLauncherProcess : public QObject {
    Q_OBJECT
public:
    explicit LVLauncherProcess(const LVLaunchCommand &command, QObject *parent = nullptr);
    ~LVLauncherProcess() override;

    const LVLaunchCommand &command() const { return mCommand; }
    // Starts the command in that environment plus the command's own variables; false, with the
    // reason, when it could not be started.
    bool start(const QProcessEnvironment &environment, QString *error = nullptr);

signals:
    // The command ended, with its exit status and the first line of its error output ("" when none).
    void finished(int exitStatus, const QString &firstErrorLine);

private:
    void prepare(QProcess &process, const QProcessEnvironment &environment);
    void lookForTheEnd();
    QString firstErrorLine() const;

    LVLaunchCommand mCommand;
    QTemporaryDir mFolder; // where the command's status and error output are written
    QTimer mPoll;
    int mGraceTicks = 0; // looks left for error output after a failing status
};
