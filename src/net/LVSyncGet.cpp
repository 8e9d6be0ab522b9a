#include "net/LVSyncGet.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace {

QString describeFailure(const QNetworkReply &reply, int httpStatus, bool timedOut, const LVNetworkTimeouts &timeouts) {
    if (timedOut)
        return QStringLiteral("The server at %1 did not answer within %2 seconds.")
            .arg(reply.url().host())
            .arg(timeouts.connectMs / 1000.0);
    if (reply.error() == QNetworkReply::OperationCanceledError)
        return QStringLiteral("The server at %1 stopped sending within %2 seconds.")
            .arg(reply.url().host())
            .arg(timeouts.transferMs / 1000.0);
    if (httpStatus >= 400)
        return QStringLiteral("The server answered %1 %2.")
            .arg(httpStatus)
            .arg(reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    return reply.errorString();
}

} // namespace

namespace lv {

LVGetResult synchronousGet(QNetworkAccessManager &network, const QUrl &url, const LVNetworkTimeouts &timeouts) {
    if (!url.isValid() || url.isRelative())
        return {{}, 0, QStringLiteral("\"%1\" is not a valid address.").arg(url.toString())};

    QNetworkRequest request(url);
    request.setTransferTimeout(timeouts.transferMs);
    QNetworkReply *reply = network.get(request);

    QEventLoop loop;
    QTimer connectTimer;
    connectTimer.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&connectTimer, &QTimer::timeout, reply, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &connectTimer, &QTimer::stop);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    connectTimer.start(timeouts.connectMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    LVGetResult result;
    result.body = reply->readAll();
    result.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (timedOut || reply->error() != QNetworkReply::NoError || result.httpStatus >= 400)
        result.errorText = describeFailure(*reply, result.httpStatus, timedOut, timeouts);
    reply->deleteLater();
    return result;
}

} // namespace lv
