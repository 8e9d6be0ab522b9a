#include "app/LVHeadless.h"

#include "app/LVApplicationDelegate.h"
#include "auth/StoredPassword.h"
#include "common/md5.h"
#include "platform/LVCredentialStore.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"
#include "status/LVStatusItem.h"
#include "upload/HistoryText.h"
#include "upload/LVUploadHistory.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLocale>

#include <iostream>
#include <string>

#ifdef Q_OS_UNIX
#include <termios.h>
#include <unistd.h>
#endif

LVConsoleLog::LVConsoleLog(FILE *output, FILE *errors)
    : mOutput(output)
    , mErrors(errors) {
    connect(&LVStatusBus::instance(), &LVStatusBus::statusMessageChanged, this,
            [this](const QString &message) { print(message, false); });
    connect(&LVStatusBus::instance(), &LVStatusBus::errorMessageChanged, this,
            [this](const QString &message) { print(message, true); });
}

void LVConsoleLog::print(const QString &message, bool isError) {
    if (message.isEmpty())
        return;
    if (std::exchange(mProgressShown, false)) {
        std::fputs("\r\033[K", mOutput);
        std::fflush(mOutput);
    }
    const LVStatusItem item = LVStatusItem::statusItemWithMessage(message, isError);
    const LVStatusItem shown(lv::displayedMessage(item), isError, item.timestamp());
    FILE *stream = isError ? mErrors : mOutput;
    std::fputs(lv::formatLogLine(shown, QLocale::system()).toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

void LVConsoleLog::followProgress(LVUploadRun &run) {
#ifdef Q_OS_UNIX
    if (!isatty(fileno(mOutput)))
        return;
#endif
    connect(&run, &LVUploadRun::progress, this, &LVConsoleLog::showProgress);
}

void LVConsoleLog::showProgress(const QString &what, qint64 done, qint64 total) {
    const int percent = total > 0 ? int(done * 100 / total) : 0;
    std::fprintf(mOutput, "\r\033[K%s %d%%", what.toLocal8Bit().constData(), percent);
    std::fflush(mOutput);
    mProgressShown = true;
}

namespace {

struct Headless {
    Q_DECLARE_TR_FUNCTIONS(Headless)
};

void printError(const QString &message) {
    std::cerr << message.toLocal8Bit().constData() << std::endl;
}

// Why the keychain gave no password, and what to do about it without a window.
QString keychainProblem(int status, const LVCredentialStore &store) {
    if (status == LVCredentialStore::kNoService)
        return Headless::tr("%1: start one (install gnome-keyring, or use KDE's wallet) and sign in with "
                            "lorvane-client --sign-in NAME, or upload from the window, which can keep the "
                            "password for its session only.")
            .arg(store.failureReason());
    return Headless::tr("The keychain is not available: %1").arg(store.failureReason());
}

// Why an upload cannot start, or null when it can.
QString reasonNotToStart(LVApplicationDelegate &delegate, LVSettings &settings, LVCredentialStore &store) {
    if (settings.stringForKey(kWowApplicationPathKey).isEmpty())
        return Headless::tr("No game is set: open lorvane-client once and choose the game in Options.");
    const LVCredentialStore::Item item = store.findPassword();
    if (item.status == LVCredentialStore::kItemNotFound)
        return Headless::tr("No password is stored: sign in first with lorvane-client --sign-in NAME.");
    if (item.status != LVCredentialStore::kSuccess)
        return keychainProblem(item.status, store);
    if (delegate.isWOWRunning())
        return Headless::tr("The game is running: upload once it has quit.");
    return {};
}

} // namespace

int lv::runHeadlessUpload(LVApplicationDelegate &delegate, LVSettings &settings, LVCredentialStore &store,
                          bool waitForOtherRuns) {
    delegate.awakeFromNib();
    // This process ends with its run: nothing is left to try again later.
    delegate.setRetrying(false);
    QString reason = reasonNotToStart(delegate, settings, store);
    if (reason.isNull() && !waitForOtherRuns && delegate.uploadRun().isLockedElsewhere())
        reason = Headless::tr("Another upload is running");
    if (!reason.isNull()) {
        printError(reason);
        return kHeadlessCannotStart;
    }
    delegate.applicationDidFinishLaunching();
    delegate.uploadRun().setRunLock(delegate.runLockPath(), waitForOtherRuns);

    bool failed = false;
    bool started = false;
    QEventLoop loop;
    QObject::connect(&delegate.uploadRun(), &LVUploadRun::runStarted, &loop, [&started] { started = true; });
    QObject::connect(&delegate.uploadRun(), &LVUploadRun::runEnded, &loop, [&](const LVUploadOutcome &outcome) {
        failed = failed || outcome.failed;
        loop.quit();
    });
    QObject::connect(&LVStatusBus::instance(), &LVStatusBus::errorMessageChanged, &loop, [&failed] { failed = true; });
    delegate.upload();
    if (started && delegate.uploadRun().uploadState() == LVUploadRun::Uploading)
        loop.exec();
    return failed || !started ? kHeadlessFailed : kHeadlessSucceeded;
}

// The new password is tried before it is stored: one the site refuses never replaces one that works.
int lv::runSignIn(LVApplicationDelegate &delegate, LVSettings &settings, LVCredentialStore &store,
                  const QString &username, const QByteArray &password) {
    if (password.isEmpty()) {
        printError(Headless::tr("No password given on standard input: nothing was changed."));
        return kHeadlessCannotStart;
    }
    delegate.awakeFromNib();
    delegate.setRetrying(false);
    const int keychain = store.findPassword().status;
    if (keychain != LVCredentialStore::kSuccess && keychain != LVCredentialStore::kItemNotFound) {
        printError(keychainProblem(keychain, store));
        return kHeadlessCannotStart;
    }
    const LVAuthentication::Answer answer =
        delegate.authentication().testCredentials(username, lv::md5HexString(password));
    if (answer == LVAuthentication::Answer::Rejected) {
        printError(
            Headless::tr("The site does not accept this password for %1: the stored one is kept.").arg(username));
        return kHeadlessFailed;
    }
    if (const int status = lv::replaceStoredPassword(store, password); status != LVCredentialStore::kSuccess) {
        printError(keychainProblem(status, store));
        return kHeadlessCannotStart;
    }
    settings.setValue(kUsernameKey, username);
    settings.synchronize();
    if (answer == LVAuthentication::Answer::None)
        printError(Headless::tr("The password is stored, but the site could not be reached to check it."));
    return kHeadlessSucceeded;
}

int lv::printHistory(const QString &path, bool json) {
    LVUploadHistory history(path);
    QString problem;
    const bool opened = history.open(&problem);
    if (!problem.isNull())
        std::cerr << problem.toLocal8Bit().constData() << std::endl;
    if (!opened)
        return kHeadlessCannotStart;
    const QList<LVUploadRecord> records = history.records();
    const QByteArray text = json ? lv::historyJson(records) : lv::historyTable(records).toLocal8Bit();
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    if (!text.endsWith('\n'))
        std::fputc('\n', stdout);
    return kHeadlessSucceeded;
}

QByteArray lv::readPassword(const QString &prompt) {
#ifdef Q_OS_UNIX
    if (isatty(STDIN_FILENO)) {
        std::cerr << prompt.toLocal8Bit().constData() << std::flush;
        termios saved{};
        tcgetattr(STDIN_FILENO, &saved);
        termios silent = saved;
        silent.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &silent);
        std::string line;
        std::getline(std::cin, line);
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        std::cerr << std::endl;
        return QByteArray::fromStdString(line);
    }
#else
    Q_UNUSED(prompt);
#endif
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QByteArray::fromStdString(line);
}
