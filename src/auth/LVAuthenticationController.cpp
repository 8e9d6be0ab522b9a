#include "auth/LVAuthenticationController.h"

#include "auth/StoredPassword.h"
#include "common/LVBusyGuard.h"
#include "platform/LVCredentialStore.h"
#include "settings/LVSettings.h"
#include "settings/LVSettingsBinding.h"
#include "ui_Authentication.h"

LVAuthenticationController::LVAuthenticationController(LVSettings &settings, LVCredentialStore &store,
                                                       LVBusyGuard &busy, QWidget *parent)
    : QDialog(parent)
    , mUi(std::make_unique<Ui::Authentication>())
    , mSettings(settings)
    , mStore(store)
    , mBusy(busy) {
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
    lv::bindLineEdit(mUsername, mSettings, QString::fromLatin1(kUsernameKey));
    const LVCredentialStore::Item item = [this] {
        LVBusyGuard::Scope busy(mBusy);
        return mStore.findPassword();
    }();
    if (item.status == LVCredentialStore::kSuccess)
        mPassword->setText(QString::fromUtf8(item.password));
    mPassword->setFocus();
}

void LVAuthenticationController::performOK() {
    if (std::exchange(mEnded, true))
        return;
    // Between the delete and the add there is no item: a credential test then would ask for a sign-in.
    const int status = [this] {
        LVBusyGuard::Scope busy(mBusy);
        return lv::replaceStoredPassword(mStore, mPassword->text().toUtf8());
    }();
    mSettings.save();
    sheetDidEnd();
    if (status == LVCredentialStore::kSuccess)
        emit authenticationComplete();
    else
        emit authenticationFailed();
}

void LVAuthenticationController::performCancel() {
    if (std::exchange(mEnded, true))
        return;
    mSettings.discardPendingEdits();
    sheetDidEnd();
    emit authenticationFailed();
}

// The sheet leaves the screen before its outcome is told, which may start an upload.
void LVAuthenticationController::sheetDidEnd() {
    hide();
    deleteLater();
}
