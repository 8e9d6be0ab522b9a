#include "upload/UploadedFlag.h"
#include "app/LVApplicationDelegate.h"
#include "app/LVLogging.h"
#include "game/PathTemplates.h"
#include "platform/FileContents.h"
#include "settings/LVSettings.h"

#include <QFile>

qsizetype setUploadedFlag(QByteArray &savedVariables) {
    const QByteArrayView newData(kNewDataFlag);
    const qsizetype at = savedVariables.indexOf(newData);
    if (at >= 0)
        savedVariables.replace(at, newData.size(), kUploadedFlag);
    return at;
}

bool resetUploadedFlag(QByteArray &savedVariables, qsizetype offset) {
    const QByteArrayView uploaded(kUploadedFlag);
    if (offset < 0 || offset + uploaded.size() > savedVariables.size() ||
        QByteArrayView(savedVariables).sliced(offset, uploaded.size()) != uploaded)
        return false;
    savedVariables.replace(offset, uploaded.size(), kNewDataFlag);
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
    const qsizetype flag = setUploadedFlag(*savedVariables);
    if (flag < 0) {
        if (!savedVariables->contains(kUploadedFlag))
            sendErrorMessage(QStringLiteral("rvUploaded variable seems to be malformed."));
        return true;
    }
    if (!prepareSavedVariables(path, *savedVariables)) {
        sendErrorMessage(QStringLiteral("Unable to prepare %1 for upload").arg(lastPathComponent(path)));
        return true;
    }
    mPreparedFlags.insert(account, {path, flag, savedVariables->size()});
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

// The addon drops its recorded data once it reads "rvUploaded = 1": an account whose data did not
// reach the site gets "rvUploaded = 0" back, so that the next upload sends it again.
void LVApplicationDelegate::restoreNewDataFlag(const QString &account) {
    const PreparedFlag prepared = mPreparedFlags.take(account);
    if (prepared.path.isNull())
        return;
    std::optional<QByteArray> savedVariables = contentsOfFile(prepared.path);
    const bool unchanged = savedVariables && savedVariables->size() == prepared.size &&
                           resetUploadedFlag(*savedVariables, prepared.offset);
    if (!unchanged || !writeFileAtomically(prepared.path, {*savedVariables}))
        sendErrorMessage(QStringLiteral("Unable to keep the data of account %1 for the next upload: %2 has changed "
                                        "or cannot be written")
                             .arg(account, lastPathComponent(prepared.path)));
}
