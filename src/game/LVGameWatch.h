#pragma once

#include <QObject>

class LVBusyGuard;
class LVGameInstalls;
class LVProcessMonitor;
class LVSettings;
class LVWorkspace;

// Whether the game runs, from a look at the processes at start-up and then from the news of
// applications starting and ending; and starting the game, or its launcher, on request. The game runs
// while any process of a watched name runs: it has quit when the last of them ends.
class LVGameWatch : public QObject {
    Q_OBJECT
public:
    LVGameWatch(LVSettings &settings, LVGameInstalls &installs, LVProcessMonitor &monitor, LVWorkspace &workspace,
                LVBusyGuard &busy, QObject *parent = nullptr);

    // Looks at the running processes now.
    bool scanForRunningGame() const;
    // Follows the game's starts and ends from now on.
    void startWatching();
    // Takes the state from a look at the processes, as at start-up.
    void takeStateFromScan() { mGameIsRunning = scanForRunningGame(); }
    // What the watch knows: the game started and has not ended since.
    bool isGameRunning() const { return mGameIsRunning; }

    void workspaceDidLaunchApplication(const QString &name);
    void workspaceDidTerminateApplication(const QString &name);
    // Starts the first checked install's game, or its launcher; an error on the status bus when it cannot.
    void launchWoW();

signals:
    void gameRunningChanged(bool running);
    // Sent after gameRunningChanged(false).
    void gameQuit();

private:
    bool isGameApplication(const QString &name) const;

    LVSettings &mSettings;
    LVGameInstalls &mInstalls;
    LVProcessMonitor &mMonitor;
    LVWorkspace &mWorkspace;
    LVBusyGuard &mBusy;
    bool mGameIsRunning = false;
};
