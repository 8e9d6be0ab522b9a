#include "LVTestWorld.h"

#include "status/LVStatusBus.h"

LVTestWorld::LVTestWorld()
    : settings(dir.filePath(QStringLiteral("settings.ini"))) {
    LVStatusBus::setVerboseLogging(false);
}

QString LVTestWorld::resourceFolder() const {
    return QStringLiteral(LV_SOURCE_RESOURCES_DIR);
}

LVApplicationDelegate &LVTestWorld::makeDelegate() {
    delegate = std::make_unique<LVApplicationDelegate>(
        LVServices{&settings, &workspace, &processMonitor, keychain, resourceFolder(), dir.filePath("run.lock"),
                   hasSystemTray, dir.filePath("history.sqlite"), notificationBus, &clock, &systemEvents});
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

void LVTestWorld::answerCredentialTest(const QByteArray &reply) {
    if (!site)
        startSite();
    site->server().setResponse("GET", "/auth", 200, reply.toStdString());
    delegate->authentication().testAuthentication();
    site->server().clearResponses();
}
