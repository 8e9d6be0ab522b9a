#include "upload/UploadedFlag.h"
#include "app/LVApplicationDelegate.h"
#include "app/LVLogging.h"
#include "game/PathTemplates.h"
#include "platform/FileContents.h"
#include "settings/LVSettings.h"

#include <QFile>

LVUploadedFlag readUploadedFlag(QByteArrayView savedVariables) {
    if (savedVariables.contains(kNewDataFlag))
        return LVUploadedFlag::NewData;
    if (savedVariables.contains(kUploadedFlag))
        return LVUploadedFlag::AlreadyUploaded;
    return LVUploadedFlag::Malformed;
}

QByteArray restoreBytes(QByteArray savedVariables) {
    const QByteArrayView newData(kNewDataFlag);
    const qsizetype at = savedVariables.indexOf(newData);
    if (at >= 0)
        savedVariables.replace(at, newData.size(), kUploadedFlag);
    return savedVariables;
}

QByteArray uploadBytes(QByteArray restore, const QString &realm) {
    return restore.append("\nrvRealm = \"").append(realm.toUtf8()).append("\";");
}

bool LVApplicationDelegate::alreadyUploadedForAccount(const QString &account) {
    const std::optional<QStringList> files = mSettings->arrayForKey(kFilesToUploadKey);
    if (!files || files->isEmpty())
        return true;
    const QString path = expandPath(files->first(), account);
    std::optional<QByteArray> savedVariables = contentsOfFile(path);
    if (!savedVariables || !isValidUtf8(*savedVariables))
        return true;
    switch (readUploadedFlag(*savedVariables)) {
    case LVUploadedFlag::AlreadyUploaded:
        return true;
    case LVUploadedFlag::Malformed:
        sendErrorMessage(QStringLiteral("rvUploaded variable seems to be malformed."));
        return true;
    case LVUploadedFlag::NewData:
        break;
    }
    if (!prepareSavedVariables(path, std::move(*savedVariables))) {
        sendErrorMessage(QStringLiteral("Unable to prepare %1 for upload").arg(lastPathComponent(path)));
        return true;
    }
    if (mVerboseLogging)
        sendStatusMessage(QStringLiteral("rvUpload == 1"));
    return false;
}

bool LVApplicationDelegate::prepareSavedVariables(const QString &path, QByteArray savedVariables) {
    // The restore copy is safely on disk before the file itself is touched, and the file is
    // replaced in one step: whatever fails, the game's data is never lost.
    const QString restorePath = path + QStringLiteral(".rename");
    QByteArray restore = restoreBytes(std::move(savedVariables));
    if (!writeFileAtomically(restorePath, restore))
        return false;
    if (!mFilesToCleanup)
        mFilesToCleanup.emplace();
    mFilesToCleanup->append(restorePath);
    if (writeFileAtomically(path, uploadBytes(std::move(restore), mRealm)))
        return true;
    mFilesToCleanup->removeLast();
    if (!QFile::remove(restorePath))
        qCWarning(lcUpload).noquote() << "Unable to remove" << restorePath;
    return false;
}
