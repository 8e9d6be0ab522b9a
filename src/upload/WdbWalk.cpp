#include "upload/WdbWalk.h"

#include <QtEndian>

namespace lv {

bool isSoundWdb(QByteArrayView data) {
    constexpr quint64 kFileHeaderSize = 20;
    constexpr quint64 kRecordHeaderSize = 8;
    const quint64 size = quint64(data.size());
    if (size < kFileHeaderSize)
        return false;
    // 64-bit positions: no 32-bit length can carry the walk round past the end and back.
    for (quint64 at = kFileHeaderSize; at < size;) {
        if (size - at < kRecordHeaderSize)
            return false;
        const quint32 first = qFromLittleEndian<quint32>(data.data() + at);
        const quint32 length = qFromLittleEndian<quint32>(data.data() + at + 4);
        if (first == 0 && length == 0)
            return true;
        at += kRecordHeaderSize;
        if (length > size - at)
            return false;
        at += length;
    }
    return true;
}

} // namespace lv
