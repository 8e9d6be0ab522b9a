#include "game/AddonUpdate.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <limits>

namespace lv {

void readStartElements(
    QByteArrayView xml,
    const std::function<void(const QString &name, const QXmlStreamAttributes &attributes)> &onStart) {
    QXmlStreamReader reader(xml.toByteArray());
    reader.setNamespaceProcessing(false);
    while (!reader.atEnd())
        if (reader.readNext() == QXmlStreamReader::StartElement)
            onStart(reader.qualifiedName().toString(), reader.attributes());
}

QString attributeValue(const QXmlStreamAttributes &attributes, const QString &name) {
    return attributes.hasAttribute(name) ? attributes.value(name).toString() : QString();
}

bool keepsToItsFolder(const QString &name) {
    if (name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')) || QDir::isAbsolutePath(name))
        return false;
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    return !name.split(separators).contains(QStringLiteral(".."));
}

bool liesInsideFolder(const QString &path, const QString &folder) {
    if (path.isEmpty() || folder.isEmpty() || QDir::isRelativePath(folder))
        return false;
    const QString cleanFolder = QDir::cleanPath(folder);
    const QString prefix = cleanFolder.endsWith(QLatin1Char('/')) ? cleanFolder : cleanFolder + QLatin1Char('/');
    return QDir::cleanPath(path).startsWith(prefix);
}

QUrl downloadUrl(const QString &source, const QString &name) {
    if (source.isEmpty())
        return {};
    QStringList components;
    for (const QString &component : name.split(QLatin1Char('/')))
        components << QString::fromLatin1(QUrl::toPercentEncoding(component));
    const QUrl url(source + QLatin1Char('/') + components.join(QLatin1Char('/')), QUrl::StrictMode);
    return url.isRelative() ? QUrl() : url;
}

qint32 leadingInteger(QStringView text) {
    qsizetype at = 0;
    while (at < text.size() && text.at(at).isSpace())
        ++at;
    const bool negative = at < text.size() && text.at(at) == QLatin1Char('-');
    if (at < text.size() && (text.at(at) == QLatin1Char('-') || text.at(at) == QLatin1Char('+')))
        ++at;
    constexpr qint64 kLimit = qint64(std::numeric_limits<qint32>::max()) + 1;
    qint64 value = 0;
    for (; at < text.size() && text.at(at) >= QLatin1Char('0') && text.at(at) <= QLatin1Char('9'); ++at)
        value = std::min(value * 10 + (text.at(at).unicode() - '0'), kLimit);
    if (negative)
        return qint32(-value);
    return qint32(std::min(value, kLimit - 1));
}

} // namespace lv
