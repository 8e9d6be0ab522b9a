#include "app/LVHeadless.h"

#include "app/LVApplicationDelegate.h"
#include "auth/StoredPassword.h"
#include "platform/LVCredentialStore.h"
#include "settings/LVSettings.h"
#include "status/LVStatusBus.h"
#include "status/LVStatusItem.h"
#include "upload/HistoryText.h"
#include "upload/LVUploadHistory.h"

#include <QEventLoop>
#include <QLocale>

#include <iostream>
#include <string>

#ifdef Q_OS_UNIX
#include <termios.h>
#include <unistd.h>
#endif

LVConsoleLog::LVConsoleLog(FILE *stream)
    : mStream(stream) {
    connect(&LVStatusBus::instance(), &LVStatusBus::statusMessageChanged, this,
            [this](const QString &message) { print(message, false); });
    connect(&LVStatusBus::instance(), &LVStatusBus::errorMessageChanged, this,
            [this](const QString &message) { print(message, true); });
}

void LVConsoleLog::print(const QString &message, bool isError) {
    if (message.isEmpty())
        return;
    const LVStatusItem item = LVStatusItem::statusItemWithMessage(message, isError);
    std::fputs(lv::formatLogLine(item, QLocale::system()).toLocal8Bit().constData(), mStream);
    std::fflush(mStream);
}

namespace {

// Why an upload cannot start, or null when it can.
QString reasonNotToStart(LVApplicationDelegate &delegate, LVSettings &settings, LVCredentialStore &store) {
    if (settings.stringForKey(kWowApplicationPathKey).isEmpty())
        return QStringLiteral("No game is set: open lorvane-client once and choose the game in Options.");
    const LVCredentialStore::Item item = store.findPassword();
    if (item.status == LVCredentialStore::kItemNotFound)
        return QStringLiteral("No password is stored: sign in first with lorvane-client --sign-in NAME.");
    if (item.status != LVCredentialStore::kSuccess)
        return QStringLiteral("The keychain is not available: %1").arg(store.failureReason());
    if (delegate.isWOWRunning())
        return QStringLiteral("The game is running: upload once it has quit.");
    return {};
}

// Shows how far a long step has got, on one line of the terminal; nothing when the output is a file.
class LVTerminalProgress : public QObject {
public:
    explicit LVTerminalProgress(LVUploadRun &run) {
#ifdef Q_OS_UNIX
        if (!isatty(STDOUT_FILENO))
            return;
#endif
        connect(&run, &LVUploadRun::progress, this, [](const QString &what, qint64 done, qint64 total) {
            const int percent = total > 0 ? int(done * 100 / total) : 0;
            std::fprintf(stdout, "\r\033[K%s %d%%", what.toLocal8Bit().constData(), percent);
            std::fflush(stdout);
        });
        connect(&LVStatusBus::instance(), &LVStatusBus::statusMessageChanged, this, [] { clearLine(); });
        connect(&LVStatusBus::instance(), &LVStatusBus::errorMessageChanged, this, [] { clearLine(); });
    }

private:
    static void clearLine() {
        std::fputs("\r\033[K", stdout);
        std::fflush(stdout);
    }
};

bool runLockHeldElsewhere(const QString &lockPath) {
    if (lockPath.isEmpty())
        return false;
    QLockFile lock(lockPath);
    lock.setStaleLockTime(0);
    return !lock.tryLock(0);
}

} // namespace

int lv::runHeadlessUpload(LVApplicationDelegate &delegate, LVSettings &settings, LVCredentialStore &store,
                          bool waitForOtherRuns) {
    delegate.awakeFromNib();
    QString reason = reasonNotToStart(delegate, settings, store);
    if (reason.isNull() && !waitForOtherRuns && runLockHeldElsewhere(delegate.runLockPath()))
        reason = QStringLiteral("Another upload is running");
    if (!reason.isNull()) {
        std::cerr << reason.toLocal8Bit().constData() << std::endl;
        return kHeadlessCannotStart;
    }
    delegate.applicationDidFinishLaunching();
    delegate.uploadRun().setRunLock(delegate.runLockPath(), waitForOtherRuns);

    bool failed = false;
    bool started = false;
    QEventLoop loop;
    const LVTerminalProgress progress(delegate.uploadRun());
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

int lv::runSignIn(LVApplicationDelegate &delegate, LVSettings &settings, LVCredentialStore &store,
                  const QString &username, const QByteArray &password) {
    delegate.awakeFromNib();
    if (lv::replaceStoredPassword(store, password) != LVCredentialStore::kSuccess) {
        std::cerr
            << QStringLiteral("The keychain is not available: %1").arg(store.failureReason()).toLocal8Bit().constData()
            << std::endl;
        return kHeadlessCannotStart;
    }
    settings.setValue(kUsernameKey, username);
    settings.synchronize();
    delegate.testAuthentication();
    const QByteArray reply = delegate.authentication().lastAuthenticationReply();
    return reply == "0" || reply == "2" ? kHeadlessSucceeded : kHeadlessFailed;
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
