#include "app/LVResources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString defaultResourceFolder() {
    const QString installed =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/lorvane-client"));
    if (QFileInfo::exists(installed + QStringLiteral("/Defaults.plist")))
        return QDir::cleanPath(installed);
    return QStringLiteral(LV_SOURCE_RESOURCES_DIR);
}
