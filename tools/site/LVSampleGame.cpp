#include "LVSampleGame.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t megabyte = 1024 * 1024;

// splitmix64: tiny, and the same sequence on every platform and library, unlike <random>'s distributions.
class SampleRandom {
public:
    explicit SampleRandom(std::uint64_t seed)
        : mState(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (mState += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    std::uint32_t below(std::uint32_t bound) { return static_cast<std::uint32_t>(next() % bound); }
    template <size_t N> const char *pick(const std::array<const char *, N> &words) { return words[below(N)]; }
    std::string coordinate() {
        char text[16];
        std::snprintf(text, sizeof text, "%.2f", below(10000) / 100.0);
        return text;
    }

private:
    std::uint64_t mState;
};

const std::array<const char *, 16> adjectives = {
    "Sturdy",  "Ancient",  "Gleaming", "Tattered", "Runed",     "Frostbitten", "Hollow",      "Verdant",
    "Brittle", "Polished", "Savage",   "Gilded",   "Ironbound", "Woven",       "Emberforged", "Shadowed"};
const std::array<const char *, 16> gear = {"Boots",  "Gauntlets", "Helm",   "Cloak",  "Blade",   "Staff",
                                           "Shield", "Ring",      "Amulet", "Girdle", "Bracers", "Leggings",
                                           "Mace",   "Dagger",    "Bow",    "Tome"};
const std::array<const char *, 8> suffixes = {
    "", "", " of the Bear", " of the Owl", " of Frost", " of Agility", " of the Tiger", " of Healing"};
const std::array<const char *, 12> givenNames = {"Grimtusk", "Mirela", "Ostrand", "Velka",  "Thadric", "Soren",
                                                 "Brannoc",  "Ysolde", "Kettle",  "Harlan", "Orvia",   "Dunmar"};
const std::array<const char *, 10> titles = {"the Wary",    "Trapper",        "the Innkeeper", "Quartermaster",
                                             "the Smith",   "Wandering Monk", "the Bold",      "Stablehand",
                                             "Fisherwoman", "the Hermit"};
const std::array<const char *, 10> zones = {"Redmoor Hills", "Ashen Vale",    "Greywater Coast", "Thornwick",
                                            "Duskhollow",    "Saltmarsh Fen", "Kelpbrook",       "Stonecrown Pass",
                                            "Emberreach",    "Mistwillow"};
const std::array<const char *, 8> questOpenings = {"The Lost",    "Wanted:",  "A Matter of",    "Return the",
                                                   "Hunting the", "Bring Me", "Secrets of the", "Trouble with the"};

std::string quoted(const std::string &text) {
    return "\"" + text + "\"";
}

std::string field(const char *name, const std::string &value) {
    return "\t\t\t[\"" + std::string(name) + "\"] = " + value + ",\n";
}

std::string itemName(SampleRandom &random) {
    return std::string(random.pick(adjectives)) + " " + random.pick(gear) + random.pick(suffixes);
}

std::string npcName(SampleRandom &random) {
    return std::string(random.pick(givenNames)) + " " + random.pick(titles);
}

std::string itemEntry(SampleRandom &random, std::uint32_t id) {
    return "\t\t[" + std::to_string(id) + "] = {\n" + field("name", quoted(itemName(random))) +
           field("quality", std::to_string(random.below(6))) + field("level", std::to_string(1 + random.below(80))) +
           field("sell", std::to_string(random.below(250000))) + field("seen", std::to_string(1 + random.below(40))) +
           "\t\t},\n";
}

std::string npcEntry(SampleRandom &random, std::uint32_t id) {
    return "\t\t[" + std::to_string(id) + "] = {\n" + field("name", quoted(npcName(random))) +
           field("level", std::to_string(1 + random.below(80))) + field("zone", quoted(random.pick(zones))) +
           field("x", random.coordinate()) + field("y", random.coordinate()) +
           field("health", std::to_string(40 + random.below(90000))) + "\t\t},\n";
}

std::string questEntry(SampleRandom &random, std::uint32_t id) {
    const std::string title = std::string(random.pick(questOpenings)) + " " + random.pick(gear);
    const std::string objectives =
        "{ " + std::to_string(1000 + random.below(50000)) + ", " + std::to_string(1000 + random.below(50000)) + " }";
    return "\t\t[" + std::to_string(id) + "] = {\n" + field("title", quoted(title)) +
           field("level", std::to_string(1 + random.below(80))) + field("giver", std::to_string(random.below(40000))) +
           field("zone", quoted(random.pick(zones))) + field("x", random.coordinate()) +
           field("y", random.coordinate()) + field("objectives", objectives) + "\t\t},\n";
}

using EntryWriter = std::string (*)(SampleRandom &, std::uint32_t);

void appendSection(std::string &text, const char *name, EntryWriter entry, SampleRandom &random, std::size_t budget) {
    text += "\t[\"" + std::string(name) + "\"] = {\n";
    const std::size_t end = text.size() + budget;
    std::uint32_t id = 0;
    while (text.size() < end)
        text += entry(random, id += 1 + random.below(40));
    text += "\t},\n";
}

void putWord(std::string &bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((value >> shift) & 0xff));
}

std::string cachePayload(SampleRandom &random, std::uint32_t id) {
    std::string payload;
    putWord(payload, id);
    putWord(payload, random.below(20));
    payload += itemName(random);
    payload.push_back('\0');
    payload += npcName(random);
    payload.push_back('\0');
    const std::uint32_t numbers = 2 + random.below(24);
    for (std::uint32_t i = 0; i < numbers; ++i)
        putWord(payload, random.below(i % 3 == 0 ? 100000 : 256));
    return payload;
}

std::vector<LVWdbRecord> cacheRecords(std::uint64_t seed, std::size_t bytes) {
    SampleRandom random(seed);
    std::vector<LVWdbRecord> records;
    std::uint32_t id = 0;
    for (std::size_t written = 0; written < bytes;) {
        id += 1 + random.below(30);
        records.push_back({id, cachePayload(random, id)});
        written += 8 + records.back().payload.size();
    }
    return records;
}

void writeFile(const fs::path &file, const std::string &content) {
    fs::create_directories(file.parent_path());
    std::ofstream output(file, std::ios::binary | std::ios::trunc);
    output << content;
    output.close();
    if (!output)
        throw std::runtime_error("cannot write " + file.string());
}

struct CacheFile {
    const char *name;
    const char *magic;
    std::size_t bytes;
};

const std::array<CacheFile, 8> cacheFiles = {{{"itemcache.wdb", "BDIW", 240 * 1024},
                                              {"creaturecache.wdb", "BOMW", 160 * 1024},
                                              {"gameobjectcache.wdb", "BOGW", 64 * 1024},
                                              {"questcache.wdb", "TSQW", 200 * 1024},
                                              {"npccache.wdb", "CPNW", 48 * 1024},
                                              {"pagetextcache.wdb", "XTPW", 8 * 1024},
                                              {"itemtextcache.wdb", "XTIW", 4 * 1024},
                                              {"itemnamecache.wdb", "BDNW", 32 * 1024}}};

} // namespace

