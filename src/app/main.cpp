#include "app/LVApplicationDelegate.h"
#include "app/LVHeadless.h"
#include "app/LVMainWindow.h"
#include "app/LVResources.h"
#include "app/LVTrayIcon.h"
#include "platform/LVKeychainCredentialStore.h"
#include "platform/LVProcessMonitor.h"
#include "platform/LVWorkspace.h"
#include "settings/LVSettings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

const QString kUploadOption = QStringLiteral("upload");
const QString kSignInOption = QStringLiteral("sign-in");
const QString kWaitOption = QStringLiteral("wait");
const QString kMinimizedOption = QStringLiteral("minimized");
const QString kHistoryOption = QStringLiteral("history");
const QString kJsonOption = QStringLiteral("json");

void nameApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Lorvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Lorvane Client"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LV_VERSION));
}

void describeOptions(QCommandLineParser &parser) {
    parser.setApplicationDescription(
        QStringLiteral("Uploads what the +Lorvane_Harvex addon recorded and keeps the addon up to date."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions(
        {{kUploadOption, QStringLiteral("Upload every account without a window, printing the log, and "
                                        "exit: 0 when all went up, 1 when an upload failed, 2 when "
                                        "it could not start.")},
         {kSignInOption,
          QStringLiteral("Store the site password read from standard input for the user NAME, test it "
                         "and exit (0 when the site accepts it)."),
          QStringLiteral("NAME")},
         {kWaitOption, QStringLiteral("With --upload: wait for an upload of another lorvane-client to end "
                                      "instead of giving up.")},
         {kHistoryOption, QStringLiteral("Print the upload history, newest first, and exit.")},
         {kJsonOption, QStringLiteral("With --history: print it as JSON, for scripts.")},
         {kMinimizedOption,
          QStringLiteral("Start in the tray, without opening the window, where the desktop has a tray.")}});
}

// Reads the options on the application without a display; false, with the usage printed, when they
// are wrong. --help, --help-all and --version print their text and end the program here.
bool readOptions(QCommandLineParser &parser) {
    describeOptions(parser);
    QString error;
    if (!parser.parse(QCoreApplication::arguments()))
        error = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
    if (!error.isNull()) {
        std::fprintf(stderr, "%s\n\n%s", qPrintable(error), qPrintable(parser.helpText()));
        return false;
    }
    parser.process(QCoreApplication::arguments()); // --help, --help-all, --version
    return true;
}

int runWithoutWindow(const QCommandLineParser &parser, LVApplicationDelegate &delegate, LVSettings &settings,
                     LVCredentialStore &keychain) {
    if (parser.isSet(kHistoryOption))
        return lv::printHistory(LVUploadHistory::defaultPath(), parser.isSet(kJsonOption));
    const LVConsoleLog log(stdout);
    if (!parser.isSet(kSignInOption))
        return lv::runHeadlessUpload(delegate, settings, keychain, parser.isSet(kWaitOption));
    const QString username = parser.value(kSignInOption);
    return lv::runSignIn(delegate, settings, keychain, username,
                         lv::readPassword(QStringLiteral("Lorvane password for %1: ").arg(username)));
}

} // namespace

int main(int argc, char *argv[]) {
    // The options are read before anything needs a display, so that a typo gets its usage anywhere.
    std::unique_ptr<QCoreApplication> application = std::make_unique<QCoreApplication>(argc, argv);
    nameApplication();
    QCommandLineParser parser;
    if (!readOptions(parser))
        return kHeadlessCannotStart;
    const bool wantsWindow =
        !parser.isSet(kUploadOption) && !parser.isSet(kSignInOption) && !parser.isSet(kHistoryOption);
    if (wantsWindow) {
        application.reset();
        application = std::make_unique<QApplication>(argc, argv);
        nameApplication();
    }

    LVSettings settings;
    const std::unique_ptr<LVWorkspace> workspace = lv::makePlatformWorkspace();
    const std::unique_ptr<LVProcessMonitor> processMonitor = lv::makePlatformProcessMonitor();
    LVKeychainCredentialStore keychain;
    const bool hasSystemTray = qobject_cast<QApplication *>(application.get()) && LVTrayIcon::isSystemTrayAvailable();
    LVApplicationDelegate delegate({&settings, workspace.get(), processMonitor.get(), &keychain,
                                    lv::defaultResourceFolder(), lv::defaultRunLockPath(), hasSystemTray,
                                    LVUploadHistory::defaultPath()});
    if (!wantsWindow)
        return runWithoutWindow(parser, delegate, settings, keychain);

    QGuiApplication::setDesktopFileName(QStringLiteral(LV_APP_ID)); // docks find the menu entry by it
    QApplication::setWindowIcon(QIcon(lv::defaultResourceFolder() + QStringLiteral("/lorvane-client.svg")));
    LVMainWindow window;
    window.connectTo(delegate);
    delegate.showWindowAtStart(parser.isSet(kMinimizedOption));
    QTimer::singleShot(0, &delegate, &LVApplicationDelegate::applicationDidFinishLaunching);
    return application->exec();
}
