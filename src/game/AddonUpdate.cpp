#include "game/AddonUpdate.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <filesystem>
#include <limits>

namespace fs = std::filesystem;

namespace {

fs::path fileSystemPath(const QString &path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

bool isAbsoluteWithoutDots(const QString &path) {
    if (!QDir::isAbsolutePath(path))
        return false;
    const QStringList components = path.split(QLatin1Char('/'));
    return !components.contains(QStringLiteral(".")) && !components.contains(QStringLiteral(".."));
}

bool startsWithComponents(const fs::path &path, const fs::path &prefix) {
    return std::mismatch(prefix.begin(), prefix.end(), path.begin(), path.end()).first == prefix.end();
}

// Walks from the folder down to the target: the last of the target's ancestors (or the target
// itself) that exists. Absent, with the reason, when one that exists is a symbolic link.
std::optional<QString> nearestExistingWithoutLinks(const QString &folder, const QString &target, QString *why) {
    QString nearest = folder;
    for (const QString &component : target.mid(folder.size() + 1).split(QLatin1Char('/'))) {
        const QString next = nearest + QLatin1Char('/') + component;
        std::error_code error;
        const fs::file_status status = fs::symlink_status(fileSystemPath(next), error);
        if (!fs::exists(status))
            break;
        if (fs::is_symlink(status)) {
            if (why)
                *why = QStringLiteral("%1 is a symbolic link").arg(next);
            return std::nullopt;
        }
        nearest = next;
    }
    return nearest;
}

} // namespace

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

bool isSafeAddonTarget(const QString &path, const QString &addonsFolder, QString *why) {
    const auto refuse = [why](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (!isAbsoluteWithoutDots(path) || !isAbsoluteWithoutDots(addonsFolder))
        return refuse(QStringLiteral("the path must be absolute, without \".\" or \"..\""));
    const QString folder = QDir::cleanPath(addonsFolder);
    const QString target = QDir::cleanPath(path);
    if (!target.startsWith(folder + QLatin1Char('/')) || target.size() == folder.size() + 1)
        return refuse(QStringLiteral("%1 is not below %2").arg(target, folder));
    std::error_code error;
    const fs::path realFolder = fs::canonical(fileSystemPath(folder), error);
    if (error)
        return refuse(QStringLiteral("%1: %2").arg(folder, QString::fromStdString(error.message())));
    const std::optional<QString> nearest = nearestExistingWithoutLinks(folder, target, why);
    if (!nearest)
        return false;
    const fs::path realNearest = fs::canonical(fileSystemPath(*nearest), error);
    if (error || !startsWithComponents(realNearest, realFolder))
        return refuse(QStringLiteral("%1 leads outside %2").arg(*nearest, folder));
    return true;
}

QUrl downloadUrl(const QString &source, const QString &name) {
    if (source.isEmpty())
        return {};
    // What a path may hold as it is stays so ("+Lorvane_Harvex.lua"): a plain static host maps the
    // address to a file name without decoding it.
    static const QByteArray kPathCharacters = "!$&'()*+,;=:@";
    QStringList components;
    for (const QString &component : name.split(QLatin1Char('/')))
        components << QString::fromLatin1(QUrl::toPercentEncoding(component, kPathCharacters));
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
