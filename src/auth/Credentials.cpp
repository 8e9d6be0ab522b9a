#include "app/LVApplicationDelegate.h"
#include "auth/LVAuthenticationController.h"
#include "auth/LVCredentialStore.h"
#include "auth/md5.h"
#include "settings/LVSettings.h"

bool LVApplicationDelegate::obtainUsername(QString &username, QString &password) {
    BusyScope busy(*this);
    const LVCredentialStore::Item item = mCredentialStore->findPassword();
    if (item.status == LVCredentialStore::kItemNotFound) {
        mUploadState = UploadWaitingForSignIn;
        setupAccount();
        return false;
    }
    if (item.status != LVCredentialStore::kSuccess) {
        sendErrorMessage(QStringLiteral("The keychain is not available: %1").arg(mCredentialStore->failureReason()));
        return false;
    }
    username = mSettings->stringForKey(kUsernameKey);
    password = md5HexString(item.password);
    return true;
}

void LVApplicationDelegate::setupAccount() {
    if (mMainWindow)
        presentSheet(new LVAuthenticationController(this, *mSettings, *mCredentialStore, mMainWindow));
    else
        sendErrorMessage(QStringLiteral("No password is stored: sign in with lorvane-client --sign-in NAME."));
}
