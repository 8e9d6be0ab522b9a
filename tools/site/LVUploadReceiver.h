#pragma once

#include "LVGunzipFile.h"
#include "LVSiteUpload.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>

// Receives the parts of one multipart upload as they stream in and gunzips each into the upload's
// folder. Faults are remembered rather than reported at once, so the caller can keep reading the body
// to its end and still answer cleanly.
class LVUploadReceiver {
public:
    explicit LVUploadReceiver(std::filesystem::path folder);

    void beginPart(const std::string &fieldName, const std::string &fileName);
    void append(const char *data, size_t size);
    // Closes the last part. False when any part was refused or did not gunzip.
    bool finish();

    const std::string &error() const { return mError; }
    const std::vector<LVSiteUploadPart> &parts() const { return mParts; }

    // The name a part is stored under, or nothing when the sent file name is unusable.
    static std::optional<std::string> storedName(const std::string &fileName);

private:
    void closePart();
    void fail(const std::string &reason);

    std::filesystem::path mFolder;
    std::unique_ptr<LVGunzipFile> mCurrent;
    std::vector<LVSiteUploadPart> mParts;
    std::set<std::string> mUsedNames;
    std::string mError;
};
