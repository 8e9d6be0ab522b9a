#include "app/LVRunReports.h"

#include "app/UploadReadiness.h"
#include "auth/LVAuthentication.h"
#include "common/TimeText.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"
#include "upload/LVAutomaticUploads.h"
#include "upload/LVUploadRun.h"

namespace {

// A run's requests go out within a few minutes; the site takes no new upload for one after the last.
constexpr qint64 kRunSpanSeconds = 5 * 60;

} // namespace

LVRunReports::LVRunReports(LVSettings &settings, LVUploadRun &run, LVAuthentication &authentication,
                           const LVAutomaticUploads &automaticUploads, const QString &historyPath,
                           const QDBusConnection &notificationBus, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mAutomaticUploads(automaticUploads)
    , mHistory(historyPath)
    , mNotifier(notificationBus) {
    connect(&run, &LVUploadRun::accountUploaded, this, &LVRunReports::record);
    connect(&run, &LVUploadRun::runStarted, this, [this] { mRunStarted = QDateTime::currentDateTime(); });
    connect(&run, &LVUploadRun::runEnded, this, &LVRunReports::runEnded);
    connect(&authentication, &LVAuthentication::credentialProblem, this, [this](const QString &text) {
        if (notificationsWanted())
            mNotifier.notifyCredentialProblem(text);
    });
}

void LVRunReports::openHistory() {
    if (mHistory.path().isEmpty())
        return;
    QString problem;
    mHistory.open(&problem);
    if (!problem.isNull())
        LVStatusBus::sendErrorMessage(problem);
    // The last run is the newest records, those sent within a few minutes of the newest one.
    const QList<LVUploadRecord> records = mHistory.records(64);
    if (records.isEmpty())
        return;
    int stored = 0;
    bool succeeded = true;
    for (const LVUploadRecord &record : records) {
        if (record.time.secsTo(records.first().time) > kRunSpanSeconds)
            break;
        stored += record.succeeded ? 1 : 0;
        succeeded = succeeded && record.succeeded;
    }
    emit lastUploadChanged(records.first().time.toLocalTime(), stored, succeeded);
}

// The history never holds an upload back: a record that cannot be stored is only logged.
void LVRunReports::record(const LVAccountUpload &upload) {
    const LVUploadReply &reply = upload.reply;
    mHistory.record({QDateTime::currentDateTimeUtc(), upload.install, upload.account, upload.files, upload.bytesBefore,
                     upload.bytesAfter, reply.durationMs, reply.httpStatus, reply.reply, reply.succeeded, reply.reason,
                     upload.gameSavedMeanwhile});
}

void LVRunReports::runEnded(const LVUploadOutcome &outcome) {
    // A run that found nothing new to send changes nothing about the last upload.
    if (outcome.accountsWithData == 0 && outcome.runError.isNull())
        return;
    emit lastUploadChanged(mRunStarted, int(outcome.storedAccounts.size()), !outcome.failed);
    if (!notificationsWanted())
        return;
    if (!outcome.failed) {
        mNotifier.notifyUploadSucceeded(outcome.storedAccounts);
        return;
    }
    notifyFailure(outcome);
}

// Every failed account is named; the reason given is the first one's.
void LVRunReports::notifyFailure(const LVUploadOutcome &outcome) {
    const QDateTime retry = mAutomaticUploads.nextRetry();
    const QString retryText =
        retry.isValid() ? QStringLiteral("Tried again at %1.").arg(lv::shortDateTime(retry)) : QString();
    if (outcome.failures.isEmpty()) {
        mNotifier.notifyUploadFailed(QStringLiteral("The upload"), outcome.runError, retryText);
        return;
    }
    mNotifier.notifyUploadFailed(lv::failedAccountsText(outcome.failedAccounts, outcome.accountsWithData),
                                 outcome.failures.first().reason, retryText);
}

// On unless the user turned them off.
bool LVRunReports::notificationsWanted() const {
    const QVariant wanted = mSettings.valueForKey(kNotificationsKey);
    return !wanted.isValid() || wanted.toBool();
}
