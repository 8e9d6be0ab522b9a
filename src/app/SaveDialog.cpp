#include "app/SaveDialog.h"

#include "common/FileContents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

void lv::saveWithDialog(QWidget *parent, const QString &title, const QString &fileName, const QString &filter,
                        const std::function<QByteArray()> &contents) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    auto *dialog = new QFileDialog(parent, title, QDir(folder).filePath(fileName), filter);
    dialog->setObjectName(QStringLiteral("saveDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QFileInfo(fileName).suffix());
    QObject::connect(dialog, &QFileDialog::fileSelected, parent, [parent, contents](const QString &path) {
        QString failure;
        if (!writeFileAtomically(path, {contents()}, &failure))
            QMessageBox::warning(parent, QCoreApplication::translate("SaveDialog", "Not saved"),
                                 QCoreApplication::translate("SaveDialog", "%1 could not be written: %2")
                                     .arg(QDir::toNativeSeparators(path), failure));
    });
    dialog->open();
}
