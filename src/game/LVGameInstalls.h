#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>

#include <map>
#include <memory>

class LVGameInstall;
class LVSettings;
class LVWorkspace;

// Every install the program works with, as the settings choose them: one LVGameInstall per game
// program, made when first asked for and kept for the whole run of the program, with what it gathered
// and the realm it found, so that a run going through them may hold on to each.
class LVGameInstalls : public QObject {
    Q_OBJECT
public:
    LVGameInstalls(LVSettings &settings, LVWorkspace &workspace, QObject *parent = nullptr);
    ~LVGameInstalls() override;

    // The install of the game path, the first checked one: the one Launch starts. With no game path
    // yet, an install that asks the workspace where the game is.
    LVGameInstall &primary();
    // The checked installs, in the order of the settings, none when the user unchecked every one; the
    // primary one alone when no install is listed at all.
    QList<LVGameInstall *> checked();
    // What the game's processes are called: the game name the user set, else the name of each checked
    // install's program, each once ("WowClassic" for ".../_classic_/WowClassic.exe").
    QStringList watchedApplicationNames() const;
    // Gathers the accounts and locales of each checked install not gathered yet; true when there was one.
    bool gatherNewInstalls();
    // The install of that game program, listed or not.
    LVGameInstall &installAt(const QString &executable);

private:
    LVSettings &mSettings;
    LVWorkspace &mWorkspace;
    std::map<QString, std::unique_ptr<LVGameInstall>> mInstalls; // by "=" and the cleaned path; "" for no game path
    QSet<LVGameInstall *> mGathered;
};
