#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QDialog;

// Shows window-modal sheets one at a time: a sheet requested while another is open waits until that
// one has closed.
class LVSheetQueue : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void presentSheet(QDialog *sheet);

private:
    void openNextSheet();

    QPointer<QDialog> mOpenSheet;
    QList<QPointer<QDialog>> mWaitingSheets;
};
