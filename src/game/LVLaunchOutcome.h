#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <memory>

class LVLauncherProcess;
class LVProcessMonitor;

// Whether a launch started the game: it succeeded when a process of one of the game's names starts
// before the time is up; it failed at once when the launcher ends with a failing status, and when
// the time is up without the game. A launcher that hands the game over and ends well is waited out.
class LVLaunchOutcome : public QObject {
    Q_OBJECT
public:
    LVLaunchOutcome(std::unique_ptr<LVLauncherProcess> launcher, const QStringList &gameNames,
                    LVProcessMonitor &monitor, std::chrono::milliseconds timeout, QObject *parent = nullptr);
    ~LVLaunchOutcome() override;

signals:
    // Sent once: a null failure when the game started, else what went wrong.
    void ended(const QString &failure);

private:
    void end(const QString &failure);
    void launcherFinished(int exitStatus, const QString &firstErrorLine);

    std::unique_ptr<LVLauncherProcess> mLauncher;
    QStringList mGameNames;
    QTimer mTimeout;
    bool mEnded = false;
};
