#include "game/LVAddonInstaller.h"

#include "common/FileContents.h"
#include "common/LVBusyGuard.h"
#include "common/LVLogging.h"
#include "common/NewFile.h"
#include "common/PathComponents.h"
#include "common/md5.h"
#include "game/LVGameInstall.h"
#include "game/LVGameInstalls.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <QXmlStreamReader>

#include <filesystem>

Q_LOGGING_CATEGORY(lcGame, "lorvane.game")

namespace fs = std::filesystem;

namespace {

constexpr char kAddonName[] = "+Lorvane_Harvex";
// The update manifest lists a handful of files; a longer one is not the site's.
constexpr qint64 kManifestLimit = 1024 * 1024;

fs::path fileSystemPath(const QString &path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

// A dangling symbolic link counts: something of that name is there.
bool somethingExistsAt(const QString &path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(fileSystemPath(path), error));
}

// The one entry of the manifest that names a file of the program rather than of the game.
constexpr char kBundledGzip[] = "%AppPath%/gzip.exe";

// The MD5 hex form of the file's contents, read a piece at a time; a missing file is first created
// empty (in a folder that exists), so that it differs from any download. Absent, with the reason, when
// it cannot be read or is no regular file.
std::optional<QString> localDigest(const QString &path, QString &failure) {
    QString reason;
    if (!somethingExistsAt(path)) {
        QFile created;
        if (lv::createNewFile(path, created, &reason))
            lv::finishNewFile(created);
    }
    LVRegularFile file(path, LVLinks::Refuse);
    LVMd5Hash digest;
    if (file.isOpen() && digest.addFile(file))
        return digest.hexDigest();
    failure = file.problem().isNull() ? QStringLiteral("%1: %2").arg(path, reason) : file.problem();
    return std::nullopt;
}

qint64 listedSize(const QXmlStreamAttributes &entry) {
    return lv::leadingInteger(lv::attributeValue(entry, QStringLiteral("size")));
}

// The addon belongs to the user, whatever the bits of the shipped copy (a package installs it read-only).
constexpr fs::perms kFolderPermissions = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                         fs::perms::others_read | fs::perms::others_exec;
constexpr fs::perms kFilePermissions =
    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read;

void copyEntry(const fs::directory_entry &entry, const fs::path &copy, std::error_code &error) {
    if (entry.is_directory(error)) {
        fs::create_directory(copy, error);
        if (!error)
            fs::permissions(copy, kFolderPermissions, error);
    } else if (!error) {
        fs::copy_file(entry.path(), copy, error);
        if (!error)
            fs::permissions(copy, kFilePermissions, error);
    }
}

// Copies what is below the source folder into the target folder, which exists.
bool copyTree(const fs::path &source, const fs::path &target, std::error_code &error) {
    for (fs::recursive_directory_iterator it(source, error), end; !error && it != end; it.increment(error)) {
        copyEntry(*it, target / it->path().lexically_relative(source), error);
        if (error)
            return false;
    }
    return !error;
}

// The copy is made in a temporary sibling and renamed into place, so that a copy that fails part way
// leaves nothing behind and the next start tries again.
bool installCopy(const QString &source, const QString &destination, QString &failure) {
    QTemporaryDir staging(destination + QStringLiteral(".lvtmp-XXXXXX"));
    if (!staging.isValid()) {
        failure = staging.errorString();
        return false;
    }
    std::error_code error;
    if (copyTree(fileSystemPath(source), fileSystemPath(staging.path()), error)) {
        fs::permissions(fileSystemPath(staging.path()), kFolderPermissions, error);
        if (!error)
            fs::rename(fileSystemPath(staging.path()), fileSystemPath(destination), error);
    }
    if (error) {
        failure = QString::fromStdString(error.message());
        return false;
    }
    staging.setAutoRemove(false);
    return true;
}

QString listedDigest(const QXmlStreamAttributes &entry) {
    return lv::attributeValue(entry, QStringLiteral("md5"));
}

} // namespace

