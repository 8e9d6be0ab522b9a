#include "game/LVGameInstall.h"

#include "common/FileContents.h"
#include "common/PathComponents.h"
#include "game/GameFolders.h"
#include "game/PathTemplates.h"
#include "game/RealmCheck.h"
#include "platform/LVWorkspace.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"

#include <QFileInfo>

namespace {

// The text of the realm list; empty when there is none, it is not UTF-8 or it is no file (`refusal`
// then says so).
QString realmListText(const QString &path, QString *refusal) {
    const std::optional<QByteArray> bytes = path.isNull() ? std::nullopt : lv::contentsOfFile(path, refusal);
    return bytes ? lv::decodeUtf8(*bytes).value_or(QString()) : QString();
}

} // namespace

LVGameInstall::LVGameInstall(LVSettings &settings, LVWorkspace &workspace, const QString &executable, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mWorkspace(workspace)
    , mExecutable(executable) {}

QString LVGameInstall::fullPathToWorldOfWarcraft(bool launcher) const {
    if (mExecutable.isNull())
        return mWorkspace.fullPathForApplication(
            mSettings.stringForKey(launcher ? kWowLauncherApplicationNameKey : kWowApplicationNameKey));
    if (launcher)
        return launcherPath();
    if (mSettings.hasUserValueForKey(kWowApplicationNameKey))
        return siblingOfExecutable(lv::deletingLastPathComponent(mExecutable),
                                   mSettings.stringForKey(kWowApplicationNameKey));
    return mExecutable;
}

// The program of that name in the folder, with the game program's extension ("Wow.exe" gives
// "Launcher.exe", "Game.app" "Launcher.app").
QString LVGameInstall::siblingOfExecutable(const QString &folder, const QString &name) const {
    QString path = lv::appendingPathComponent(folder, name);
    const QString extension = lv::pathExtension(mExecutable);
    if (!extension.isEmpty())
        path += QLatin1Char('.') + extension;
    return path;
}

QString LVGameInstall::launcherPath() const {
    const QString name = mSettings.stringForKey(kWowLauncherApplicationNameKey);
    const QString folder = lv::deletingLastPathComponent(mExecutable);
    for (const QString &candidate :
         {siblingOfExecutable(folder, name), siblingOfExecutable(lv::deletingLastPathComponent(folder), name)})
        if (!name.isEmpty() && QFileInfo::exists(candidate))
            return candidate;
    return {};
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
    mUnreadableAccounts.clear();
    mAccounts = folder.isNull() ? std::nullopt
                                : lv::listSubfolders(lv::appendingPathComponent(folder, QStringLiteral("WTF/Account")),
                                                     &mUnreadableAccounts);
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
    LVStatusBus::sendStatusMessage(tr("Checking for supported realms…"));
    const QStringList acceptedRealms = mSettings.arrayForKey(kValidRealmsKey).value_or(QStringList());
    QString refusal;
    const QString realm = acceptedRealms.isEmpty()
                              ? QString()
                              : lv::findAcceptedRealm(realmListText(realmlistPath(), &refusal), acceptedRealms);
    if (!refusal.isNull())
        LVStatusBus::sendErrorMessage(refusal);
    if (!realm.isNull()) {
        LVStatusBus::sendStatusMessage(tr("Found valid realm: %1").arg(realm));
        mRealm = realm;
    }
    // Once a realm has been found, later failures are left to the upload run's error.
    if (mRealm.isNull())
        LVStatusBus::sendStatusMessage(tr("No valid realm found."));
    return !realm.isNull();
}
