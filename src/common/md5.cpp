#include "common/md5.h"

#include "common/LVRegularFile.h"

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

struct LVMd5Hash::Context {
    mbedtls_md5_context md5;
};

LVMd5Hash::LVMd5Hash()
    : mContext(std::make_unique<Context>()) {
    mbedtls_md5_init(&mContext->md5);
#if MBEDTLS_VERSION_MAJOR >= 3
    mbedtls_md5_starts(&mContext->md5);
#else
    mbedtls_md5_starts_ret(&mContext->md5);
#endif
}

LVMd5Hash::~LVMd5Hash() {
    mbedtls_md5_free(&mContext->md5);
}

void LVMd5Hash::addData(QByteArrayView bytes) {
    const auto *input = reinterpret_cast<const unsigned char *>(bytes.data());
#if MBEDTLS_VERSION_MAJOR >= 3
    mbedtls_md5_update(&mContext->md5, input, std::size_t(bytes.size()));
#else
    mbedtls_md5_update_ret(&mContext->md5, input, std::size_t(bytes.size()));
#endif
}

bool LVMd5Hash::addFile(LVRegularFile &file) {
    std::unique_ptr<char[]> buffer(new char[1024 * 1024]);
    for (qint64 count; (count = file.read(buffer.get(), 1024 * 1024)) != 0;
         addData(QByteArrayView(buffer.get(), count))) {
        if (count < 0)
            return false;
    }
    return true;
}

QString LVMd5Hash::hexDigest() {
    unsigned char digest[16];
#if MBEDTLS_VERSION_MAJOR >= 3
    mbedtls_md5_finish(&mContext->md5, digest);
#else
    mbedtls_md5_finish_ret(&mContext->md5, digest);
#endif
    return lv::MD5ToString(digest);
}