// A new file written beside the one it is to replace, with the size and digest of what went into it.
// Removed again unless it is put in place.
class LVIncomingFile {
public:
    explicit LVIncomingFile(const QString &target)
        : mTarget(target) {
        mOpen = lv::createReplacement(target, mFile, &mPath, &mError);
    }
    ~LVIncomingFile() {
        if (mOpen) {
            mFile.close();
            QFile::remove(mPath);
        }
    }
    LVIncomingFile(const LVIncomingFile &) = delete;
    LVIncomingFile &operator=(const LVIncomingFile &) = delete;

    bool isOpen() const { return mOpen; }
    // Why it could not be made or written, naming the file it replaces; null while all is well.
    QString error() const { return mError.isNull() ? QString() : QStringLiteral("%1: %2").arg(mTarget, mError); }

    bool write(QByteArrayView piece) {
        if (mFile.write(piece.data(), piece.size()) != piece.size()) {
            mError = mFile.errorString();
            return false;
        }
        mDigest.addData(piece);
        mSize += piece.size();
        return true;
    }
    // Copies the rest of an open file.
    bool copy(LVRegularFile &source) {
        const std::unique_ptr<char[]> buffer(new char[kCopyPiece]);
        for (qint64 count; (count = source.read(buffer.get(), kCopyPiece)) != 0;)
            if (count < 0 || !write(QByteArrayView(buffer.get(), count)))
                return false;
        return true;
    }
    bool matches(const QXmlStreamAttributes &entry) {
        return mSize == listedSize(entry) && mDigest.hexDigest() == listedDigest(entry);
    }
    // Flushes it to disk and renames it over the file it replaces (a link there is itself replaced).
    bool putInPlace() {
        mOpen = false;
        if (lv::finishNewFile(mFile, &mError) && lv::putReplacementInPlace(mPath, mTarget, &mError))
            return true;
        QFile::remove(mPath);
        return false;
    }

private:
    static constexpr qint64 kCopyPiece = 1024 * 1024;
    QString mTarget;
    QString mPath;
    QFile mFile;
    bool mOpen = false;
    QString mError;
    LVMd5Hash mDigest;
    qint64 mSize = 0;
};

LVAddonInstaller::LVAddonInstaller(LVSettings &settings, LVGameInstalls &installs, QNetworkAccessManager &network,
                                   LVBusyGuard &busy, const QString &resourceFolder, QObject *parent)
    : QObject(parent)
    , mSettings(settings)
    , mInstalls(installs)
    , mNetwork(network)
    , mBusy(busy)
    , mResourceFolder(resourceFolder) {}

void LVAddonInstaller::installAddon() {
    for (const LVGameInstall *install : mInstalls.checked())
        installAddonInto(*install);
}

void LVAddonInstaller::installAddonInto(const LVGameInstall &install) {
    const QString destination = addonFolderPath(install);
    if (destination.isNull() || somethingExistsAt(destination))
        return;
    const QString source = QDir(mResourceFolder).filePath(QLatin1String(kAddonName));
    if (!somethingExistsAt(source))
        return;
    QString failure;
    if (installCopy(source, destination, failure))
        return;
    qCWarning(lcGame).noquote() << "Unable to copy" << source << "to" << destination << "-" << failure;
    LVStatusBus::sendErrorMessage(tr("Unable to install addon to WOW directory"));
}

// Only into a game the user chose, never one the workspace merely found.
QString LVAddonInstaller::addonFolderPath(const LVGameInstall &install) const {
    if (install.executable().isNull())
        return {};
    const QString folder = addonsFolderPath(install);
    return folder.isNull() ? QString() : lv::appendingPathComponent(folder, QLatin1String(kAddonName));
}

QString LVAddonInstaller::addonsFolderPath(const LVGameInstall &install) const {
    const QString folder = install.gameFolder();
    if (folder.isEmpty())
        return {};
    return lv::appendingPathComponent(folder, QStringLiteral("Interface/AddOns"));
}

