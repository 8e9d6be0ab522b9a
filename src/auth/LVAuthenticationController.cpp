#include "auth/LVAuthenticationController.h"

#include "app/LVApplicationDelegate.h"
#include "auth/LVCredentialStore.h"
#include "settings/LVSettings.h"
#include "settings/LVSettingsBinding.h"
#include "ui_Authentication.h"

LVAuthenticationController::LVAuthenticationController(LVApplicationDelegate *delegate, LVSettings &settings,
                                                       LVCredentialStore &store, QWidget *parent)
    : QDialog(parent)
    , mUi(std::make_unique<Ui::Authentication>())
    , mDelegate(delegate)
    , mSettings(settings)
    , mStore(store) {
    mUi->setupUi(this);
    mPassword = mUi->passwordField;
    mUsername = mUi->usernameField;
    mSaveInKeychain = mUi->saveInKeychainBox;
    setWindowModality(Qt::WindowModal);
    connect(mUi->okButton, &QPushButton::clicked, this, &LVAuthenticationController::performOK);
    connect(mUi->cancelButton, &QPushButton::clicked, this, &LVAuthenticationController::performCancel);
    // Escape and the window's close button cancel like the Cancel button.
    connect(this, &QDialog::rejected, this, &LVAuthenticationController::performCancel);
    awakeFromNib();
}

LVAuthenticationController::~LVAuthenticationController() = default;

void LVAuthenticationController::awakeFromNib() {
    bindLineEdit(mUsername, mSettings, QString::fromLatin1(kUsernameKey));
    const LVCredentialStore::Item item = mStore.findPassword();
    if (item.status == LVCredentialStore::kSuccess)
        mPassword->setText(QString::fromUtf8(item.password));
    mPassword->setFocus();
}

void LVAuthenticationController::performOK() {
    const int status = replaceStoredPassword(mStore, mPassword->text().toUtf8());
    mSettings.save();
    LVApplicationDelegate *delegate = std::exchange(mDelegate, nullptr);
    sheetDidEnd();
    if (status == LVCredentialStore::kSuccess)
        delegate->authenticationComplete();
    else
        delegate->authenticationFailed();
}

void LVAuthenticationController::performCancel() {
    LVApplicationDelegate *delegate = std::exchange(mDelegate, nullptr);
    if (!delegate)
        return;
    mSettings.discardPendingEdits();
    sheetDidEnd();
    delegate->authenticationFailed();
}

// The sheet leaves the screen before the controller hears the outcome, which may start an upload.
void LVAuthenticationController::sheetDidEnd() {
    hide();
    deleteLater();
}
