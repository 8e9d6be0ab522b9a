#pragma once

class LVSettings;
class QAbstractButton;
class QLineEdit;
class QString;

namespace lv {

// Bound controls show a key's value and edit the settings' buffer, which reaches the store when
// a sheet confirms with save().
void bindLineEdit(QLineEdit *field, LVSettings &settings, const QString &key);
void bindCheckBox(QAbstractButton *box, LVSettings &settings, const QString &key);

} // namespace lv
