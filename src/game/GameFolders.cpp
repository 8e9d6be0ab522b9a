#include "game/GameFolders.h"

#include <QFile>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path toPath(const QString &path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

QString fromPath(const fs::path &path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

} // namespace

namespace lv {

std::optional<QStringList> listSubfolders(const QString &folder) {
    if (folder.isEmpty())
        return std::nullopt;
    std::error_code error;
    fs::directory_iterator it(toPath(folder), fs::directory_options::skip_permission_denied, error);
    QStringList names;
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code statusError;
        if (it->symlink_status(statusError).type() == fs::file_type::directory)
            names << fromPath(it->path().filename());
    }
    if (names.isEmpty())
        return std::nullopt;
    return names;
}

QString findFirstEntryNamed(const QString &root, const QString &name) {
    if (root.isEmpty())
        return {};
    const fs::path wanted = toPath(name);
    std::error_code error;
    fs::recursive_directory_iterator it(toPath(root), fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->path().filename() == wanted)
            return fromPath(it->path());
    }
    return {};
}

} // namespace lv
