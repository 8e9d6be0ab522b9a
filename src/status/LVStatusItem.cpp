#include "status/LVStatusItem.h"

#include "common/TimeText.h"

#include <QLocale>

LVStatusItem::LVStatusItem(const QString &message, bool isError, const QDateTime &timestamp)
    : mMessage(message)
    , mIsError(isError)
    , mTimestamp(timestamp) {}

LVStatusItem LVStatusItem::statusItemWithMessage(const QString &message, bool isError) {
    return LVStatusItem(message, isError, QDateTime::currentDateTime());
}

int LVStatusItem::compare(const LVStatusItem &other) const {
    if (mTimestamp < other.mTimestamp)
        return -1;
    return mTimestamp == other.mTimestamp ? 0 : 1;
}

namespace lv {

QString formatLogTime(const QDateTime &time, const QLocale &locale) {
    return lv::timeText(time, TimeDetail::Seconds, locale);
}

QString formatLogLine(const LVStatusItem &item, const QLocale &locale) {
    return QStringLiteral("%1:  %2\n").arg(formatLogTime(item.timestamp(), locale), item.message());
}

QString displayedMessage(const LVStatusItem &item) {
    if (!item.isError() || item.message().isEmpty())
        return item.message();
    return QStringLiteral("\u26A0 ") + item.message();
}

} // namespace lv
