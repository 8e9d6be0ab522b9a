#include "app/LVMainWindow.h"

#include "app/LVBackgroundView.h"
#include "status/LVStatusLabel.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>

LVMainWindow::LVMainWindow(QWidget *parent)
    : QWidget(parent)
    , mUi(std::make_unique<Ui::MainWindow>()) {
    mUi->setupUi(this);
}

LVMainWindow::~LVMainWindow() = default;

LVMainWindowOutlets LVMainWindow::outlets() {
    return {this,
            mUi->launchButton,
            mUi->uploadButton,
            mUi->optionsButton,
            mUi->backgroundImage,
            mUi->lastUploadLabel,
            mUi->statusText,
            mUi->statusLabel,
            mUi->disclosureButton};
}

void LVMainWindow::connectTo(LVApplicationDelegate &delegate) {
    mDelegate = &delegate;
    delegate.setOutlets(outlets());
    mUi->statusLabel->awakeFromNib(delegate.statusTextView());
    delegate.awakeFromNib();
    connect(mUi->launchButton, &QPushButton::clicked, &delegate, &LVApplicationDelegate::launchWoW);
    connect(mUi->uploadButton, &QPushButton::clicked, &delegate, &LVApplicationDelegate::upload);
    connect(mUi->optionsButton, &QPushButton::clicked, &delegate, &LVApplicationDelegate::showOptions);
    connect(mUi->disclosureButton, &QToolButton::toggled, this, &LVMainWindow::logToggled);
}

void LVMainWindow::logToggled(bool shown) {
    QToolButton *toggle = mUi->disclosureButton;
    toggle->setArrowType(shown ? Qt::DownArrow : Qt::RightArrow);
    toggle->setText(shown ? QStringLiteral("Hide log") : QStringLiteral("Show log"));
    toggle->setAccessibleName(toggle->text());
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
