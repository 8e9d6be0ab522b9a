#include "settings/LVSettings.h"

#include "platform/LVWorkspace.h"
#include "settings/PropertyList.h"

#include "common/LVLogging.h"

#include <QFileInfo>
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
    const QVariant value = valueForKey(key);
    if (value.typeId() != QMetaType::QStringList && value.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    return value.toStringList();
}

bool LVSettings::hasUserValueForKey(const QString &key) const {
    return mStore->contains(key);
}

void LVSettings::setValue(const QString &key, const QVariant &value) {
    mStore->setValue(key, value);
}

bool LVSettings::synchronize() {
    mStore->sync();
    if (mStore->status() == QSettings::NoError)
        return true;
    qCWarning(lcSettings) << "Unable to write the settings to" << mStore->fileName();
    return false;
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

void LVSettings::save() {
    for (auto it = mPendingEdits.cbegin(); it != mPendingEdits.cend(); ++it)
        mStore->setValue(it.key(), it.value());
    mPendingEdits.clear();
    synchronize();
}

namespace lv {

QVariantMap defaultsForRegistration(QVariantMap fileDefaults, const LVSettings &settings,
                                    const LVWorkspace &workspace) {
    if (settings.hasUserValueForKey(kWowApplicationPathKey)) {
        fileDefaults.remove(kWowApplicationPathKey);
        return fileDefaults;
    }
    const QString defaultPath = fileDefaults.value(kWowApplicationPathKey).toString();
    if (defaultPath.isEmpty() || !QFileInfo::exists(defaultPath)) {
        const QString detected =
            workspace.fullPathForApplication(fileDefaults.value(kWowApplicationNameKey).toString());
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
