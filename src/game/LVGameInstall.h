#pragma once

#include <QObject>
#include <QStringList>

#include <optional>

class LVSettings;
class LVWorkspace;

// One installation of the game, named by its game program: where the game and its launcher are, its
// account and locale folders (gathered once), its realm list, and the path templates that name its
// files. The realm found by the last successful realm check is kept for the run of the program.
class LVGameInstall : public QObject {
    Q_OBJECT
public:
    // A null executable stands for a game not chosen yet: the workspace is asked where it is.
    LVGameInstall(LVSettings &settings, LVWorkspace &workspace, const QString &executable, QObject *parent = nullptr);

    const QString &executable() const { return mExecutable; }
    // The game program itself, or the sibling named by a game name the user set. The launcher is the
    // one beside the game program, else the one in the folder above (a game in a flavor folder such as
    // "_retail_"); null when there is none.
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
    // The account folders whose names cannot be told to the file system again (not valid in its
    // encoding), shown with their odd bytes as "\xNN"; none of them is in accounts().
    const QStringList &unreadableAccounts() const { return mUnreadableAccounts; }
    const std::optional<QStringList> &locales() const { return mLocales; }
    const QString &realm() const { return mRealm; }

private:
    QString siblingOfExecutable(const QString &folder, const QString &name) const;
    QString launcherPath() const;

    LVSettings &mSettings;
    LVWorkspace &mWorkspace;
    QString mExecutable;
    std::optional<QStringList> mAccounts;
    QStringList mUnreadableAccounts;
    std::optional<QStringList> mLocales;
    QString mRealm;
};
