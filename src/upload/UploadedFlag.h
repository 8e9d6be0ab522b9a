#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The addon's flag in its saved variables: "rvUploaded = 0" while they hold data not uploaded yet,
// "rvUploaded = 1" once they have been uploaded.
inline constexpr char kNewDataFlag[] = "rvUploaded = 0";
inline constexpr char kUploadedFlag[] = "rvUploaded = 1";

enum class LVUploadedFlag { NewData, AlreadyUploaded, Malformed };

// What the saved variables say. New data anywhere wins over an earlier "rvUploaded = 1".
LVUploadedFlag readUploadedFlag(QByteArrayView savedVariables);

// The saved variables as the game gets them back: the first "rvUploaded = 0" becomes
// "rvUploaded = 1", every other byte stays as it was.
QByteArray restoreBytes(QByteArray savedVariables);

// The saved variables as they are uploaded: the restore bytes followed by the line naming the
// realm, `\nrvRealm = "<realm>";`, the name written as it is.
QByteArray uploadBytes(QByteArray restore, const QString &realm);
