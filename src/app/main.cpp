#include "app/HeadlessLaunch.h"
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
const QString kInstallsOption = QStringLiteral("installs");
const QString kLaunchOption = QStringLiteral("launch");

void nameApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Lorvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Lorvane Client"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LV_VERSION));
}

void describeOptions(QCommandLineParser &parser) {
    parser.setApplicationDescription(
        QStringLiteral("Uploads what the +Lorvane_Harvex addon recorded and keeps the addon up to date."));
    parser.addPositionalArgument(QStringLiteral("PROGRAM_PATH"), QStringLiteral("With --launch: the game to start."),
                                 QStringLiteral("[PROGRAM_PATH]"));
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
         {kInstallsOption, QStringLiteral("Print every install of the game found: flavor, where it came from, "
                                          "prefix, program, checked or not, and the command Launch would run.")},
         {kLaunchOption, QStringLiteral("Start the first checked install, or the one of PROGRAM_PATH, as Launch does, "
                                        "and wait for the game: exit 0 when it runs, 1 when it did not start.")},
         {kJsonOption, QStringLiteral("With --history or --installs: print it as JSON, for scripts.")},
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
    else if (parser.positionalArguments().size() > (parser.isSet(kLaunchOption) ? 1 : 0))
        error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().last());
    if (!error.isNull()) {
        std::fprintf(stderr, "%s\n\n%s", qPrintable(error), qPrintable(parser.helpText()));
        return false;
    }
    parser.process(QCoreApplication::arguments()); // --help, --help-all, --version
    return true;
}

// Whether the options ask for the window; the others do their work on the command line and exit.
bool wantsWindow(const QCommandLineParser &parser) {
    for (const QString &option : {kUploadOption, kSignInOption, kHistoryOption, kInstallsOption, kLaunchOption})
        if (parser.isSet(option))
            return false;
    return true;
}

int runWithoutWindow(const QCommandLineParser &parser, LVApplicationDelegate &delegate, LVSettings &settings,
                     LVWorkspace &workspace, LVCredentialStore &keychain) {
    if (parser.isSet(kHistoryOption))
        return lv::printHistory(LVUploadHistory::defaultPath(), parser.isSet(kJsonOption));
    if (parser.isSet(kInstallsOption))
        return lv::printInstalls(delegate, settings, workspace, parser.isSet(kJsonOption));
    const LVConsoleLog log(stdout);
    if (parser.isSet(kLaunchOption))
        return lv::runHeadlessLaunch(delegate, parser.positionalArguments().value(0));
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
    if (wantsWindow(parser)) {
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
    if (!wantsWindow(parser))
        return runWithoutWindow(parser, delegate, settings, *workspace, keychain);

    QApplication::setWindowIcon(QIcon(lv::defaultResourceFolder() + QStringLiteral("/lorvane-client.png")));
    LVMainWindow window;
    window.connectTo(delegate);
    delegate.showWindowAtStart(parser.isSet(kMinimizedOption));
    QTimer::singleShot(0, &delegate, &LVApplicationDelegate::applicationDidFinishLaunching);
    return application->exec();
}
