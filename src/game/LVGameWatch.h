#pragma once

#include <QObject>

#include <chrono>
#include <memory>

class LVBusyGuard;
class LVGameInstall;
class LVGameInstalls;
class LVLaunchOutcome;
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
    ~LVGameWatch() override;

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
    // Starts the first checked install's game, or its launcher; an error on the status bus when it
    // cannot, or when the game does not start.
    void launchWoW();
    // The same for that install; false, with the error posted, when nothing could be started. Then
    // launchEnded tells whether the game started.
    bool launchInstall(LVGameInstall &install);
    // How long a launch may take to show the game before it counts as failed.
    void setLaunchTimeout(std::chrono::milliseconds timeout) { mLaunchTimeout = timeout; }

signals:
    void gameRunningChanged(bool running);
    // Sent after gameRunningChanged(false).
    void gameQuit();
    // The last launch started the game (a null failure) or did not, as the error posted says.
    void launchEnded(const QString &failure);

private:
    bool isGameApplication(const QString &name) const;
    void launchOutcome(const QString &failure);

    LVSettings &mSettings;
    LVGameInstalls &mInstalls;
    LVProcessMonitor &mMonitor;
    LVWorkspace &mWorkspace;
    LVBusyGuard &mBusy;
    bool mGameIsRunning = false;
    std::chrono::milliseconds mLaunchTimeout{60000};
    std::unique_ptr<LVLaunchOutcome> mLaunch; // the launch waiting for its game
};
