#pragma once

#include "game/InstallChoices.h"

#include <QDialog>

#include <memory>

class QPushButton;
class QTreeWidget;
class LVSettings;
class LVWorkspace;

namespace Ui {
class Preferences;
}

// The options sheet: the installs of the game, each checked or not, and the options. Apply stores them
// and says so, which lets the gathering of the installs run for those it has not gathered yet; it also
// adds or removes the client's start at log-in.
class LVPreferencesController : public QDialog {
    Q_OBJECT
public:
    LVPreferencesController(LVSettings &settings, LVWorkspace &workspace, QWidget *parent);
    ~LVPreferencesController() override;

    void awakeFromNib();
    // What Browse does with the file the user picked: the install is added, checked, or checked when
    // it is listed already.
    void chooseApplicationPath(const QString &path);
    // The installs as the sheet shows them now, in its order.
    QList<LVInstallChoice> installChoices() const;
    // Starting minimised needs a tray to start in.
    void setSystemTrayAvailable(bool available);

public slots:
    void performBrowse();
    void performCancel();
    void performApply();

signals:
    // Sent once the sheet has left the screen.
    void applied();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // What a window manager's title bar and borders take around the sheet, about.
    static constexpr QSize kWindowFrame{16, 48};

    void fitColumns();
    QSize wantedSize() const;
    void addInstallRow(const QString &executable, bool checked);
    void updateApplyButton();
    void sheetDidEnd();

    std::unique_ptr<Ui::Preferences> mUi;
    QTreeWidget *mInstallsList;
    QPushButton *mApplyButton;
    bool mEnded = false;
    LVSettings &mSettings;
    LVWorkspace &mWorkspace;
};
