#pragma once

#include "game/AddonUpdate.h"
#include "net/LVSyncGet.h"

#include <QHash>
#include <QObject>

class QNetworkAccessManager;
class LVBusyGuard;
class LVIncomingFile;
class LVGameInstall;
class LVGameInstalls;
class LVSettings;

// What one addon check may download at most, whatever the manifest says.
struct LVDownloadLimits {
    qint64 bytes = 256 * 1024 * 1024;
    int entries = 1000; // of the manifest; those after are not looked at
};

// Keeps the site's addon in every checked install of the game: installs the shipped copy when nothing
// of its name is there, and replaces the files that differ from the site's update manifest by
// verified downloads, each file downloaded once however many installs need it. Downloads come only
// over http and https and go straight to a new file beside the one they replace, never whole into
// memory, within the check's limits.
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
    void setDownloadLimits(const LVDownloadLimits &limits) { mLimits = limits; }

private:
    // What is left of one check's limits, and the files it has put in place so far by name.
    struct Check {
        qint64 bytesLeft = 0;
        bool tooManyEntries = false;
        bool stopped = false;
        QHash<QString, QString> placed;
    };

    void installAddonInto(const LVGameInstall &install);
    QString addonFolderPath(const LVGameInstall &install) const;
    // The install's Interface/AddOns folder; null when no game is known.
    QString addonsFolderPath(const LVGameInstall &install) const;
    void updateEveryInstall();
    int updateAddonFiles(const LVGameInstall &install);
    bool updateAddonFile(const LVGameInstall &install, const QXmlStreamAttributes &entry, const QString &source);
    QString addonFilePath(const LVGameInstall &install, const QString &name, const QString &localTemplate) const;
    bool fetchAddonFile(const QString &path, const QString &source, const QString &name,
                        const QXmlStreamAttributes &entry);
    bool downloadAddonFile(LVIncomingFile &incoming, const QString &source, const QString &name, qint64 size);
    bool takeFromBudget(qint64 size);
    bool putInPlace(LVIncomingFile &incoming, const QString &path, const QXmlStreamAttributes &entry) const;

    LVSettings &mSettings;
    LVGameInstalls &mInstalls;
    QNetworkAccessManager &mNetwork;
    LVBusyGuard &mBusy;
    QString mResourceFolder;
    LVNetworkTimeouts mTimeouts;
    LVDownloadLimits mLimits;
    std::optional<LVUpdateManifest> mUpdatesList;
    Check mCheck;
};