void LVAddonInstaller::checkForUpdates() {
    LVStatusBus::sendStatusMessage(tr("Checking for Lorvane Harvex addon updates…"));
    const QUrl url(mSettings.stringForKey(kUpdateURLKey), QUrl::StrictMode);
    if (!url.isValid())
        return;
    LVBusyGuard::Scope busy(mBusy);
    const LVGetResult manifest = lv::synchronousGet(mNetwork, url, mTimeouts, kManifestLimit);
    if (!manifest.succeeded()) {
        LVStatusBus::sendErrorMessage(manifest.errorText);
        return;
    }
    if (manifest.body.isEmpty()) {
        LVStatusBus::sendErrorMessage(tr("The Lorvane Harvex update server is not responding at the moment."));
        return;
    }
    mUpdatesList.reset();
    mCheck = {mLimits.bytes, false, false, {}};
    lv::readStartElements(manifest.body, [this](const QString &name, const QXmlStreamAttributes &attributes) {
        parserDidStartElement(name, attributes);
    });
    if (!mUpdatesList)
        LVStatusBus::sendErrorMessage(tr("The Lorvane Harvex update server is having some trouble at the moment."));
    else
        updateEveryInstall();
    LVStatusBus::sendStatusMessage(QStringLiteral(""));
}

void LVAddonInstaller::updateEveryInstall() {
    int replaced = 0;
    for (const LVGameInstall *install : mInstalls.checked())
        replaced += updateAddonFiles(*install);
    if (mCheck.tooManyEntries && !mCheck.stopped)
        LVStatusBus::sendErrorMessage(
            tr("The update list names more than %n files: the addon update stopped after the first %n.", nullptr,
               mLimits.entries));
    if (!mCheck.stopped && !mCheck.tooManyEntries)
        LVStatusBus::sendStatusMessage(replaced > 0 ? tr("Lorvane Harvex addon updated!")
                                                    : tr("Looks like you're up-to-date!"));
}

void LVAddonInstaller::parserDidStartElement(const QString &name, const QXmlStreamAttributes &attributes) {
    if (!mUpdatesList)
        mUpdatesList.emplace();
    if (name == QLatin1String("lorvaneclient"))
        mUpdatesList->lorvaneclient = attributes;
    else if (name == QLatin1String("updates"))
        mUpdatesList->updates.emplace();
    else if (name == QLatin1String("file") && mUpdatesList->updates) {
        // Entries past the limit are not kept: a long manifest costs no more than a short one.
        if (mUpdatesList->updates->size() < mLimits.entries)
            mUpdatesList->updates->append(attributes);
        else
            mCheck.tooManyEntries = true;
    }
}

// The number of files replaced.
int LVAddonInstaller::updateAddonFiles(const LVGameInstall &install) {
    const QString source = lv::attributeValue(mUpdatesList->lorvaneclient, QStringLiteral("source"));
    int replaced = 0;
    for (const QXmlStreamAttributes &entry : mUpdatesList->updates.value_or(QList<QXmlStreamAttributes>())) {
        if (mCheck.stopped)
            break;
        replaced += updateAddonFile(install, entry, source) ? 1 : 0;
    }
    return replaced;
}

// True when the local file was replaced by the download.
bool LVAddonInstaller::updateAddonFile(const LVGameInstall &install, const QXmlStreamAttributes &entry,
                                       const QString &source) {
    const QString name = lv::attributeValue(entry, QStringLiteral("name"));
    const QString destination = lv::attributeValue(entry, QStringLiteral("destination"));
    if (name.isNull() || destination.isNull())
        return false;
    const QString localTemplate = lv::appendingPathComponent(destination, name);
    if (localTemplate == QLatin1String(kBundledGzip))
        return false;
    const QString localPath = addonFilePath(install, name, localTemplate);
    if (localPath.isNull())
        return false;
    QString failure;
    const std::optional<QString> local = localDigest(localPath, failure);
    if (!local) {
        LVStatusBus::sendErrorMessage(failure);
        return false;
    }
    return *local != listedDigest(entry) && fetchAddonFile(localPath, source, name, entry);
}

