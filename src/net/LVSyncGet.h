#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

class QNetworkAccessManager;
class QUrl;

struct LVNetworkTimeouts {
    int connectMs = 15000;         // until the reply's headers arrive
    int transferMs = 30000;        // the longest pause: neither side moving
    int deadlineMs = 60000;        // the whole answer, once the request has been sent
    qint64 slowestBodyRate = 8192; // bytes a second a site may take to read an upload's body
    int longestWaitMs = 600000;    // the most that allowance and a pause together may come to
};

struct LVGetResult {
    QByteArray body;      // what arrived, also for an HTTP error status; empty when it was too long
    int httpStatus = 0;   // 0 when no HTTP reply came
    QString errorText;    // null when the request went through; readable otherwise
    bool tooLong = false; // the answer went past the byte limit and was dropped
    qint64 received = 0;  // bytes of the answer taken, at most the limit
    bool succeeded() const { return errorText.isNull(); }
};

// Takes an answer a piece at a time as it arrives; false stops the request.
using LVBodyConsumer = std::function<bool(QByteArrayView piece)>;

namespace lv {

// A GET that the caller waits for. The wait runs a local event loop that takes no user input, so
// the window keeps painting and timers keep firing while the keyboard and mouse wait. An HTTP
// status of 400 or above counts as a failure, with the body kept. An answer longer than maxBytes is
// a failure: reading stops one byte past the limit, so that a server sending without end costs no
// more memory than the limit and a read buffer. Only http and https addresses are fetched; anything
// else (a local file, above all) fails at once. No message shows the password's hash.
LVGetResult synchronousGet(QNetworkAccessManager &network, const QUrl &url, const LVNetworkTimeouts &timeouts,
                           qint64 maxBytes);
// The same GET, the answer handed to `consume` as it arrives rather than kept: the result's body stays
// empty, so that a download of any size costs no more memory than a read buffer.
LVGetResult synchronousDownload(QNetworkAccessManager &network, const QUrl &url, const LVNetworkTimeouts &timeouts,
                                qint64 maxBytes, const LVBodyConsumer &consume);

} // namespace lv
