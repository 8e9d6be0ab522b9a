#pragma once

#include "platform/LVWorkspace.h"

#include <QStringList>

// On Linux the game runs under Wine: it is looked for inside the Wine prefixes of the user's home
// folder, those of plain Wine, Lutris, Steam (also as a Flatpak) and Bottles.
class LVLinuxWorkspace : public LVWorkspace {
public:
    explicit LVLinuxWorkspace(const QString &homeFolder);

    QString fullPathForApplication(const QString &name) const override;

    // Every Wine prefix found, in the order they are searched.
    QStringList winePrefixes() const;

private:
    QString mHome;
};

// The folders of a Wine prefix in which the game may be installed, in the order they are searched.
QStringList gameFoldersInPrefix(const QString &prefix);
