#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// MD5 digests as 32 lower-case hex digits, the form the site compares and publishes.
class LVMd5 {
public:
    static std::string ofBytes(std::string_view bytes);
    // Empty when the file cannot be read.
    static std::optional<std::string> ofFile(const std::filesystem::path &file);
};
