#pragma once

#include <QWidget>

class LVUploadHistory;
class LVUploadHistoryModel;
class QPlainTextEdit;
class QSortFilterProxyModel;
class QTableView;
struct LVUploadRecord;

// The upload history in a window of its own: one row per account's upload, newest first (the
// columns sort on a click), the outcome next to the time; below, everything kept of the chosen
// upload, the site's reply whole. Rows copy as text (Ctrl+C, or the context menu), and Export…
// writes the whole history as CSV.
class LVHistoryWindow : public QWidget {
    Q_OBJECT
public:
    // No column starts wider than this; the user may widen it.
    static constexpr int kMaxColumnWidth = 280;

    explicit LVHistoryWindow(LVUploadHistory *history, QWidget *parent = nullptr);

    LVUploadHistoryModel *model() const { return mModel; }
    // The selected rows as shown, one line each, their cells in the columns' order, separated by tabs.
    QString selectedRowsText() const;
    // Every record of the history, as CSV, into that file, replaced whole or left as it was; false,
    // with the reason, when it could not be written.
    bool exportTo(const QString &path, QString *error = nullptr) const;

public slots:
    void copySelectedRows() const;
    // Asks where to export, then exports, telling the user when it fails.
    void exportHistory();

private:
    QByteArray csv() const;
    void addActions();
    void fitColumns();
    void showDetails();

    LVUploadHistory *mHistory = nullptr;
    LVUploadHistoryModel *mModel = nullptr;
    QSortFilterProxyModel *mSorted = nullptr;
    QTableView *mTable = nullptr;
    QPlainTextEdit *mDetails = nullptr;
};

namespace lv {

// What the History says of one upload below its table: when, which account of which install, how it
// went, the files and their sizes, and the site's answer.
QString historyDetails(const LVUploadRecord &record);

} // namespace lv
