#include "game/GameFolders.h"

#include "common/FileContents.h"

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

// The length of the valid UTF-8 character that starts the bytes; 0 when none does.
qsizetype characterLength(QByteArrayView bytes) {
    for (qsizetype length = 1; length <= qMin<qsizetype>(4, bytes.size()); ++length)
        if (lv::isValidUtf8(bytes.first(length)))
            return length;
    return 0;
}

} // namespace

namespace lv {

std::optional<QStringList> listSubfolders(const QString &folder, QStringList *unreadable) {
    if (folder.isEmpty())
        return std::nullopt;
    std::error_code error;
    fs::directory_iterator it(toPath(folder), fs::directory_options::skip_permission_denied, error);
    QStringList names;
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code statusError;
        if (it->symlink_status(statusError).type() != fs::file_type::directory)
            continue;
        const QByteArray bytes = QByteArray::fromStdString(it->path().filename().native());
        const QString name = QFile::decodeName(bytes);
        if (QFile::encodeName(name) == bytes)
            names << name;
        else if (unreadable)
            *unreadable << escapedName(bytes);
    }
    if (names.isEmpty())
        return std::nullopt;
    return names;
}

QString escapedName(QByteArrayView bytes) {
    QString shown;
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype length = characterLength(bytes.sliced(at));
        if (length > 0)
            shown += QString::fromUtf8(bytes.sliced(at, length));
        else
            shown += QStringLiteral("\\x") + QString::number(quint8(bytes[at]), 16).toUpper().rightJustified(2, u'0');
        at += qMax<qsizetype>(length, 1);
    }
    return shown;
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