// The manifest comes over plain HTTP: whatever it says, nothing outside the game's addon folder is
// written, and nothing is written through a symbolic link.
QString LVAddonInstaller::addonFilePath(const LVGameInstall &install, const QString &name,
                                        const QString &localTemplate) const {
    const QString refused = tr("Refusing to write outside Interface/AddOns: %1");
    if (!lv::keepsToItsFolder(name)) {
        qCWarning(lcGame).noquote() << "The update manifest names" << name << "- a name that leaves its folder";
        LVStatusBus::sendErrorMessage(refused.arg(name));
        return {};
    }
    const QString localPath = install.expandPath(localTemplate);
    QString why;
    if (!lv::isSafeAddonTarget(localPath, addonsFolderPath(install), &why)) {
        qCWarning(lcGame).noquote() << "The update manifest names" << localPath << "-" << why;
        LVStatusBus::sendErrorMessage(refused.arg(localPath));
        return {};
    }
    return localPath;
}

// Puts the listed file at the path: a copy of the one this check has already put in place for another
// install, else a download. True when the file was replaced.
bool LVAddonInstaller::fetchAddonFile(const QString &path, const QString &source, const QString &name,
                                      const QXmlStreamAttributes &entry) {
    LVIncomingFile incoming(path);
    if (!incoming.isOpen()) {
        LVStatusBus::sendErrorMessage(incoming.error());
        return false;
    }
    const auto placed = mCheck.placed.constFind(name);
    if (placed != mCheck.placed.cend()) {
        LVRegularFile copied(*placed, LVLinks::Refuse);
        if (!incoming.copy(copied))
            return false;
    } else if (!downloadAddonFile(incoming, source, name, listedSize(entry))) {
        return false;
    }
    if (!putInPlace(incoming, path, entry))
        return false;
    mCheck.placed.insert(name, path);
    return true;
}

bool LVAddonInstaller::downloadAddonFile(LVIncomingFile &incoming, const QString &source, const QString &name,
                                         qint64 size) {
    const QUrl url = lv::downloadUrl(source, name);
    if (!url.isValid()) {
        qCWarning(lcGame).noquote() << "The update manifest gives no address to download" << name << "from";
        return false;
    }
    if (!takeFromBudget(size))
        return false;
    const LVGetResult reply = lv::synchronousDownload(
        mNetwork, url, mTimeouts, size, [&incoming](QByteArrayView piece) { return incoming.write(piece); });
    if (reply.tooLong)
        LVStatusBus::sendErrorMessage(
            tr("Refusing the download of %1: it is longer than the %2 bytes the update list gives.")
                .arg(name)
                .arg(size));
    else if (!reply.succeeded())
        LVStatusBus::sendErrorMessage(incoming.error().isNull() ? reply.errorText : incoming.error());
    return reply.succeeded();
}

// Whether a download of that size fits in what is left of the check's allowance; the check stops when
// it does not.
bool LVAddonInstaller::takeFromBudget(qint64 size) {
    if (size <= mCheck.bytesLeft) {
        mCheck.bytesLeft -= qMax<qint64>(size, 0);
        return true;
    }
    mCheck.stopped = true;
    LVStatusBus::sendErrorMessage(tr("The addon update stopped: its downloads would come to more than %1.")
                                      .arg(QLocale::c().formattedDataSize(mLimits.bytes, 0)));
    return false;
}

// A file that is not the listed one (another size or digest) is dropped; the listed one replaces the
// local file.
bool LVAddonInstaller::putInPlace(LVIncomingFile &incoming, const QString &path,
                                  const QXmlStreamAttributes &entry) const {
    if (!incoming.matches(entry))
        return false;
    if (!incoming.putInPlace()) {
        LVStatusBus::sendErrorMessage(incoming.error());
        return false;
    }
    LVStatusBus::sendVerboseMessage(tr("Updating Lorvane Harvex file: %1").arg(lv::lastPathComponent(path)));
    return true;
}
