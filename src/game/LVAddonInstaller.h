#pragma once

#include "game/AddonUpdate.h"
#include "net/LVSyncGet.h"

#include <QHash>
#include <QObject>

class QNetworkAccessManager;
class LVBusyGuard;
class LVGameInstall;
class LVGameInstalls;
class LVSettings;

// Keeps the site's addon in every checked install of the game: installs the shipped copy when nothing
// of its name is there, and replaces the files that differ from the site's update manifest by
// verified downloads, each file downloaded once however many installs need it.
class LVAddonInstaller : public QObject {
    Q_OBJECT
public:
    LVAddonInstaller(LVSettings &settings, LVGameInstalls &installs, QNetworkAccessManager &network, LVBusyGuard &busy,
                     const QString &resourceFolder, QObject *parent = nullptr);

    void installAddon();
    void checkForUpdates();
    // Takes one start tag of the manifest into the manifest read so far.
    void parserDidStartElement(const QString &name, const QXmlStreamAttributes &attributes);
    void setNetworkTimeouts(const LVNetworkTimeouts &timeouts) { mTimeouts = timeouts; }

private:
    void installAddonInto(const LVGameInstall &install);
    QString addonFolderPath(const LVGameInstall &install) const;
    // The install's Interface/AddOns folder; null when no game is known.
    QString addonsFolderPath(const LVGameInstall &install) const;
    int updateAddonFiles(const LVGameInstall &install);
    bool updateAddonFile(const LVGameInstall &install, const QXmlStreamAttributes &entry, const QString &source);
    QString addonFilePath(const LVGameInstall &install, const QString &name, const QString &localTemplate) const;
    std::optional<QByteArray> downloadAddonFile(const QString &source, const QString &name, qint64 size);
    bool replaceAddonFile(const QString &path, const QByteArray &bytes) const;

    LVSettings &mSettings;
    LVGameInstalls &mInstalls;
    QNetworkAccessManager &mNetwork;
    LVBusyGuard &mBusy;
    QString mResourceFolder;
    LVNetworkTimeouts mTimeouts;
    std::optional<LVUpdateManifest> mUpdatesList;
    QHash<QString, QByteArray> mDownloads; // by file name, for one check
};
