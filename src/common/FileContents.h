#pragma once

#include "common/LVRegularFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <initializer_list>
#include <optional>

// A whole file as read by LVRegularFile: its bytes, or why there are none.
struct LVFileRead {
    std::optional<QByteArray> contents; // absent when the file is missing, refused or unreadable
    LVRegularFile::Status status = LVRegularFile::Missing;
    QString problem;   // why it was not read, naming it; null when it was, or is simply missing
    LVFileStamp stamp; // of the file read
};

namespace lv {

LVFileRead readWholeFile(const QString &path, LVLinks links = LVLinks::Follow);

// The whole contents of a file; absent when it is missing, cannot be read or is refused for not being
// a regular file, which `refusal`, when given, then says.
std::optional<QByteArray> contentsOfFile(const QString &path, QString *refusal = nullptr);

// Makes a new hidden file beside the path, to take its place, open for writing (with createNewFile(),
// so never through a link); its path goes to `replacement`.
bool createReplacement(const QString &path, QFile &file, QString *replacement, QString *error = nullptr);
// Renames a finished replacement over the path in one step: a link standing at the path is itself
// replaced, what it points to left alone. When that fails the replacement is removed.
bool putReplacementInPlace(const QString &replacement, const QString &path, QString *error = nullptr);

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
