#include "app/UploadReadiness.h"

#include "auth/LVAuthentication.h"
#include "common/TimeText.h"

#include <QCoreApplication>

namespace {

struct UploadReadiness {
    Q_DECLARE_TR_FUNCTIONS(UploadReadiness)
};

// One sentence with the time in it ("… until 14:05"), or the one without when the time is not known.
QString withTime(const QString &timed, const QString &without, const QDateTime &when) {
    return when.isValid() ? timed.arg(lv::shortDateTime(when)) : without;
}

// Why Upload cannot be pressed now; null when it can.
QString blockingReason(const LVUploadSituation &situation) {
    if (!situation.hasGame)
        return UploadReadiness::tr("Choose the game in Options to upload");
    if (situation.runInProgress)
        return UploadReadiness::tr("An upload is running");
    if (situation.gameRunning)
        return UploadReadiness::tr("The game is running: uploading waits until it quits");
    if (situation.waitingForSignIn)
        return UploadReadiness::tr("Waiting for you to sign in");
    if (situation.siteUnanswered)
        return {};
    if (situation.accountStatus == LVAuthentication::AccountRejected)
        return UploadReadiness::tr("The site refused your password: sign in again");
    if (situation.accountStatus == LVAuthentication::AccountThrottled || situation.heldAfterUpload)
        return withTime(UploadReadiness::tr("The site takes no new upload until %1"),
                        UploadReadiness::tr("The site takes no new upload"), situation.nextTest);
    return {};
}

// "ACCOUNT1, ACCOUNT2 tried again at 14:05"; only when a retry is planned.
QString retryText(const LVUploadSituation &situation) {
    const QString time = lv::shortDateTime(situation.nextRetry);
    if (situation.accountsToRetry.isEmpty())
        return UploadReadiness::tr("The upload tried again at %1").arg(time);
    return UploadReadiness::tr("%1 tried again at %2").arg(situation.accountsToRetry.join(QStringLiteral(", ")), time);
}

// What Upload will do first, or what happens by itself; null when nothing is worth telling.
QString note(const LVUploadSituation &situation) {
    if (situation.siteUnanswered)
        return withTime(UploadReadiness::tr("The site does not answer: asked again at %1, or when you press Upload"),
                        UploadReadiness::tr("The site does not answer: asked again, or when you press Upload"),
                        situation.nextTest);
    if (!situation.keychainProblem.isNull())
        return UploadReadiness::tr("The keychain is not available: Upload asks for your password for this session");
    if (situation.passwordMissing)
        return UploadReadiness::tr("Not signed in: Upload asks for your password");
    if (situation.nextRetry.isValid())
        return retryText(situation);
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
    return withTime(UploadReadiness::tr("Automatic uploads paused until %1"),
                    UploadReadiness::tr("Automatic uploads paused until you resume them"), pausedUntil);
}

QString lv::failedAccountsText(const QStringList &failed, int accountsWithData) {
    constexpr qsizetype kNamed = 5;
    if (failed.size() == 1 && accountsWithData <= 1)
        return failed.first();
    QString names = failed.mid(0, kNamed).join(QStringLiteral(", "));
    if (failed.size() > kNamed)
        names += QStringLiteral("…");
    const int accounts = std::max<int>(accountsWithData, failed.size());
    return UploadReadiness::tr("%1 of %n accounts: %2", nullptr, accounts).arg(failed.size()).arg(names);
}
