#include "platform/LVLinuxWorkspace.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

// Subfolders of a folder, sorted by name, so that a search always meets them in the same order.
QStringList sortedSubfolders(const QString &folder) {
    QStringList paths;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

QStringList steamLibraries(const QString &home) {
    return {home + QStringLiteral("/.steam/steam/steamapps"), home + QStringLiteral("/.local/share/Steam/steamapps"),
            home + QStringLiteral("/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps")};
}

QStringList bottlesFolders(const QString &home) {
    return {home + QStringLiteral("/.local/share/bottles/bottles"),
            home + QStringLiteral("/.var/app/com.usebottles.bottles/data/bottles/bottles")};
}

bool isPrefix(const QString &folder) {
    return QFileInfo(folder + QStringLiteral("/drive_c")).isDir();
}

} // namespace

QStringList gameFoldersInPrefix(const QString &prefix) {
    static const QStringList programFolders{QStringLiteral("drive_c/Program Files (x86)/World of Warcraft"),
                                            QStringLiteral("drive_c/Program Files/World of Warcraft")};
    static const QStringList flavours{QStringLiteral("/_retail_"), QStringLiteral("/_classic_"),
                                      QStringLiteral("/_classic_era_"), QString()};
    QStringList folders;
    for (const QString &programFolder : programFolders)
        for (const QString &flavour : flavours)
            folders << prefix + QLatin1Char('/') + programFolder + flavour;
    return folders;
}

LVLinuxWorkspace::LVLinuxWorkspace(const QString &homeFolder)
    : mHome(homeFolder) {}

QStringList LVLinuxWorkspace::winePrefixes() const {
    QStringList candidates{mHome + QStringLiteral("/.wine")};
    candidates << sortedSubfolders(mHome + QStringLiteral("/Games"));
    for (const QString &library : steamLibraries(mHome))
        for (const QString &appFolder : sortedSubfolders(library + QStringLiteral("/compatdata")))
            candidates << appFolder + QStringLiteral("/pfx");
    for (const QString &bottles : bottlesFolders(mHome))
        candidates << sortedSubfolders(bottles);

    // ~/.steam/steam usually links to ~/.local/share/Steam: each prefix is searched once.
    QStringList prefixes;
    QSet<QString> seen;
    for (const QString &candidate : candidates) {
        if (!isPrefix(candidate))
            continue;
        const QString canonical = QFileInfo(candidate).canonicalFilePath();
        if (seen.contains(canonical))
            continue;
        seen.insert(canonical);
        prefixes << candidate;
    }
    return prefixes;
}

QString LVLinuxWorkspace::fullPathForApplication(const QString &name) const {
    if (name.isEmpty())
        return {};
    const QString fileName = name + QStringLiteral(".exe");
    for (const QString &prefix : winePrefixes()) {
        for (const QString &folder : gameFoldersInPrefix(prefix)) {
            const QFileInfo candidate(folder + QLatin1Char('/') + fileName);
            if (candidate.isFile())
                return candidate.filePath();
        }
    }
    return {};
}
