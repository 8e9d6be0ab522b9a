#include "game/InstallChoices.h"

#include "settings/LVSettings.h"

#include <QDir>

namespace {

// A list of paths as the settings hold it; an INI file gives a list of one back as plain text.
QStringList pathList(const QVariant &value) {
    if (value.typeId() == QMetaType::QString)
        return value.toString().isEmpty() ? QStringList() : QStringList{value.toString()};
    return value.toStringList();
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
    for (const QString &path : pathList(settings.registeredDefaults().value(kWowInstallsKey)))
        addChoice(choices, listed, path, !singlePath && !containsPath(unchecked, path));
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

bool adoptSingleGamePath(LVSettings &settings) {
    const bool singlePath =
        !settings.hasUserValueForKey(kWowInstallsKey) && settings.hasUserValueForKey(kWowApplicationPathKey);
    if (!singlePath || settings.stringForKey(kWowApplicationPathKey).isEmpty())
        return false;
    return storeInstallChoices(settings, installChoices(settings));
}

} // namespace lv
