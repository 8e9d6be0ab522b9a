#pragma once

#include <QDialog>

#include <memory>

class QAbstractButton;
class QLineEdit;
class LVApplicationDelegate;
class LVCredentialStore;
class LVSettings;

namespace Ui {
class Authentication;
}

// The sign-in sheet: the site user name (bound to the settings) and the password (kept in the
// keychain). It lives while it is open and tells the controller how it ended.
class LVAuthenticationController : public QDialog {
    Q_OBJECT
public:
    LVAuthenticationController(LVApplicationDelegate *delegate, LVSettings &settings, LVCredentialStore &store,
                               QWidget *parent);
    ~LVAuthenticationController() override;

    void awakeFromNib();

public slots:
    void performOK();
    void performCancel();

private:
    void sheetDidEnd();

    std::unique_ptr<Ui::Authentication> mUi;
    QLineEdit *mPassword;
    QLineEdit *mUsername;
    QAbstractButton *mSaveInKeychain;
    LVApplicationDelegate *mDelegate;
    LVSettings &mSettings;
    LVCredentialStore &mStore;
};
