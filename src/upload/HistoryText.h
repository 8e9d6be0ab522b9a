#pragma once

#include "upload/LVUploadHistory.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace lv {

// The columns of the upload history, as printed and as shown in its window.
enum HistoryColumn {
    HistoryTimeColumn,
    HistoryInstallColumn,
    HistoryAccountColumn,
    HistoryFilesColumn,
    HistoryBytesBeforeColumn,
    HistoryBytesAfterColumn,
    HistoryDurationColumn,
    HistoryStatusColumn,
    HistoryOutcomeColumn,
    HistoryColumnCount
};

QStringList historyColumnTitles();
bool isNumericHistoryColumn(int column);

// The record's cells in column order, each on one line: the local time to the minute, the number
// of files, sizes and the duration as people read them, "-" for no HTTP status, and the outcome.
QStringList historyCells(const LVUploadRecord &record);
QString formatByteCount(qint64 bytes);
QString formatDuration(qint64 milliseconds);

// The records as a table of aligned columns under a header line, one line per record.
QString historyTable(const QList<LVUploadRecord> &records);

// The records as a JSON array of objects with the keys time (ISO 8601, UTC), install, account,
// files, bytesBefore, bytesAfter, durationMs, httpStatus, reply, succeeded, reason,
// gameSavedMeanwhile and runId.
QByteArray historyJson(const QList<LVUploadRecord> &records);

// The records as CSV (RFC 4180: CRLF line ends, fields quoted where needed) in UTF-8, under a header
// line of the JSON's keys; the files of a record are one field, separated by "; ".
QByteArray historyCsv(const QList<LVUploadRecord> &records);

} // namespace lv
