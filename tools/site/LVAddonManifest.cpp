#include "LVAddonManifest.h"

#include "LVMd5.h"

#include <algorithm>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct AddonFile {
    std::string name;
    std::string md5;
    std::uintmax_t size = 0;
};

std::vector<AddonFile> addonFiles(const fs::path &addonFolder) {
    std::vector<AddonFile> files;
    std::error_code error;
    if (addonFolder.empty() || !fs::is_directory(addonFolder, error))
        return files;
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(addonFolder, error)) {
        if (!entry.is_regular_file(error))
            continue;
        const std::optional<std::string> md5 = LVMd5::ofFile(entry.path());
        if (!md5)
            continue; // vanished or unreadable since the listing: leave it out rather than publish a wrong digest
        files.push_back({entry.path().lexically_relative(addonFolder).generic_string(), *md5, entry.file_size(error)});
    }
    std::sort(files.begin(), files.end(), [](const AddonFile &a, const AddonFile &b) { return a.name < b.name; });
    return files;
}

std::string fileElement(const AddonFile &file) {
    return "      <file name=\"" + LVAddonManifest::xmlEscaped(file.name) + "\" destination=\"" +
           LVAddonManifest::xmlEscaped(LVAddonManifest::destination) + "\" md5=\"" + file.md5 + "\" size=\"" +
           std::to_string(file.size) + "\"/>\n";
}

bool isInside(const fs::path &candidate, const fs::path &folder) {
    const auto [folderEnd, candidateEnd] =
        std::mismatch(folder.begin(), folder.end(), candidate.begin(), candidate.end());
    return folderEnd == folder.end() && candidateEnd != candidate.end();
}

} // namespace

std::string LVAddonManifest::build(const fs::path &addonFolder, const std::string &sourceUrl) {
    const std::vector<AddonFile> files = addonFiles(addonFolder);
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<lorvaneclient source=\"" + xmlEscaped(sourceUrl) + "\">\n";
    if (files.empty())
        return xml + "  <updates/>\n</lorvaneclient>\n";
    xml += "  <updates>\n";
    for (const AddonFile &file : files)
        xml += fileElement(file);
    return xml + "  </updates>\n</lorvaneclient>\n";
}

std::optional<fs::path> LVAddonManifest::resolve(const fs::path &addonFolder, const std::string &relativePath) {
    std::error_code error;
    if (addonFolder.empty() || relativePath.empty())
        return std::nullopt;
    const fs::path folder = fs::canonical(addonFolder, error);
    if (error)
        return std::nullopt;
    // Joined as text so that an absolute-looking request path cannot replace the folder.
    const fs::path candidate = fs::weakly_canonical(fs::path(folder.native() + "/" + relativePath), error);
    if (error || !isInside(candidate, folder) || !fs::is_regular_file(candidate, error))
        return std::nullopt;
    return candidate;
}

std::string LVAddonManifest::xmlEscaped(const std::string &text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&apos;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}
