#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QUrl>
#include <QXmlStreamAttributes>

#include <functional>
#include <optional>

// The addon update manifest as read so far: the "lorvaneclient" element's attributes ("source" is
// where the files are downloaded from) and, once an "updates" element has been read, the attributes
// of each "file" element after it ("name", "destination", "md5", "size").
struct LVUpdateManifest {
    QXmlStreamAttributes lorvaneclient;
    std::optional<QList<QXmlStreamAttributes>> updates;
};

namespace lv {

// Reports each start tag of the document in order, with its name as written and its attributes.
// Nothing else of the document counts; a document broken part way reports the tags before the break.
void readStartElements(QByteArrayView xml,
                       const std::function<void(const QString &name, const QXmlStreamAttributes &attributes)> &onStart);

// The attribute's value; null when the element has no such attribute.
QString attributeValue(const QXmlStreamAttributes &attributes, const QString &name);

// Whether a manifest's file name keeps to the folder it is put in: it is not absolute and has no
// ".." component ("/" and "\" both separate components, as on Windows).
bool keepsToItsFolder(const QString &name);

// Whether a file of the update manifest may be written at the path: the path lies below the game's
// addon folder as written (no "." or ".." on the way), the nearest part of it that exists resolves
// to a place inside that folder's real location, and nothing that exists below the folder on the way
// to the file, nor the file itself, is a symbolic link. When it may not, `why` says what is wrong.
bool isSafeAddonTarget(const QString &path, const QString &addonsFolder, QString *why = nullptr);

// Where a file of the manifest is downloaded from: the source, "/", and the name, each of its
// components percent-encoded where a path cannot hold a character as it is. Invalid when the source
// is missing or no address.
QUrl downloadUrl(const QString &source, const QString &name);

// The integer at the start of the text: white space skipped, an optional sign, the digits up to the
// first other character; 0 when there are none. Kept within 32 bits.
qint32 leadingInteger(QStringView text);

} // namespace lv
