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

class LVUploadRun;

// Prints every status and error message as its log line, as the log view would show it: status
// messages to the output, errors, behind the log's warning sign, to the error stream.
class LVConsoleLog : public QObject {
public:
    LVConsoleLog(FILE *output, FILE *errors);

    // On a terminal, shows how far the run's long steps have got on one line of the output, cleared
    // before the next log line.
    void followProgress(LVUploadRun &run);

private:
    void print(const QString &message, bool isError);
    void showProgress(const QString &what, qint64 done, qint64 total);
    FILE *mOutput;
    FILE *mErrors;
    bool mProgressShown = false;
};

namespace lv {

// Gathers the installation and uploads every account as the Upload button does, then waits for the
// run to end: 0 when every account's data reached the site, 1 when anything failed, 2 when the upload
// could not start (the message says what to do).
// One run at a time: with `waitForOtherRuns` it waits for a run of another process to end, else it
// does not start while one is on.
int runHeadlessUpload(LVApplicationDelegate &delegate, LVSettings &settings, LVCredentialStore &store,
                      bool waitForOtherRuns = false);

// Tests the user name and the password, then stores them as the sign-in sheet does: 0 when they are
// stored (the site accepted them, or could not be reached to check them, which is said), 1 when the
// site refused them (what was stored stays), 2 when no password was given or it could not be stored.
int runSignIn(LVApplicationDelegate &delegate, LVSettings &settings, LVCredentialStore &store, const QString &username,
              const QByteArray &password);

// Prints the upload history kept in that file, newest first: a table, or JSON for scripts. 0, or 2
// when no history can be read.
int printHistory(const QString &path, bool json);

// One line of standard input, without its line break; not echoed when it comes from a terminal.
QByteArray readPassword(const QString &prompt);

} // namespace lv
