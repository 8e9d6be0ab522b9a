#pragma once

#include <QString>

#include <memory>

// The desktop's knowledge of applications: where one is installed and how to start it.
class LVWorkspace {
public:
    virtual ~LVWorkspace() = default;

    // The full path of the installed application of that name (no extension), or null when unknown.
    virtual QString fullPathForApplication(const QString &name) const = 0;
    // Starts the application at that path, detached; false when it could not be started. A Windows
    // program is started with Wine, inside the Wine prefix its path lies in.
    virtual bool launchApplication(const QString &path);
};

// The workspace of the platform the program runs on.
std::unique_ptr<LVWorkspace> makePlatformWorkspace();
