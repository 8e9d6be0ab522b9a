#pragma once

#include "game/AddonUpdate.h"
#include "net/LVSyncGet.h"

#include <QObject>

class QNetworkAccessManager;
class LVBusyGuard;
class LVGameInstall;
class LVSettings;

// Keeps the site's addon in the game: installs the shipped copy when nothing of its name is there,
// and replaces the files that differ from the site's update manifest by verified downloads.
class LVAddonInstaller : public QObject {
    Q_OBJECT
public:
    LVAddonInstaller(LVSettings &settings, LVGameInstall &install, QNetworkAccessManager &network, LVBusyGuard &busy,
                     const QString &resourceFolder, QObject *parent = nullptr);

    void installAddon();
    void checkForUpdates();
    // Takes one start tag of the manifest into the manifest read so far.
    void parserDidStartElement(const QString &name, const QXmlStreamAttributes &attributes);
    void setNetworkTimeouts(const LVNetworkTimeouts &timeouts) { mTimeouts = timeouts; }

private:
    QString addonFolderPath() const;
    // The game's Interface/AddOns folder; null when no game is known.
    QString addonsFolderPath() const;
    int updateAddonFiles();
    bool updateAddonFile(const QXmlStreamAttributes &entry, const QString &source);
    QString addonFilePath(const QString &name, const QString &localTemplate) const;
    std::optional<QByteArray> downloadAddonFile(const QString &source, const QString &name, qint64 size);
    bool replaceAddonFile(const QString &path, const QByteArray &bytes) const;

    LVSettings &mSettings;
    LVGameInstall &mInstall;
    QNetworkAccessManager &mNetwork;
    LVBusyGuard &mBusy;
    QString mResourceFolder;
    LVNetworkTimeouts mTimeouts;
    std::optional<LVUpdateManifest> mUpdatesList;
};
