#pragma once

#include <QDateTime>
#include <QStringList>

// What decides whether Upload can be pressed now, gathered from the subsystems.
struct LVUploadSituation {
    bool hasGame = false;
    bool gameRunning = false;
    bool runInProgress = false;
    bool waitingForSignIn = false;
    bool passwordMissing = false;
    QString keychainProblem; // null: the keychain answered
    int accountStatus = 0;   // LVAuthentication::AccountStatus
    bool siteUnanswered = false;
    QDateTime nextTest;           // the credentials' next test by themselves, when one is due
    bool heldAfterUpload = false; // the site takes no new upload until that test
    QDateTime nextRetry;          // when failed accounts are tried again, when they are
    QStringList accountsToRetry;  // and which
    bool paused = false;          // automatic uploads
    QDateTime pausedUntil;        // null: until resumed
};

// Whether Upload can be pressed, and what to tell about it: why not, or what it will do first or later.
struct LVUploadReadiness {
    bool enabled = false;
    QString why; // null: nothing to tell
};

namespace lv {

LVUploadReadiness uploadReadiness(const LVUploadSituation &situation);
// "Automatic uploads paused until 15:02", or "… until you resume them"; null when not paused.
QString pauseText(bool paused, const QDateTime &until);
// The failed accounts of a run as a notification names them: "ACCOUNT1", "2 of 3 accounts: A, B", and
// past five names "7 of 9 accounts: A, B, C, D, E…".
QString failedAccountsText(const QStringList &failed, int accountsWithData);

} // namespace lv
