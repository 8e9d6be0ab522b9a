#pragma once

#include <QObject>
#include <QStringList>

#include <optional>

class LVSettings;
class LVWorkspace;

// The game's installation as the settings describe it: where the game and its launcher are, its
// account and locale folders (gathered once), its realm list, and the path templates that name its
// files. The realm found by the last successful realm check is kept for the run of the program.
class LVGameInstall : public QObject {
    Q_OBJECT
public:
    LVGameInstall(LVSettings &settings, LVWorkspace &workspace, QObject *parent = nullptr);

    QString fullPathToWorldOfWarcraft(bool launcher) const;
    // The folder of the game application; null when no game is known.
    QString gameFolder() const;
    void gatherAccounts();
    void gatherLocales();
    QString realmlistPath() const;
    QString expandPath(const QString &path, const QString &account = QString()) const;
    // Posts its progress; true when the realm list names an accepted realm, which realm() then holds.
    bool checkSupportedRealms();

    const std::optional<QStringList> &accounts() const { return mAccounts; }
    const std::optional<QStringList> &locales() const { return mLocales; }
    const QString &realm() const { return mRealm; }

private:
    LVSettings &mSettings;
    LVWorkspace &mWorkspace;
    std::optional<QStringList> mAccounts;
    std::optional<QStringList> mLocales;
    QString mRealm;
};
