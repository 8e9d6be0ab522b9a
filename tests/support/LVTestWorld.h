#pragma once

#include "LVFakeProcessMonitor.h"
#include "LVFakeWorkspace.h"
#include "LVMemoryCredentialStore.h"
#include "app/LVApplicationDelegate.h"
#include "settings/LVSettings.h"

#include <QTemporaryDir>

#include <memory>

// Everything a controller needs, with settings in a temporary file, a fake workspace and a fake
// process monitor.
struct LVTestWorld {
    LVTestWorld();

    QString resourceFolder() const;
    // Builds the controller; the defaults are registered by its awakeFromNib, as at start-up.
    LVApplicationDelegate &makeDelegate();

    QTemporaryDir dir;
    LVSettings settings;
    LVFakeWorkspace workspace;
    LVFakeProcessMonitor processMonitor;
    LVMemoryCredentialStore credentialStore;
    std::unique_ptr<LVApplicationDelegate> delegate;
};
