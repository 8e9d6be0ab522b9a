#pragma once

#include <QStringList>

#include <optional>

namespace lv {

// The names of the folders directly inside a folder, in the order the file system lists them.
// Symbolic links are not folders here. Empty when there are none or the folder cannot be read. A name
// whose bytes do not read back the same through QFile::decodeName and encodeName (not valid in the
// file system's encoding) could never be opened again: it goes to `unreadable` instead, its odd
// bytes shown as "\xNN".
std::optional<QStringList> listSubfolders(const QString &folder, QStringList *unreadable = nullptr);

// The bytes as text, each byte that is not part of a valid UTF-8 character shown as "\xNN".
QString escapedName(QByteArrayView bytes);

// The path, below root, of the first entry named exactly `name` met in a depth-first walk (a
// folder's contents come right after the folder). The walk never follows symbolic links and passes
// over folders it cannot read. Null when there is none.
QString findFirstEntryNamed(const QString &root, const QString &name);

} // namespace lv
