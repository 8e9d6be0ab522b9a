#include "LVSiteUpload.h"

std::string LVSiteUpload::receipt() const {
    std::string text =
        "Received " + std::to_string(parts.size()) + (parts.size() == 1 ? " file" : " files") + " for " + user + ":\n";
    for (const LVSiteUploadPart &part : parts)
        text += part.storedPath.filename().string() + " " + std::to_string(part.storedSize) + " bytes\n";
    return text;
}

std::string LVSiteUpload::record() const {
    std::string text = "user\t" + user + "\ntime\t" + time + "\nflags";
    for (const std::string &flag : flags)
        text += "\t" + flag;
    text += "\n";
    for (const LVSiteUploadPart &part : parts)
        text += "part\t" + part.fieldName + "\t" + part.fileName + "\t" + std::to_string(part.compressedSize) + "\t" +
                std::to_string(part.storedSize) + "\n";
    return text;
}
