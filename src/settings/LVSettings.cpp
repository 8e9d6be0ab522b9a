#include "settings/LVSettings.h"

#include "platform/LVWorkspace.h"
#include "settings/PropertyList.h"

#include "common/LVLogging.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

Q_LOGGING_CATEGORY(lcSettings, "lorvane.settings")

LVSettings::LVSettings(QObject *parent)
    : QObject(parent)
    , mStore(std::make_unique<QSettings>(QStringLiteral("Lorvane"), QStringLiteral("Lorvane Client"))) {}

LVSettings::LVSettings(const QString &iniFilePath, QObject *parent)
    : QObject(parent)
    , mStore(std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat)) {}

LVSettings::~LVSettings() = default;

void LVSettings::registerDefaults(const QVariantMap &defaults) {
    mDefaults = defaults;
}

QVariant LVSettings::valueForKey(const QString &key) const {
    if (mStore->contains(key))
        return mStore->value(key);
    return mDefaults.value(key);
}

QString LVSettings::stringForKey(const QString &key) const {
    const QVariant value = valueForKey(key);
    if (!value.isValid() || value.typeId() == QMetaType::QStringList || value.typeId() == QMetaType::QVariantList)
        return {};
    const QString text = value.toString();
    // A stored empty text is present, and must not read as absent.
    return text.isNull() ? QStringLiteral("") : text;
}

bool LVSettings::boolForKey(const QString &key) const {
    return valueForKey(key).toBool();
}

std::optional<QStringList> LVSettings::arrayForKey(const QString &key) const {
    return lv::stringListOf(valueForKey(key));
}

bool LVSettings::hasUserValueForKey(const QString &key) const {
    return mStore->contains(key);
}

void LVSettings::setValue(const QString &key, const QVariant &value) {
    mStore->setValue(key, value);
}

void LVSettings::removeValueForKey(const QString &key) {
    mStore->remove(key);
}

bool LVSettings::synchronize(QString *error) {
    // A store keeps the first error it met for good: only a fresh one tells whether this write worked.
    if (mStore->status() != QSettings::NoError)
        reopenStore();
    mStore->sync();
    if (mStore->status() == QSettings::NoError)
        return true;
    const QString failure = lv::writeFailure(mStore->fileName());
    qCWarning(lcSettings).noquote() << "Unable to write the settings:" << failure;
    if (error)
        *error = failure;
    return false;
}

// The new store reads what is on disk; every value this one holds goes over it.
void LVSettings::reopenStore() {
    auto fresh = std::make_unique<QSettings>(mStore->fileName(), mStore->format());
    for (const QString &key : mStore->allKeys())
        fresh->setValue(key, mStore->value(key));
    mStore = std::move(fresh);
}

QVariant LVSettings::editedValue(const QString &key) const {
    if (mPendingEdits.contains(key))
        return mPendingEdits.value(key);
    return valueForKey(key);
}

void LVSettings::setEditedValue(const QString &key, const QVariant &value) {
    if (mPendingEdits.contains(key) && mPendingEdits.value(key) == value)
        return;
    mPendingEdits.insert(key, value);
    emit editedValueChanged(key);
}

bool LVSettings::save(QString *error) {
    QVariantMap previous; // invalid: the key had no user value
    for (auto it = mPendingEdits.cbegin(); it != mPendingEdits.cend(); ++it) {
        previous.insert(it.key(), mStore->contains(it.key()) ? mStore->value(it.key()) : QVariant());
        if (it.value().isValid())
            mStore->setValue(it.key(), it.value());
        else
            mStore->remove(it.key());
    }
    if (!synchronize(error)) {
        for (auto it = previous.cbegin(); it != previous.cend(); ++it) {
            if (it.value().isValid())
                mStore->setValue(it.key(), it.value());
            else
                mStore->remove(it.key());
        }
        return false;
    }
    mPendingEdits.clear();
    return true;
}

namespace lv {

std::optional<QStringList> stringListOf(const QVariant &value) {
    if (value.typeId() == QMetaType::QString)
        return value.toString().isEmpty() ? QStringList() : QStringList{value.toString()};
    if (value.typeId() != QMetaType::QStringList && value.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    return value.toStringList();
}

QString writeFailure(const QString &path) {
    if (QFileInfo(path).isDir())
        return LVSettings::tr("%1: this is a folder").arg(path);
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
        return QStringLiteral("%1: %2").arg(path, probe.errorString());
    probe.cancelWriting();
    return LVSettings::tr("%1: the file could not be written").arg(path);
}

QVariantMap defaultsForRegistration(QVariantMap fileDefaults, const LVSettings &settings,
                                    const LVWorkspace &workspace) {
    QStringList found;
    for (const LVGameInstallation &installation : workspace.findInstallations())
        found << installation.executable;
    if (!found.isEmpty())
        fileDefaults.insert(kWowInstallsKey, found);
    if (settings.hasUserValueForKey(kWowApplicationPathKey)) {
        fileDefaults.remove(kWowApplicationPathKey);
        return fileDefaults;
    }
    const QString defaultPath = fileDefaults.value(kWowApplicationPathKey).toString();
    if (defaultPath.isEmpty() || !QFileInfo::exists(defaultPath)) {
        const QString detected =
            !found.isEmpty() ? found.first()
                             : workspace.fullPathForApplication(fileDefaults.value(kWowApplicationNameKey).toString());
        if (!detected.isEmpty())
            fileDefaults.insert(kWowApplicationPathKey, detected);
    }
    return fileDefaults;
}

void registerDefaultsFromFile(LVSettings &settings, const QString &plistPath, const LVWorkspace &workspace) {
    QString error;
    const std::optional<QVariantMap> fileDefaults = readPropertyList(plistPath, &error);
    if (!fileDefaults) {
        qCWarning(lcSettings).noquote() << "No defaults registered:" << error;
        settings.registerDefaults({});
        return;
    }
    settings.registerDefaults(defaultsForRegistration(*fileDefaults, settings, workspace));
}

} // namespace lv
