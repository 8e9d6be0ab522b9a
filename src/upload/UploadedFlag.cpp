#include "upload/UploadedFlag.h"

#include "common/FileContents.h"
#include "common/PathComponents.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
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

// Whether the open file holds exactly these bytes, read a piece at a time.
bool holdsExactly(int descriptor, QByteArrayView bytes) {
    constexpr qsizetype kPiece = 1024 * 1024;
    const std::unique_ptr<char[]> buffer(new char[kPiece]);
    for (qsizetype at = 0; at < bytes.size();) {
        const ssize_t count = ::pread(descriptor, buffer.get(), size_t(qMin(kPiece, bytes.size() - at)), off_t(at));
        if (count <= 0 || std::memcmp(buffer.get(), bytes.data() + at, size_t(count)) != 0)
            return false;
        at += count;
    }
    return true;
}

LVMarkResult markOpenFile(int descriptor, const LVFileStamp &stamp, QByteArrayView asRead, qsizetype offset,
                          QString *error) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || fileStamp(status) != stamp ||
        !holdsExactly(descriptor, asRead))
        return LVMarkResult::FileChanged;
    const char uploaded = kUploadedFlag[kFlagDigit];
    if (::pwrite(descriptor, &uploaded, 1, off_t(offset + kFlagDigit)) == 1 && ::fsync(descriptor) == 0)
        return LVMarkResult::Marked;
    fail(error, QString::fromLocal8Bit(std::strerror(errno)));
    return LVMarkResult::Failed;
}

// Puts the restore copy's contents back, the flag it set undone, in place of the saved variables.
bool putBack(const QString &path, QByteArray restoreCopy, QString *error) {
    if (!resetUploadedFlag(restoreCopy, flagSetByUpload(restoreCopy)))
        return fail(error, QCoreApplication::translate("UploadedFlag", "%1.rename holds no flag to set back")
                               .arg(lastPathComponent(path)));
    // A file that is a link is written at its target, so that the link stays a link.
    const QString target = QFileInfo(path).exists() ? QFileInfo(path).canonicalFilePath() : path;
    return writeFileAtomically(target, {restoreCopy}, error);
}

} // namespace

LVMarkResult markUploaded(const QString &path, const LVFileStamp &stamp, QByteArrayView asRead, qsizetype offset,
                          QString *error) {
    const QByteArrayView newData(kNewDataFlag);
    if (offset < 0 || offset + newData.size() > asRead.size() || asRead.sliced(offset, newData.size()) != newData) {
        fail(error, QStringLiteral("there is no flag to set at %1").arg(offset));
        return LVMarkResult::Failed;
    }
    const QByteArray encoded = QFile::encodeName(path);
    // Judged before the file is opened: whatever stands there now may not be a file at all.
    struct stat status {};
    if (::stat(encoded.constData(), &status) != 0 || fileStamp(status) != stamp)
        return LVMarkResult::FileChanged;
    const int descriptor = ::open(encoded.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        fail(error, QString::fromLocal8Bit(std::strerror(errno)));
        return LVMarkResult::Failed;
    }
    const LVMarkResult result = markOpenFile(descriptor, stamp, asRead, offset, error);
    ::close(descriptor);
    return result;
}

bool leftByAnOlderUpload(QByteArrayView savedVariables, QByteArrayView restoreCopy) {
    if (!savedVariables.startsWith(restoreCopy))
        return restoreCopy.startsWith(savedVariables);
    const QByteArrayView rest = savedVariables.sliced(restoreCopy.size());
    const QByteArrayView realmStart("\nrvRealm = \"");
    if (!rest.startsWith(realmStart))
        return realmStart.startsWith(rest);
    return !rest.sliced(1).contains('\n');
}

qsizetype flagSetByUpload(const QByteArray &restoreCopy) {
    const qsizetype firstNewData = restoreCopy.indexOf(kNewDataFlag);
    const qsizetype searchEnd = firstNewData < 0 ? restoreCopy.size() : firstNewData;
    return QByteArrayView(restoreCopy).first(searchEnd).lastIndexOf(QByteArrayView(kUploadedFlag));
}

QString undoUnfinishedUpload(const QString &path, QString *error) {
    const QString restorePath = path + QStringLiteral(".rename");
    const QString name = lastPathComponent(path);
    if (isSymbolicLink(restorePath)) {
        QFile::remove(restorePath);
        return QCoreApplication::translate("UploadedFlag", "Removed a link standing where the restore copy of %1 goes")
            .arg(name);
    }
    const LVFileRead restore = readWholeFile(restorePath, LVLinks::Refuse);
    const LVFileRead current = restore.contents ? readWholeFile(path) : LVFileRead();
    const QString problem = restore.contents ? current.problem : restore.problem;
    if (!problem.isNull() || !restore.contents) {
        fail(error, problem);
        return {};
    }
    if (current.contents && !leftByAnOlderUpload(*current.contents, *restore.contents)) {
        QFile::remove(restorePath);
        return QCoreApplication::translate("UploadedFlag",
                                           "Kept %1: the game saved newer data after an upload that did not "
                                           "finish; its old restore copy was removed")
            .arg(name);
    }
    if (!putBack(path, *restore.contents, error))
        return {};
    QFile::remove(restorePath);
    return QCoreApplication::translate("UploadedFlag", "Put %1 back as it was before an upload that did not finish")
        .arg(name);
}

bool removeLeftoverCopy(const QString &path) {
    const QFileInfo copy(path);
    return (copy.exists() || copy.isSymLink()) && QFile::remove(path);
}

} // namespace lv
