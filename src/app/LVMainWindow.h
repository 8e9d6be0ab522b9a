#pragma once

#include "app/LVApplicationDelegate.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace Ui {
class MainWindow;
}

// The main window: the background picture, the Launch, Upload, History, Sign in and Options buttons,
// how the last upload went (or why uploading is not possible now), the status line with its log
// disclosure, the progress of an upload run, and the log below. Where the client lives in the tray,
// closing the window hides it.
class LVMainWindow : public QWidget {
    Q_OBJECT
public:
    explicit LVMainWindow(QWidget *parent = nullptr);
    ~LVMainWindow() override;

    LVMainWindowOutlets outlets();

    // Hands the window's controls to the controller, wakes the status line and the controller in
    // that order, and connects the controls to their actions.
    void connectTo(LVApplicationDelegate &delegate);

    // The log as plain text into that file, replaced whole or left as it was; false, with the reason,
    // when it could not be written.
    bool saveLogTo(const QString &path, QString *error = nullptr) const;
    // Asks where to save the log, then saves it, telling the user when it fails.
    void saveLog();

protected:
    void closeEvent(QCloseEvent *event) override;

    // The History window, made on first use.
    void showHistory();

private:
    void logToggled(bool shown);
    void followUploadProgress(LVUploadRun &run);

    std::unique_ptr<Ui::MainWindow> mUi;
    QPointer<LVApplicationDelegate> mDelegate;
    QPointer<QWidget> mHistoryWindow;
};
