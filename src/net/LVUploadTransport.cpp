#include "net/LVUploadTransport.h"

#include "status/LVStatusBus.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrl>

namespace {

void postFailure(const QString &account, const QString &reason) {
    LVStatusBus::sendErrorMessage(QStringLiteral("Upload failed for account %1: %2").arg(account, reason));
}

} // namespace

LVUploadTransport::LVUploadTransport(QNetworkAccessManager &network, QObject *parent)
    : QObject(parent)
    , mNetwork(network) {}

LVUploadTransport::~LVUploadTransport() {
    abandonRequests();
}

QStringList LVUploadTransport::abandonRequests() {
    QStringList accounts;
    for (const auto &[reply, request] : mRequests) {
        reply->disconnect(this);
        reply->deleteLater();
        accounts << request.account;
    }
    mRequests.clear();
    return accounts;
}

void LVUploadTransport::postURL(const QUrl &url, const QByteArray &content, const QString &boundary,
                                const QString &account) {
    if (!url.isValid() || url.isRelative()) {
        postFailure(account, QStringLiteral("the upload address is not a valid URL"));
        emit requestFinished(account, false);
        return;
    }
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("multipart/form-data; boundary=%1").arg(boundary));
    request.setHeader(QNetworkRequest::ContentLengthHeader, content.size());
    request.setTransferTimeout(mTimeouts.transferMs);
    QNetworkReply *reply = mNetwork.post(request, content);
    mRequests[reply].account = account;
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { handleBytesAvailable(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        handleBytesAvailable(reply);
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status > 0 && (reply->error() == QNetworkReply::NoError || status >= 400))
            handleStreamComplete(reply);
        else
            handleStreamError(reply);
    });
    LVStatusBus::sendVerboseMessage(
        QStringLiteral("Initiating POST request to: %1").arg(url.toString(QUrl::FullyEncoded)));
}

void LVUploadTransport::handleBytesAvailable(QNetworkReply *reply) {
    Request &request = mRequests.at(reply);
    char buffer[2048];
    for (qint64 count; (count = reply->read(buffer, sizeof buffer)) > 0;) {
        if (request.result.isNull())
            request.result = QStringLiteral("");
        request.result += request.decoder.decode(QByteArrayView(buffer, count));
    }
}

void LVUploadTransport::handleStreamComplete(QNetworkReply *reply) {
    const Request &request = mRequests.at(reply);
    LVStatusBus::sendVerboseMessage(QStringLiteral("Upload complete. Result =  %1")
                                        .arg(request.result.isNull() ? QStringLiteral("(null)") : request.result));
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) {
        const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        const QString answer = request.result.section(QLatin1Char('\n'), 0, 0).trimmed();
        postFailure(request.account, QStringLiteral("the site answered %1 %2%3")
                                         .arg(status)
                                         .arg(reason, answer.isEmpty() ? QString() : ": " + answer));
    }
    finishRequest(reply, status < 400);
}

void LVUploadTransport::handleStreamError(QNetworkReply *reply) {
    // The transfer time-out aborts the request, which Qt reports as cancelled.
    const QString reason =
        reply->error() == QNetworkReply::OperationCanceledError
            ? QStringLiteral("the site stopped answering for %1 seconds").arg(mTimeouts.transferMs / 1000.0)
            : reply->errorString();
    postFailure(mRequests.at(reply).account, reason);
    finishRequest(reply, false);
}

void LVUploadTransport::finishRequest(QNetworkReply *reply, bool succeeded) {
    const QString account = mRequests.at(reply).account;
    mRequests.erase(reply);
    reply->disconnect(this);
    reply->deleteLater();
    emit requestFinished(account, succeeded);
}
