#pragma once

#include "platform/GameInstallations.h"
#include "platform/LVWorkspace.h"
#include "platform/launchers/Launchers.h"

#include <QProcessEnvironment>

// On Linux the game runs under Wine: it is looked for inside the Wine prefixes of the user's home
// folder, made by plain Wine or by a game launcher (natively, as a Flatpak or as a Snap), and is
// started through the copy of the launcher that made its prefix.
class LVLinuxWorkspace : public LVWorkspace {
public:
    // The environment gives WINEPREFIX, XDG_DATA_HOME and XDG_CONFIG_HOME to the search, and PATH
    // and everything else to the programs started.
    LVLinuxWorkspace(const QString &homeFolder, const QProcessEnvironment &environment);

    QString fullPathForApplication(const QString &name) const override;
    // The install whose prefix holds the program, else one described from its path alone.
    LVGameInstallation installationOf(const QString &executable) const override;
    QProcessEnvironment launchEnvironment() const override { return mEnvironment; }

    // Every copy of the game in every prefix, prefix by prefix in the order of winePrefixes().
    QList<LVGameInstallation> findInstallations() const override;
    // Every Wine prefix found, each once however many paths lead to it, in the order the launchers
    // are searched, with the games every launcher file that names it keeps there.
    QList<LVLauncherPrefix> winePrefixes() const;

private:
    QString mHome;
    QProcessEnvironment mEnvironment;
};
