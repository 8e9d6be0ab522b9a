#include "auth/LVAuthenticationController.h"

#include "auth/LVAuthentication.h"
#include "auth/LVSessionCredentialStore.h"
#include "auth/StoredPassword.h"
#include "common/LVBusyGuard.h"
#include "settings/LVSettings.h"
#include "settings/LVSettingsBinding.h"
#include "ui_Authentication.h"

LVAuthenticationController::LVAuthenticationController(LVSettings &settings, LVSessionCredentialStore &store,
                                                       LVBusyGuard &busy, QWidget *parent)
    : QDialog(parent)
    , mUi(std::make_unique<Ui::Authentication>())
    , mSettings(settings)
    , mStore(store)
    , mBusy(busy) {
    mUi->setupUi(this);
    mPassword = mUi->passwordField;
    mUsername = mUi->usernameField;
    mSessionOnly = mUi->sessionOnlyBox;
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
    const bool keychainAway =
        item.status != LVCredentialStore::kSuccess && item.status != LVCredentialStore::kItemNotFound;
    mSessionOnly->setChecked(keychainAway || mStore.hasSessionPassword());
    mUi->keychainNoteLabel->setVisible(keychainAway);
    if (keychainAway)
        mUi->keychainNoteLabel->setText(lv::keychainProblemText(item.status, mStore.failureReason()));
    // The first empty field; with both filled, the password, which is what a new sign-in changes.
    (mUsername->text().isEmpty() ? mUsername : mPassword)->setFocus();
}

void LVAuthenticationController::performOK() {
    if (std::exchange(mEnded, true))
        return;
    // Between the delete and the add there is no item: a credential test then would ask for a sign-in.
    const int status = storePassword();
    mSettings.save();
    sheetDidEnd();
    if (status == LVCredentialStore::kSuccess)
        emit authenticationComplete();
    else
        emit authenticationFailed();
}

// A password kept in the keychain replaces one kept for the session.
int LVAuthenticationController::storePassword() {
    LVBusyGuard::Scope busy(mBusy);
    const QByteArray password = mPassword->text().toUtf8();
    if (mSessionOnly->isChecked()) {
        mStore.keepForSession(password);
        return LVCredentialStore::kSuccess;
    }
    const int status = lv::replaceStoredPassword(mStore.keychain(), password);
    if (status == LVCredentialStore::kSuccess)
        mStore.forgetSessionPassword();
    return status;
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
