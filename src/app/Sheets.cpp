#include "app/LVApplicationDelegate.h"

#include <QDialog>

void LVApplicationDelegate::presentSheet(QDialog *sheet) {
    sheet->setWindowModality(Qt::WindowModal);
    connect(sheet, &QObject::destroyed, this, &LVApplicationDelegate::openNextSheet, Qt::QueuedConnection);
    mWaitingSheets.append(sheet);
    if (!mOpenSheet)
        openNextSheet();
}

void LVApplicationDelegate::openNextSheet() {
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
