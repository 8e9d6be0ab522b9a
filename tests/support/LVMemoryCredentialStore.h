#pragma once

#include "platform/LVCredentialStore.h"

#include <QEventLoop>
#include <QTimer>

#include <functional>
#include <optional>

// A keychain that lives in memory. A test may make any operation fail with a status of its choice,
// and may make each operation wait as a real keychain does: the event loop runs on for a while after
// the operation took effect, and `whileWaiting` is told which operation it is in ("find", "delete",
// "add") so that the test can make something happen right then.
class LVMemoryCredentialStore : public LVCredentialStore {
public:
    std::optional<QByteArray> password;
    int findStatus = kSuccess; // used instead of the real answer when not kSuccess
    int deleteStatus = kSuccess;
    int addStatus = kSuccess;
    QString reason = QStringLiteral("the test's keychain is locked");
    int operations = 0;
    int waitMs = -1; // no wait
    std::function<void(const char *operation)> whileWaiting;

    Item findPassword() override {
        ++operations;
        Item item{findStatus, {}};
        if (findStatus == kSuccess)
            item = password ? Item{kSuccess, *password} : Item{kItemNotFound, {}};
        wait("find");
        return item;
    }
    int deletePassword() override {
        ++operations;
        int status = deleteStatus;
        if (deleteStatus == kSuccess) {
            status = password ? kSuccess : kItemNotFound;
            password.reset();
        }
        wait("delete");
        return status;
    }
    int addPassword(const QByteArray &newPassword) override {
        ++operations;
        if (addStatus == kSuccess)
            password = newPassword;
        wait("add");
        return addStatus;
    }
    QString failureReason() const override { return reason; }

private:
    void wait(const char *operation) {
        if (waitMs < 0)
            return;
        QEventLoop loop;
        QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
        if (whileWaiting)
            whileWaiting(operation);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
};
