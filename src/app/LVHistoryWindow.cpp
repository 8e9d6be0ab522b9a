#include "app/LVHistoryWindow.h"
#include "upload/HistoryText.h"
#include "upload/LVUploadHistoryModel.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

LVHistoryWindow::LVHistoryWindow(LVUploadHistory *history, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , mModel(new LVUploadHistoryModel(history, this))
    , mSorted(new QSortFilterProxyModel(this))
    , mTable(new QTableView(this)) {
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
    mTable->setSortingEnabled(true);
    mTable->sortByColumn(lv::HistoryTimeColumn, Qt::DescendingOrder);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("closeButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this, &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mTable);
    layout->addWidget(buttons);
    resize(920, 420);

    connect(mSorted, &QAbstractItemModel::modelReset, this, &LVHistoryWindow::fitColumns);
    fitColumns();
}

void LVHistoryWindow::fitColumns() {
    mTable->resizeColumnsToContents();
    for (int column = 0; column < lv::HistoryColumnCount - 1; ++column)
        mTable->setColumnWidth(column, std::min(mTable->columnWidth(column), kMaxColumnWidth));
}
