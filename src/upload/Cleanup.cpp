#include "upload/Cleanup.h"

#include "common/LVLogging.h"
#include "common/PathComponents.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>

namespace {

// One rename that replaces the target: there is never a moment without the file.
bool replaceWith(const QString &source, const QString &target) {
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(source).toStdString(), QFile::encodeName(target).toStdString(), error);
    return !error;
}

void restore(const QString &restoreCopy) {
    const QString target = lv::deletingPathExtension(restoreCopy);
    if (!QFileInfo(restoreCopy).isFile()) {
        qCWarning(lcUpload).noquote()
            << QStringLiteral("Restore copy %1 is missing; %2 is left as it is.").arg(restoreCopy, target);
        return;
    }
    if (!replaceWith(restoreCopy, target))
        qCWarning(lcUpload).noquote() << QStringLiteral("Unable to rename file: %1 to %2.").arg(restoreCopy, target);
}

} // namespace

namespace lv {

void cleanupFiles(QStringList &files) {
    for (const QString &path : std::as_const(files)) {
        if (pathExtension(path) == QLatin1String("rename"))
            restore(path);
        else if (!QFile::remove(path))
            qCWarning(lcUpload).noquote() << QStringLiteral("Unable to cleanup file: %1.").arg(path);
    }
    files.clear();
}

} // namespace lv
