#pragma once

#include "net/LVSyncGet.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringDecoder>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QUrl;

// How one upload request ended.
struct LVUploadReply {
    int id = 0;
    QString account;
    bool succeeded = false; // a 2xx reply: the site has the data
    int httpStatus = 0;     // 0 when no HTTP answer came
    QString reply;          // the start of the site's answer (at most kKeptReplyBytes of it)
    QString reason;         // why it failed, for the user
    qint64 durationMs = 0;
    // It failed for a reason that passes (unreachable, stalled, 408, 429, 5xx): trying again may help.
    bool passing = false;
    std::optional<qint64> retryAfterSeconds; // what the site asked to wait, when it did
};

// Sends the upload requests, one POST per account, each handled by itself while others are in
// flight: its reply text is collected on its own, and its end is told with requestFinished. A request
// fails when neither side has moved for the pause limit (a body is given the time a slow link needs
// to take it, but no more than the longest wait in all), when its answer has not ended by the
// deadline, or when the site answers anything but 2xx; redirects are not followed.
class LVUploadTransport : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kKeptReplyBytes = 64 * 1024;
    static constexpr qsizetype kLoggedReplyCharacters = 1024;

    explicit LVUploadTransport(QNetworkAccessManager &network, QObject *parent = nullptr);
    ~LVUploadTransport() override;

    void setNetworkTimeouts(const LVNetworkTimeouts &timeouts) { mTimeouts = timeouts; }
    // Starts the POST of the body and answers its id; an address that is no URL fails at once.
    int postURL(const QUrl &url, const QByteArray &content, const QString &boundary, const QString &account);
    qsizetype uploadsInFlight() const { return qsizetype(mRequests.size()); }
    // Lets every request in flight go unreported: the ids whose outcome will never be known.
    QList<int> abandonRequests();

signals:
    // A request has ended; a failure has been posted as an error.
    void requestFinished(const LVUploadReply &reply);
    // Bytes of a request's body handed to the network so far.
    void uploadProgress(int id, qint64 sent, qint64 total);

private:
    struct Request {
        int id = 0;
        QString account;
        qint64 bodySize = 0;
        QStringDecoder decoder{QStringDecoder::Utf8};
        QString result; // null until the first byte arrives; at most kKeptReplyBytes of it
        qint64 receivedBytes = 0;
        QElapsedTimer sinceStart;
        qint64 lastMovementMs = 0;
        qint64 bodySentMs = -1;
    };

    void handleBytesAvailable(QNetworkReply *reply);
    void handleFinished(QNetworkReply *reply);
    void checkTimes();
    QString lateness(const Request &request) const;
    void fail(QNetworkReply *reply, const QString &reason);
    void finishRequest(QNetworkReply *reply, LVUploadReply outcome);

    QNetworkAccessManager &mNetwork;
    LVNetworkTimeouts mTimeouts;
    std::map<QNetworkReply *, Request> mRequests;
    QTimer mClock;
    int mLastId = 0;
};

Q_DECLARE_METATYPE(LVUploadReply)
