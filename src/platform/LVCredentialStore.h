#pragma once

#include <QByteArray>
#include <QString>

// The keychain item that holds the site password, as typed, in UTF-8.
inline constexpr char kServiceName[] = "Lorvane-Client";
inline constexpr char kAccountName[] = "Lorvane-Password";

// A secure per-user store of the one password item. Every operation answers a status: 0 for
// success, kItemNotFound when there is no item, anything else for a failure (see failureReason()).
class LVCredentialStore {
public:
    static constexpr int kSuccess = 0;
    static constexpr int kItemNotFound = -25300;
    static constexpr int kUnavailable = -25291;
    // No keychain service runs, or none answered in time: nothing can be kept, and waiting does not help.
    static constexpr int kNoService = -25294;

    struct Item {
        int status = kItemNotFound;
        QByteArray password;
    };

    virtual ~LVCredentialStore() = default;

    virtual Item findPassword() = 0;
    virtual int deletePassword() = 0;
    virtual int addPassword(const QByteArray &password) = 0;
    // Why the last operation failed, in words for the user.
    virtual QString failureReason() const = 0;
};
