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

LVApplicationDelegate &LVTestWorld::makeDelegateWithWindow() {
    window = std::make_unique<LVMainWindow>();
    window->connectTo(makeDelegate());
    return *delegate;
}

LVTestSite &LVTestWorld::startSite(const QString &addonFolder, int throttleSeconds) {
    site = std::make_unique<LVTestSite>(addonFolder, throttleSeconds);
    site->configure(settings);
    settings.setValue(kUsernameKey, QString::fromLatin1(LVTestSite::kUser));
    credentialStore.password = QByteArray(LVTestSite::kPassword);
    return *site;
}
