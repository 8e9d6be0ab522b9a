#include "app/CommandLine.h"
#include "app/HeadlessLaunch.h"
#include "app/LVApplicationDelegate.h"
#include "app/LVHeadless.h"
#include "app/LVMainWindow.h"
#include "app/LVResources.h"
#include "app/LVSingleInstance.h"
#include "app/LVTrayIcon.h"
#include "app/Translations.h"
#include "platform/LVKeychainCredentialStore.h"
#include "platform/LVProcessMonitor.h"
#include "platform/LVSystemEvents.h"
#include "platform/LVWorkspace.h"
#include "settings/LVSettings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

using namespace lv;

// How long a run without a window waits, at the end, for its desktop notifications to go out.
constexpr int kNotificationsWaitMs = 3000;

void nameApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Lorvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Lorvane Client"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LV_VERSION));
    lv::installTranslations(); // before the options are described, so that --help is translated too
}

// Qt's own French catalogue lacks the help options' texts: the program's catalogues carry them, and
// Qt's, installed later, still come first where they have them.
[[maybe_unused]] constexpr const char *kQtHelpTexts[] = {
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays help on commandline options."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Displays help including Qt specific options.")};

void describeOptions(QCommandLineParser &parser) {
    parser.setApplicationDescription(QCoreApplication::translate(
        "main", "Uploads what the +Lorvane_Harvex addon recorded and keeps the addon up to date."));
    parser.addPositionalArgument(QStringLiteral("PROGRAM_PATH"),
                                 QCoreApplication::translate("main", "With --launch: the game to start."),
                                 QStringLiteral("[PROGRAM_PATH]"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions(
        {{kUploadOption, QCoreApplication::translate("main", "Upload every account without a window, printing the log, "
                                                             "and exit: 0 when all went up, 1 when an upload failed, 2 "
                                                             "when it could not start.")},
         {kSignInOption,
          QCoreApplication::translate("main", "Store the site password read from standard input for the user NAME, "
                                              "test it and exit (0 when the site accepts it)."),
          QStringLiteral("NAME")},
         {kWaitOption, QCoreApplication::translate("main", "With --upload: wait for an upload of another "
                                                           "lorvane-client to end instead of giving up.")},
         {kHistoryOption, QCoreApplication::translate("main", "Print the upload history, newest first, and exit.")},
         {kInstallsOption,
          QCoreApplication::translate("main", "Print every install of the game found: flavor, where it came from, "
                                              "prefix, program, checked or not, and the command Launch would run.")},
         {kLaunchOption,
          QCoreApplication::translate("main", "Start the first checked install, or the one of PROGRAM_PATH, as Launch "
                                              "does, and wait for the game: exit 0 when it runs, 1 when it did not "
                                              "start.")},
         {kJsonOption,
          QCoreApplication::translate("main", "With --history or --installs: print it as JSON, for scripts.")},
         {kMinimizedOption, QCoreApplication::translate("main", "Start in the tray, without opening the window, where "
                                                                "the desktop has a tray.")}});
}

// Reads the options on the application without a display; false, with one line on what is wrong, when
// they are wrong. --help, --help-all and --version print their text and end the program here.
bool readOptions(QCommandLineParser &parser) {
    describeOptions(parser);
    QString error;
    if (!parser.parse(QCoreApplication::arguments()))
        error = parser.errorText();
    else
        error = lv::optionsProblem(parser.optionNames(), parser.positionalArguments());
    if (error.isNull()) {
        parser.process(QCoreApplication::arguments()); // --help, --help-all, --version
        return true;
    }
    const QString tryHelp =
        QCoreApplication::translate("main", "Try '%1 --help'.").arg(QStringLiteral("lorvane-client"));
    std::fprintf(stderr, "%s %s\n", qPrintable(error), qPrintable(tryHelp));
    return false;
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
    LVConsoleLog log(stdout, stderr);
    if (parser.isSet(kLaunchOption))
        return lv::runHeadlessLaunch(delegate, parser.positionalArguments().value(0));
    if (!parser.isSet(kSignInOption)) {
        log.followProgress(delegate.uploadRun());
        return lv::runHeadlessUpload(delegate, settings, keychain, parser.isSet(kWaitOption));
    }
    const QString username = parser.value(kSignInOption);
    return lv::runSignIn(
        delegate, settings, keychain, username,
        lv::readPassword(QCoreApplication::translate("main", "Lorvane password for %1: ").arg(username)));
}

// The network and the machine's sleep are followed only by the program that keeps running.
std::unique_ptr<LVSystemEvents> systemEventsFor(bool opensWindow) {
    return opensWindow ? lv::makePlatformSystemEvents() : std::make_unique<LVSystemEvents>();
}

int runWithWindow(const QCommandLineParser &parser, LVApplicationDelegate &delegate, LVSingleInstance &instance) {
    QGuiApplication::setDesktopFileName(QStringLiteral(LV_APP_ID)); // docks find the menu entry by it
    QApplication::setWindowIcon(QIcon(lv::defaultResourceFolder() + QStringLiteral("/lorvane-client.svg")));
    LVMainWindow window;
    window.connectTo(delegate);
    // Listening only now, on the loop of the application that has the window: a later start that comes
    // meanwhile tries again for a while.
    QString listenError;
    if (!instance.listen(&listenError))
        std::fprintf(
            stderr, "%s\n",
            qPrintable(QCoreApplication::translate("main", "Later starts cannot reach this one: %1").arg(listenError)));
    QObject::connect(&instance, &LVSingleInstance::showRequested, &delegate, &LVApplicationDelegate::showWindow);
    delegate.showWindowAtStart(parser.isSet(kMinimizedOption));
    QTimer::singleShot(0, &delegate, &LVApplicationDelegate::applicationDidFinishLaunching);
    return QCoreApplication::exec();
}

// A start that would open a window while one is open shows that one instead: nothing when this
// process is the first, else the exit status to end with.
std::optional<int> handOverToFirstStart(LVSingleInstance &instance, bool minimized) {
    if (instance.claim())
        return std::nullopt;
    QString error;
    if (instance.handOver(!minimized, &error))
        return 0;
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
}

} // namespace

int main(int argc, char *argv[]) {
    // The options are read before anything needs a display, so that a typo gets its usage anywhere.
    std::unique_ptr<QCoreApplication> application = std::make_unique<QCoreApplication>(argc, argv);
    nameApplication();
    QCommandLineParser parser;
    if (!readOptions(parser))
        return kHeadlessCannotStart;
    const bool opensWindow = wantsWindow(parser);
    std::unique_ptr<LVSingleInstance> instance;
    if (opensWindow) {
        instance =
            std::make_unique<LVSingleInstance>(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
        if (const std::optional<int> exitStatus = handOverToFirstStart(*instance, parser.isSet(kMinimizedOption)))
            return *exitStatus;
        application.reset();
        application = std::make_unique<QApplication>(argc, argv);
        nameApplication();
    }

    LVSettings settings;
    const std::unique_ptr<LVWorkspace> workspace = lv::makePlatformWorkspace();
    const std::unique_ptr<LVProcessMonitor> processMonitor = lv::makePlatformProcessMonitor();
    LVKeychainCredentialStore keychain;
    const std::unique_ptr<LVSystemEvents> systemEvents = systemEventsFor(opensWindow);
    LVApplicationDelegate delegate({&settings, workspace.get(), processMonitor.get(), &keychain,
                                    lv::defaultResourceFolder(), lv::defaultRunLockPath(),
                                    opensWindow && LVTrayIcon::isSystemTrayAvailable(), LVUploadHistory::defaultPath(),
                                    QDBusConnection::sessionBus(), nullptr, systemEvents.get()});
    if (!opensWindow) {
        const int exitStatus = runWithoutWindow(parser, delegate, settings, *workspace, keychain);
        // The program ends at once: what it had to tell the desktop goes out first.
        delegate.reports().notifier().finishSending(kNotificationsWaitMs);
        return exitStatus;
    }
    return runWithWindow(parser, delegate, *instance);
}
