#include "app/LVRunReports.h"

#include "auth/LVAuthentication.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"
#include "upload/LVUploadRun.h"

namespace {

QString clockTime(const QDateTime &time) {
    return QLocale::system().toString(time.toLocalTime(), QLocale::ShortFormat);
}

QString accountsText(qsizetype count) {
    return count == 1 ? QStringLiteral("1 account") : QStringLiteral("%1 accounts").arg(count);
}

} // namespace

LVRunReports::LVRunReports(LVSettings &settings, LVUploadRun &run, LVAuthentication &authentication,
                           const QString &historyPath, const QDBusConnection &notificationBus, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mHistory(historyPath)
    , mNotifier(notificationBus) {
    connect(&run, &LVUploadRun::accountUploaded, this, &LVRunReports::record);
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
    if (const std::optional<LVUploadRecord> last = mHistory.lastRecord()) {
        mLastUpload = QStringLiteral("Last upload %1: %2 %3")
                          .arg(clockTime(last->time), last->account,
                               last->succeeded ? QStringLiteral("sent") : QStringLiteral("failed"));
        emit lastUploadChanged(mLastUpload);
    }
}

// The history never holds an upload back: a record that cannot be stored is only logged.
void LVRunReports::record(const LVAccountUpload &upload) {
    const LVUploadReply &reply = upload.reply;
    mHistory.record({QDateTime::currentDateTimeUtc(), upload.install, upload.account, upload.files, upload.bytesBefore,
                     upload.bytesAfter, reply.durationMs, reply.httpStatus, reply.reply, reply.succeeded,
                     reply.reason});
}

void LVRunReports::runEnded(const LVUploadOutcome &outcome) {
    if (outcome.accountsWithData == 0 && outcome.runError.isNull())
        return;
    const QString now = clockTime(QDateTime::currentDateTime());
    if (outcome.failed) {
        const QString account = outcome.failedAccounts.value(0);
        const QString reason = account.isNull() ? outcome.runError : outcome.failureReasons.value(0);
        mLastUpload = QStringLiteral("Last upload %1 failed: %2").arg(now, account.isNull() ? reason : account);
        if (notificationsWanted())
            mNotifier.notifyUploadFailed(account.isNull() ? QStringLiteral("The upload") : account, reason);
    } else {
        mLastUpload = QStringLiteral("Last upload %1, %2").arg(now, accountsText(outcome.storedAccounts.size()));
        if (notificationsWanted())
            mNotifier.notifyUploadSucceeded(outcome.storedAccounts);
    }
    emit lastUploadChanged(mLastUpload);
}

// On unless the user turned them off.
bool LVRunReports::notificationsWanted() const {
    const QVariant wanted = mSettings.valueForKey(kNotificationsKey);
    return !wanted.isValid() || wanted.toBool();
}
