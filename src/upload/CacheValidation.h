#pragma once

#include <QString>

namespace lv {

// Whether a cache file may be sent: a missing, unreadable or empty one may; otherwise its records
// must be sound. Something other than a file at its place may not, and `refusal` says so.
bool validateWDBFile(const QString &path, QString *refusal = nullptr);

} // namespace lv
