#include "upload/CacheValidation.h"

#include "common/FileContents.h"
#include "upload/WdbWalk.h"

namespace lv {

bool validateWDBFile(const QString &path, QString *refusal) {
    // A cache file that is missing, unreadable or empty does not hold the upload back.
    const LVFileRead data = readWholeFile(path);
    if (refusal && data.status == LVRegularFile::Refused)
        *refusal = data.problem;
    return data.status != LVRegularFile::Refused &&
           (!data.contents || data.contents->isEmpty() || isSoundWdb(*data.contents));
}

} // namespace lv
