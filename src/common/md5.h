#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstddef>

namespace lv {

// The one-shot MD5 digest of `length` bytes into 16 bytes.
void md5(const unsigned char *input, std::size_t length, unsigned char output[16]);

// The 16 bytes of a digest as 32 lower-case hexadecimal characters, in byte order.
QString MD5ToString(const unsigned char digest[16]);

// The MD5 hex form of some bytes.
QString md5HexString(QByteArrayView bytes);

} // namespace lv
