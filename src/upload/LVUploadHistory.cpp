#include "upload/LVUploadHistory.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

#include <atomic>

namespace {

Q_LOGGING_CATEGORY(lcHistory, "lorvane.upload.history")

const QString kDriver = QStringLiteral("QSQLITE");
const QString kInMemory = QStringLiteral(":memory:");
// The table's columns in this version.
const QStringList kColumns{
    "id",          "time",        "install",     "account", "file_count", "files",  "bytes_before",
    "bytes_after", "duration_ms", "http_status", "reply",   "succeeded",  "reason", "game_saved_meanwhile",
    "run_id"};
// A new history is made as version 1 (kCreateTable), then brought up to this version: what takes a
// history of version N to N + 1 is kMigrations[N - 1]. A change of the table is a new entry here, its
// columns added to kColumns. A history of a newer version than this is not read.
const QList<QStringList> kMigrations{
    {QStringLiteral("ALTER TABLE uploads ADD COLUMN game_saved_meanwhile INTEGER NOT NULL DEFAULT 0")},
    {QStringLiteral("ALTER TABLE uploads ADD COLUMN run_id TEXT"),
     QStringLiteral("CREATE INDEX uploads_by_run ON uploads (run_id)")},
};
const int kSchemaVersion = int(kMigrations.size()) + 1;
const QString kCreateTable = QStringLiteral("CREATE TABLE uploads (id INTEGER PRIMARY KEY AUTOINCREMENT,"
                                            " time TEXT NOT NULL, install TEXT, account TEXT,"
                                            " file_count INTEGER NOT NULL, files TEXT NOT NULL,"
                                            " bytes_before INTEGER NOT NULL, bytes_after INTEGER NOT NULL,"
                                            " duration_ms INTEGER NOT NULL, http_status INTEGER NOT NULL,"
                                            " reply TEXT, succeeded INTEGER NOT NULL, reason TEXT)");

// The newest records are read without going through all of them.
const QString kCreateIndex = QStringLiteral("CREATE INDEX uploads_by_time ON uploads (time DESC, id DESC)");

bool failed(const QString &reason, QString *error) {
    if (error)
        *error = reason;
    return false;
}

bool failed(const QSqlQuery &query, QString *error) {
    return failed(query.lastError().text(), error);
}

// The first kReplyLimit characters, without leaving half of a surrogate pair at the end.
QString cutReply(const QString &reply) {
    qsizetype length = LVUploadHistory::kReplyLimit;
    if (reply.size() <= length)
        return reply;
    if (reply.at(length - 1).isHighSurrogate())
        --length;
    return reply.left(length);
}

QString storedTime(const QDateTime &time) {
    const QDateTime when = time.isValid() ? time : QDateTime::currentDateTimeUtc();
    return when.toUTC().toString(Qt::ISODateWithMs);
}

QString filesAsJson(const QStringList &files) {
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(files)).toJson(QJsonDocument::Compact));
}

QStringList filesFromJson(const QString &json) {
    QStringList files;
    for (const QJsonValue &name : QJsonDocument::fromJson(json.toUtf8()).array())
        files << name.toString();
    return files;
}

QStringList columnsOfUploads(const QSqlDatabase &database) {
    QSqlQuery query(database);
    QStringList columns;
    if (query.exec(QStringLiteral("PRAGMA table_info(uploads)")))
        while (query.next())
            columns << query.value(1).toString();
    return columns;
}

bool failed(const QSqlError &cause, QSqlError *error) {
    *error = cause;
    return false;
}

QSqlError problem(const QString &text) {
    return QSqlError(QString(), text, QSqlError::UnknownError);
}

// SQLite's answer while another program holds the file (SQLITE_BUSY, SQLITE_LOCKED).
bool isInUse(const QSqlError &error) {
    return error.nativeErrorCode() == QLatin1String("5") || error.nativeErrorCode() == QLatin1String("6");
}

// The first value of the statement's first row.
std::optional<QVariant> singleValue(const QSqlDatabase &database, const QString &statement, QSqlError *error) {
    QSqlQuery query(database);
    if (!query.exec(statement) || !query.next()) {
        failed(query.lastError(), error);
        return std::nullopt;
    }
    return query.value(0);
}

// Brings the history from its version (0: a new, empty file) up to this one, in one transaction that
// is undone, leaving the file as it was, unless the table then is this version's.
bool upgradeSchema(QSqlDatabase &database, int version, QSqlError *error) {
    QStringList statements = version == 0 ? QStringList{kCreateTable, kCreateIndex} : QStringList();
    for (int from = qMax(version, 1); from < kSchemaVersion; ++from)
        statements += kMigrations.at(from - 1);
    statements << QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion);
    if (!database.transaction())
        return failed(database.lastError(), error);
    QSqlQuery query(database);
    for (const QString &statement : std::as_const(statements))
        if (!query.exec(statement)) {
            failed(query.lastError(), error);
            database.rollback();
            return false;
        }
    if (columnsOfUploads(database) != kColumns) {
        database.rollback();
        return failed(problem(LVUploadHistory::tr("it is not an upload history of version %1").arg(version)), error);
    }
    return database.commit() || failed(database.lastError(), error);
}

