#include "net/LVUploadTransport.h"

#include "net/LVRetrySchedule.h"
#include "net/UploadBody.h"
#include "status/LVStatusBus.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrl>

namespace {

void postFailure(const QString &account, const QString &reason) {
    LVStatusBus::sendErrorMessage(LVUploadTransport::tr("Upload failed for account %1: %2").arg(account, reason));
}

QString seconds(qint64 milliseconds) {
    return QString::number(milliseconds / 1000.0);
}

// A time waited, as a person reads it: tenths of a second below ten seconds, whole seconds above.
QString secondsWaited(qint64 milliseconds) {
    return milliseconds < 10000 ? QString::number(milliseconds / 1000.0, 'f', 1)
                                : QString::number(qRound64(milliseconds / 1000.0));
}

int httpStatusOf(const QNetworkReply &reply) {
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// Why a finished reply is not a success; null when it is one.
QString failureOf(const QNetworkReply &reply, const QString &answer) {
    const int status = httpStatusOf(reply);
    const QString phrase = reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    if (status >= 200 && status < 300 && reply.error() == QNetworkReply::NoError)
        return {};
    if (status >= 300 && status < 400) {
        const QString location = lv::redactedUrl(QString::fromUtf8(reply.rawHeader("Location")));
        return LVUploadTransport::tr("the site answered %1 %2 and moved to %3; the upload was not sent there")
            .arg(status)
            .arg(phrase, location.isEmpty() ? LVUploadTransport::tr("an unknown address") : location);
    }
    if (status > 0) {
        const QString firstLine = answer.section(QLatin1Char('\n'), 0, 0).trimmed();
        if (firstLine.isEmpty())
            return LVUploadTransport::tr("the site answered %1 %2").arg(status).arg(phrase);
        return LVUploadTransport::tr("the site answered %1 %2: %3").arg(status).arg(phrase, firstLine);
    }
    // Qt's own texts may carry the whole address.
    return lv::redactedUrl(reply.errorString());
}

// A site that is down, slow or busy may take the upload later; one that refused it, moved or got a
// request it cannot understand will not.
bool isPassingFailure(const QNetworkReply &reply) {
    const int status = httpStatusOf(reply);
    if (status == 0)
        return reply.error() != QNetworkReply::ProtocolUnknownError;
    return status == 408 || status == 429 || status >= 500;
}

QString forTheLog(const QString &answer) {
    if (answer.size() <= LVUploadTransport::kLoggedReplyCharacters)
        return answer;
    return answer.left(LVUploadTransport::kLoggedReplyCharacters) + QStringLiteral("…");
}

} // namespace

LVUploadTransport::LVUploadTransport(QNetworkAccessManager &network, QObject *parent)
    : QObject(parent)
    , mNetwork(network) {
    connect(&mClock, &QTimer::timeout, this, &LVUploadTransport::checkTimes);
}

LVUploadTransport::~LVUploadTransport() {
    abandonRequests();
}

QList<int> LVUploadTransport::abandonRequests() {
    QList<int> ids;
    for (const auto &[reply, request] : mRequests) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
        ids << request.id;
    }
    mRequests.clear();
    mClock.stop();
    return ids;
}

int LVUploadTransport::postURL(const QUrl &url, const QByteArray &content, const QString &boundary,
                               const QString &account) {
    const int id = ++mLastId;
    if (!url.isValid() || url.isRelative()) {
        const QString reason = tr("the upload address is not a valid URL");
        postFailure(account, reason);
        emit requestFinished({id, account, false, 0, {}, reason, 0, false, std::nullopt});
        return id;
    }
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("multipart/form-data; boundary=%1").arg(boundary));
    request.setHeader(QNetworkRequest::ContentLengthHeader, content.size());
    // A site that moved answers with its new address; the body is never sent on to it as a GET.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply *reply = mNetwork.post(request, content);
    Request &entry = mRequests[reply];
    entry.id = id;
    entry.account = account;
    entry.bodySize = content.size();
    entry.sinceStart.start();
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { handleBytesAvailable(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { handleFinished(reply); });
    connect(reply, &QNetworkReply::uploadProgress, this, [this, reply](qint64 sent, qint64 total) {
        Request &request = mRequests.at(reply);
        request.lastMovementMs = request.sinceStart.elapsed();
        if (sent == total && request.bodySentMs < 0)
            request.bodySentMs = request.lastMovementMs;
        emit uploadProgress(request.id, sent, total);
    });
    mClock.start(qBound(10, mTimeouts.transferMs / 4, 1000));
    LVStatusBus::sendVerboseMessage(
        tr("Initiating POST request to: %1").arg(lv::redactedUrl(url.toString(QUrl::FullyEncoded))));
    return id;
}

