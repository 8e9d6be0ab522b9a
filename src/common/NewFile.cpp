#include "common/NewFile.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QFileInfo>
#endif

namespace {

Q_LOGGING_CATEGORY(lcFiles, "lorvane.files")

void setError(QString *error, const QString &text) {
    if (error)
        *error = text;
}

#ifdef Q_OS_UNIX

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Removes a file or link standing at the path; a missing path is fine.
bool clearPath(const QByteArray &path, const QString &name, QString *error) {
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0) {
        if (errno == ENOENT)
            return true;
        setError(error, systemError());
        return false;
    }
    if (S_ISDIR(status.st_mode)) {
        setError(error, QCoreApplication::translate("FileWriting", "a folder stands in its place"));
        return false;
    }
    if (S_ISLNK(status.st_mode))
        qCWarning(lcFiles).noquote() << "Removing the link at" << name << "before writing a new file there";
    if (::unlink(path.constData()) != 0 && errno != ENOENT) {
        setError(error, systemError());
        return false;
    }
    return true;
}

bool createExclusively(const QString &path, QFile &file, QString *error) {
    const QByteArray encoded = QFile::encodeName(path);
    if (!clearPath(encoded, path, error))
        return false;
    int descriptor;
    do
        descriptor = ::open(encoded.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        setError(error, systemError());
        return false;
    }
    file.setFileName(path);
    if (!file.open(descriptor, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        setError(error, file.errorString());
        ::close(descriptor);
        ::unlink(encoded.constData());
        return false;
    }
    return true;
}

bool syncToDisk(QFile &file, QString *error) {
    if (::fsync(file.handle()) == 0)
        return true;
    setError(error, systemError());
    return false;
}

#else

bool createExclusively(const QString &path, QFile &file, QString *error) {
    const QFileInfo standing(path);
    if (standing.isDir() && !standing.isSymLink()) {
        setError(error, QCoreApplication::translate("FileWriting", "a folder stands in its place"));
        return false;
    }
    if (standing.isSymLink())
        qCWarning(lcFiles).noquote() << "Removing the link at" << path << "before writing a new file there";
    if ((standing.exists() || standing.isSymLink()) && !QFile::remove(path)) {
        setError(error, QCoreApplication::translate("FileWriting", "what stands in its place cannot be removed"));
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

bool syncToDisk(QFile &, QString *) {
    return true;
}

#endif

} // namespace

namespace lv {

bool createNewFile(const QString &path, QFile &file, QString *error) {
    if (file.isOpen())
        file.close();
    return createExclusively(path, file, error);
}

bool finishNewFile(QFile &file, QString *error) {
    QString reason;
    if (!file.flush())
        reason = file.errorString();
    else
        syncToDisk(file, &reason);
    file.close(); // reports what the last flush met, or that closing failed
    if (reason.isEmpty() && file.error() != QFileDevice::NoError)
        reason = file.errorString();
    if (reason.isEmpty())
        return true;
    setError(error, reason);
    return false;
}

} // namespace lv
