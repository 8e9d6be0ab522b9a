#include "upload/UploadedFlag.h"

#include "common/FileContents.h"
#include "common/PathComponents.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lv {

qsizetype setUploadedFlag(QByteArray &savedVariables) {
    const QByteArrayView newData(kNewDataFlag);
    const qsizetype at = savedVariables.indexOf(newData);
    if (at >= 0)
        savedVariables.replace(at, newData.size(), kUploadedFlag);
    return at;
}

bool resetUploadedFlag(QByteArray &savedVariables, qsizetype offset) {
    const QByteArrayView uploaded(kUploadedFlag);
    if (offset < 0 || offset + uploaded.size() > savedVariables.size() ||
        QByteArrayView(savedVariables).sliced(offset, uploaded.size()) != uploaded)
        return false;
    savedVariables.replace(offset, uploaded.size(), kNewDataFlag);
    return true;
}

QByteArray realmLine(const QString &realm) {
    return QByteArray("\nrvRealm = \"").append(realm.toUtf8()).append("\";");
}

namespace {

bool fail(QString *error, const QString &reason) {
    if (error)
        *error = reason;
    return false;
}

bool isSymbolicLink(const QString &path) {
    return QFileInfo(path).isSymLink();
}

// The one byte that tells "rvUploaded = 0" from "rvUploaded = 1".
constexpr qsizetype kFlagDigit = sizeof(kNewDataFlag) - 2;

} // namespace

bool markUploaded(const QString &path, qsizetype offset, qint64 expectedSize, QString *error) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return fail(error, QString::fromLocal8Bit(std::strerror(errno)));
    struct stat status {};
    char current[sizeof(kNewDataFlag) - 1];
    const bool unchanged = ::fstat(fd, &status) == 0 && status.st_size == expectedSize &&
                           ::pread(fd, current, sizeof current, offset) == qint64(sizeof current) &&
                           std::memcmp(current, kNewDataFlag, sizeof current) == 0;
    if (!unchanged) {
        ::close(fd);
        return fail(error, QStringLiteral("the file has changed since it was read"));
    }
    const char uploaded = kUploadedFlag[kFlagDigit];
    const bool written = ::pwrite(fd, &uploaded, 1, offset + kFlagDigit) == 1 && ::fsync(fd) == 0;
    const QString reason = QString::fromLocal8Bit(std::strerror(errno));
    ::close(fd);
    return written || fail(error, reason);
}

qsizetype flagSetByUpload(const QByteArray &restoreCopy) {
    const qsizetype firstNewData = restoreCopy.indexOf(kNewDataFlag);
    const qsizetype searchEnd = firstNewData < 0 ? restoreCopy.size() : firstNewData;
    return QByteArrayView(restoreCopy).first(searchEnd).lastIndexOf(QByteArrayView(kUploadedFlag));
}

QString undoUnfinishedUpload(const QString &path, QString *error) {
    const QString restorePath = path + QStringLiteral(".rename");
    if (isSymbolicLink(restorePath)) {
        QFile::remove(restorePath);
        return QStringLiteral("Removed a link standing where the restore copy of %1 goes").arg(lastPathComponent(path));
    }
    std::optional<QByteArray> restore = contentsOfFile(restorePath);
    if (!restore)
        return {};
    if (!resetUploadedFlag(*restore, flagSetByUpload(*restore))) {
        fail(error, QStringLiteral("%1 holds no flag to set back").arg(lastPathComponent(restorePath)));
        return {};
    }
    // A file that is a link is written at its target, so that the link stays a link.
    const QString target = QFileInfo(path).exists() ? QFileInfo(path).canonicalFilePath() : path;
    if (!writeFileAtomically(target, {*restore}, error))
        return {};
    QFile::remove(restorePath);
    return QStringLiteral("Put %1 back as it was before an upload that did not finish").arg(lastPathComponent(path));
}

bool removeLeftoverCopy(const QString &path) {
    const QFileInfo copy(path);
    return (copy.exists() || copy.isSymLink()) && QFile::remove(path);
}

} // namespace lv
