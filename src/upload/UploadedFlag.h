#pragma once

#include "common/LVRegularFile.h"

#include <QByteArray>
#include <QString>

enum class LVMarkResult {
    Marked,      // the flag is set, on disk
    FileChanged, // the game has saved the file since it was read: it is left as it is
    Failed,      // the file could not be opened or written
};

namespace lv {

// The addon's flag in its saved variables: "rvUploaded = 0" while they hold data not uploaded yet,
// "rvUploaded = 1" once they have been uploaded.
inline constexpr char kNewDataFlag[] = "rvUploaded = 0";
inline constexpr char kUploadedFlag[] = "rvUploaded = 1";

// Turns the saved variables into their restore bytes, as the game gets them back after the upload:
// the first "rvUploaded = 0" becomes "rvUploaded = 1", every other byte stays as it was. Answers
// where the flag stands, or -1 when there is no "rvUploaded = 0"; the bytes are then untouched.
qsizetype setUploadedFlag(QByteArray &savedVariables);

// Undoes setUploadedFlag at that offset; false, with the bytes untouched, when they no longer hold
// "rvUploaded = 1" there.
bool resetUploadedFlag(QByteArray &savedVariables, qsizetype offset);

// What the uploaded copy carries after the restore bytes: `\nrvRealm = "<realm>";`, the name
// written as it is.
QByteArray realmLine(const QString &realm);

// Sets the flag of the saved variables at `path` to "rvUploaded = 1" by writing its one changed byte
// in place and flushing it to disk: no free space is needed, and a file that is a link is changed at
// its target. Only the very file that was read is marked: the same file, with the stamp it had then,
// still holding exactly the bytes read (`asRead`, its "rvUploaded = 0" at `offset`). The reason of a
// failure goes to `error`.
LVMarkResult markUploaded(const QString &path, const LVFileStamp &stamp, QByteArrayView asRead, qsizetype offset,
                          QString *error = nullptr);

// Whether the saved variables are still what an older version of the program left while it uploaded
// them: its restore copy with a realm line after it, or a part of that (its write cut short).
bool leftByAnOlderUpload(QByteArrayView savedVariables, QByteArrayView restoreCopy);

// Where the flag that an upload set stands in a restore copy: the last "rvUploaded = 1" before the
// first "rvUploaded = 0", or before the end when there is none; -1 when there is none.
qsizetype flagSetByUpload(const QByteArray &restoreCopy);

// Undoes what an older version left of an account's saved variables when its upload did not finish:
// when a restore copy (`path` + ".rename") lies beside them and they are still what that version left,
// or missing, the file gets the copy's contents back with "rvUploaded = 0", in one step, and the copy
// goes. When the game has saved newer data since, the file stays and the stale copy goes. A restore
// copy that is a link is only removed. Answers what was done, for the log; null when there was
// nothing to undo or it failed (`error` then says why, and nothing was changed).
QString undoUnfinishedUpload(const QString &path, QString *error = nullptr);

// Removes a compressed copy left by an upload that did not finish (a link there is removed, never
// followed). Answers whether something was removed.
bool removeLeftoverCopy(const QString &path);

} // namespace lv
