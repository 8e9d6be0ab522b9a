#pragma once

#include "net/LVSyncGet.h"

#include <QObject>
#include <QStringDecoder>

#include <map>

class QNetworkAccessManager;
class QNetworkReply;
class QUrl;

// Sends the upload requests, one POST per account, each handled by itself while others are in
// flight: its reply text is collected on its own, and its end is told with requestFinished.
class LVUploadTransport : public QObject {
    Q_OBJECT
public:
    explicit LVUploadTransport(QNetworkAccessManager &network, QObject *parent = nullptr);
    ~LVUploadTransport() override;

    void setNetworkTimeouts(const LVNetworkTimeouts &timeouts) { mTimeouts = timeouts; }
    // Starts the POST of the body and returns; an address that is no URL fails at once.
    void postURL(const QUrl &url, const QByteArray &content, const QString &boundary, const QString &account);
    qsizetype uploadsInFlight() const { return qsizetype(mRequests.size()); }
    // Lets every request in flight go unreported: the accounts whose outcome will never be known.
    QStringList abandonRequests();

signals:
    // An upload request has ended: with a 2xx reply, or not (the error has been posted).
    void requestFinished(const QString &account, bool succeeded);

private:
    // One upload request in flight, with its own reply text.
    struct Request {
        QString account;
        QStringDecoder decoder{QStringDecoder::Utf8};
        QString result; // null until the first byte arrives
    };

    void handleBytesAvailable(QNetworkReply *reply);
    void handleStreamComplete(QNetworkReply *reply);
    void handleStreamError(QNetworkReply *reply);
    void finishRequest(QNetworkReply *reply, bool succeeded);

    QNetworkAccessManager &mNetwork;
    LVNetworkTimeouts mTimeouts;
    std::map<QNetworkReply *, Request> mRequests;
};
