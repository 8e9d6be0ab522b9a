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

namespace lv {

// Gathers the installation and uploads every account as the Upload button does, then waits for the
// run to end: 0 when every account's data reached the site, 1 when anything failed, 2 when the upload
// could not start (the message says what to do).
// One run at a time: with `waitForOtherRuns` it waits for a run of another process to end, else it
// does not start while one is on.
int runHeadlessUpload(LVApplicationDelegate &delegate, LVSettings &settings, LVCredentialStore &store,
                      bool waitForOtherRuns = false);

// Stores the user name and the password as the sign-in sheet does and tests them: 0 when the site
// accepts them, 1 when it does not, 2 when they could not be stored.
int runSignIn(LVApplicationDelegate &delegate, LVSettings &settings, LVCredentialStore &store, const QString &username,
              const QByteArray &password);

// Prints the upload history kept in that file, newest first: a table, or JSON for scripts. 0, or 2
// when no history can be read.
int printHistory(const QString &path, bool json);

// One line of standard input, without its line break; not echoed when it comes from a terminal.
QByteArray readPassword(const QString &prompt);

} // namespace lv