// Whether the database is an upload history of this version; an empty one is made into one.
bool checkSchema(QSqlDatabase &database, QSqlError *error) {
    const auto check = singleValue(database, QStringLiteral("PRAGMA quick_check"), error);
    if (!check)
        return false;
    if (check->toString() != QLatin1String("ok"))
        return failed(problem(LVUploadHistory::tr("damaged: %1").arg(check->toString())), error);
    const auto version = singleValue(database, QStringLiteral("PRAGMA user_version"), error);
    const auto objects = singleValue(database, QStringLiteral("SELECT count(*) FROM sqlite_master"), error);
    if (!version || !objects)
        return false;
    if ((version->toInt() == 0 && objects->toInt() == 0) ||
        (version->toInt() >= 1 && version->toInt() < kSchemaVersion))
        return upgradeSchema(database, version->toInt(), error);
    if (version->toInt() == kSchemaVersion && columnsOfUploads(database) == kColumns)
        return true;
    return failed(problem(LVUploadHistory::tr("it is not an upload history of version %1").arg(kSchemaVersion)), error);
}

LVUploadRecord recordAt(const QSqlQuery &query) {
    LVUploadRecord record;
    record.time = QDateTime::fromString(query.value(0).toString(), Qt::ISODateWithMs);
    record.install = query.value(1).toString();
    record.account = query.value(2).toString();
    record.files = filesFromJson(query.value(3).toString());
    record.bytesBefore = query.value(4).toLongLong();
    record.bytesAfter = query.value(5).toLongLong();
    record.durationMs = query.value(6).toLongLong();
    record.httpStatus = query.value(7).toInt();
    record.reply = query.value(8).toString();
    record.succeeded = query.value(9).toBool();
    record.reason = query.value(10).toString();
    record.gameSavedMeanwhile = query.value(11).toBool();
    record.runId = query.value(12).toString();
    return record;
}

QString uniqueConnectionName() {
    static std::atomic<int> sCount = 0;
    return QStringLiteral("lv-upload-history-%1").arg(++sCount);
}

} // namespace

LVUploadHistory::LVUploadHistory(QObject *parent)
    : LVUploadHistory(defaultPath(), parent) {}

LVUploadHistory::LVUploadHistory(const QString &path, QObject *parent)
    : QObject(parent)
    , mPath(path)
    , mConnectionName(uniqueConnectionName()) {}

LVUploadHistory::~LVUploadHistory() {
    closeConnection();
}

QString LVUploadHistory::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/history.sqlite");
}

bool LVUploadHistory::open(QString *problem) {
    if (isOpen())
        return true;
    if (!QSqlDatabase::isDriverAvailable(kDriver)) {
        report(LVUploadHistory::tr("The upload history cannot be kept: the SQLite driver of Qt is missing."), problem);
        return false;
    }
    const QFileInfo file(mPath);
    const QString folder = file.absolutePath();
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable() || (file.isFile() && !file.isWritable()))
        return openInMemory(LVUploadHistory::tr("%1 cannot be written").arg(QDir::toNativeSeparators(mPath)), problem);
    QString unreadable;
    const OpenResult result = openFile(mPath, &unreadable);
    if (result == Opened)
        return true;
    if (result == InUse)
        return openInMemory(LVUploadHistory::tr("%1 is in use by another program (%2)")
                                .arg(QDir::toNativeSeparators(mPath), unreadable),
                            problem);
    QString asidePath;
    QString failure;
    if (!setAside(&asidePath, &failure))
        return openInMemory(LVUploadHistory::tr("%1 is unreadable (%2) and could not be set aside (%3)")
                                .arg(QDir::toNativeSeparators(mPath), unreadable, failure),
                            problem);
    if (openFile(mPath, &failure) != Opened)
        return openInMemory(LVUploadHistory::tr("no new history could be started at %1 (%2)")
                                .arg(QDir::toNativeSeparators(mPath), failure),
                            problem);
    report(LVUploadHistory::tr("The upload history %1 could not be read (%2). It was kept as %3 and a new one started.")
               .arg(QDir::toNativeSeparators(mPath), unreadable, QDir::toNativeSeparators(asidePath)),
           problem);
    return true;
}

