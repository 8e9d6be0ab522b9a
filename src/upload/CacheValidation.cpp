#include "upload/CacheValidation.h"

#include "common/FileContents.h"
#include "upload/WdbWalk.h"

namespace lv {

bool validateWDBFile(const QString &path) {
    // A cache file that is missing, unreadable or empty does not hold the upload back.
    const std::optional<QByteArray> data = contentsOfFile(path);
    return !data || data->isEmpty() || isSoundWdb(*data);
}

} // namespace lv
