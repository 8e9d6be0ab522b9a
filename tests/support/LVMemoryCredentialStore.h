#pragma once

#include "platform/LVCredentialStore.h"

#include <optional>

// A keychain that lives in memory. A test may make any operation fail with a status of its choice.
class LVMemoryCredentialStore : public LVCredentialStore {
public:
    std::optional<QByteArray> password;
    int findStatus = kSuccess; // used instead of the real answer when not kSuccess
    int deleteStatus = kSuccess;
    int addStatus = kSuccess;
    QString reason = QStringLiteral("the test's keychain is locked");
    int operations = 0;

    Item findPassword() override {
        ++operations;
        if (findStatus != kSuccess)
            return {findStatus, {}};
        return password ? Item{kSuccess, *password} : Item{kItemNotFound, {}};
    }
    int deletePassword() override {
        ++operations;
        if (deleteStatus != kSuccess)
            return deleteStatus;
        if (!password)
            return kItemNotFound;
        password.reset();
        return kSuccess;
    }
    int addPassword(const QByteArray &newPassword) override {
        ++operations;
        if (addStatus != kSuccess)
            return addStatus;
        password = newPassword;
        return kSuccess;
    }
    QString failureReason() const override { return reason; }
};
