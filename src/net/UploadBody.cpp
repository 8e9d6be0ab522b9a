#include "net/UploadBody.h"

#include <QRegularExpression>
#include <QUrl>

namespace lv {

QString uploadBoundary(const void *controller) {
    const auto address = quint32(reinterpret_cast<quintptr>(controller));
    return QStringLiteral("------") + QString::number(address, 16).toUpper();
}

void appendUploadPart(QByteArray &body, int index, const QString &boundary, const QString &fileName,
                      const QByteArray &data) {
    if (index > 0)
        body += "\r\n";
    body += "--" + boundary.toUtf8() + "\r\n";
    body += "Content-Disposition: form-data; name=\"file" + QByteArray::number(index) + "\"; filename=\"" +
            fileName.toUtf8() + "\"\r\n";
    body += "Content-Type: application/binary\r\n\r\n";
    body += data;
}

void appendUploadEnd(QByteArray &body, const QString &boundary) {
    body += "\r\n--" + boundary.toUtf8() + "--\r\n";
}

QString credentialsQuery(const QString &username, const QString &passwordHash) {
    return QStringLiteral("username=%1&password=%2&mac")
        .arg(QString::fromLatin1(QUrl::toPercentEncoding(username)), passwordHash);
}

QString uploadQuery(const QString &username, const QString &passwordHash, bool characterData) {
    QString query = credentialsQuery(username, passwordHash);
    if (!characterData)
        query += QStringLiteral("&ignorecharacterdata");
    return query;
}

QString redactedUrl(const QString &urlText) {
    // An item starts the text, follows the "?" of the query or an "&"; its value ends at the next
    // "&", at a fragment or at the end.
    static const QRegularExpression passwordItem(QStringLiteral("(^|[?&])password=[^&#]*"));
    QString redacted = urlText;
    return redacted.replace(passwordItem, QStringLiteral("\\1password=********"));
}

} // namespace lv
