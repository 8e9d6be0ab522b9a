#pragma once

#include <QByteArray>
#include <QString>

namespace lv {

// "------" and the controller's address as a 32-bit number in upper-case hexadecimal: the same for
// every upload of one run of the program.
QString uploadBoundary(const void *controller);

// Appends the part for the file with counter value `index` (0, 1, …): a line break before every
// part but the first, the boundary line, the disposition naming "file<index>" and the file, the
// type line and an empty line, then the data.
void appendUploadPart(QByteArray &body, int index, const QString &boundary, const QString &fileName,
                      const QByteArray &data);
void appendUploadEnd(QByteArray &body, const QString &boundary);

// "username=…&password=…&mac": the user name percent-encoded (a null one sent empty), the
// password's MD5 hex form as it is.
QString credentialsQuery(const QString &username, const QString &passwordHash);
// The credentials query, then "&ignorecharacterdata" unless character data is wanted.
QString uploadQuery(const QString &username, const QString &passwordHash, bool characterData);

// The address or query as a log may show it: the value of each "password" item of the query (the
// hash the site accepts as the password) replaced by "********".
QString redactedUrl(const QString &urlText);

} // namespace lv
