#include "platform/launchers/LauncherFiles.h"

#include "common/FileContents.h"

#include <QFileInfo>

namespace {

// A missing key gives a node that is not even defined: asking its type, or moving a handle onto it,
// would throw. Each step is a new node, as assigning one would write into the document.
QString yamlTextAt(const YAML::Node &node, const char *const *key, const char *const *end) {
    if (!node.IsDefined())
        return {};
    if (key == end)
        return node.IsScalar() ? QString::fromStdString(node.Scalar()) : QString();
    return node.IsMap() ? yamlTextAt(node[*key], key + 1, end) : QString();
}

} // namespace

namespace lv {

QString expandHome(const QString &path, const QString &home) {
    if (path == QLatin1String("~"))
        return home;
    if (path.startsWith(QLatin1String("~/")))
        return home + path.mid(1);
    return path;
}

QString canonicalOrClean(const QString &path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

QStringList sortedEntries(const QString &folder, QDir::Filters filters, const QStringList &nameFilters) {
    QStringList paths;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(nameFilters, filters | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

QStringList sortedSubfolders(const QString &folder) {
    return sortedEntries(folder, QDir::Dirs);
}

QString prefixFolderAt(const QString &path) {
    if (path.isEmpty())
        return {};
    const QString cleaned = QDir::cleanPath(path);
    for (const QString &prefix : {cleaned, cleaned + QStringLiteral("/pfx")})
        if (QFileInfo(prefix + QStringLiteral("/drive_c")).isDir())
            return prefix;
    return {};
}

std::optional<QByteArray> launcherFileContents(const QString &path) {
    constexpr qint64 kLargest = 16 * 1024 * 1024;
    if (QFileInfo(path).size() > kLargest)
        return std::nullopt;
    return contentsOfFile(path);
}

std::optional<YAML::Node> readYamlFile(const QString &path) {
    const std::optional<QByteArray> bytes = launcherFileContents(path);
    if (!bytes)
        return std::nullopt;
    try {
        return YAML::Load(bytes->toStdString());
    } catch (const YAML::Exception &) {
        return std::nullopt;
    }
}

QString yamlText(const YAML::Node &node, std::initializer_list<const char *> keys) {
    return yamlTextAt(node, keys.begin(), keys.end());
}

QJsonDocument readJsonFile(const QString &path) {
    return QJsonDocument::fromJson(launcherFileContents(path).value_or(QByteArray()));
}

} // namespace lv
