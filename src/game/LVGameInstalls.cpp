#include "game/LVGameInstalls.h"

#include "game/InstallChoices.h"
#include "game/LVGameInstall.h"
#include "platform/GameInstallations.h"
#include "settings/LVSettings.h"

#include <QDir>

LVGameInstalls::LVGameInstalls(LVSettings &settings, LVWorkspace &workspace, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mWorkspace(workspace) {}

LVGameInstalls::~LVGameInstalls() = default;

LVGameInstall &LVGameInstalls::installAt(const QString &executable) {
    // A stored empty path is a game path of its own, unlike none at all.
    const QString key = executable.isNull() ? QString() : QLatin1Char('=') + QDir::cleanPath(executable);
    std::unique_ptr<LVGameInstall> &install = mInstalls[key];
    if (!install)
        install = std::make_unique<LVGameInstall>(mSettings, mWorkspace, executable);
    return *install;
}

LVGameInstall &LVGameInstalls::primary() {
    return installAt(mSettings.stringForKey(kWowApplicationPathKey));
}

// Unchecked means left alone, even when every install is: only with no install listed at all does the
// game path (or the workspace's guess) stand in.
QList<LVGameInstall *> LVGameInstalls::checked() {
    const QList<LVInstallChoice> choices = lv::installChoices(mSettings);
    if (choices.isEmpty())
        return {&primary()};
    QList<LVGameInstall *> installs;
    for (const LVInstallChoice &choice : choices)
        if (choice.checked)
            installs << &installAt(choice.executable);
    return installs;
}

QStringList LVGameInstalls::watchedApplicationNames() const {
    const QString gameName = mSettings.stringForKey(kWowApplicationNameKey);
    if (mSettings.hasUserValueForKey(kWowApplicationNameKey))
        return gameName.isEmpty() ? QStringList() : QStringList{gameName};
    QStringList names;
    for (const LVInstallChoice &choice : lv::installChoices(mSettings))
        if (choice.checked)
            names << lv::identifyExecutable(choice.executable).applicationName;
    if (names.isEmpty() && !gameName.isEmpty())
        names << gameName;
    names.removeDuplicates();
    return names;
}

bool LVGameInstalls::gatherNewInstalls() {
    bool gathered = false;
    for (LVGameInstall *install : checked()) {
        if (mGathered.contains(install))
            continue;
        install->gatherAccounts();
        install->gatherLocales();
        mGathered.insert(install);
        gathered = true;
    }
    return gathered;
}
