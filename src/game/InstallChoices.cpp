#include "game/InstallChoices.h"

#include "common/PathComponents.h"
#include "platform/GameInstallations.h"
#include "settings/LVSettings.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QStringList pathList(const QVariant &value) {
    return lv::stringListOf(value).value_or(QStringList());
}

bool containsPath(const QStringList &paths, const QString &path) {
    const QString cleaned = QDir::cleanPath(path);
    return std::any_of(paths.cbegin(), paths.cend(),
                       [&cleaned](const QString &listed) { return QDir::cleanPath(listed) == cleaned; });
}

void addChoice(QList<LVInstallChoice> &choices, QStringList &listed, const QString &executable, bool checked) {
    if (executable.isEmpty() || containsPath(listed, executable))
        return;
    listed << executable;
    choices.append({executable, checked});
}

} // namespace

namespace lv {

QList<LVInstallChoice> installChoices(const LVSettings &settings) {
    const bool stored = settings.hasUserValueForKey(kWowInstallsKey);
    const bool singlePath = !stored && settings.hasUserValueForKey(kWowApplicationPathKey);
    const QStringList unchecked = stored ? pathList(settings.valueForKey(kWowInstallsUncheckedKey)) : QStringList();
    QList<LVInstallChoice> choices;
    QStringList listed;
    for (const QString &path : pathList(settings.valueForKey(stored ? kWowInstallsKey : kWowApplicationPathKey)))
        addChoice(choices, listed, path, !containsPath(unchecked, path));
    // Once the user's choices are stored, an install found later waits for the user to check it.
    for (const QString &path : pathList(settings.registeredDefaults().value(kWowInstallsKey)))
        addChoice(choices, listed, path, !stored && !singlePath);
    return choices;
}

bool storeInstallChoices(LVSettings &settings, const QList<LVInstallChoice> &choices, QString *error) {
    QStringList all;
    QStringList unchecked;
    QString first;
    for (const LVInstallChoice &choice : choices) {
        all << choice.executable;
        if (!choice.checked)
            unchecked << choice.executable;
        else if (first.isNull())
            first = choice.executable;
    }
    settings.setEditedValue(kWowInstallsKey, all);
    // None unchecked: no key at all, rather than an empty list's odd spelling in the file.
    settings.setEditedValue(kWowInstallsUncheckedKey, unchecked.isEmpty() ? QVariant() : QVariant(unchecked));
    if (!first.isNull())
        settings.setEditedValue(kWowApplicationPathKey, first);
    return settings.save(error);
}

QStringList storeFoundInstalls(LVSettings &settings) {
    const bool stored = settings.hasUserValueForKey(kWowInstallsKey);
    if (!stored && settings.hasUserValueForKey(kWowApplicationPathKey) &&
        settings.stringForKey(kWowApplicationPathKey).isEmpty())
        return {};
    const QStringList storedPaths = pathList(settings.valueForKey(kWowInstallsKey));
    QStringList added;
    const QList<LVInstallChoice> choices = installChoices(settings);
    for (const LVInstallChoice &choice : choices)
        if (stored && !containsPath(storedPaths, choice.executable))
            added << choice.executable;
    if (choices.isEmpty() || (stored && added.isEmpty()) || !storeInstallChoices(settings, choices))
        return {};
    return added;
}

QString foundInstallText(const QString &executable) {
    const LVExecutableIdentity identity = identifyExecutable(executable);
    return QCoreApplication::translate("InstallChoices",
                                       "Found another copy of the game: %1 (%2) in %3. Check it in Options to upload "
                                       "its data.")
        .arg(flavorName(identity.flavor), identity.applicationName, deletingLastPathComponent(executable));
}

} // namespace lv
