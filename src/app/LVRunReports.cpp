#include "app/LVRunReports.h"

#include "app/UploadReadiness.h"
#include "auth/LVAuthentication.h"
#include "common/TimeText.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"
#include "upload/LVAutomaticUploads.h"
#include "upload/LVUploadRun.h"

#include <QUuid>

LVRunReports::LVRunReports(LVSettings &settings, LVUploadRun &run, LVAuthentication &authentication,
                           const LVAutomaticUploads &automaticUploads, const QString &historyPath,
                           const QDBusConnection &notificationBus, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mAutomaticUploads(automaticUploads)
    , mHistory(historyPath)
    , mNotifier(notificationBus) {
    connect(&run, &LVUploadRun::accountUploaded, this, &LVRunReports::record);
    connect(&run, &LVUploadRun::runStarted, this, [this] {
        mRunStarted = QDateTime::currentDateTime();
        mRunId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    });
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
    // How the last run went, from the records of that run.
    const QList<LVUploadRecord> run = mHistory.lastRun();
    if (run.isEmpty())
        return;
    const auto stored = std::count_if(run.cbegin(), run.cend(), [](const auto &record) { return record.succeeded; });
    emit lastUploadChanged(run.last().time.toLocalTime(), int(stored), stored == run.size());
}

// The history never holds an upload back: a record that cannot be stored is only logged.
void LVRunReports::record(const LVAccountUpload &upload) {
    const LVUploadReply &reply = upload.reply;
    mHistory.record({QDateTime::currentDateTimeUtc(), upload.install, upload.account, upload.files, upload.bytesBefore,
                     upload.bytesAfter, reply.durationMs, reply.httpStatus, reply.reply, reply.succeeded, reply.reason,
                     upload.gameSavedMeanwhile, mRunId});
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
    const QString retryText = retry.isValid() ? tr("Tried again at %1.").arg(lv::shortDateTime(retry)) : QString();
    if (outcome.failures.isEmpty()) {
        mNotifier.notifyUploadFailed(tr("The upload"), outcome.runError, retryText);
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
