#pragma once

#include <QDateTime>
#include <QObject>
#include <QSqlDatabase>
#include <QStringList>

#include <optional>

// One account's upload request as the history keeps it.
struct LVUploadRecord {
    QDateTime time;  // kept in UTC; an invalid time is recorded as the moment of recording
    QString install; // the game folder the files came from
    QString account;
    QStringList files;
    qint64 bytesBefore = 0; // before compression
    qint64 bytesAfter = 0;  // after compression
    qint64 durationMs = 0;
    int httpStatus = 0; // 0 when no HTTP answer came
    QString reply;      // the start of the site's answer, at most kReplyLimit characters once recorded
    bool succeeded = false;
    QString reason;                  // why it failed, in a few words
    bool gameSavedMeanwhile = false; // the game saved new data during the upload: it goes with the next
    QString runId;                   // the same for every account of one run; empty in older histories

    bool operator==(const LVUploadRecord &) const = default;
};

// The upload history: one row per account's upload request, in an SQLite file that outlives the
// run. Recording never stops an upload: every failure is an answer, never an exception.
class LVUploadHistory : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kReplyLimit = 200;

    // The history in history.sqlite in the application's data folder.
    explicit LVUploadHistory(QObject *parent = nullptr);
    explicit LVUploadHistory(const QString &path, QObject *parent = nullptr);
    ~LVUploadHistory() override;

    static QString defaultPath();
    QString path() const { return mPath; }
    bool isOpen() const { return mDatabase.isOpen(); }
    // Whether this run's records live in memory only, because the file could not be used.
    bool isInMemory() const { return mInMemory; }

    // Opens the file, making its folder when missing. A file that is not a readable history is
    // renamed to `<path>.broken-<UTC time>` and a new one started; where the folder cannot be
    // written, or another program holds the file, the history is kept in memory for this run.
    // Either way the history works, and `problem` receives the one message to show the user (on
    // the status bus; the system log has it already); it is left alone when nothing went wrong.
    // False only when no history can be kept at all.
    bool open(QString *problem = nullptr);

    // Adds the record, its reply cut to kReplyLimit characters, and emits recorded(). False with
    // the reason when it could not be stored; nothing else is affected.
    bool record(const LVUploadRecord &record, QString *error = nullptr);

    // The records, newest first; all of them when the limit is negative. Empty when not open.
    QList<LVUploadRecord> records(int limit = -1) const;
    std::optional<LVUploadRecord> lastRecord() const;
    // The records of the newest run, newest first; a record without a run id, which older versions
    // kept, is a run of its own.
    QList<LVUploadRecord> lastRun() const;

signals:
    void recorded();

private:
    enum OpenResult { Opened, Unreadable, InUse };
    QList<LVUploadRecord> select(const QString &condition, const QVariantList &values, int limit) const;
    OpenResult openFile(const QString &databaseName, QString *reason);
    void closeConnection();
    bool openInMemory(const QString &why, QString *problem);
    bool setAside(QString *asidePath, QString *reason) const;
    void report(const QString &message, QString *problem) const;

    QString mPath;
    QString mConnectionName;
    QSqlDatabase mDatabase;
    bool mInMemory = false;
};
