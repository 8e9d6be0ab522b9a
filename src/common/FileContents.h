#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <initializer_list>
#include <optional>

namespace lv {

// The whole contents of a file; absent when it is missing, is not a regular file or cannot be read.
std::optional<QByteArray> contentsOfFile(const QString &path);

// Replaces the file at the path with the pieces, one after another, in one step and flushed to disk:
// the file holds either what it held before or all of the pieces, never a part. False when that
// failed; the file is then as it was, and the failure, when asked for, says why.
bool writeFileAtomically(const QString &path, std::initializer_list<QByteArrayView> pieces, QString *failure = nullptr);

// Replaces the file at the path as writeFileAtomically() does, but never writes through a symbolic
// link: the bytes go to a new hidden sibling made by createNewFile() (O_EXCL|O_NOFOLLOW), which is
// then renamed over the path. A link at the path is itself replaced; what it points to is left
// alone. (QSaveFile, under writeFileAtomically(), replaces a link's target instead.)
bool replaceFileWithoutFollowingLinks(const QString &path, QByteArrayView bytes, QString *failure = nullptr);

// Whether the bytes are well-formed UTF-8: no stray or missing continuation bytes, no overlong
// forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(QByteArrayView bytes);

// The text the bytes encode; absent when they are not well-formed UTF-8.
std::optional<QString> decodeUtf8(QByteArrayView bytes);

} // namespace lv
