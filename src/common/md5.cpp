#include "common/md5.h"

#include <mbedtls/md5.h>
#include <mbedtls/version.h>

namespace lv {

void md5(const unsigned char *input, std::size_t length, unsigned char output[16]) {
#if MBEDTLS_VERSION_MAJOR >= 3
    mbedtls_md5(input, length, output);
#else
    mbedtls_md5_ret(input, length, output);
#endif
}

QString MD5ToString(const unsigned char digest[16]) {
    static constexpr char kDigits[] = "0123456789abcdef";
    char text[32];
    for (int i = 0; i < 16; ++i) {
        text[2 * i] = kDigits[digest[i] >> 4];
        text[2 * i + 1] = kDigits[digest[i] & 0x0f];
    }
    return QString::fromLatin1(text, 32);
}

QString md5HexString(QByteArrayView bytes) {
    unsigned char digest[16];
    md5(reinterpret_cast<const unsigned char *>(bytes.data()), std::size_t(bytes.size()), digest);
    return MD5ToString(digest);
}

} // namespace lv