LVUploadHistory::OpenResult LVUploadHistory::openFile(const QString &databaseName, QString *reason) {
    mDatabase = QSqlDatabase::addDatabase(kDriver, mConnectionName);
    mDatabase.setDatabaseName(databaseName);
    // Two clients at once wait for each other's write rather than fail at once.
    mDatabase.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    QSqlError error;
    if (mDatabase.open() && checkSchema(mDatabase, &error))
        return Opened;
    if (!mDatabase.isOpen())
        error = mDatabase.lastError();
    *reason = error.text();
    closeConnection();
    return isInUse(error) ? InUse : Unreadable;
}

void LVUploadHistory::closeConnection() {
    if (!mDatabase.isValid())
        return;
    mDatabase.close();
    mDatabase = QSqlDatabase();
    QSqlDatabase::removeDatabase(mConnectionName);
}

bool LVUploadHistory::openInMemory(const QString &why, QString *problem) {
    QString failure;
    if (openFile(kInMemory, &failure) != Opened) {
        report(LVUploadHistory::tr("The upload history cannot be kept: %1; %2.").arg(why, failure), problem);
        return false;
    }
    mInMemory = true;
    report(LVUploadHistory::tr("The upload history is kept in memory for this run only: %1.").arg(why), problem);
    return true;
}

// A journal left beside the file is not a concern here: SQLite has already dealt with it while
// trying the file, and it deletes one it finds beside an empty, new database.
bool LVUploadHistory::setAside(QString *asidePath, QString *reason) const {
    const QString base = mPath + QStringLiteral(".broken-") +
                         QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'hhmmss'Z'"));
    QString aside = base;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = base + QStringLiteral("-%1").arg(n);
    if (!QDir().rename(mPath, aside))
        return failed(LVUploadHistory::tr("renaming it to %1 failed").arg(QDir::toNativeSeparators(aside)), reason);
    *asidePath = aside;
    return true;
}

void LVUploadHistory::report(const QString &message, QString *problem) const {
    qCWarning(lcHistory).noquote() << message;
    if (problem)
        *problem = message;
}

bool LVUploadHistory::record(const LVUploadRecord &record, QString *error) {
    if (!isOpen())
        return failed(LVUploadHistory::tr("the upload history is not open"), error);
    QSqlQuery query(mDatabase);
    query.prepare(QStringLiteral("INSERT INTO uploads (time, install, account, file_count, files, bytes_before,"
                                 " bytes_after, duration_ms, http_status, reply, succeeded, reason,"
                                 " game_saved_meanwhile, run_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant &value :
         {QVariant(storedTime(record.time)), QVariant(record.install), QVariant(record.account),
          QVariant(record.files.size()), QVariant(filesAsJson(record.files)), QVariant(record.bytesBefore),
          QVariant(record.bytesAfter), QVariant(record.durationMs), QVariant(record.httpStatus),
          QVariant(cutReply(record.reply)), QVariant(record.succeeded), QVariant(record.reason),
          QVariant(record.gameSavedMeanwhile), record.runId.isEmpty() ? QVariant() : QVariant(record.runId)})
        query.addBindValue(value);
    if (!query.exec()) {
        qCWarning(lcHistory).noquote() << "An upload could not be recorded:" << query.lastError().text();
        return failed(query, error);
    }
    emit recorded();
    return true;
}

QList<LVUploadRecord> LVUploadHistory::records(int limit) const {
    return select(QString(), {}, limit);
}

std::optional<LVUploadRecord> LVUploadHistory::lastRecord() const {
    const QList<LVUploadRecord> newest = records(1);
    if (newest.isEmpty())
        return std::nullopt;
    return newest.first();
}

QList<LVUploadRecord> LVUploadHistory::lastRun() const {
    const std::optional<LVUploadRecord> newest = lastRecord();
    if (!newest || newest->runId.isEmpty())
        return newest ? QList<LVUploadRecord>{*newest} : QList<LVUploadRecord>();
    return select(QStringLiteral("WHERE run_id = ?"), {newest->runId}, -1);
}

// The records the condition picks, newest first, at most the limit unless it is negative; the values fill
// the condition's placeholders.
QList<LVUploadRecord> LVUploadHistory::select(const QString &condition, const QVariantList &values, int limit) const {
    QList<LVUploadRecord> found;
    if (!isOpen())
        return found;
    QSqlQuery query(mDatabase);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT time, install, account, files, bytes_before, bytes_after, duration_ms,"
                                 " http_status, reply, succeeded, reason, game_saved_meanwhile, run_id FROM uploads"
                                 " %1 ORDER BY time DESC, id DESC LIMIT ?")
                      .arg(condition));
    for (const QVariant &value : values)
        query.addBindValue(value);
    query.addBindValue(limit < 0 ? -1 : limit);
    if (!query.exec())
        qCWarning(lcHistory).noquote() << "The upload history could not be read:" << query.lastError().text();
    while (query.next())
        found << recordAt(query);
    return found;
}
