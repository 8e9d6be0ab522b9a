#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct LVWdbRecord {
    std::uint32_t id = 0;
    std::string payload; // never empty: an empty record would read as the end marker
};

// Writes a small, deterministic game installation for demos, tests and benchmarks: launcher
// placeholders, the realm list, an empty AddOns folder, recorded saved variables per account and
// cache files. Throws std::filesystem::filesystem_error or std::runtime_error when it cannot write.
class LVSampleGame {
public:
    static constexpr const char *savedVariablesName = "+Lorvane_Harvex.lua";
    static constexpr std::uint32_t wdbBuild = 12340;

    // Returns the written files relative to folder, in the order they were written.
    static std::vector<std::filesystem::path> writeSampleGame(const std::filesystem::path &folder, int accounts = 2,
                                                              double megabytesPerAccount = 1.0);

    static std::string accountName(int index);                         // 1-based: ACCOUNT1, ACCOUNT2, ...
    static std::filesystem::path savedVariablesPath(int accountIndex); // relative to the game folder
    static std::vector<std::string> cacheFileNames();                  // in Cache/WDB/enUS
    // The saved variables of one account, about `bytes` long; the same arguments give the same text.
    static std::string savedVariables(int accountIndex, std::size_t bytes);

    // 20-byte header (magic, build, locale, record size hint, version), the records, then two zero words.
    static void writeWdbFile(const std::filesystem::path &file, const std::string &magic,
                             const std::vector<LVWdbRecord> &records);
};