std::string LVSampleGame::accountName(int index) {
    return "ACCOUNT" + std::to_string(index);
}

fs::path LVSampleGame::savedVariablesPath(int accountIndex) {
    return fs::path("WTF") / "Account" / accountName(accountIndex) / "SavedVariables" / savedVariablesName;
}

std::vector<std::string> LVSampleGame::cacheFileNames() {
    std::vector<std::string> names;
    for (const CacheFile &file : cacheFiles)
        names.push_back(file.name);
    return names;
}

std::string LVSampleGame::savedVariables(int accountIndex, std::size_t bytes) {
    SampleRandom random(0x5eed0000u + static_cast<std::uint64_t>(accountIndex));
    std::string text = "rvUploaded = 0\nrvAddonVersion = \"2.7.1\"\nrvAccount = " + quoted(accountName(accountIndex)) +
                       "\nrvData = {\n";
    const std::size_t closing = 3;
    const std::size_t body = bytes > text.size() + closing ? bytes - text.size() - closing : 0;
    text.reserve(bytes + 1024);
    appendSection(text, "items", itemEntry, random, body / 3);
    appendSection(text, "npcs", npcEntry, random, body / 3);
    appendSection(text, "quests", questEntry, random, body - 2 * (body / 3));
    return text + "}\n";
}

void LVSampleGame::writeWdbFile(const fs::path &file, const std::string &magic,
                                const std::vector<LVWdbRecord> &records) {
    if (magic.size() != 4)
        throw std::invalid_argument("a cache magic has four bytes");
    std::string bytes = magic;
    putWord(bytes, wdbBuild);
    bytes += "SUne"; // enUS, stored as a little-endian word like the magic
    putWord(bytes, 0);
    putWord(bytes, 1);
    for (const LVWdbRecord &record : records) {
        if (record.payload.empty())
            throw std::invalid_argument("a cache record needs a payload");
        putWord(bytes, record.id);
        putWord(bytes, static_cast<std::uint32_t>(record.payload.size()));
        bytes += record.payload;
    }
    putWord(bytes, 0);
    putWord(bytes, 0);
    writeFile(file, bytes);
}

std::vector<fs::path> LVSampleGame::writeSampleGame(const fs::path &folder, int accounts, double megabytesPerAccount) {
    std::vector<fs::path> written;
    const auto write = [&](const fs::path &relative, const std::string &content) {
        writeFile(folder / relative, content);
        written.push_back(relative);
    };
    write("Wow.exe", "Lorvane sample game: placeholder for the game program.\n");
    write("World of Warcraft Launcher.exe", "Lorvane sample game: placeholder for the launcher.\n");
    write(fs::path("Data") / "enUS" / "realmlist.wtf", "set realmlist eu.logon.worldofwarcraft.com\n");
    fs::create_directories(folder / "Interface" / "AddOns");
    const auto savedBytes = static_cast<std::size_t>(std::max(0.0, megabytesPerAccount) * megabyte);
    for (int account = 1; account <= accounts; ++account)
        write(savedVariablesPath(account), savedVariables(account, savedBytes));
    const fs::path cacheFolder = fs::path("Cache") / "WDB" / "enUS";
    std::uint64_t seed = 0xcac4e;
    for (const CacheFile &cache : cacheFiles) {
        writeWdbFile(folder / cacheFolder / cache.name, cache.magic, cacheRecords(++seed, cache.bytes));
        written.push_back(cacheFolder / cache.name);
    }
    return written;
}
