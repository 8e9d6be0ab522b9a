#include "net/UploadBody.h"

#include "common/FileContents.h"
#include "common/PathComponents.h"
#include "net/Gzip.h"

#include <QFile>
#include <QFileInfo>
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
    // "&", at a fragment, at the end, or where an address quoted in a message ends.
    static const QRegularExpression passwordItem(QStringLiteral("(^|[?&])password=[^&#\\s\"]*"));
    return QString(urlText).replace(passwordItem, QStringLiteral("\\1password=********"));
}

namespace {

qint64 sizeOf(const LVBodySource &source) {
    return source.contents ? source.contents->size() : QFileInfo(source.path).size();
}

LVGzipResult compress(const LVBodySource &source, const QString &copy, const LVGzipOptions &options) {
    return source.contents ? gzipData(*source.contents, copy, options) : gzipFile(source.path, copy, options);
}

QByteArray readBack(const QString &copy) {
    return contentsOfFile(copy).value_or(QByteArray());
}

} // namespace

LVBuiltBody buildUploadBody(const QList<LVBodySource> &sources, const QString &boundary,
                            const std::function<void(qint64 done, qint64 total)> &progress) {
    qint64 total = 0;
    for (const LVBodySource &source : sources)
        total += sizeOf(source);
    LVBuiltBody built;
    qint64 done = 0;
    for (const LVBodySource &source : sources) {
        const QString copy = source.path + QStringLiteral(".gz");
        LVGzipOptions options;
        if (progress)
            options.progress = [&progress, done, total](qint64 doneInFile, qint64) {
                progress(done + doneInFile, total);
            };
        const LVGzipResult result = compress(source, copy, options);
        if (result.status == LVGzipResult::Failed) {
            for (const QString &made : std::as_const(built.copies))
                QFile::remove(made);
            return {{}, {}, {}, 0, 0, result.error};
        }
        done += sizeOf(source);
        if (result.status == LVGzipResult::SourceUnreadable)
            continue;
        built.copies << copy;
        const QByteArray data = readBack(copy);
        if (data.isEmpty())
            continue;
        appendUploadPart(built.body, int(built.fileNames.size()), boundary, lastPathComponent(copy), data);
        built.fileNames << lastPathComponent(source.path);
        built.bytesBefore += sizeOf(source);
        built.bytesAfter += data.size();
    }
    appendUploadEnd(built.body, boundary);
    return built;
}

} // namespace lv
