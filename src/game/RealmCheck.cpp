#include "game/RealmCheck.h"
#include "app/LVApplicationDelegate.h"
#include "platform/FileContents.h"
#include "settings/LVSettings.h"

namespace {

// The text of the realm list; empty when there is none or it is not UTF-8.
QString realmListText(const QString &path) {
    const std::optional<QByteArray> bytes = path.isNull() ? std::nullopt : contentsOfFile(path);
    return bytes ? decodeUtf8(*bytes).value_or(QString()) : QString();
}

} // namespace

QString findAcceptedRealm(QStringView realmList, const QStringList &acceptedRealms) {
    for (const QString &realm : acceptedRealms) {
        if (!realm.isEmpty() && realmList.contains(realm))
            return realm;
    }
    return {};
}

bool LVApplicationDelegate::checkSupportedRealms() {
    sendStatusMessage(QStringLiteral("Checking for supported realms…"));
    const QStringList acceptedRealms = mSettings->arrayForKey(kValidRealmsKey).value_or(QStringList());
    const QString realm =
        acceptedRealms.isEmpty() ? QString() : findAcceptedRealm(realmListText(realmlistPath()), acceptedRealms);
    if (!realm.isNull()) {
        sendStatusMessage(QStringLiteral("%1 %2").arg(QStringLiteral("Found valid realm:"), realm));
        mRealm = realm;
    }
    // Once a realm has been found, later failures are left to the upload run's error.
    if (mRealm.isNull())
        sendStatusMessage(QStringLiteral("No valid realm found."));
    return !realm.isNull();
}
