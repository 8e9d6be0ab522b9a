#include "game/AddonUpdate.h"

#include "app/LVApplicationDelegate.h"
#include "app/LVLogging.h"
#include "auth/md5.h"
#include "game/PathTemplates.h"
#include "platform/FileContents.h"
#include "settings/LVSettings.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <limits>

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

namespace {

// The one entry of the manifest that names a file of the program rather than of the game.
constexpr char kBundledGzip[] = "%AppPath%/gzip.exe";

// The file's bytes; a missing file is first created empty (in a folder that exists), so that it
// differs from any download.
std::optional<QByteArray> readOrCreate(const QString &path, QString &failure) {
    QFile file(path);
    if (!file.exists())
        QFile(path).open(QIODevice::WriteOnly);
    if (!file.open(QIODevice::ReadOnly)) {
        failure = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        failure = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

bool matchesEntry(const QByteArray &download, const QXmlStreamAttributes &entry) {
    return download.size() == leadingInteger(attributeValue(entry, QStringLiteral("size"))) &&
           md5HexString(download) == attributeValue(entry, QStringLiteral("md5"));
}

} // namespace

void LVApplicationDelegate::checkForUpdates() {
    sendStatusMessage(QStringLiteral("Checking for Lorvane Harvex addon updates…"));
    const QUrl url(mSettings->stringForKey(kUpdateURLKey), QUrl::StrictMode);
    if (!url.isValid())
        return;
    BusyScope busy(*this);
    const LVGetResult manifest = synchronousGet(*mNetworkAccess, url, mNetworkTimeouts);
    if (!manifest.succeeded()) {
        sendErrorMessage(manifest.errorText);
        return;
    }
    if (manifest.body.isEmpty()) {
        sendErrorMessage(QStringLiteral("The Lorvane Harvex update server is not responding at the moment."));
        return;
    }
    readStartElements(manifest.body, [this](const QString &name, const QXmlStreamAttributes &attributes) {
        parserDidStartElement(name, attributes);
    });
    if (!mUpdatesList)
        sendErrorMessage(QStringLiteral("The Lorvane Harvex update server is having some trouble at the moment."));
    else if (updateAddonFiles() > 0)
        sendStatusMessage(QStringLiteral("Lorvane Harvex addon updated!"));
    else
        sendStatusMessage(QStringLiteral("Looks like you're up-to-date!"));
    sendStatusMessage(QStringLiteral(""));
}

void LVApplicationDelegate::parserDidStartElement(const QString &name, const QXmlStreamAttributes &attributes) {
    if (!mUpdatesList)
        mUpdatesList.emplace();
    if (name == QLatin1String("lorvaneclient"))
        mUpdatesList->lorvaneclient = attributes;
    else if (name == QLatin1String("updates"))
        mUpdatesList->updates.emplace();
    else if (name == QLatin1String("file") && mUpdatesList->updates)
        mUpdatesList->updates->append(attributes);
}

// The number of files replaced.
int LVApplicationDelegate::updateAddonFiles() {
    const QString source = attributeValue(mUpdatesList->lorvaneclient, QStringLiteral("source"));
    int replaced = 0;
    for (const QXmlStreamAttributes &entry : mUpdatesList->updates.value_or(QList<QXmlStreamAttributes>()))
        replaced += updateAddonFile(entry, source) ? 1 : 0;
    return replaced;
}

// True when the local file was replaced by the download.
bool LVApplicationDelegate::updateAddonFile(const QXmlStreamAttributes &entry, const QString &source) {
    const QString name = attributeValue(entry, QStringLiteral("name"));
    const QString destination = attributeValue(entry, QStringLiteral("destination"));
    if (name.isNull() || destination.isNull())
        return false;
    const QString localTemplate = appendingPathComponent(destination, name);
    if (localTemplate == QLatin1String(kBundledGzip))
        return false;
    const QString localPath = addonFilePath(name, localTemplate);
    if (localPath.isNull())
        return false;
    QString failure;
    const std::optional<QByteArray> local = readOrCreate(localPath, failure);
    if (!local) {
        sendErrorMessage(failure);
        return false;
    }
    if (md5HexString(*local) == attributeValue(entry, QStringLiteral("md5")))
        return false;
    const std::optional<QByteArray> download = downloadAddonFile(source, name);
    return download && matchesEntry(*download, entry) && replaceAddonFile(localPath, *download);
}

// The manifest comes over plain HTTP: whatever it says, nothing outside the game folder is written.
QString LVApplicationDelegate::addonFilePath(const QString &name, const QString &localTemplate) const {
    const QString refused = QStringLiteral("Refusing to write outside the game folder: %1");
    if (!keepsToItsFolder(name)) {
        sendErrorMessage(refused.arg(name));
        return {};
    }
    const QString localPath = expandPath(localTemplate);
    if (!liesInsideFolder(localPath, gameFolder())) {
        sendErrorMessage(refused.arg(localPath));
        return {};
    }
    return localPath;
}

std::optional<QByteArray> LVApplicationDelegate::downloadAddonFile(const QString &source, const QString &name) {
    const QUrl url = downloadUrl(source, name);
    if (!url.isValid()) {
        qCWarning(lcGame).noquote() << "The update manifest gives no address to download" << name << "from";
        return std::nullopt;
    }
    const LVGetResult reply = synchronousGet(*mNetworkAccess, url, mNetworkTimeouts);
    if (!reply.succeeded()) {
        sendErrorMessage(reply.errorText);
        return std::nullopt;
    }
    return reply.body;
}

bool LVApplicationDelegate::replaceAddonFile(const QString &path, const QByteArray &bytes) const {
    QString failure;
    if (!writeFileAtomically(path, {bytes}, &failure)) {
        sendErrorMessage(QStringLiteral("%1: %2").arg(path, failure));
        return false;
    }
    if (mVerboseLogging)
        sendStatusMessage(
            QStringLiteral("%1 %2").arg(QStringLiteral("Updating Lorvane Harvex file:"), lastPathComponent(path)));
    return true;
}
