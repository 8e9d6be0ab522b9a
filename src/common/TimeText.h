#pragma once

#include <QDateTime>
#include <QLocale>

namespace lv {

// How much of a moment a text tells.
enum class TimeDetail {
    Seconds, // the log's time stamp: date and time to the second
    Minutes, // a row of the upload history: date and time to the minute
    Recent,  // the line under the buttons: the time alone when it is today, else the date too
};

// A moment in local time as the user reads it, one format for the log, the history and the window.
// Under the C and English locales it is the log's long-standing "2026.12.07 07:18:37 PM" (less the
// seconds, or the date, as asked); under any other the locale's own short date, with a four-digit
// year, and its time ("07.12.2026 19:18:37").
QString timeText(const QDateTime &when, TimeDetail detail, const QLocale &locale = QLocale(),
                 const QDateTime &now = QDateTime::currentDateTime());

// The time alone when it is today, else the date too ("07:18 PM", "2026.12.06 07:18 PM").
inline QString shortDateTime(const QDateTime &when, const QLocale &locale = QLocale(),
                             const QDateTime &now = QDateTime::currentDateTime()) {
    return timeText(when, TimeDetail::Recent, locale, now);
}

} // namespace lv
