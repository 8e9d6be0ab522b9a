#pragma once

#include <QDir>
#include <QJsonDocument>
#include <QString>
#include <QStringList>

#include <yaml-cpp/yaml.h>

#include <initializer_list>
#include <optional>

// Reading what launchers leave in the user's folders, through the libraries made for each format.
namespace lv {

// A path with a leading "~" standing for the home folder spelled out; other paths as they are.
QString expandHome(const QString &path, const QString &home);

// The path with its links resolved when it exists, else cleaned.
QString canonicalOrClean(const QString &path);

// The entries of a folder, sorted by name, hidden ones too, so that a search always meets them in
// the same order; full paths.
QStringList sortedEntries(const QString &folder, QDir::Filters filters, const QStringList &nameFilters = {});
QStringList sortedSubfolders(const QString &folder);

// The folder holding drive_c at that path: the path itself, or its "pfx" folder as Proton makes
// it; empty when neither holds one.
QString prefixFolderAt(const QString &path);

// The contents of a launcher's file; absent when it is missing, is no regular file, or is larger than
// any such file is (16 MiB): nothing a stray or hostile file holds is read whole.
std::optional<QByteArray> launcherFileContents(const QString &path);

// The document of a YAML file; absent when it is missing or is not YAML.
std::optional<YAML::Node> readYamlFile(const QString &path);
// The text at that path of keys, each in a mapping; null when a key is missing, a step is no mapping
// or the last is not a scalar.
QString yamlText(const YAML::Node &node, std::initializer_list<const char *> keys);

// The document of a JSON file; a null document when it is missing or is not JSON.
QJsonDocument readJsonFile(const QString &path);

} // namespace lv
