#include "upload/UploadedFlag.h"
#include "app/LVApplicationDelegate.h"
#include "app/LVLogging.h"
#include "game/PathTemplates.h"
#include "platform/FileContents.h"
#include "settings/LVSettings.h"

#include <QFile>

bool setUploadedFlag(QByteArray &savedVariables) {
    const QByteArrayView newData(kNewDataFlag);
    const qsizetype at = savedVariables.indexOf(newData);
    if (at < 0)
        return false;
    savedVariables.replace(at, newData.size(), kUploadedFlag);
    return true;
}

QByteArray realmLine(const QString &realm) {
    return QByteArray("\nrvRealm = \"").append(realm.toUtf8()).append("\";");
}

bool LVApplicationDelegate::alreadyUploadedForAccount(const QString &account) {
    const std::optional<QStringList> files = mSettings->arrayForKey(kFilesToUploadKey);
    if (!files || files->isEmpty())
        return true;
    const QString path = expandPath(files->first(), account);
    std::optional<QByteArray> savedVariables = contentsOfFile(path);
    if (!savedVariables || !isValidUtf8(*savedVariables))
        return true;
    if (!setUploadedFlag(*savedVariables)) {
        if (!savedVariables->contains(kUploadedFlag))
            sendErrorMessage(QStringLiteral("rvUploaded variable seems to be malformed."));
        return true;
    }
    if (!prepareSavedVariables(path, *savedVariables)) {
        sendErrorMessage(QStringLiteral("Unable to prepare %1 for upload").arg(lastPathComponent(path)));
        return true;
    }
    if (mVerboseLogging)
        sendStatusMessage(QStringLiteral("rvUpload == 1"));
    return false;
}

bool LVApplicationDelegate::prepareSavedVariables(const QString &path, const QByteArray &restore) {
    // The restore copy is safely on disk before the file itself is touched, and the file is
    // replaced in one step: whatever fails, the game's data is never lost.
    const QString restorePath = path + QStringLiteral(".rename");
    if (!writeFileAtomically(restorePath, {restore}))
        return false;
    if (!mFilesToCleanup)
        mFilesToCleanup.emplace();
    mFilesToCleanup->append(restorePath);
    if (writeFileAtomically(path, {restore, realmLine(mRealm)}))
        return true;
    mFilesToCleanup->removeLast();
    if (!QFile::remove(restorePath))
        qCWarning(lcUpload).noquote() << "Unable to remove" << restorePath;
    return false;
}
