#include "app/LVResources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString lv::defaultResourceFolder() {
    const QString installed =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/lorvane-client"));
    if (QFileInfo::exists(installed + QStringLiteral("/Defaults.plist")))
        return QDir::cleanPath(installed);
    return QStringLiteral(LV_SOURCE_RESOURCES_DIR);
}

QString lv::defaultRunLockPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
        .filePath(QStringLiteral("lorvane-client-upload.lock"));
}
