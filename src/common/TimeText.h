#pragma once

#include <QDateTime>
#include <QLocale>

namespace lv {

// A moment as the user reads it, in local time without seconds: the time alone when it is today,
// else the date too ("13:02", "03/05/2026 13:02").
QString shortDateTime(const QDateTime &when, const QLocale &locale = QLocale::system(),
                      const QDateTime &now = QDateTime::currentDateTime());

} // namespace lv