void LVUploadTransport::handleBytesAvailable(QNetworkReply *reply) {
    Request &request = mRequests.at(reply);
    request.lastMovementMs = request.sinceStart.elapsed();
    char buffer[2048];
    for (qint64 count; (count = reply->read(buffer, sizeof buffer)) > 0;) {
        // What goes past the part kept is read and dropped.
        const qint64 kept = qBound<qint64>(0, kKeptReplyBytes - request.receivedBytes, count);
        request.receivedBytes += count;
        if (request.result.isNull())
            request.result = QStringLiteral("");
        if (kept > 0)
            request.result += request.decoder.decode(QByteArrayView(buffer, kept));
    }
}

void LVUploadTransport::handleFinished(QNetworkReply *reply) {
    handleBytesAvailable(reply);
    const Request &request = mRequests.at(reply);
    const int status = httpStatusOf(*reply);
    if (status > 0)
        LVStatusBus::sendVerboseMessage(
            tr("Upload complete. Result =  %1")
                .arg(request.result.isNull() ? QStringLiteral("(null)") : forTheLog(request.result)));
    const QString failure = failureOf(*reply, request.result);
    if (!failure.isNull())
        postFailure(request.account, failure);
    const bool succeeded = failure.isNull();
    finishRequest(reply, {request.id, request.account, succeeded, status, request.result, failure, 0,
                          !succeeded && isPassingFailure(*reply),
                          lv::retryAfterSeconds(reply->rawHeader("Retry-After"), QDateTime::currentDateTimeUtc())});
}

void LVUploadTransport::checkTimes() {
    std::vector<std::pair<QNetworkReply *, QString>> late;
    for (const auto &[reply, request] : mRequests) {
        const QString why = lateness(request);
        if (!why.isNull())
            late.emplace_back(reply, why);
    }
    for (const auto &[reply, why] : late)
        fail(reply, why);
}

// Why the request has taken too long; null while it may go on.
QString LVUploadTransport::lateness(const Request &request) const {
    const qint64 now = request.sinceStart.elapsed();
    const qint64 silentMs = now - request.lastMovementMs;
    // A slow link needs this long to take the body, whatever the network layer says it has sent; a
    // silent site is given no more than the longest wait in all.
    const qint64 bodyTimeMs = qMin(request.bodySize * 1000 / qMax<qint64>(1, mTimeouts.slowestBodyRate),
                                   qMax<qint64>(0, mTimeouts.longestWaitMs - mTimeouts.transferMs));
    if (silentMs >= mTimeouts.transferMs && now >= bodyTimeMs + mTimeouts.transferMs)
        return tr("the site stopped answering for %1 seconds").arg(secondsWaited(silentMs));
    if (request.bodySentMs >= 0 && now >= qMax(request.bodySentMs, bodyTimeMs) + mTimeouts.deadlineMs)
        return tr("the site did not finish its answer within %1 seconds").arg(seconds(mTimeouts.deadlineMs));
    return {};
}

void LVUploadTransport::fail(QNetworkReply *reply, const QString &reason) {
    const Request &request = mRequests.at(reply);
    reply->disconnect(this);
    reply->abort();
    postFailure(request.account, reason);
    finishRequest(reply, {request.id, request.account, false, httpStatusOf(*reply), request.result, reason, 0, true,
                          std::nullopt});
}

void LVUploadTransport::finishRequest(QNetworkReply *reply, LVUploadReply outcome) {
    outcome.durationMs = mRequests.at(reply).sinceStart.elapsed();
    mRequests.erase(reply);
    reply->disconnect(this);
    reply->deleteLater();
    if (mRequests.empty())
        mClock.stop();
    emit requestFinished(outcome);
}
