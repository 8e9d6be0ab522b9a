#include "app/LVApplicationDelegate.h"
#include "app/LVLogging.h"
#include "game/PathTemplates.h"
#include "net/UploadBody.h"
#include "platform/FileContents.h"
#include "settings/LVSettings.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardPaths>
#include <QUrl>

bool LVApplicationDelegate::postFilesWithUsername(const QString &username, const QString &password,
                                                  const QString &account) {
    const QString urlText = mSettings->stringForKey(kPostURLKey) +
                            uploadQuery(username, password, mSettings->boolForKey(kCharacterDataKey));
    const QUrl url(urlText, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative()) {
        sendErrorMessage(QStringLiteral("Upload failed for account %1: %2")
                             .arg(account, QStringLiteral("the upload address is not a valid URL")));
        return false;
    }
    const QStringList templates = mSettings->arrayForKey(kFilesToUploadKey).value_or(QStringList());
    const QString boundary = uploadBoundary(this);
    QByteArray body;
    int index = 0;
    for (const QString &pathTemplate : templates) {
        const QString source = expandPath(pathTemplate, account);
        const LVGzipResult compressed = gzipFileAtPath(source);
        if (compressed.status == LVGzipResult::Failed)
            return false;
        if (compressed.status == LVGzipResult::SourceUnreadable)
            continue;
        const QString compressedPath = source + QStringLiteral(".gz");
        QFile file(compressedPath);
        const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (data.isEmpty())
            continue;
        appendUploadPart(body, index++, boundary, lastPathComponent(compressedPath), data);
    }
    appendUploadEnd(body, boundary);
    writeBodyCopy(body);

    if (mVerboseLogging) {
        sendStatusMessage(QStringLiteral("Url is…"));
        sendStatusMessage(urlText);
    }
    postURL(url, body, boundary, account);
    return true;
}

LVGzipResult LVApplicationDelegate::gzipFileAtPath(const QString &path) {
    const QString compressedPath = path + QStringLiteral(".gz");
    const LVGzipResult result = gzipFile(path, compressedPath);
    if (result.status == LVGzipResult::Compressed) {
        if (!mFilesToCleanup)
            mFilesToCleanup.emplace();
        mFilesToCleanup->append(compressedPath);
    } else if (result.status == LVGzipResult::Failed) {
        sendErrorMessage(result.error);
    }
    return result;
}

// A copy of the last body, for anyone who wants to see what was sent. It lives in the user's own
// cache folder, never in a folder other users can write to.
bool LVApplicationDelegate::writeBodyCopy(const QByteArray &body) const {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return QDir().mkpath(folder) && writeFileAtomically(QDir(folder).filePath(QStringLiteral("post.html")), {body});
}

void LVApplicationDelegate::postURL(const QUrl &url, const QByteArray &content, const QString &boundary,
                                    const QString &account) {
    if (!url.isValid() || url.isRelative()) {
        sendErrorMessage(QStringLiteral("Upload failed for account %1: %2")
                             .arg(account, QStringLiteral("the upload address is not a valid URL")));
        emit uploadRequestFinished(account, false);
        return;
    }
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("multipart/form-data; boundary=%1").arg(boundary));
    request.setHeader(QNetworkRequest::ContentLengthHeader, content.size());
    request.setTransferTimeout(mNetworkTimeouts.transferMs);
    QNetworkReply *reply = mNetworkAccess->post(request, content);
    mUploadRequests[reply].account = account;
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { handleBytesAvailable(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        handleBytesAvailable(reply);
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status > 0 && (reply->error() == QNetworkReply::NoError || status >= 400))
            handleStreamComplete(reply);
        else
            handleStreamError(reply);
    });
    if (mVerboseLogging)
        sendStatusMessage(QStringLiteral("Initiating POST request to: %1").arg(url.toString(QUrl::FullyEncoded)));
}

void LVApplicationDelegate::handleBytesAvailable(QNetworkReply *reply) {
    UploadRequest &request = mUploadRequests.at(reply);
    char buffer[2048];
    for (qint64 count; (count = reply->read(buffer, sizeof buffer)) > 0;) {
        if (request.result.isNull())
            request.result = QStringLiteral("");
        request.result += request.decoder.decode(QByteArrayView(buffer, count));
    }
}

void LVApplicationDelegate::handleStreamComplete(QNetworkReply *reply) {
    const UploadRequest &request = mUploadRequests.at(reply);
    if (mVerboseLogging)
        sendStatusMessage(QStringLiteral("Upload complete. Result =  %1")
                              .arg(request.result.isNull() ? QStringLiteral("(null)") : request.result));
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) {
        const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        const QString answer = request.result.section(QLatin1Char('\n'), 0, 0).trimmed();
        sendErrorMessage(QStringLiteral("Upload failed for account %1: %2")
                             .arg(request.account, QStringLiteral("the site answered %1 %2%3")
                                                       .arg(status)
                                                       .arg(reason, answer.isEmpty() ? QString() : ": " + answer)));
    }
    finishUploadRequest(reply, status < 400);
}

void LVApplicationDelegate::handleStreamError(QNetworkReply *reply) {
    // The transfer time-out aborts the request, which Qt reports as cancelled.
    const QString reason =
        reply->error() == QNetworkReply::OperationCanceledError
            ? QStringLiteral("the site stopped answering for %1 seconds").arg(mNetworkTimeouts.transferMs / 1000.0)
            : reply->errorString();
    sendErrorMessage(QStringLiteral("Upload failed for account %1: %2").arg(mUploadRequests.at(reply).account, reason));
    finishUploadRequest(reply, false);
}

void LVApplicationDelegate::finishUploadRequest(QNetworkReply *reply, bool succeeded) {
    const QString account = mUploadRequests.at(reply).account;
    mUploadRequests.erase(reply);
    if (succeeded)
        mPreparedFlags.remove(account);
    else
        restoreNewDataFlag(account);
    reply->disconnect(this);
    reply->deleteLater();
    emit uploadRequestFinished(account, succeeded);
}
