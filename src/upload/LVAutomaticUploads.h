#pragma once

#include "net/LVRetrySchedule.h"
#include "upload/LVUploadRun.h"

#include <QObject>
#include <QTimer>

class LVClock;
class LVGameWatch;
class LVSettings;
class LVSystemEvents;

// The uploads nobody pressed a button for: the one after the game quits (when the option asks for
// it), and the retries of the accounts whose data did not reach the site for a passing reason, on the
// back-off of LVRetrySchedule (when the option asks for them). One of them falls due only to wait
// while the game runs, while another run goes on (it starts after that one) or while the user paused
// them; it is never dropped.
class LVAutomaticUploads : public QObject {
    Q_OBJECT
public:
    LVAutomaticUploads(LVSettings &settings, LVUploadRun &run, LVGameWatch &gameWatch, LVClock &clock,
                       LVSystemEvents &events, QObject *parent = nullptr);

    // Off, failed accounts are never tried again (the runs without a window end with their run).
    void setRetrying(bool retrying) { mRetrying = retrying; }
    // The game has quit.
    void gameQuit();
    // What waits to be tried again, or else everything, is uploaded now, paused or not.
    void retryNow();
    // Nothing starts by itself for that long, or until resume() without a time.
    void pause(std::optional<qint64> seconds);
    void resume();

    bool isPaused() const { return mPaused; }
    // Null while not paused or paused until resumed.
    QDateTime pausedUntil() const { return mPausedUntil; }
    // Null while nothing waits to be tried again.
    QDateTime nextRetry() const { return mSchedule.nextTry(); }
    const QList<LVAccountRef> &accountsToRetry() const { return mToRetry; }

signals:
    // The pause or the next retry changed.
    void changed();

private:
    enum class Wanted { Nothing, Retry, Everything };

    void want(Wanted wanted);
    void startIfPossible(bool evenPaused = false);
    void runEnded(const LVUploadOutcome &outcome);
    void followFailures(const LVUploadOutcome &outcome);
    void announceRetry(std::optional<qint64> retryAfter);
    void checkPauseEnd();

    LVSettings &mSettings;
    LVUploadRun &mRun;
    LVGameWatch &mGameWatch;
    LVClock &mClock;
    LVRetrySchedule mSchedule;
    QTimer mPauseEnd;
    QList<LVAccountRef> mToRetry;
    bool mRetryEverything = false; // the last run could not reach the site at all
    Wanted mWanted = Wanted::Nothing;
    bool mRetrying = true;
    bool mPaused = false;
    QDateTime mPausedUntil;
};
