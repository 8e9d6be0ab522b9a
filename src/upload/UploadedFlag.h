#pragma once

#include <QByteArray>
#include <QString>

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

} // namespace lv
