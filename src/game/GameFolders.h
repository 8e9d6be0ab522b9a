#pragma once

#include <QStringList>

#include <optional>

namespace lv {

// The names of the folders directly inside a folder, in the order the file system lists them.
// Symbolic links are not folders here. Empty when there are none or the folder cannot be read.
std::optional<QStringList> listSubfolders(const QString &folder);

// The path, below root, of the first entry named exactly `name` met in a depth-first walk (a
// folder's contents come right after the folder). The walk never follows symbolic links and passes
// over folders it cannot read. Null when there is none.
QString findFirstEntryNamed(const QString &root, const QString &name);

} // namespace lv
