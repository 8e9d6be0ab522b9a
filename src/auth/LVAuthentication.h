#pragma once

#include "net/LVSyncGet.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class QNetworkAccessManager;
class QTimer;
class LVBusyGuard;
class LVCredentialStore;
class LVSettings;

// The site credentials: the stored password, handed on as its MD5 hex form, and the test of the
// credentials against the site's authentication service, which decides whether uploading is allowed.
// A throttled account is tested again 30 seconds later.
class LVAuthentication : public QObject {
    Q_OBJECT
public:
    enum AccountStatus : qint32 { AccountValid = 0, AccountRejected = 1, AccountThrottled = 2 };

    LVAuthentication(LVSettings &settings, LVCredentialStore &store, QNetworkAccessManager &network, LVBusyGuard &busy,
                     QObject *parent = nullptr);

    // The user name and the password's MD5 hex form; false when no password is stored (signInNeeded
    // has been sent) or the keychain cannot be read (the error has been posted).
    bool obtainUsername(QString &username, QString &password);
    void testAuthentication();
    // The retest timer's target; also called without a timer. A retest that falls due while the
    // program waits is put off until the wait is over, and dropped when a credential test has begun
    // since it fell due (a sign-in tests the new password at once).
    void retestAuthentication(QTimer *timer);
    // A new one-shot retest; it replaces the timer referred to, without stopping one still pending.
    void scheduleRetest(int seconds);

    AccountStatus accountStatus() const { return mAccountStatus; }
    QTimer *accountStatusTimer() const { return mAccountStatusTimer; }
    // What the service answered to the last test; empty when it did not answer.
    const QByteArray &lastAuthenticationReply() const { return mLastReply; }
    void setNetworkTimeouts(const LVNetworkTimeouts &timeouts) { mTimeouts = timeouts; }

signals:
    // No password is stored: the user has to sign in.
    void signInNeeded();
    // A retest has ended; the controls follow the account status.
    void retested();
    // The site refused the credentials, or the keychain could not be read: worth telling outside the window.
    void credentialProblem(const QString &text);

private:
    void judgeReply(const QByteArray &body);
    void retestUnlessAnswered(quint64 testsBegunWhenDue);

    LVSettings &mSettings;
    LVCredentialStore &mStore;
    QNetworkAccessManager &mNetwork;
    LVBusyGuard &mBusy;
    LVNetworkTimeouts mTimeouts;
    AccountStatus mAccountStatus = AccountValid;
    QPointer<QTimer> mAccountStatusTimer;
    QByteArray mLastReply;
    quint64 mTestsBegun = 0;
};
