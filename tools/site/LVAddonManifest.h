#pragma once

#include <filesystem>
#include <optional>
#include <string>

// The addon update manifest and the files it points at, read afresh from the addon folder each time.
class LVAddonManifest {
public:
    static constexpr const char *destination = "%WoW%/Interface/AddOns/+Lorvane_Harvex";

    // The manifest XML; every regular file below addonFolder, sorted by relative path. An empty or
    // missing folder gives an empty <updates/>.
    static std::string build(const std::filesystem::path &addonFolder, const std::string &sourceUrl);
    // The file a decoded request path names, or nothing when it is not a regular file inside the folder.
    static std::optional<std::filesystem::path> resolve(const std::filesystem::path &addonFolder,
                                                        const std::string &relativePath);
    static std::string xmlEscaped(const std::string &text);
};
