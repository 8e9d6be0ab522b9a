#pragma once

#include <QDialog>

#include <memory>

class QAbstractButton;
class QLineEdit;
class LVBusyGuard;
class LVSessionCredentialStore;
class LVSettings;

namespace Ui {
class Authentication;
}

// The sign-in sheet: the site user name (bound to the settings) and the password (kept in the
// keychain, or in memory for this session only: the box is checked by itself when the keychain cannot
// be used). It lives while it is open and tells how it ended: complete when the password was stored,
// failed when it was cancelled or could not be stored. Its keychain calls count as a wait of the busy
// guard: what an event would start meanwhile waits until they are done.
class LVAuthenticationController : public QDialog {
    Q_OBJECT
public:
    LVAuthenticationController(LVSettings &settings, LVSessionCredentialStore &store, LVBusyGuard &busy,
                               QWidget *parent);
    ~LVAuthenticationController() override;

    void awakeFromNib();

public slots:
    void performOK();
    void performCancel();

signals:
    void authenticationComplete();
    void authenticationFailed();

private:
    void sheetDidEnd();
    int storePassword();

    std::unique_ptr<Ui::Authentication> mUi;
    QLineEdit *mPassword;
    QLineEdit *mUsername;
    QAbstractButton *mSessionOnly;
    bool mEnded = false;
    LVSettings &mSettings;
    LVSessionCredentialStore &mStore;
    LVBusyGuard &mBusy;
};
