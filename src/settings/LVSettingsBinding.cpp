#include "settings/LVSettingsBinding.h"

#include "settings/LVSettings.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace lv {

void bindLineEdit(QLineEdit *field, LVSettings &settings, const QString &key) {
    field->setText(settings.editedValue(key).toString());
    QObject::connect(field, &QLineEdit::textEdited, &settings,
                     [&settings, key](const QString &text) { settings.setEditedValue(key, text); });
}

void bindCheckBox(QAbstractButton *box, LVSettings &settings, const QString &key) {
    box->setChecked(settings.editedValue(key).toBool());
    QObject::connect(box, &QAbstractButton::toggled, &settings,
                     [&settings, key](bool checked) { settings.setEditedValue(key, checked); });
}

} // namespace lv
