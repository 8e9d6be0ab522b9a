#pragma once

#include "platform/LVWorkspace.h"

#include <QHash>
#include <QStringList>

// A workspace that knows the applications a test tells it about and records what it was asked.
class LVFakeWorkspace : public LVWorkspace {
public:
    QHash<QString, QString> installedApplications; // name → full path
    mutable QStringList lookedUp;
    QStringList launched;
    QString launchError; // when set, every launch fails with it

    QString fullPathForApplication(const QString &name) const override {
        lookedUp << name;
        return installedApplications.value(name);
    }

    bool launchApplication(const QString &path, QString *error = nullptr) override {
        launched << path;
        if (error)
            *error = launchError;
        return launchError.isEmpty();
    }
};
