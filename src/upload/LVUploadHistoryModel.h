#pragma once

#include "upload/LVUploadHistory.h"

#include <QAbstractTableModel>
#include <QPointer>

// The upload history as a table, newest first, in the columns of lv::HistoryColumn. Failed rows
// say so in their text ("✗ ") as well as in colour; every cell's tooltip is the site's reply.
// A new record shows as soon as the history records it.
class LVUploadHistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The value to sort a column by: the time, a count or a size rather than their text.
    static constexpr int kSortRole = Qt::UserRole;
    static constexpr QStringView kFailureMark = u"✗ ";

    explicit LVUploadHistoryModel(LVUploadHistory *history, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const LVUploadRecord &recordAt(int row) const { return mRecords.at(row); }

public slots:
    void reload();

private:
    void showRecorded();
    QString displayText(int row, int column) const;
    QVariant sortValue(int row, int column) const;

    QPointer<LVUploadHistory> mHistory;
    QList<LVUploadRecord> mRecords;
    QList<QStringList> mCells;
};
