#pragma once

#include <QDialog>

#include <memory>

class QLabel;
class QPushButton;
class LVSettings;

namespace Ui {
class Preferences;
}

// The options sheet: where the game is, and the options. Apply stores them and says so, which lets
// the one-time gathering of the installation run if it still waits for a game path; it also adds or
// removes the client's start at log-in.
class LVPreferencesController : public QDialog {
    Q_OBJECT
public:
    LVPreferencesController(LVSettings &settings, QWidget *parent);
    ~LVPreferencesController() override;

    void awakeFromNib();
    void setupAppPath();
    // What Browse does with the file the user picked.
    void chooseApplicationPath(const QString &path);
    // Starting minimised needs a tray to start in.
    void setSystemTrayAvailable(bool available);

public slots:
    void performBrowse();
    void performCancel();
    void performApply();

signals:
    // Sent once the sheet has left the screen.
    void applied();

private:
    void sheetDidEnd();

    std::unique_ptr<Ui::Preferences> mUi;
    QLabel *mApplicationPathLabel;
    QPushButton *mApplyButton;
    QString mWowPath; // null until read from the settings or chosen
    bool mEnded = false;
    LVSettings &mSettings;
};
