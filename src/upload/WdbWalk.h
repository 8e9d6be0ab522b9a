#pragma once

#include <QByteArrayView>

namespace lv {

// Whether a cache file's bytes hold a sound record layout: a 20-byte header, then records of an
// 8-byte header (two little-endian 32-bit words, the second the payload's length L) followed by L
// bytes of payload. The file is corrupt when it is shorter than its header, or when a record's
// header or payload would run past the end. A record whose two words are both 0 ends the cache:
// whatever follows it is not looked at.
bool isSoundWdb(QByteArrayView data);

} // namespace lv
