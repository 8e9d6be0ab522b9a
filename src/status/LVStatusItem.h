#pragma once

#include <QDateTime>
#include <QString>

// One message waiting for the status line: its text, its kind and the time it was sent.
class LVStatusItem {
public:
    LVStatusItem(const QString &message, bool isError, const QDateTime &timestamp);

    static LVStatusItem statusItemWithMessage(const QString &message, bool isError);

    const QString &message() const { return mMessage; }
    bool isError() const { return mIsError; }
    const QDateTime &timestamp() const { return mTimestamp; }

    // -1, 0 or +1 as this item was sent before, with or after the other.
    int compare(const LVStatusItem &other) const;

private:
    QString mMessage;
    bool mIsError;
    QDateTime mTimestamp;
};

namespace lv {

// The log's time stamp, to the second (lv::timeText).
QString formatLogTime(const QDateTime &time, const QLocale &locale);
// One log line: the time, a colon, two spaces, the message and a line feed.
QString formatLogLine(const LVStatusItem &item, const QLocale &locale);

// What the window shows of a message: an error starts with a warning sign, so that it stands out
// by more than its colour.
QString displayedMessage(const LVStatusItem &item);

} // namespace lv
