#pragma once

#include "platform/LVCredentialStore.h"

namespace QKeychain {
class Job;
}

// The password item in the platform's keychain: the Secret Service or KWallet on Linux, the
// Keychain on macOS, the Credential Manager on Windows. Never falls back to a file in clear.
class LVKeychainCredentialStore : public LVCredentialStore {
public:
    Item findPassword() override;
    int deletePassword() override;
    int addPassword(const QByteArray &password) override;
    QString failureReason() const override { return mFailureReason; }

private:
    // Runs the job to its end; the event loop keeps running meanwhile, without user input.
    int run(QKeychain::Job &job);

    QString mFailureReason;
};
