#include "app/LVApplicationDelegate.h"
#include "app/LVMainWindow.h"
#include "app/LVResources.h"
#include "platform/LVKeychainCredentialStore.h"
#include "platform/LVProcessMonitor.h"
#include "platform/LVWorkspace.h"
#include "settings/LVSettings.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Lorvane"));
    QApplication::setApplicationName(QStringLiteral("Lorvane Client"));
    QApplication::setApplicationVersion(QStringLiteral(LV_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Uploads what the +Lorvane_Harvex addon recorded and keeps the addon up to date."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(application);

    LVSettings settings;
    const std::unique_ptr<LVWorkspace> workspace = makePlatformWorkspace();
    const std::unique_ptr<LVProcessMonitor> processMonitor = makePlatformProcessMonitor();
    LVKeychainCredentialStore keychain;
    LVApplicationDelegate delegate(
        {&settings, workspace.get(), processMonitor.get(), &keychain, defaultResourceFolder()});
    LVMainWindow window;
    window.connectTo(delegate);
    window.show();
    delegate.validateUserInterface();
    return application.exec();
}
