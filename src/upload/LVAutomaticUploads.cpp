#include "upload/LVAutomaticUploads.h"

#include "common/LVClock.h"
#include "common/TimeText.h"
#include "game/LVGameWatch.h"
#include "platform/LVSystemEvents.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"

LVAutomaticUploads::LVAutomaticUploads(LVSettings &settings, LVUploadRun &run, LVGameWatch &gameWatch, LVClock &clock,
                                       LVSystemEvents &events, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mRun(run)
    , mGameWatch(gameWatch)
    , mClock(clock)
    , mSchedule(clock, events) {
    mPauseEnd.setSingleShot(true);
    connect(&mPauseEnd, &QTimer::timeout, this, &LVAutomaticUploads::checkPauseEnd);
    // The pause's timer stands still while the machine sleeps; the clock does not.
    connect(&clock, &LVClock::jumped, this, &LVAutomaticUploads::checkPauseEnd);
    connect(&events, &LVSystemEvents::resumed, this, &LVAutomaticUploads::checkPauseEnd);
    connect(&mSchedule, &LVRetrySchedule::due, this,
            [this] { want(mRetryEverything ? Wanted::Everything : Wanted::Retry); });
    connect(&mSchedule, &LVRetrySchedule::nextTryChanged, this, &LVAutomaticUploads::changed);
    connect(&run, &LVUploadRun::runEnded, this, &LVAutomaticUploads::runEnded);
}

void LVAutomaticUploads::gameQuit() {
    if (mSettings.boolForKey(kAutoUploadKey))
        want(Wanted::Everything);
    else
        startIfPossible();
}

void LVAutomaticUploads::retryNow() {
    mWanted = std::max(mWanted, mToRetry.isEmpty() || mRetryEverything ? Wanted::Everything : Wanted::Retry);
    startIfPossible(true);
}

void LVAutomaticUploads::want(Wanted wanted) {
    mWanted = std::max(mWanted, wanted);
    startIfPossible();
}

// An upload waiting for the sign-in sheet is the one wanted meanwhile: it goes on when the user signs in.
void LVAutomaticUploads::startIfPossible(bool evenPaused) {
    if (mRun.uploadState() == LVUploadRun::UploadWaitingForSignIn && mWanted == Wanted::Everything)
        mWanted = Wanted::Nothing;
    if (mWanted == Wanted::Nothing || (mPaused && !evenPaused) || mGameWatch.isGameRunning() ||
        mRun.uploadState() != LVUploadRun::UploadIdle)
        return;
    const Wanted wanted = std::exchange(mWanted, Wanted::Nothing);
    if (wanted == Wanted::Everything)
        return mRun.upload();
    // Another process's run may well send these accounts; this one looks again later.
    if (mRun.isLockedElsewhere()) {
        mSchedule.failed();
        return;
    }
    if (!mToRetry.isEmpty())
        mRun.uploadAccounts(mToRetry);
}

// A run asked for meanwhile starts once the listeners of this one have heard how it ended.
void LVAutomaticUploads::runEnded(const LVUploadOutcome &outcome) {
    if (mRetrying)
        followFailures(outcome);
    QMetaObject::invokeMethod(
        this, [this] { startIfPossible(); }, Qt::QueuedConnection);
}

// A run that went through every account leaves to retry exactly its own passing failures; one that went
// through some leaves the others as they were.
void LVAutomaticUploads::followFailures(const LVUploadOutcome &outcome) {
    if (!outcome.restricted)
        mToRetry.clear();
    for (const LVAccountRef &account : outcome.lookedAt)
        mToRetry.removeAll(account);
    mRetryEverything = outcome.runErrorPasses && !outcome.restricted;
    std::optional<qint64> retryAfter;
    for (const LVAccountFailure &failure : outcome.failures) {
        if (failure.kind != LVFailureKind::Passing)
            continue;
        mToRetry.append(failure.account);
        if (failure.retryAfterSeconds)
            retryAfter = std::max(retryAfter.value_or(0), *failure.retryAfterSeconds);
    }
    if (mToRetry.isEmpty() && !mRetryEverything)
        mSchedule.reset();
    else
        announceRetry(retryAfter);
}

void LVAutomaticUploads::announceRetry(std::optional<qint64> retryAfter) {
    QStringList names;
    for (const LVAccountRef &account : mToRetry)
        names << account.account;
    const QString accounts = names.join(QStringLiteral(", "));
    if (!mSettings.boolForKey(kAutoRetryKey)) {
        mSchedule.reset();
        LVStatusBus::sendStatusMessage(
            mRetryEverything
                ? tr("The upload: press Upload to try again (trying again by itself is off in the options).")
                : tr("%1: press Upload to try again (trying again by itself is off in the options).").arg(accounts));
        return;
    }
    mSchedule.failed(retryAfter);
    const QString at = lv::shortDateTime(mSchedule.nextTry());
    LVStatusBus::sendStatusMessage(mRetryEverything ? tr("The upload: tried again at %1.").arg(at)
                                                    : tr("%1: tried again at %2.").arg(accounts, at));
}

void LVAutomaticUploads::pause(std::optional<qint64> seconds) {
    mPaused = true;
    mPausedUntil = seconds ? mClock.now().addSecs(*seconds) : QDateTime();
    if (seconds)
        mPauseEnd.start(std::chrono::seconds(*seconds));
    else
        mPauseEnd.stop();
    emit changed();
}

void LVAutomaticUploads::resume() {
    mPaused = false;
    mPausedUntil = QDateTime();
    mPauseEnd.stop();
    emit changed();
    startIfPossible();
}

void LVAutomaticUploads::checkPauseEnd() {
    if (!mPaused || !mPausedUntil.isValid())
        return;
    if (mClock.now() >= mPausedUntil)
        resume();
    else
        mPauseEnd.start(std::chrono::milliseconds(mClock.now().msecsTo(mPausedUntil)));
}
