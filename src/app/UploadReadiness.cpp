#include "app/UploadReadiness.h"

#include "auth/LVAuthentication.h"
#include "common/TimeText.h"

namespace {

// "at 14:05", or nothing when the time is not known.
QString at(const QDateTime &when) {
    return when.isValid() ? QStringLiteral(" at %1").arg(lv::shortDateTime(when)) : QString();
}

QString until(const QDateTime &when) {
    return when.isValid() ? QStringLiteral(" until %1").arg(lv::shortDateTime(when)) : QString();
}

// Why Upload cannot be pressed now; null when it can.
QString blockingReason(const LVUploadSituation &situation) {
    if (!situation.hasGame)
        return QStringLiteral("Choose the game in Options to upload");
    if (situation.runInProgress)
        return QStringLiteral("An upload is running");
    if (situation.gameRunning)
        return QStringLiteral("The game is running: uploading waits until it quits");
    if (situation.waitingForSignIn)
        return QStringLiteral("Waiting for you to sign in");
    if (situation.siteUnanswered)
        return {};
    if (situation.accountStatus == LVAuthentication::AccountRejected)
        return QStringLiteral("The site refused your password: sign in again");
    if (situation.accountStatus == LVAuthentication::AccountThrottled || situation.heldAfterUpload)
        return QStringLiteral("The site takes no new upload") + until(situation.nextTest);
    return {};
}

// What Upload will do first, or what happens by itself; null when nothing is worth telling.
QString note(const LVUploadSituation &situation) {
    if (situation.siteUnanswered)
        return QStringLiteral("The site does not answer: asked again%1, or when you press Upload")
            .arg(at(situation.nextTest));
    if (!situation.keychainProblem.isNull())
        return QStringLiteral("The keychain is not available: Upload asks for your password for this session");
    if (situation.passwordMissing)
        return QStringLiteral("Not signed in: Upload asks for your password");
    if (situation.nextRetry.isValid())
        return QStringLiteral("%1 tried again%2")
            .arg(situation.accountsToRetry.isEmpty() ? QStringLiteral("The upload")
                                                     : situation.accountsToRetry.join(QStringLiteral(", ")),
                 at(situation.nextRetry));
    return lv::pauseText(situation.paused, situation.pausedUntil);
}

} // namespace

LVUploadReadiness lv::uploadReadiness(const LVUploadSituation &situation) {
    const QString reason = blockingReason(situation);
    if (!reason.isNull())
        return {false, reason};
    return {true, note(situation)};
}

QString lv::pauseText(bool paused, const QDateTime &pausedUntil) {
    if (!paused)
        return {};
    return QStringLiteral("Automatic uploads paused") +
           (pausedUntil.isValid() ? until(pausedUntil) : QStringLiteral(" until you resume them"));
}

QString lv::failedAccountsText(const QStringList &failed, int accountsWithData) {
    constexpr qsizetype kNamed = 5;
    if (failed.size() == 1 && accountsWithData <= 1)
        return failed.first();
    QString names = failed.mid(0, kNamed).join(QStringLiteral(", "));
    if (failed.size() > kNamed)
        names += QStringLiteral("…");
    return QStringLiteral("%1 of %2 accounts: %3")
        .arg(failed.size())
        .arg(std::max<int>(accountsWithData, failed.size()))
        .arg(names);
}
