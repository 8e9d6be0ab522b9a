#include "app/LVApplicationDelegate.h"
#include "game/GameFolders.h"
#include "game/PathTemplates.h"
#include "platform/LVWorkspace.h"
#include "settings/LVSettings.h"

QString LVApplicationDelegate::fullPathToWorldOfWarcraft(bool launcher) const {
    const QString name = mSettings->stringForKey(launcher ? kWowLauncherApplicationNameKey : kWowApplicationNameKey);
    const QString applicationPath = mSettings->stringForKey(kWowApplicationPathKey);
    if (applicationPath.isNull())
        return mWorkspace->fullPathForApplication(name);
    // The sibling of the configured application that carries the configured name, with the
    // configured application's extension ("Wow.exe" gives "Launcher.exe", "Game.app" "Launcher.app").
    QString path = appendingPathComponent(deletingLastPathComponent(applicationPath), name);
    const QString extension = pathExtension(applicationPath);
    if (!extension.isEmpty())
        path += QLatin1Char('.') + extension;
    return path;
}

QString LVApplicationDelegate::gameFolder() const {
    const QString application = fullPathToWorldOfWarcraft(false);
    if (application.isEmpty())
        return {};
    const QString folder = deletingLastPathComponent(application);
    return folder.isEmpty() ? QString() : folder;
}

void LVApplicationDelegate::gatherAccounts() {
    const QString folder = gameFolder();
    mAccounts =
        folder.isNull() ? std::nullopt : listSubfolders(appendingPathComponent(folder, QStringLiteral("WTF/Account")));
}

void LVApplicationDelegate::gatherLocales() {
    const QString folder = gameFolder();
    mLocales =
        folder.isNull() ? std::nullopt : listSubfolders(appendingPathComponent(folder, QStringLiteral("Cache/WDB")));
}

QString LVApplicationDelegate::realmlistPath() const {
    return findFirstEntryNamed(gameFolder(), QStringLiteral("realmlist.wtf"));
}

QString LVApplicationDelegate::expandPath(const QString &path, const QString &account) const {
    const QString locale = mLocales && !mLocales->isEmpty() ? mLocales->last() : QString();
    // Finding the game folder may mean searching the disk: only when the template needs it.
    const QString folder = path.contains(QLatin1String(kWoWPlaceholder)) ? gameFolder() : QString();
    return expandPathTemplate(path, folder, account, locale);
}
