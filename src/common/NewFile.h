#pragma once

#include <QFile>
#include <QString>

namespace lv {

// Creates the file at `path` anew for writing and opens `file` on it, never through a link: whatever
// stands at the path (a file, a symbolic link to a file elsewhere, a dangling link) is removed first,
// a link's removal logged as a warning, and the file is made with O_CREAT|O_EXCL|O_NOFOLLOW and mode
// 0644 (less the umask). Anything that appears at the path in between makes the creation fail rather
// than be written through. A folder at the path is left alone and fails the creation. On failure
// nothing was created and `file` is closed; the error, when asked for, says why.
//
// Use it for every copy the program writes next to the user's files: a link planted there must never
// send our bytes somewhere else.
bool createNewFile(const QString &path, QFile &file, QString *error = nullptr);

// Flushes a file made by createNewFile to disk and closes it. False when any of that failed (a full
// disk, a write beyond the allowed file size); the file is then closed but left where it is, for the
// caller to remove.
bool finishNewFile(QFile &file, QString *error = nullptr);

} // namespace lv
