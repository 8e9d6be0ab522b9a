#include "LVTestSite.h"

#include "settings/LVSettings.h"

#include <QFile>

LVTestSite::LVTestSite(const QString &addonFolder, int throttleSeconds) {
    LVSiteConfig config;
    config.users = {{kUser, kPassword}};
    config.dataFolder = QFile::encodeName(mData.path()).toStdString();
    config.addonFolder = QFile::encodeName(addonFolder).toStdString();
    config.throttleSeconds = throttleSeconds;
    config.logRequests = false;
    mServer = std::make_unique<LVSiteServer>(config);
    if (!mServer->start(0))
        qFatal("The test site could not start");
}

LVTestSite::~LVTestSite() {
    mServer->stop();
}

QString LVTestSite::url(const QString &path) const {
    return QString::fromStdString(mServer->baseUrl()) + path;
}

void LVTestSite::configure(LVSettings &settings) const {
    settings.setValue(kPostURLKey, url(QStringLiteral("/upload?")));
    settings.setValue(kAuthURLKey, url(QStringLiteral("/auth?")));
    settings.setValue(kUpdateURLKey, url(QStringLiteral("/updates.xml")));
}
