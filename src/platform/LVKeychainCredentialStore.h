#pragma once

#include "platform/LVCredentialStore.h"

#include <QDBusConnection>

namespace QKeychain {
class Job;
}

// The password item in the platform's keychain: the Secret Service or KWallet on Linux, the
// Keychain on macOS, the Credential Manager on Windows. Never falls back to a file in clear. On Linux
// each operation first makes sure, within 5 seconds, that a keychain service runs on the session bus
// (starting one that the bus can start): without one, the keychain library would wait half a minute
// for an error that says nothing to the user.
class LVKeychainCredentialStore : public LVCredentialStore {
public:
    static constexpr int kServiceWaitMs = 5000;

    explicit LVKeychainCredentialStore(const QDBusConnection &bus = QDBusConnection::sessionBus());

    Item findPassword() override;
    int deletePassword() override;
    int addPassword(const QByteArray &password) override;
    QString failureReason() const override { return mFailureReason; }

private:
    // Runs the job to its end; the event loop keeps running meanwhile, without user input.
    int run(QKeychain::Job &job);
    // Whether a keychain service runs, or was started, within the wait.
    bool serviceAnswers();

    QDBusConnection mBus;
    QString mFailureReason;
};
