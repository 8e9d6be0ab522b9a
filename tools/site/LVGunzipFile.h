#pragma once

#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

// Gunzips a stream that arrives in pieces straight into a file, so an upload is never held in memory.
// Concatenated gzip members are accepted, as gzip itself does.
class LVGunzipFile {
public:
    explicit LVGunzipFile(const std::filesystem::path &target);
    ~LVGunzipFile();
    LVGunzipFile(const LVGunzipFile &) = delete;
    LVGunzipFile &operator=(const LVGunzipFile &) = delete;

    // False once the data is known not to be gzip or cannot be written; later calls are ignored.
    bool append(const char *data, size_t size);
    // True when the data seen so far ends exactly with a complete gzip member. Closes the file.
    bool finish();

    bool failed() const { return !mError.empty(); }
    const std::string &error() const { return mError; }
    std::uint64_t compressedSize() const { return mCompressedSize; }
    std::uint64_t storedSize() const { return mStoredSize; }

private:
    bool inflatePending();
    bool writeOutput(const unsigned char *data, size_t size);
    bool fail(std::string reason);

    z_stream mStream{};
    bool mStreamReady = false;
    bool mMemberComplete = false;
    std::ofstream mOutput;
    std::string mError;
    std::uint64_t mCompressedSize = 0;
    std::uint64_t mStoredSize = 0;
};
