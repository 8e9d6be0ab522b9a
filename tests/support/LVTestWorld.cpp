#include "LVTestWorld.h"

LVTestWorld::LVTestWorld()
    : settings(dir.filePath(QStringLiteral("settings.ini"))) {}

QString LVTestWorld::resourceFolder() const {
    return QStringLiteral(LV_SOURCE_RESOURCES_DIR);
}

LVApplicationDelegate &LVTestWorld::makeDelegate() {
    delegate = std::make_unique<LVApplicationDelegate>(
        LVServices{&settings, &workspace, &processMonitor, &credentialStore, resourceFolder()});
    return *delegate;
}
