#pragma once

#include "platform/LVLauncherProcess.h"
#include "platform/LVWorkspace.h"

#include <QDir>
#include <QHash>
#include <QStringList>

// A workspace that knows the applications and installs a test tells it about and records what it was asked.
class LVFakeWorkspace : public LVWorkspace {
public:
    QHash<QString, QString> installedApplications; // name → full path
    QList<LVGameInstallation> installations;       // what a search of the machine finds
    mutable QStringList lookedUp;
    QStringList launched;
    QString launchError; // when set, every launch fails with it

    QString fullPathForApplication(const QString &name) const override {
        lookedUp << name;
        return installedApplications.value(name);
    }

    QList<LVGameInstallation> findInstallations() const override { return installations; }

    // One of the installs found, else one described from its path alone.
    LVGameInstallation installationOf(const QString &executable) const override {
        for (const LVGameInstallation &installation : installations)
            if (QDir::cleanPath(installation.executable) == QDir::cleanPath(executable))
                return installation;
        return lv::installationAt(executable);
    }

    // A launcher that was never started: it never ends, and the game starts only when the test says so.
    std::unique_ptr<LVLauncherProcess> launchApplication(const QString &path, QString *error = nullptr) override {
        launched << path;
        if (error)
            *error = launchError;
        return launchError.isEmpty() ? std::make_unique<LVLauncherProcess>(LVLaunchCommand{path, {}, {}, {}}) : nullptr;
    }
};
