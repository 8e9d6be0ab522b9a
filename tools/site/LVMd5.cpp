#include "LVMd5.h"

#include <mbedtls/md5.h>

#include <array>
#include <fstream>

namespace {

using Digest = std::array<unsigned char, 16>;

std::string hexOf(const Digest &digest) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(digest.size() * 2);
    for (unsigned char byte : digest) {
        hex.push_back(digits[byte >> 4]);
        hex.push_back(digits[byte & 0x0f]);
    }
    return hex;
}

const unsigned char *asBytes(const char *data) {
    return reinterpret_cast<const unsigned char *>(data);
}

} // namespace

std::string LVMd5::ofBytes(std::string_view bytes) {
    Digest digest{};
    mbedtls_md5_ret(asBytes(bytes.data()), bytes.size(), digest.data());
    return hexOf(digest);
}

std::optional<std::string> LVMd5::ofFile(const std::filesystem::path &file) {
    std::ifstream input(file, std::ios::binary);
    if (!input)
        return std::nullopt;
    mbedtls_md5_context context;
    mbedtls_md5_init(&context);
    mbedtls_md5_starts_ret(&context);
    std::array<char, 64 * 1024> buffer;
    while (input.read(buffer.data(), buffer.size()) || input.gcount() > 0)
        mbedtls_md5_update_ret(&context, asBytes(buffer.data()), static_cast<size_t>(input.gcount()));
    const bool readToEnd = input.eof();
    Digest digest{};
    mbedtls_md5_finish_ret(&context, digest.data());
    mbedtls_md5_free(&context);
    if (!readToEnd)
        return std::nullopt;
    return hexOf(digest);
}
