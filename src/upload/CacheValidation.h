#pragma once

#include <QString>

namespace lv {

// Whether a cache file may be sent: a missing, unreadable or empty one may; otherwise its records
// must be sound.
bool validateWDBFile(const QString &path);

} // namespace lv
