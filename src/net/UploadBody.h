#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// One file of an account's upload: read from its path, unless its bytes are given.
struct LVBodySource {
    QString path;
    std::optional<QByteArray> contents;
};

// An account's request body, with the compressed copies made for it next to their sources.
struct LVBuiltBody {
    QByteArray body;
    QStringList copies;    // to remove once the request has ended
    QStringList fileNames; // of the files in the body, in order
    qint64 bytesBefore = 0;
    qint64 bytesAfter = 0;
    QString error; // null when the body is complete; the copies are gone then
};

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

// The address, or its query alone, or a message quoting either, with the password's hash shown as
// "********": the hash is what the site takes as the password.
QString redactedUrl(const QString &urlText);

// Compresses each source next to itself (".gz" added) and assembles the parts of those that could be
// read, in order. Safe to run on a worker thread; `progress` is called there with the source bytes
// compressed so far of all of them.
LVBuiltBody buildUploadBody(const QList<LVBodySource> &sources, const QString &boundary,
                            const std::function<void(qint64 done, qint64 total)> &progress = {});

} // namespace lv
