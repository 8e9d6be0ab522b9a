#include "net/LVSyncGet.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace {

// How much of the answer Qt may hold before it is read here.
constexpr qint64 kReadBufferSize = 64 * 1024;

enum class Stop { None, NoAnswer, Deadline, TooLong };

// One GET, from the request to its last byte or to the first limit it runs into.
class GetWait {
public:
    GetWait(QNetworkReply &reply, const LVNetworkTimeouts &timeouts, qint64 maxBytes)
        : mReply(reply)
        , mTimeouts(timeouts)
        , mMaxBytes(std::max<qint64>(maxBytes, 0)) {}

    LVGetResult run();

private:
    void startTimers();
    void checkAnnouncedLength();
    void readAvailable();
    void stop(Stop why);
    QString describeFailure(int httpStatus) const;

    QNetworkReply &mReply;
    const LVNetworkTimeouts &mTimeouts;
    const qint64 mMaxBytes;
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
    result.body = result.tooLong ? QByteArray() : mBody.left(mMaxBytes);
    if (mStop != Stop::None || mReply.error() != QNetworkReply::NoError || result.httpStatus >= 400)
        result.errorText = describeFailure(result.httpStatus);
    return result;
}

void GetWait::startTimers() {
    for (auto [timer, why, ms] : {std::tuple(&mConnectTimer, Stop::NoAnswer, mTimeouts.connectMs),
                                  std::tuple(&mDeadlineTimer, Stop::Deadline, mTimeouts.deadlineMs)}) {
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, &mLoop, [this, why = why] { stop(why); });
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
    if (mStop != Stop::None)
        return;
    // One byte past the limit tells a body that is too long from one that fills it exactly.
    const qint64 room = mMaxBytes + 1 - mBody.size();
    if (room > 0)
        mBody += mReply.read(room);
    if (mBody.size() > mMaxBytes)
        stop(Stop::TooLong);
}

void GetWait::stop(Stop why) {
    if (mStop != Stop::None || mReply.isFinished())
        return;
    mStop = why;
    mConnectTimer.stop();
    mDeadlineTimer.stop();
    mReply.abort();
}

QString GetWait::describeFailure(int httpStatus) const {
    const QString host = mReply.url().host();
    switch (mStop) {
    case Stop::NoAnswer:
        return QStringLiteral("The server at %1 did not answer within %2 seconds.")
            .arg(host)
            .arg(mTimeouts.connectMs / 1000.0);
    case Stop::Deadline:
        return QStringLiteral("The server at %1 did not finish its answer within %2 seconds.")
            .arg(host)
            .arg(mTimeouts.deadlineMs / 1000.0);
    case Stop::TooLong:
    case Stop::None:
        break;
    }
    if (httpStatus >= 400)
        return QStringLiteral("The server answered %1 %2.")
            .arg(httpStatus)
            .arg(mReply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    if (mStop == Stop::TooLong)
        return QStringLiteral("The server at %1 sent more than %2 bytes.").arg(host).arg(mMaxBytes);
    // Qt itself cancels a reply whose body pauses longer than the transfer time-out.
    if (mReply.error() == QNetworkReply::OperationCanceledError)
        return QStringLiteral("The server at %1 stopped sending for %2 seconds.")
            .arg(host)
            .arg(mTimeouts.transferMs / 1000.0);
    return mReply.errorString();
}

} // namespace

namespace lv {

LVGetResult synchronousGet(QNetworkAccessManager &network, const QUrl &url, const LVNetworkTimeouts &timeouts,
                           qint64 maxBytes) {
    if (!url.isValid() || url.isRelative())
        return {{}, 0, QStringLiteral("\"%1\" is not a valid address.").arg(url.toString())};

    QNetworkRequest request(url);
    request.setTransferTimeout(timeouts.transferMs);
    QNetworkReply *reply = network.get(request);
    const LVGetResult result = GetWait(*reply, timeouts, maxBytes).run();
    reply->deleteLater();
    return result;
}

} // namespace lv
