#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstdio>

class LVApplicationDelegate;
class LVCredentialStore;
class LVSettings;

// Exit codes of the runs without a window.
enum LVHeadlessExit { kHeadlessSucceeded = 0, kHeadlessFailed = 1, kHeadlessCannotStart = 2 };

// Prints every status and error message as its log line, as the log view would show it.
class LVConsoleLog : public QObject {
public:
    explicit LVConsoleLog(FILE *stream);

private:
    void print(const QString &message, bool isError);
    FILE *mStream;
};

// Gathers the installation and uploads every account as the Upload button does, then waits for
// every request's reply: 0 when each got a 2xx reply, 1 when any upload failed, 2 when the upload
// could not start (the message says what to do).
int runHeadlessUpload(LVApplicationDelegate &delegate, LVSettings &settings, LVCredentialStore &store);

// Stores the user name and the password as the sign-in sheet does and tests them: 0 when the site
// accepts them, 1 when it does not, 2 when they could not be stored.
int runSignIn(LVApplicationDelegate &delegate, LVSettings &settings, LVCredentialStore &store, const QString &username,
              const QByteArray &password);

// One line of standard input, without its line break; not echoed when it comes from a terminal.
QByteArray readPassword(const QString &prompt);
