#pragma once

#include <QVariantMap>

#include <optional>

namespace lv {

// Reads an XML or binary property list whose root is a dictionary. Strings, truth values, numbers
// and data become their QVariant kinds; arrays of strings become QStringList, other arrays
// QVariantList; nested dictionaries QVariantMap. Empty, with a reason, when the file cannot be
// read or does not hold a dictionary.
std::optional<QVariantMap> readPropertyList(const QString &path, QString *error = nullptr);

} // namespace lv
