#pragma once

#include "platform/LVCredentialStore.h"

#include <optional>

// The keychain, with a password the user chose to keep for this session only: held in memory, never
// written anywhere, and found before whatever the keychain holds. Deleting and adding go to the
// keychain itself.
class LVSessionCredentialStore : public LVCredentialStore {
public:
    explicit LVSessionCredentialStore(LVCredentialStore &keychain)
        : mKeychain(keychain) {}

    LVCredentialStore &keychain() const { return mKeychain; }
    void keepForSession(const QByteArray &password) { mSessionPassword = password; }
    void forgetSessionPassword() { mSessionPassword.reset(); }
    bool hasSessionPassword() const { return mSessionPassword.has_value(); }

    Item findPassword() override {
        return mSessionPassword ? Item{kSuccess, *mSessionPassword} : mKeychain.findPassword();
    }
    int deletePassword() override { return mKeychain.deletePassword(); }
    int addPassword(const QByteArray &password) override { return mKeychain.addPassword(password); }
    QString failureReason() const override { return mKeychain.failureReason(); }

private:
    LVCredentialStore &mKeychain;
    std::optional<QByteArray> mSessionPassword;
};
