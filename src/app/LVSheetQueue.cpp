#include "app/LVSheetQueue.h"

#include <QDialog>

namespace {

// A sheet hangs from the top of its window, over the picture there, so that what the window says
// below (the first start's welcome) stays in sight. One taller than the window is left centred on it.
void hangFromTopOfWindow(QDialog *sheet) {
    const QWidget *window = sheet->parentWidget() ? sheet->parentWidget()->window() : nullptr;
    if (!window || !window->isVisible() || sheet->testAttribute(Qt::WA_Moved))
        return;
    sheet->adjustSize();
    if (sheet->height() > window->height())
        return;
    sheet->move(window->mapToGlobal(QPoint((window->width() - sheet->width()) / 2, 0)));
}

} // namespace

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
            hangFromTopOfWindow(mOpenSheet);
            mOpenSheet->open();
            return;
        }
    }
}
