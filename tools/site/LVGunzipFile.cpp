#include "LVGunzipFile.h"

#include <array>

namespace {
constexpr int gzipOnlyWindowBits = 16 + MAX_WBITS;
}

LVGunzipFile::LVGunzipFile(const std::filesystem::path &target)
    : mOutput(target, std::ios::binary | std::ios::trunc) {
    if (!mOutput)
        fail("cannot create " + target.filename().string());
    else if (inflateInit2(&mStream, gzipOnlyWindowBits) != Z_OK)
        fail("cannot initialise zlib");
    else
        mStreamReady = true;
}

LVGunzipFile::~LVGunzipFile() {
    if (mStreamReady)
        inflateEnd(&mStream);
}

bool LVGunzipFile::append(const char *data, size_t size) {
    if (failed())
        return false;
    mCompressedSize += size;
    mStream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
    mStream.avail_in = static_cast<uInt>(size);
    return inflatePending();
}

bool LVGunzipFile::inflatePending() {
    std::array<unsigned char, 64 * 1024> output;
    do {
        if (mMemberComplete) {
            if (mStream.avail_in == 0)
                return true;
            inflateReset(&mStream);
            mMemberComplete = false;
        }
        mStream.next_out = output.data();
        mStream.avail_out = static_cast<uInt>(output.size());
        const int result = inflate(&mStream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
            return fail(std::string("not a gzip stream (") + (mStream.msg ? mStream.msg : zError(result)) + ")");
        if (!writeOutput(output.data(), output.size() - mStream.avail_out))
            return false;
        if (result == Z_BUF_ERROR)
            return true;
        mMemberComplete = result == Z_STREAM_END;
    } while (mStream.avail_in > 0 || mStream.avail_out == 0);
    return true;
}

bool LVGunzipFile::writeOutput(const unsigned char *data, size_t size) {
    mOutput.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    if (!mOutput)
        return fail("cannot write the unpacked file");
    mStoredSize += size;
    return true;
}

bool LVGunzipFile::finish() {
    if (!failed() && !mMemberComplete)
        fail(mCompressedSize == 0 ? "empty part" : "truncated gzip stream");
    mOutput.close();
    if (!failed() && !mOutput)
        fail("cannot write the unpacked file");
    return !failed();
}

bool LVGunzipFile::fail(std::string reason) {
    if (mError.empty())
        mError = std::move(reason);
    return false;
}
