#include "app/LVMainWindow.h"

#include "status/LVStatusLabel.h"
#include "ui_MainWindow.h"

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
            mUi->statusText,
            mUi->statusLabel,
            mUi->disclosureButton};
}

void LVMainWindow::connectTo(LVApplicationDelegate &delegate) {
    delegate.setOutlets(outlets());
    mUi->statusLabel->awakeFromNib(delegate.statusTextView());
    delegate.awakeFromNib();
    connect(mUi->launchButton, &QPushButton::clicked, &delegate, &LVApplicationDelegate::launchWoW);
    connect(mUi->uploadButton, &QPushButton::clicked, &delegate, &LVApplicationDelegate::upload);
    connect(mUi->optionsButton, &QPushButton::clicked, &delegate, &LVApplicationDelegate::showOptions);
    connect(mUi->disclosureButton, &QToolButton::toggled, &delegate, [this, &delegate](bool shown) {
        mUi->disclosureButton->setArrowType(shown ? Qt::DownArrow : Qt::RightArrow);
        delegate.discloseStatusText(shown ? 1 : 0);
    });
}
