#include "common/TimeText.h"

#include <QRegularExpression>
#include <QTimeZone>

namespace {

// Scripts and users of the C and English locales read the log in this format.
bool keepsLogFormat(const QLocale &locale) {
    return locale.language() == QLocale::C || locale.language() == QLocale::English;
}

// The locale's short date, whose two-digit year some locales use, with all four digits.
QString dateFormat(const QLocale &locale) {
    if (keepsLogFormat(locale))
        return QStringLiteral("yyyy.MM.dd");
    static const QRegularExpression kShortYear(QStringLiteral("(?<!y)yy(?!y)"));
    return locale.dateFormat(QLocale::ShortFormat).replace(kShortYear, QStringLiteral("yyyy"));
}

// The locale's time with seconds is its long format less the time zone; to the minute, its short one.
QString timeFormat(const QLocale &locale, bool seconds) {
    if (keepsLogFormat(locale))
        return seconds ? QStringLiteral("hh:mm:ss AP") : QStringLiteral("hh:mm AP");
    static const QRegularExpression kZone(QStringLiteral("\\s*\\bt+\\b"));
    static const QRegularExpression kSeconds(QStringLiteral("[:.]ss?"));
    if (seconds)
        return locale.timeFormat(QLocale::LongFormat).remove(kZone).trimmed();
    return locale.timeFormat(QLocale::ShortFormat).remove(kSeconds);
}

} // namespace

QString lv::timeText(const QDateTime &when, TimeDetail detail, const QLocale &locale, const QDateTime &now) {
    const QDateTime local = when.toTimeZone(now.timeZone());
    const QString time = timeFormat(locale, detail == TimeDetail::Seconds);
    if (detail == TimeDetail::Recent && local.date() == now.date())
        return locale.toString(local.time(), time);
    return locale.toString(local, dateFormat(locale) + QLatin1Char(' ') + time);
}
