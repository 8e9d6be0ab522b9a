#pragma once

#include "platform/GameInstallations.h"

#include <QProcessEnvironment>
#include <QString>

#include <memory>

// The desktop's knowledge of applications: where one is installed and how to start it.
class LVWorkspace {
public:
    virtual ~LVWorkspace() = default;

    // The full path of the installed application of that name (no extension), or null when unknown.
    virtual QString fullPathForApplication(const QString &name) const = 0;
    // Starts the application at that path, detached; false, with the reason in error, when it could
    // not be started. Away from Windows a Windows program is started the way its Wine prefix was
    // made: through its launcher, else with Wine inside the prefix.
    virtual bool launchApplication(const QString &path, QString *error = nullptr);

    // Every copy of the game the platform knows of, in the order they are offered; here none.
    virtual QList<LVGameInstallation> findInstallations() const { return {}; }
    // The install a Windows program belongs to; here described from its path alone.
    virtual LVGameInstallation installationOf(const QString &executable) const;
    // The environment programs are started in, and whose PATH finds them.
    virtual QProcessEnvironment launchEnvironment() const;

private:
    bool launchWindowsProgram(const QString &path, QString *error);
};

namespace lv {

// The workspace of the platform the program runs on.
std::unique_ptr<LVWorkspace> makePlatformWorkspace();

} // namespace lv
