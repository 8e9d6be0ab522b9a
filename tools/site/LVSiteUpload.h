#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct LVSiteUploadPart {
    std::string fieldName;
    std::string fileName; // as sent, e.g. "+Lorvane_Harvex.lua.gz"
    std::uint64_t compressedSize = 0;
    std::filesystem::path storedPath;
    std::uint64_t storedSize = 0;
};

// One accepted upload, with its parts in the order they arrived.
struct LVSiteUpload {
    std::string user;
    std::vector<std::string> flags; // query parameters besides the credentials, e.g. "ignorecharacterdata"
    std::string time;               // ISO 8601, UTC
    std::filesystem::path folder;
    std::vector<LVSiteUploadPart> parts;

    // The reply body: "Received 2 files for ALICE:" then "<stored name> <size> bytes" per part.
    std::string receipt() const;
    // The text kept next to the stored files: tab-separated "user", "time", "flags" and "part" lines.
    std::string record() const;

    static constexpr const char *recordFileName = "lorvane-upload.txt";
};
