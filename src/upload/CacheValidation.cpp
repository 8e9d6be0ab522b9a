#include "app/LVApplicationDelegate.h"
#include "game/PathTemplates.h"
#include "platform/FileContents.h"
#include "settings/LVSettings.h"
#include "upload/WdbWalk.h"

bool LVApplicationDelegate::validateCacheFilesForAccount(const QString &account) {
    const QStringList files = mSettings->arrayForKey(kFilesToUploadKey).value_or(QStringList());
    for (const QString &entry : files) {
        // Judged by the template as stored, before any placeholder is expanded.
        if (pathExtension(entry) != QLatin1String("wdb"))
            continue;
        const QString path = expandPath(entry, account);
        if (!validateWDBFile(path)) {
            sendErrorMessage(
                QStringLiteral("%1 %2").arg(QStringLiteral("Invalid cache file:"), lastPathComponent(path)));
            return false;
        }
        if (mVerboseLogging)
            sendStatusMessage(
                QStringLiteral("%1 %2").arg(QStringLiteral("Validating cache file:"), lastPathComponent(path)));
    }
    return true;
}

bool LVApplicationDelegate::validateWDBFile(const QString &path) {
    // A cache file that is missing, unreadable or empty does not hold the upload back.
    const std::optional<QByteArray> data = contentsOfFile(path);
    return !data || data->isEmpty() || isSoundWdb(*data);
}
