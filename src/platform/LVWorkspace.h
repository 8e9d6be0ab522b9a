#pragma once

#include "platform/GameInstallations.h"
#include "platform/LVLauncherProcess.h"
#include "platform/LaunchCommand.h"

#include <QProcessEnvironment>
#include <QString>

#include <memory>

// The desktop's knowledge of applications: where one is installed and how to start it.
class LVWorkspace {
public:
    virtual ~LVWorkspace() = default;

    // The full path of the installed application of that name (no extension), or null when unknown.
    virtual QString fullPathForApplication(const QString &name) const = 0;
    // The command that starts the application at that path. Away from Windows a Windows program is
    // started the way its Wine prefix was made: through the copy of its launcher that made it, else
    // with Wine inside the prefix. An empty program, with the reason in error, when nothing can.
    virtual LVLaunchCommand commandToLaunch(const QString &path, QString *error = nullptr) const;
    // Starts that command, apart from the program; null, with the reason in error, when it could
    // not be started.
    virtual std::unique_ptr<LVLauncherProcess> launchApplication(const QString &path, QString *error = nullptr);

    // Every copy of the game the platform knows of, in the order they are offered; here none.
    virtual QList<LVGameInstallation> findInstallations() const { return {}; }
    // The install a Windows program belongs to; here described from its path alone.
    virtual LVGameInstallation installationOf(const QString &executable) const;
    // The environment programs are started in, and whose PATH finds them.
    virtual QProcessEnvironment launchEnvironment() const;
};

namespace lv {

// The workspace of the platform the program runs on.
std::unique_ptr<LVWorkspace> makePlatformWorkspace();

} // namespace lv
