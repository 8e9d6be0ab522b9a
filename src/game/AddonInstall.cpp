#include "app/LVApplicationDelegate.h"
#include "app/LVLogging.h"
#include "game/PathTemplates.h"
#include "settings/LVSettings.h"

#include <QDir>
#include <QFile>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr char kAddonName[] = "+Lorvane_Harvex";

fs::path fileSystemPath(const QString &path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

// A dangling symbolic link counts: something of that name is there.
bool somethingExistsAt(const QString &path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(fileSystemPath(path), error));
}

} // namespace

void LVApplicationDelegate::installAddon() {
    const QString destination = addonFolderPath();
    if (destination.isNull() || somethingExistsAt(destination))
        return;
    const QString source = QDir(mResourceFolder).filePath(QLatin1String(kAddonName));
    if (!somethingExistsAt(source))
        return;
    std::error_code error;
    fs::copy(fileSystemPath(source), fileSystemPath(destination), fs::copy_options::recursive, error);
    if (!error)
        return;
    qCWarning(lcGame).noquote() << "Unable to copy" << source << "to" << destination << "-"
                                << QString::fromStdString(error.message());
    sendErrorMessage(QStringLiteral("Unable to install addon to WOW directory"));
}

QString LVApplicationDelegate::addonFolderPath() const {
    if (mSettings->stringForKey(kWowApplicationPathKey).isNull())
        return {};
    const QString folder = gameFolder();
    if (folder.isEmpty())
        return {};
    return appendingPathComponent(folder, QStringLiteral("Interface/AddOns/") + QLatin1String(kAddonName));
}
