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

#include <cstring>
#include <memory>

namespace {

// The runs without a window need no display: they are known before the application object exists.
bool wantsWindow(int argc, char *argv[]) {
    for (int i = 1; i < argc; ++i)
        for (const char *option : {"--upload", "--sign-in", "--help", "-h", "--version", "-v"})
            if (std::strcmp(argv[i], option) == 0 || std::strncmp(argv[i], "--sign-in=", 10) == 0)
                return false;
    return true;
}

std::unique_ptr<QCoreApplication> makeApplication(int &argc, char *argv[]) {
    if (wantsWindow(argc, argv))
        return std::make_unique<QApplication>(argc, argv);
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char *argv[]) {
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Lorvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Lorvane Client"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LV_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Uploads what the +Lorvane_Harvex addon recorded and keeps the addon up to date."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption upload(QStringLiteral("upload"),
                                    QStringLiteral("Upload every account without a window, printing the log, and "
                                                   "exit: 0 when all went up, 1 when an upload failed, 2 when "
                                                   "it could not start."));
    const QCommandLineOption signIn(QStringLiteral("sign-in"),
                                    QStringLiteral("Store the site password read from standard input for the "
                                                   "user NAME, test it and exit (0 when the site accepts it)."),
                                    QStringLiteral("NAME"));
    const QCommandLineOption wait(QStringLiteral("wait"),
                                  QStringLiteral("With --upload: wait for an upload of another lorvane-client to end "
                                                 "instead of giving up."));
    const QCommandLineOption minimized(QStringLiteral("minimized"),
                                       QStringLiteral("Start in the tray, without opening the window, where the "
                                                      "desktop has a tray."));
    parser.addOptions({upload, signIn, wait, minimized});
    parser.process(*application);

    LVSettings settings;
    const std::unique_ptr<LVWorkspace> workspace = makePlatformWorkspace();
    const std::unique_ptr<LVProcessMonitor> processMonitor = makePlatformProcessMonitor();
    LVKeychainCredentialStore keychain;
    const bool hasSystemTray = qobject_cast<QApplication *>(application.get()) && LVTrayIcon::isSystemTrayAvailable();
    LVApplicationDelegate delegate({&settings, workspace.get(), processMonitor.get(), &keychain,
                                    defaultResourceFolder(), defaultRunLockPath(), hasSystemTray,
                                    LVUploadHistory::defaultPath()});

    if (parser.isSet(signIn) || parser.isSet(upload)) {
        const LVConsoleLog log(stdout);
        if (parser.isSet(signIn)) {
            const QString username = parser.value(signIn);
            return runSignIn(delegate, settings, keychain, username,
                             readPassword(QStringLiteral("Lorvane password for %1: ").arg(username)));
        }
        return runHeadlessUpload(delegate, settings, keychain, parser.isSet(wait));
    }

    QApplication::setWindowIcon(QIcon(defaultResourceFolder() + QStringLiteral("/lorvane-client.png")));
    LVMainWindow window;
    window.connectTo(delegate);
    delegate.showWindowAtStart(parser.isSet(minimized));
    QTimer::singleShot(0, &delegate, &LVApplicationDelegate::applicationDidFinishLaunching);
    return application->exec();
}
