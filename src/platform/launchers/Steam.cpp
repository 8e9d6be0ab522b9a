// Steam keeps a Proton prefix for each game at steamapps/compatdata/<app id>/pfx of each library,
// the first being Steam's own folder and the others listed in its steamapps/libraryfolders.vdf;
// "steamapps" may be spelled in any case (Matoking/protontricks, src/protontricks/steam.py). Steam
// comes natively, as a Snap and as a Flatpak, each with its own folder; steam://rungameid/ID starts
// a game.

#include "platform/launchers/LauncherFiles.h"
#include "platform/launchers/Launchers.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

struct LVSteamCopy {
    LVLauncherCopy copy;
    QStringList folders; // where that copy may keep its own folder
};

QList<LVSteamCopy> steamCopies(const LVLauncherFolders &folders) {
    const QString &home = folders.home;
    // ~/.local/share/Steam comes first: it is the folder ~/.steam/steam usually links to.
    return {{LVLauncherCopy::Native,
             {home + QStringLiteral("/.local/share/Steam"), home + QStringLiteral("/.steam/steam"),
              folders.dataHome + QStringLiteral("/Steam")}},
            {LVLauncherCopy::Snap,
             {home + QStringLiteral("/snap/steam/common/.local/share/Steam"),
              home + QStringLiteral("/.snap/data/steam/common/.local/share/Steam")}},
            {LVLauncherCopy::Flatpak, {home + QStringLiteral("/.var/app/com.valvesoftware.Steam/.local/share/Steam")}}};
}

// The quoted strings of one line of a Valve key-value file, backslash escapes undone.
QStringList vdfTokens(const QString &line) {
    QStringList tokens;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) != QLatin1Char('"'))
            continue;
        QString token;
        for (++i; i < line.size() && line.at(i) != QLatin1Char('"'); ++i) {
            if (line.at(i) == QLatin1Char('\\') && i + 1 < line.size())
                ++i;
            token += line.at(i);
        }
        tokens << token;
    }
    return tokens;
}

bool isNumber(const QString &text) {
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    return digits.match(text).hasMatch();
}

// A library's steamapps folders, whatever the case of their names, "steamapps" first.
QStringList steamAppsFolders(const QString &library) {
    QStringList found;
    for (const QString &folder : lv::sortedSubfolders(library)) {
        const QString name = QFileInfo(folder).fileName();
        if (name == QLatin1String("steamapps"))
            found.prepend(folder);
        else if (name.compare(QLatin1String("steamapps"), Qt::CaseInsensitive) == 0)
            found.append(folder);
    }
    return found;
}

// Steam's own folder and the libraries it lists. Inside the Flatpak, ~/.local/share/Steam is the
// Flatpak's own folder.
QStringList librariesOf(const QString &steam, const LVSteamCopy &copy, const QString &home) {
    QStringList libraries{steam};
    for (const QString &steamApps : steamAppsFolders(steam)) {
        const std::optional<QByteArray> vdf =
            lv::launcherFileContents(steamApps + QStringLiteral("/libraryfolders.vdf"));
        for (const QString &listed : lv::steamLibraryFolders(QString::fromUtf8(vdf.value_or(QByteArray())))) {
            const QString library = lv::expandHome(listed, home);
            const bool sandboxed = copy.copy == LVLauncherCopy::Flatpak &&
                                   QDir::cleanPath(library) == home + QStringLiteral("/.local/share/Steam");
            libraries << (sandboxed ? steam : library);
        }
    }
    return libraries;
}

class LVSteam : public LVLauncher {
public:
    LVPrefixKind kind() const override { return LVPrefixKind::Steam; }

    QList<LVLauncherPrefix> prefixes(const LVLauncherFolders &folders) const override {
        QList<LVLauncherPrefix> found;
        for (const LVSteamCopy &copy : steamCopies(folders))
            for (const QString &steam : copy.folders)
                for (const QString &library : librariesOf(steam, copy, folders.home))
                    for (const QString &steamApps : steamAppsFolders(library))
                        for (const QString &app : lv::sortedSubfolders(steamApps + QStringLiteral("/compatdata")))
                            found.append({app + QStringLiteral("/pfx"),
                                          LVPrefixKind::Steam,
                                          copy.copy,
                                          {{QFileInfo(app).fileName(), QString()}}});
        return found;
    }

    std::optional<LVLaunchCommand> command(const LVGameInstallation &install,
                                           const LVFindExecutable &findExecutable) const override {
        if (install.launcherId.isEmpty())
            return std::nullopt;
        return lv::copyCommand(install.copy, findExecutable, QStringLiteral("steam"),
                               {QStringLiteral("com.valvesoftware.Steam")},
                               {QStringLiteral("steam://rungameid/") + lv::steamGameId(install.launcherId)});
    }
};

} // namespace

std::unique_ptr<LVLauncher> lv::makeSteam() {
    return std::make_unique<LVSteam>();
}

QStringList lv::steamLibraryFolders(const QString &vdf) {
    QStringList folders;
    for (const QString &line : vdf.split(QLatin1Char('\n'))) {
        const QStringList tokens = vdfTokens(line);
        if (tokens.size() != 2 || tokens.at(1).isEmpty())
            continue;
        // Older files list each library as a number and its path.
        const bool olderForm = isNumber(tokens.at(0)) && tokens.at(1).startsWith(QLatin1Char('/'));
        if (tokens.at(0).compare(QLatin1String("path"), Qt::CaseInsensitive) == 0 || olderForm)
            folders << tokens.at(1);
    }
    return folders;
}

QString lv::steamGameId(const QString &appId) {
    bool isNumber = false;
    const quint64 id = appId.toULongLong(&isNumber);
    if (!isNumber || id < 0x80000000ULL || id > 0xFFFFFFFFULL)
        return appId;
    return QString::number((id << 32) | 0x02000000ULL);
}
