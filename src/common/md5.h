#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <memory>

class LVRegularFile;

// An MD5 digest of bytes given a piece at a time, for what is too large to hold whole.
class LVMd5Hash {
public:
    LVMd5Hash();
    ~LVMd5Hash();
    LVMd5Hash(const LVMd5Hash &) = delete;
    LVMd5Hash &operator=(const LVMd5Hash &) = delete;

    void addData(QByteArrayView bytes);
    // Adds the rest of an open file, read a piece at a time; false when a read failed.
    bool addFile(LVRegularFile &file);
    // The MD5 hex form of everything added.
    QString hexDigest();

private:
    struct Context;
    std::unique_ptr<Context> mContext;
};

namespace lv {

// The one-shot MD5 digest of `length` bytes into 16 bytes.
void md5(const unsigned char *input, std::size_t length, unsigned char output[16]);

// The 16 bytes of a digest as 32 lower-case hexadecimal characters, in byte order.
QString MD5ToString(const unsigned char digest[16]);

// The MD5 hex form of some bytes.
QString md5HexString(QByteArrayView bytes);

} // namespace lv
