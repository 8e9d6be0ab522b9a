#include "app/LVHistoryWindow.h"

#include "app/SaveDialog.h"
#include "common/FileContents.h"
#include "common/TimeText.h"
#include "upload/HistoryText.h"
#include "upload/LVUploadHistoryModel.h"

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

LVHistoryWindow::LVHistoryWindow(LVUploadHistory *history, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , mHistory(history)
    , mModel(new LVUploadHistoryModel(history, this))
    , mSorted(new QSortFilterProxyModel(this))
    , mTable(new QTableView(this))
    , mDetails(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("historyWindow"));
    setWindowTitle(tr("Upload History"));
    mSorted->setSourceModel(mModel);
    mSorted->setSortRole(LVUploadHistoryModel::kSortRole);

    mTable->setObjectName(QStringLiteral("historyTable"));
    mTable->setModel(mSorted);
    mTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mTable->setAlternatingRowColors(true);
    mTable->setWordWrap(false);
    mTable->setTextElideMode(Qt::ElideMiddle); // keeps both ends of a long game folder
    mTable->verticalHeader()->hide();
    mTable->horizontalHeader()->setStretchLastSection(true);
    mTable->horizontalHeader()->moveSection(lv::HistoryOutcomeColumn, lv::HistoryTimeColumn + 1);
    mTable->setSortingEnabled(true);
    mTable->sortByColumn(lv::HistoryTimeColumn, Qt::DescendingOrder);

    mDetails->setObjectName(QStringLiteral("historyDetails"));
    mDetails->setReadOnly(true);
    mDetails->setPlaceholderText(tr("Choose an upload to see all the history keeps of it."));
    mDetails->setMaximumHeight(mDetails->fontMetrics().lineSpacing() * 6);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("closeButton"));
    QPushButton *exportButton = buttons->addButton(tr("&Export…"), QDialogButtonBox::ActionRole);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    connect(exportButton, &QPushButton::clicked, this, &LVHistoryWindow::exportHistory);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this, &QWidget::close);
    addActions();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mTable, 1);
    layout->addWidget(mDetails);
    layout->addWidget(buttons);
    resize(920, 460);

    connect(mSorted, &QAbstractItemModel::modelReset, this, &LVHistoryWindow::fitColumns);
    connect(mTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &LVHistoryWindow::showDetails);
    fitColumns();
}

// Copy and Export… in the table's context menu; Ctrl+C copies while the table has the focus.
void LVHistoryWindow::addActions() {
    auto *copy = new QAction(tr("&Copy"), mTable);
    copy->setObjectName(QStringLiteral("copyAction"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &LVHistoryWindow::copySelectedRows);
    auto *exportAll = new QAction(tr("&Export…"), mTable);
    connect(exportAll, &QAction::triggered, this, &LVHistoryWindow::exportHistory);
    mTable->addActions({copy, exportAll});
    mTable->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void LVHistoryWindow::fitColumns() {
    mTable->resizeColumnsToContents();
    for (int column = 0; column < lv::HistoryColumnCount; ++column)
        mTable->setColumnWidth(column, std::min(mTable->columnWidth(column), kMaxColumnWidth));
}

void LVHistoryWindow::showDetails() {
    const QModelIndex current = mSorted->mapToSource(mTable->currentIndex());
    mDetails->setPlainText(current.isValid() ? lv::historyDetails(mModel->recordAt(current.row())) : QString());
}

QString LVHistoryWindow::selectedRowsText() const {
    QModelIndexList rows = mTable->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    const QHeaderView *header = mTable->horizontalHeader();
    QString text;
    for (const QModelIndex &row : std::as_const(rows)) {
        QStringList cells;
        for (int shown = 0; shown < header->count(); ++shown)
            cells << mSorted->index(row.row(), header->logicalIndex(shown)).data().toString();
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

void LVHistoryWindow::copySelectedRows() const {
    const QString text = selectedRowsText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

bool LVHistoryWindow::exportTo(const QString &path, QString *error) const {
    return lv::writeFileAtomically(path, {csv()}, error);
}

QByteArray LVHistoryWindow::csv() const {
    return lv::historyCsv(mHistory ? mHistory->records() : QList<LVUploadRecord>());
}

void LVHistoryWindow::exportHistory() {
    lv::saveWithDialog(this, tr("Export the upload history"), QStringLiteral("lorvane-upload-history.csv"),
                       tr("CSV files (*.csv)"), [this] { return csv(); });
}

QString lv::historyDetails(const LVUploadRecord &record) {
    const QString reply = record.reply.isEmpty() ? LVHistoryWindow::tr("(nothing)") : record.reply;
    const QString answer = record.httpStatus == 0
                               ? LVHistoryWindow::tr("No answer came from the site.")
                               : LVHistoryWindow::tr("The site answered %1: %2").arg(record.httpStatus).arg(reply);
    const QString mark = record.succeeded ? QString() : LVUploadHistoryModel::kFailureMark.toString();
    return LVHistoryWindow::tr("%1 · %2 · %3\n%4%5\nFiles: %6 (%7, %8 compressed) in %9\n%10")
        .arg(timeText(record.time, TimeDetail::Seconds), record.account, QDir::toNativeSeparators(record.install), mark,
             historyCells(record).at(HistoryOutcomeColumn), record.files.join(QStringLiteral(", ")),
             formatByteCount(record.bytesBefore), formatByteCount(record.bytesAfter), formatDuration(record.durationMs),
             answer);
}
