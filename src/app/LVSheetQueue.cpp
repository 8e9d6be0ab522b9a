#include "app/LVSheetQueue.h"

#include <QDialog>

void LVSheetQueue::presentSheet(QDialog *sheet) {
    sheet->setWindowModality(Qt::WindowModal);
    connect(sheet, &QObject::destroyed, this, &LVSheetQueue::openNextSheet, Qt::QueuedConnection);
    mWaitingSheets.append(sheet);
    if (!mOpenSheet)
        openNextSheet();
}

void LVSheetQueue::openNextSheet() {
    if (mOpenSheet)
        return;
    while (!mWaitingSheets.isEmpty()) {
        mOpenSheet = mWaitingSheets.takeFirst();
        if (mOpenSheet) {
            mOpenSheet->open();
            return;
        }
    }
}
