#include "LVUploadReceiver.h"

#include <string_view>

namespace {

constexpr std::string_view gzipSuffix = ".gz";

std::string lastPathComponent(const std::string &name) {
    const size_t separator = name.find_last_of("/\\");
    return separator == std::string::npos ? name : name.substr(separator + 1);
}

} // namespace

LVUploadReceiver::LVUploadReceiver(std::filesystem::path folder)
    : mFolder(std::move(folder)) {}

std::optional<std::string> LVUploadReceiver::storedName(const std::string &fileName) {
    std::string name = lastPathComponent(fileName);
    if (!name.ends_with(gzipSuffix))
        return std::nullopt;
    name.resize(name.size() - gzipSuffix.size());
    if (name.empty() || name == "." || name == ".." || name == LVSiteUpload::recordFileName)
        return std::nullopt;
    return name;
}

void LVUploadReceiver::beginPart(const std::string &fieldName, const std::string &fileName) {
    closePart();
    if (!mError.empty())
        return;
    const std::optional<std::string> name = storedName(fileName);
    if (!name)
        return fail("part \"" + fieldName + "\": file name \"" + fileName + "\" is not a usable .gz name");
    if (!mUsedNames.insert(*name).second)
        return fail("part \"" + fieldName + "\": file name \"" + fileName + "\" is sent twice");
    LVSiteUploadPart part;
    part.fieldName = fieldName;
    part.fileName = fileName;
    part.storedPath = mFolder / *name;
    mParts.push_back(part);
    mCurrent = std::make_unique<LVGunzipFile>(part.storedPath);
}

void LVUploadReceiver::append(const char *data, size_t size) {
    if (mCurrent && mError.empty() && !mCurrent->append(data, size))
        fail("part \"" + mParts.back().fieldName + "\": " + mCurrent->error());
}

bool LVUploadReceiver::finish() {
    closePart();
    if (mError.empty() && mParts.empty())
        fail("the upload holds no files");
    return mError.empty();
}

void LVUploadReceiver::closePart() {
    if (!mCurrent)
        return;
    if (mError.empty() && !mCurrent->finish())
        fail("part \"" + mParts.back().fieldName + "\": " + mCurrent->error());
    mParts.back().compressedSize = mCurrent->compressedSize();
    mParts.back().storedSize = mCurrent->storedSize();
    mCurrent.reset();
}

void LVUploadReceiver::fail(const std::string &reason) {
    if (mError.empty())
        mError = reason;
}
