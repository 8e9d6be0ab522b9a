// Prefixes Wine makes by itself: the one $WINEPREFIX names, and ~/.wine. Their games, and those of
// any prefix whose launcher cannot start them, are started with wine inside the prefix.

#include "platform/launchers/Launchers.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

class LVPlainWine : public LVLauncher {
public:
    LVPrefixKind kind() const override { return LVPrefixKind::Wine; }

    QList<LVLauncherPrefix> prefixes(const LVLauncherFolders &folders) const override {
        QList<LVLauncherPrefix> found;
        if (!folders.winePrefix.isEmpty())
            found.append({folders.winePrefix, LVPrefixKind::Custom, LVLauncherCopy::Native, {}});
        found.append({folders.home + QStringLiteral("/.wine"), LVPrefixKind::Wine, LVLauncherCopy::Native, {}});
        return found;
    }

    std::optional<LVLaunchCommand> command(const LVGameInstallation &, const LVFindExecutable &) const override {
        return std::nullopt;
    }
};

} // namespace

std::unique_ptr<LVLauncher> lv::makePlainWine() {
    return std::make_unique<LVPlainWine>();
}

std::optional<LVLaunchCommand> lv::wineCommand(const LVGameInstallation &install,
                                               const LVFindExecutable &findExecutable, QString *error) {
    const QString wine = findExecutable(QStringLiteral("wine"));
    if (wine.isEmpty()) {
        if (error)
            *error = QCoreApplication::translate("Launchers",
                                                 "No Wine found to start the game: start it from your launcher");
        return std::nullopt;
    }
    LVLaunchCommand command{wine, {install.executable}, {}, QFileInfo(install.executable).absolutePath()};
    if (!install.prefix.isEmpty())
        command.environment.insert(QStringLiteral("WINEPREFIX"), install.prefix);
    return command;
}
