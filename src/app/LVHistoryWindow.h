#pragma once

#include <QWidget>

class LVUploadHistory;
class LVUploadHistoryModel;
class QSortFilterProxyModel;
class QTableView;

// The upload history in a window of its own: one row per account's upload, newest first (the
// columns sort on a click), and a Close button.
class LVHistoryWindow : public QWidget {
    Q_OBJECT
public:
    // No column starts wider than this; the user may widen it.
    static constexpr int kMaxColumnWidth = 280;

    explicit LVHistoryWindow(LVUploadHistory *history, QWidget *parent = nullptr);

    LVUploadHistoryModel *model() const { return mModel; }

private:
    void fitColumns();

    LVUploadHistoryModel *mModel = nullptr;
    QSortFilterProxyModel *mSorted = nullptr;
    QTableView *mTable = nullptr;
};
