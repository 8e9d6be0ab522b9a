#include "upload/HistoryText.h"

#include "common/TimeText.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>

namespace {

// Line breaks and tabs in a name or a reason would break the table's lines.
QString oneLine(QString text) {
    for (QChar &character : text)
        if (character.category() == QChar::Other_Control)
            character = QLatin1Char(' ');
    return text;
}

QString outcome(const LVUploadRecord &record) {
    if (record.succeeded && record.gameSavedMeanwhile)
        return QCoreApplication::translate("UploadHistory", "succeeded; newer data goes with the next upload");
    if (record.succeeded)
        return QCoreApplication::translate("UploadHistory", "succeeded");
    if (record.reason.isEmpty())
        return QCoreApplication::translate("UploadHistory", "failed");
    return QCoreApplication::translate("UploadHistory", "failed: %1").arg(oneLine(record.reason));
}

QString tableLine(const QStringList &cells, const QList<qsizetype> &widths) {
    QString line;
    for (int column = 0; column < cells.size(); ++column) {
        if (column > 0)
            line += QStringLiteral("  ");
        const QString &cell = cells.at(column);
        line += lv::isNumericHistoryColumn(column) ? cell.rightJustified(widths.at(column))
                                                   : cell.leftJustified(widths.at(column));
    }
    while (line.endsWith(QLatin1Char(' ')))
        line.chop(1);
    return line + QLatin1Char('\n');
}

QJsonObject jsonObject(const LVUploadRecord &record) {
    return QJsonObject{{"time", record.time.toUTC().toString(Qt::ISODateWithMs)},
                       {"install", record.install},
                       {"account", record.account},
                       {"files", QJsonArray::fromStringList(record.files)},
                       {"bytesBefore", record.bytesBefore},
                       {"bytesAfter", record.bytesAfter},
                       {"durationMs", record.durationMs},
                       {"httpStatus", record.httpStatus},
                       {"reply", record.reply},
                       {"succeeded", record.succeeded},
                       {"reason", record.reason},
                       {"gameSavedMeanwhile", record.gameSavedMeanwhile},
                       {"runId", record.runId}};
}

// A field of text as RFC 4180 writes it, quoted when it holds a separator, a quote or a line break. Text
// a spreadsheet would take for a formula (the site's reply is the site's to choose) starts with an
// apostrophe, which shows it as text.
QString csvField(const QString &text) {
    static const QRegularExpression kSpecial(QStringLiteral("[\",\r\n]"));
    static const QRegularExpression kFormula(QStringLiteral("^[=+\\-@\t\r]"));
    QString field = text;
    if (kFormula.match(field).hasMatch())
        field.prepend(QLatin1Char('\''));
    if (!kSpecial.match(field).hasMatch())
        return field;
    return QLatin1Char('"') + field.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString csvLine(const LVUploadRecord &record) {
    const QStringList fields{record.time.toUTC().toString(Qt::ISODateWithMs),
                             csvField(record.install),
                             csvField(record.account),
                             csvField(record.files.join(QStringLiteral("; "))),
                             QString::number(record.bytesBefore),
                             QString::number(record.bytesAfter),
                             QString::number(record.durationMs),
                             QString::number(record.httpStatus),
                             csvField(record.reply),
                             record.succeeded ? QStringLiteral("true") : QStringLiteral("false"),
                             csvField(record.reason),
                             record.gameSavedMeanwhile ? QStringLiteral("true") : QStringLiteral("false"),
                             csvField(record.runId)};
    return fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

} // namespace

namespace lv {

QStringList historyColumnTitles() {
    return {QCoreApplication::translate("UploadHistory", "Time"),
            QCoreApplication::translate("UploadHistory", "Install"),
            QCoreApplication::translate("UploadHistory", "Account"),
            QCoreApplication::translate("UploadHistory", "Files"),
            QCoreApplication::translate("UploadHistory", "Before"),
            QCoreApplication::translate("UploadHistory", "After"),
            QCoreApplication::translate("UploadHistory", "Duration"),
            QCoreApplication::translate("UploadHistory", "Status"),
            QCoreApplication::translate("UploadHistory", "Outcome")};
}

bool isNumericHistoryColumn(int column) {
    return column >= HistoryFilesColumn && column <= HistoryStatusColumn;
}

QStringList historyCells(const LVUploadRecord &record) {
    return {timeText(record.time, TimeDetail::Minutes),
            oneLine(record.install),
            oneLine(record.account),
            QString::number(record.files.size()),
            formatByteCount(record.bytesBefore),
            formatByteCount(record.bytesAfter),
            formatDuration(record.durationMs),
            record.httpStatus ? QString::number(record.httpStatus) : QStringLiteral("-"),
            outcome(record)};
}

QString formatByteCount(qint64 bytes) {
    return QLocale().formattedDataSize(bytes, 1);
}

QString formatDuration(qint64 milliseconds) {
    if (milliseconds < 1000)
        return QCoreApplication::translate("UploadHistory", "%1 ms").arg(milliseconds);
    if (milliseconds < 60'000)
        return QCoreApplication::translate("UploadHistory", "%1 s")
            .arg(QLocale().toString(milliseconds / 1000.0, 'f', 1));
    return QCoreApplication::translate("UploadHistory", "%1 min %2 s")
        .arg(milliseconds / 60'000)
        .arg(milliseconds % 60'000 / 1000);
}

QString historyTable(const QList<LVUploadRecord> &records) {
    QList<QStringList> rows{historyColumnTitles()};
    for (const LVUploadRecord &record : records)
        rows << historyCells(record);
    QList<qsizetype> widths(HistoryColumnCount, 0);
    for (const QStringList &row : rows)
        for (int column = 0; column < HistoryColumnCount; ++column)
            widths[column] = std::max(widths.at(column), row.at(column).size());
    QString table;
    for (const QStringList &row : rows)
        table += tableLine(row, widths);
    return table;
}

QByteArray historyCsv(const QList<LVUploadRecord> &records) {
    QString csv = QStringLiteral("time,install,account,files,bytesBefore,bytesAfter,durationMs,httpStatus,reply,"
                                 "succeeded,reason,gameSavedMeanwhile,runId\r\n");
    for (const LVUploadRecord &record : records)
        csv += csvLine(record);
    return csv.toUtf8();
}

QByteArray historyJson(const QList<LVUploadRecord> &records) {
    QJsonArray array;
    for (const LVUploadRecord &record : records)
        array.append(jsonObject(record));
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

} // namespace lv
