#include "app/LVMainWindow.h"

#include "app/LVBackgroundView.h"
#include "app/LVHistoryWindow.h"
#include "app/LVWindowLook.h"
#include "app/SaveDialog.h"
#include "common/FileContents.h"
#include "status/LVStatusLabel.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QProgressBar>

LVMainWindow::LVMainWindow(QWidget *parent)
    : QWidget(parent)
    , mUi(std::make_unique<Ui::MainWindow>()) {
    lv::applyWindowLook();
    mUi->setupUi(this);
    // The bar keeps its place while hidden, so that the window does not jump when a run starts.
    QSizePolicy keepPlace = mUi->uploadProgress->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    mUi->uploadProgress->setSizePolicy(keepPlace);
    mUi->uploadProgress->hide();
}

LVMainWindow::~LVMainWindow() = default;

LVMainWindowOutlets LVMainWindow::outlets() {
    return {this,
            mUi->launchButton,
            mUi->uploadButton,
            mUi->optionsButton,
            mUi->signInButton,
            mUi->backgroundImage,
            mUi->lastUploadLabel,
            mUi->statusText,
            mUi->statusLabel,
            mUi->disclosureButton,
            mUi->welcomePanel,
            mUi->welcomeLabel,
            mUi->welcomeButton};
}

void LVMainWindow::connectTo(LVApplicationDelegate &delegate) {
    mDelegate = &delegate;
    delegate.setOutlets(outlets());
    mUi->statusLabel->awakeFromNib(delegate.statusTextView());
    delegate.awakeFromNib();
    connect(mUi->launchButton, &QPushButton::clicked, &delegate, &LVApplicationDelegate::launchWoW);
    connect(mUi->uploadButton, &QPushButton::clicked, &delegate, &LVApplicationDelegate::upload);
    connect(mUi->optionsButton, &QPushButton::clicked, &delegate, &LVApplicationDelegate::showOptions);
    connect(mUi->signInButton, &QPushButton::clicked, &delegate, &LVApplicationDelegate::setupAccount);
    connect(mUi->historyButton, &QPushButton::clicked, this, &LVMainWindow::showHistory);
    connect(&delegate, &LVApplicationDelegate::historyRequested, this, &LVMainWindow::showHistory);
    followUploadProgress(delegate.uploadRun());
    connect(mUi->disclosureButton, &QToolButton::toggled, this, &LVMainWindow::logToggled);
    connect(mUi->saveLogButton, &QToolButton::clicked, this, &LVMainWindow::saveLog);
}

bool LVMainWindow::saveLogTo(const QString &path, QString *error) const {
    return lv::writeFileAtomically(path, {mUi->statusText->toPlainText().toUtf8()}, error);
}

void LVMainWindow::saveLog() {
    const QString name = QStringLiteral("lorvane-client-log-%1.txt")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm")));
    lv::saveWithDialog(this, tr("Save the log"), name, tr("Text files (*.txt)"),
                       [this] { return mUi->statusText->toPlainText().toUtf8(); });
}

// "Compressing ACCOUNT1… 40%", then "Sending ACCOUNT1… 75%", while a run is on.
void LVMainWindow::followUploadProgress(LVUploadRun &run) {
    QProgressBar *bar = mUi->uploadProgress;
    connect(&run, &LVUploadRun::progress, bar, [bar](const QString &what, qint64 done, qint64 total) {
        bar->setRange(0, total > 0 ? 1000 : 0);
        bar->setValue(total > 0 ? int(done * 1000 / total) : 0);
        bar->setFormat(what + QStringLiteral(" %p%"));
        bar->setAccessibleDescription(bar->text());
        bar->show();
    });
    connect(&run, &LVUploadRun::runEnded, bar, &QWidget::hide);
}

void LVMainWindow::showHistory() {
    if (!mDelegate)
        return;
    if (!mHistoryWindow) {
        mHistoryWindow = new LVHistoryWindow(&mDelegate->reports().history(), this);
        mHistoryWindow->setWindowFlag(Qt::Window);
    }
    mHistoryWindow->show();
    mHistoryWindow->raise();
    mHistoryWindow->activateWindow();
}

void LVMainWindow::logToggled(bool shown) {
    QToolButton *toggle = mUi->disclosureButton;
    toggle->setArrowType(shown ? Qt::DownArrow : Qt::RightArrow);
    // Translated with the window's layout, which gives the button its first text.
    toggle->setText(shown ? QCoreApplication::translate("MainWindow", "Hide log")
                          : QCoreApplication::translate("MainWindow", "Show log"));
    toggle->setAccessibleName(toggle->text());
    mUi->saveLogButton->setVisible(shown);
    if (mDelegate)
        mDelegate->discloseStatusText(shown ? 1 : 0);
}

void LVMainWindow::closeEvent(QCloseEvent *event) {
    if (mDelegate && mDelegate->hidesWindowOnClose()) {
        hide();
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
