#pragma once

#include <QString>

namespace lv {

// The placeholders a path template may hold.
inline constexpr char kWoWPlaceholder[] = "%WoW%";
inline constexpr char kAccountPlaceholder[] = "%account_name%";
inline constexpr char kLocalePlaceholder[] = "%locale%";

// Replaces the first "%WoW%", then the first "%account_name%", then the first "%locale%" of the
// template; a value put in is never searched for placeholders (an account folder may be named
// "X%locale%"). A placeholder whose value is null or empty stays as it is, so that no wrong folder
// is named.
QString expandPathTemplate(const QString &pathTemplate, const QString &gameFolder, const QString &account,
                           const QString &locale);

} // namespace lv
