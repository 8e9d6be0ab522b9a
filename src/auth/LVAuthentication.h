#pragma once

#include "net/LVRetrySchedule.h"
#include "net/LVSyncGet.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class QNetworkAccessManager;
class QTimer;
class LVBusyGuard;
class LVClock;
class LVCredentialStore;
class LVSettings;
class LVSystemEvents;

// The site credentials: the stored password, handed on as its MD5 hex form, and the test of the
// credentials against the site's authentication service, which decides whether uploading is allowed.
// A throttled account is tested again 30 seconds later. A test the site gave no answer to changes
// nothing it knew, and is tried again with back-off, at once when the network comes back.
class LVAuthentication : public QObject {
    Q_OBJECT
public:
    enum AccountStatus : qint32 { AccountValid = 0, AccountRejected = 1, AccountThrottled = 2 };
    // What the site said to a test.
    enum class Answer { Accepted, Throttled, Rejected, None };

    LVAuthentication(LVSettings &settings, LVCredentialStore &store, QNetworkAccessManager &network, LVBusyGuard &busy,
                     LVClock &clock, LVSystemEvents &events, QObject *parent = nullptr);

    // The user name and the password's MD5 hex form; false when no password is stored (signInNeeded
    // has been sent) or the keychain cannot be read (the error has been posted, and signInNeeded sent
    // when no keychain service runs at all).
    bool obtainUsername(QString &username, QString &password);
    void testAuthentication();
    // Tests these credentials, whatever is stored, as testAuthentication() tests the stored ones.
    Answer testCredentials(const QString &username, const QString &passwordHex);
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
    // The last test got no answer: what the site thinks of the credentials is not known now.
    bool siteUnanswered() const { return mUnanswered; }
    // When the credentials are tested next by themselves; null when no test is due.
    QDateTime nextTest() const;
    // No password was found at the last look; or why the keychain could not be read (null: it could).
    bool passwordMissing() const { return mPasswordMissing; }
    const QString &keychainProblem() const { return mKeychainProblem; }
    void setNetworkTimeouts(const LVNetworkTimeouts &timeouts) { mTimeouts = timeouts; }
    // Off, a test the site gave no answer to is not tried again (the runs without a window end first).
    void setRetrying(bool retrying) { mRetrying = retrying; }

signals:
    // No password is stored: the user has to sign in.
    void signInNeeded();
    // A test has ended, whatever its outcome.
    void tested();
    // A retest has ended; the controls follow the account status.
    void retested();
    // The site refused the credentials.
    void credentialsRejected();
    // The site refused the credentials, or the keychain could not be read: worth telling outside the window.
    void credentialProblem(const QString &text);

private:
    Answer judgeReply(const QByteArray &body);
    void followAnswer(Answer answer);
    void retestUnlessAnswered(quint64 testsBegunWhenDue, bool markThrottled);

    LVSettings &mSettings;
    LVCredentialStore &mStore;
    QNetworkAccessManager &mNetwork;
    LVBusyGuard &mBusy;
    LVClock &mClock;
    LVRetrySchedule mRetry;
    LVNetworkTimeouts mTimeouts;
    AccountStatus mAccountStatus = AccountValid;
    QPointer<QTimer> mAccountStatusTimer;
    QByteArray mLastReply;
    quint64 mTestsBegun = 0;
    bool mUnanswered = false;
    bool mRetrying = true;
    bool mPasswordMissing = false;
    QString mKeychainProblem;
};

namespace lv {

// What to tell the user when the keychain gave no password for a reason other than there being none.
QString keychainProblemText(int status, const QString &reason);

} // namespace lv
