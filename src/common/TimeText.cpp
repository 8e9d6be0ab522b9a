#include "common/TimeText.h"

#include <QRegularExpression>
#include <QTimeZone>

namespace {

// The locale's short format without seconds, which some locales keep even there.
QString withoutSeconds(QString format) {
    static const QRegularExpression kSeconds(QStringLiteral("[:.]ss?"));
    return format.remove(kSeconds);
}

} // namespace

QString lv::shortDateTime(const QDateTime &when, const QLocale &locale, const QDateTime &now) {
    const QDateTime local = when.toTimeZone(now.timeZone());
    if (local.date() == now.date())
        return locale.toString(local.time(), withoutSeconds(locale.timeFormat(QLocale::ShortFormat)));
    return locale.toString(local, withoutSeconds(locale.dateTimeFormat(QLocale::ShortFormat)));
}
