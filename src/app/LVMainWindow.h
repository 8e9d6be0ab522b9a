#pragma once

#include "app/LVApplicationDelegate.h"

#include <QWidget>

#include <memory>

namespace Ui {
class MainWindow;
}

// The main window: the background picture, the Launch, Upload and Options buttons, the status line
// with its log disclosure, and the log below.
class LVMainWindow : public QWidget {
    Q_OBJECT
public:
    explicit LVMainWindow(QWidget *parent = nullptr);
    ~LVMainWindow() override;

    LVMainWindowOutlets outlets();

    // Hands the window's controls to the controller, wakes the status line and the controller in
    // that order, and connects the controls to their actions.
    void connectTo(LVApplicationDelegate &delegate);

private:
    std::unique_ptr<Ui::MainWindow> mUi;
};
