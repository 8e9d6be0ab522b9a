#include "net/LVSyncGet.h"

#include "net/UploadBody.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace {

// How much of the answer Qt may hold before it is read here.
constexpr qint64 kReadBufferSize = 64 * 1024;

enum class Stop { None, NoAnswer, Deadline, TooLong, Consumer };

// One GET, from the request to its last byte or to the first limit it runs into.
class GetWait {
    Q_DECLARE_TR_FUNCTIONS(LVSyncGet)

public:
    GetWait(QNetworkReply &reply, const LVNetworkTimeouts &timeouts, qint64 maxBytes, const LVBodyConsumer &consume)
        : mReply(reply)
        , mTimeouts(timeouts)
        , mMaxBytes(std::max<qint64>(maxBytes, 0))
        , mConsume(consume) {}

    LVGetResult run();

private:
    void startTimers();
    void checkAnnouncedLength();
    void readAvailable();
    void keep(QByteArrayView piece);
    void stop(Stop why);
    QString describeFailure(int httpStatus) const;

    QNetworkReply &mReply;
    const LVNetworkTimeouts &mTimeouts;
    const qint64 mMaxBytes;
    const LVBodyConsumer &mConsume; // null: the answer is kept in mBody
    qint64 mReceived = 0;
    QEventLoop mLoop;
    QTimer mConnectTimer;
    QTimer mDeadlineTimer;
    QByteArray mBody;
    Stop mStop = Stop::None;
};

LVGetResult GetWait::run() {
    mReply.setReadBufferSize(kReadBufferSize);
    QObject::connect(&mReply, &QNetworkReply::readyRead, &mLoop, [this] { readAvailable(); });
    QObject::connect(&mReply, &QNetworkReply::finished, &mLoop, &QEventLoop::quit);
    startTimers();
    if (!mReply.isFinished())
        mLoop.exec(QEventLoop::ExcludeUserInputEvents);
    readAvailable();

    LVGetResult result;
    result.httpStatus = mReply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // An error status says more than the length of the page that came with it.
    result.tooLong = mStop == Stop::TooLong && result.httpStatus < 400;
    result.body = result.tooLong ? QByteArray() : mBody;
    result.received = std::min(mReceived, mMaxBytes);
    if (mStop != Stop::None || mReply.error() != QNetworkReply::NoError || result.httpStatus >= 400)
        result.errorText = describeFailure(result.httpStatus);
    return result;
}

void GetWait::startTimers() {
    for (auto [timer, why, ms] : {std::tuple(&mConnectTimer, Stop::NoAnswer, mTimeouts.connectMs),
                                  std::tuple(&mDeadlineTimer, Stop::Deadline, mTimeouts.deadlineMs)}) {
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, &mLoop, [this, why = why] {
            if (!mReply.isFinished())
                stop(why);
        });
        timer->start(ms);
    }
    QObject::connect(&mReply, &QNetworkReply::metaDataChanged, &mConnectTimer, &QTimer::stop);
    QObject::connect(&mReply, &QNetworkReply::metaDataChanged, &mLoop, [this] { checkAnnouncedLength(); });
}

// A body announced longer than the limit is refused before any of it is read. Of an error page,
// what fits is read (the credential test looks at it).
void GetWait::checkAnnouncedLength() {
    const QVariant length = mReply.header(QNetworkRequest::ContentLengthHeader);
    const int httpStatus = mReply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (length.isValid() && length.toLongLong() > mMaxBytes && httpStatus < 400)
        stop(Stop::TooLong);
}

void GetWait::readAvailable() {
    while (mStop == Stop::None && mReply.bytesAvailable() > 0) {
        // One byte past the limit tells a body that is too long from one that fills it exactly.
        const QByteArray piece = mReply.read(std::min(kReadBufferSize, mMaxBytes + 1 - mReceived));
        const QByteArrayView kept = QByteArrayView(piece).first(std::min<qint64>(piece.size(), mMaxBytes - mReceived));
        mReceived += piece.size();
        if (mConsume && !mConsume(kept))
            stop(Stop::Consumer);
        else if (!mConsume)
            keep(kept);
        if (mReceived > mMaxBytes)
            stop(Stop::TooLong);
    }
}

// Room for the whole answer is taken at once: pages that are never written cost nothing, while a buffer
// grown step by step would be copied, and for a moment held twice, at every step.
void GetWait::keep(QByteArrayView piece) {
    if (mBody.capacity() < mMaxBytes)
        mBody.reserve(mMaxBytes);
    mBody += piece;
}

void GetWait::stop(Stop why) {
    if (mStop != Stop::None)
        return;
    mStop = why;
    mConnectTimer.stop();
    mDeadlineTimer.stop();
    if (!mReply.isFinished())
        mReply.abort();
}

QString GetWait::describeFailure(int httpStatus) const {
    const QString host = mReply.url().host();
    switch (mStop) {
    case Stop::NoAnswer:
        return tr("The server at %1 did not answer within %2 seconds.").arg(host).arg(mTimeouts.connectMs / 1000.0);
    case Stop::Deadline:
        return tr("The server at %1 did not finish its answer within %2 seconds.")
            .arg(host)
            .arg(mTimeouts.deadlineMs / 1000.0);
    case Stop::Consumer:
        return tr("The download from %1 was stopped.").arg(host);
    case Stop::TooLong:
    case Stop::None:
        break;
    }
    if (httpStatus >= 400)
        return tr("The server answered %1 %2.")
            .arg(httpStatus)
            .arg(mReply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    if (mStop == Stop::TooLong)
        return tr("The server at %1 sent more than %2 bytes.").arg(host).arg(mMaxBytes);
    // Qt itself cancels a reply whose body pauses longer than the transfer time-out.
    if (mReply.error() == QNetworkReply::OperationCanceledError)
        return tr("The server at %1 stopped sending for %2 seconds.").arg(host).arg(mTimeouts.transferMs / 1000.0);
    // Qt's own texts may carry the whole address.
    return lv::redactedUrl(mReply.errorString());
}

LVGetResult failure(const QString &text) {
    return {{}, 0, text};
}

LVGetResult get(QNetworkAccessManager &network, const QUrl &url, const LVNetworkTimeouts &timeouts, qint64 maxBytes,
                const LVBodyConsumer &consume) {
    if (!url.isValid() || url.isRelative())
        return failure(QCoreApplication::translate("LVSyncGet", "\"%1\" is not a valid address.")
                           .arg(lv::redactedUrl(url.toString())));
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return failure(QCoreApplication::translate("LVSyncGet", "\"%1\" is not an http or https address.")
                           .arg(lv::redactedUrl(url.toString())));
    QNetworkRequest request(url);
    request.setTransferTimeout(timeouts.transferMs);
    QNetworkReply *reply = network.get(request);
    const LVGetResult result = GetWait(*reply, timeouts, maxBytes, consume).run();
    reply->deleteLater();
    return result;
}

} // namespace

namespace lv {

LVGetResult synchronousGet(QNetworkAccessManager &network, const QUrl &url, const LVNetworkTimeouts &timeouts,
                           qint64 maxBytes) {
    return get(network, url, timeouts, maxBytes, {});
}

LVGetResult synchronousDownload(QNetworkAccessManager &network, const QUrl &url, const LVNetworkTimeouts &timeouts,
                                qint64 maxBytes, const LVBodyConsumer &consume) {
    return get(network, url, timeouts, maxBytes, consume);
}

} // namespace lv
