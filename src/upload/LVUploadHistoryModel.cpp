#include "upload/LVUploadHistoryModel.h"
#include "upload/HistoryText.h"

#include <QColor>

namespace {

// Reads on the window's dark rows.
const QColor kFailureColor(0xFF, 0x80, 0x80);

// A tooltip that wraps between words, keeping the text's own line breaks, rather than running off the
// screen in one line.
QString wrappedToolTip(const QString &text) {
    return QStringLiteral("<p style='white-space:pre-wrap'>%1</p>").arg(text.toHtmlEscaped());
}

} // namespace

LVUploadHistoryModel::LVUploadHistoryModel(LVUploadHistory *history, QObject *parent)
    : QAbstractTableModel(parent)
    , mHistory(history) {
    if (history)
        connect(history, &LVUploadHistory::recorded, this, &LVUploadHistoryModel::showRecorded);
    reload();
}

void LVUploadHistoryModel::reload() {
    beginResetModel();
    mRecords = mHistory ? mHistory->records() : QList<LVUploadRecord>();
    mCells.clear();
    for (const LVUploadRecord &record : std::as_const(mRecords))
        mCells << lv::historyCells(record);
    endResetModel();
}

// A long history takes a while to read: a record that is the newest, as it almost always is, is
// added on top instead.
void LVUploadHistoryModel::showRecorded() {
    const std::optional<LVUploadRecord> newest = mHistory ? mHistory->lastRecord() : std::nullopt;
    if (!newest || (!mRecords.isEmpty() && *newest == mRecords.first())) {
        reload();
        return;
    }
    beginInsertRows(QModelIndex(), 0, 0);
    mRecords.prepend(*newest);
    mCells.prepend(lv::historyCells(*newest));
    endInsertRows();
}

int LVUploadHistoryModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(mRecords.size());
}

int LVUploadHistoryModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(lv::HistoryColumnCount);
}

QVariant LVUploadHistoryModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const LVUploadRecord &record = mRecords.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return displayText(index.row(), index.column());
    case Qt::ToolTipRole:
        if (index.column() == lv::HistoryFilesColumn && !record.files.isEmpty())
            return wrappedToolTip(record.files.join(QLatin1Char('\n')));
        return record.reply.isEmpty() ? QVariant() : QVariant(wrappedToolTip(record.reply));
    case Qt::ForegroundRole:
        return record.succeeded ? QVariant() : QVariant(kFailureColor);
    case Qt::TextAlignmentRole:
        return lv::isNumericHistoryColumn(index.column()) ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                                                          : QVariant();
    case kSortRole:
        return sortValue(index.row(), index.column());
    default:
        return {};
    }
}

QString LVUploadHistoryModel::displayText(int row, int column) const {
    const QString &text = mCells.at(row).at(column);
    if (column == lv::HistoryOutcomeColumn && !mRecords.at(row).succeeded)
        return kFailureMark.toString() + text;
    return text;
}

QVariant LVUploadHistoryModel::sortValue(int row, int column) const {
    const LVUploadRecord &record = mRecords.at(row);
    switch (column) {
    case lv::HistoryTimeColumn:
        return record.time;
    case lv::HistoryFilesColumn:
        return int(record.files.size());
    case lv::HistoryBytesBeforeColumn:
        return record.bytesBefore;
    case lv::HistoryBytesAfterColumn:
        return record.bytesAfter;
    case lv::HistoryDurationColumn:
        return record.durationMs;
    case lv::HistoryStatusColumn:
        return record.httpStatus;
    default:
        return mCells.at(row).at(column);
    }
}

QVariant LVUploadHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= lv::HistoryColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return lv::historyColumnTitles().at(section);
}
