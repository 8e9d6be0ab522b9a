#include "game/LVGameInstall.h"

#include "common/FileContents.h"
#include "common/PathComponents.h"
#include "game/GameFolders.h"
#include "game/PathTemplates.h"
#include "game/RealmCheck.h"
#include "platform/LVWorkspace.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"

namespace {

// The text of the realm list; empty when there is none or it is not UTF-8.
QString realmListText(const QString &path) {
    const std::optional<QByteArray> bytes = path.isNull() ? std::nullopt : lv::contentsOfFile(path);
    return bytes ? lv::decodeUtf8(*bytes).value_or(QString()) : QString();
}

} // namespace

LVGameInstall::LVGameInstall(LVSettings &settings, LVWorkspace &workspace, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mWorkspace(workspace) {}

QString LVGameInstall::fullPathToWorldOfWarcraft(bool launcher) const {
    const QString name = mSettings.stringForKey(launcher ? kWowLauncherApplicationNameKey : kWowApplicationNameKey);
    const QString applicationPath = mSettings.stringForKey(kWowApplicationPathKey);
    if (applicationPath.isNull())
        return mWorkspace.fullPathForApplication(name);
    // The sibling of the configured application that carries the configured name, with the
    // configured application's extension ("Wow.exe" gives "Launcher.exe", "Game.app" "Launcher.app").
    QString path = lv::appendingPathComponent(lv::deletingLastPathComponent(applicationPath), name);
    const QString extension = lv::pathExtension(applicationPath);
    if (!extension.isEmpty())
        path += QLatin1Char('.') + extension;
    return path;
}

QString LVGameInstall::gameFolder() const {
    const QString application = fullPathToWorldOfWarcraft(false);
    if (application.isEmpty())
        return {};
    const QString folder = lv::deletingLastPathComponent(application);
    return folder.isEmpty() ? QString() : folder;
}

void LVGameInstall::gatherAccounts() {
    const QString folder = gameFolder();
    mAccounts = folder.isNull() ? std::nullopt
                                : lv::listSubfolders(lv::appendingPathComponent(folder, QStringLiteral("WTF/Account")));
}

void LVGameInstall::gatherLocales() {
    const QString folder = gameFolder();
    mLocales = folder.isNull() ? std::nullopt
                               : lv::listSubfolders(lv::appendingPathComponent(folder, QStringLiteral("Cache/WDB")));
}

QString LVGameInstall::realmlistPath() const {
    return lv::findFirstEntryNamed(gameFolder(), QStringLiteral("realmlist.wtf"));
}

QString LVGameInstall::expandPath(const QString &path, const QString &account) const {
    const QString locale = mLocales && !mLocales->isEmpty() ? mLocales->last() : QString();
    // Finding the game folder may mean searching the disk: only when the template needs it.
    const QString folder = path.contains(QLatin1String(lv::kWoWPlaceholder)) ? gameFolder() : QString();
    return lv::expandPathTemplate(path, folder, account, locale);
}

bool LVGameInstall::checkSupportedRealms() {
    LVStatusBus::sendStatusMessage(QStringLiteral("Checking for supported realms…"));
    const QStringList acceptedRealms = mSettings.arrayForKey(kValidRealmsKey).value_or(QStringList());
    const QString realm =
        acceptedRealms.isEmpty() ? QString() : lv::findAcceptedRealm(realmListText(realmlistPath()), acceptedRealms);
    if (!realm.isNull()) {
        LVStatusBus::sendStatusMessage(QStringLiteral("%1 %2").arg(QStringLiteral("Found valid realm:"), realm));
        mRealm = realm;
    }
    // Once a realm has been found, later failures are left to the upload run's error.
    if (mRealm.isNull())
        LVStatusBus::sendStatusMessage(QStringLiteral("No valid realm found."));
    return !realm.isNull();
}
