#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

// Whether a symbolic link standing at a path is followed to the file it names, or refused.
enum class LVLinks { Follow, Refuse };

// What tells one state of a file from another: which file it is (device and inode), its size, and
// when it was last written, to the nanosecond.
struct LVFileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;

    bool operator==(const LVFileStamp &) const = default;
};

// A file opened for reading without ever waiting on it: it is opened non-blocking and read only when
// it is a regular file (or, where links are followed, a link to one). A named pipe, a device, a
// socket or a folder is refused before anything is read, so that nothing left at a path can hang the
// program or feed it without end.
class LVRegularFile {
public:
    enum Status { Open, Missing, Refused, Unreadable };

    explicit LVRegularFile(const QString &path, LVLinks links = LVLinks::Follow);
    ~LVRegularFile();
    LVRegularFile(const LVRegularFile &) = delete;
    LVRegularFile &operator=(const LVRegularFile &) = delete;

    Status status() const { return mStatus; }
    bool isOpen() const { return mStatus == Open; }
    // Why the file is not open or could not be read, naming it; null while all is well and when the
    // file is simply missing.
    const QString &problem() const { return mProblem; }
    // The file as it was when it was opened.
    const LVFileStamp &stamp() const { return mStamp; }
    // Reads up to `size` bytes from where the last read ended: the count read, 0 at the end, -1 on an
    // error (problem() then says which).
    qint64 read(char *data, qint64 size);

private:
    struct Handle;
    void open(LVLinks links);
    void fail(Status status, const QString &problem);

    QString mPath;
    Status mStatus = Missing;
    QString mProblem;
    LVFileStamp mStamp;
    std::unique_ptr<Handle> mHandle;
};

#ifdef Q_OS_UNIX
struct stat;
namespace lv {
// The stamp of what the status describes.
LVFileStamp fileStamp(const struct stat &status);
} // namespace lv
#endif
