#include "upload/UploadedFlag.h"

namespace lv {

qsizetype setUploadedFlag(QByteArray &savedVariables) {
    const QByteArrayView newData(kNewDataFlag);
    const qsizetype at = savedVariables.indexOf(newData);
    if (at >= 0)
        savedVariables.replace(at, newData.size(), kUploadedFlag);
    return at;
}

bool resetUploadedFlag(QByteArray &savedVariables, qsizetype offset) {
    const QByteArrayView uploaded(kUploadedFlag);
    if (offset < 0 || offset + uploaded.size() > savedVariables.size() ||
        QByteArrayView(savedVariables).sliced(offset, uploaded.size()) != uploaded)
        return false;
    savedVariables.replace(offset, uploaded.size(), kNewDataFlag);
    return true;
}

QByteArray realmLine(const QString &realm) {
    return QByteArray("\nrvRealm = \"").append(realm.toUtf8()).append("\";");
}

} // namespace lv
