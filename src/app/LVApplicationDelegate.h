#pragma once

#include "app/LVRunReports.h"
#include "app/LVSheetQueue.h"
#include "auth/LVAuthentication.h"
#include "common/LVBusyGuard.h"
#include "game/LVAddonInstaller.h"
#include "game/LVGameInstall.h"
#include "game/LVGameWatch.h"
#include "net/LVUploadTransport.h"
#include "upload/LVUploadRun.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QAbstractButton;
class QLabel;
class QNetworkAccessManager;
class QPushButton;
class QTextEdit;
class QTimer;
class QWidget;
class LVCredentialStore;
class LVLogDisclosure;
class LVProcessMonitor;
class LVSettings;
class LVStatusLabel;
class LVWorkspace;

// The platform services the program works with, handed in so that tests can build the world they need.
struct LVServices {
    LVSettings *settings = nullptr;
    LVWorkspace *workspace = nullptr;
    LVProcessMonitor *processMonitor = nullptr;
    LVCredentialStore *credentialStore = nullptr;
    QString resourceFolder;
    QString runLockPath; // held by the upload run of any process of the user; none: no lock
    QString historyPath; // the upload history's database
    QDBusConnection notificationBus = QDBusConnection::sessionBus();
};

// The main window's controls, owned by the window.
struct LVMainWindowOutlets {
    QWidget *window = nullptr;
    QPushButton *launchButton = nullptr;
    QPushButton *uploadButton = nullptr;
    QPushButton *optionsButton = nullptr;
    QLabel *backgroundImage = nullptr;
    QTextEdit *statusText = nullptr;
    LVStatusLabel *statusLabel = nullptr;
    QAbstractButton *disclosureButton = nullptr;
};

// The coordinator: it makes the subsystems, wires them to each other and to the window, runs the
// start-up sequence and keeps the program's entry points, each handed to the subsystem that owns it.
class LVApplicationDelegate : public QObject {
    Q_OBJECT
public:
    explicit LVApplicationDelegate(const LVServices &services, QObject *parent = nullptr);
    ~LVApplicationDelegate() override;

    void setOutlets(const LVMainWindowOutlets &outlets);
    void awakeFromNib();
    void applicationDidFinishLaunching();
    // Gathers the installation once per run of the program, when a game path is known.
    void gatherInstallAndCheck();
    void validateUserInterface();
    QTextEdit *statusTextView() const;

    void launchWoW() { mGameWatch.launchWoW(); }
    void upload() { mUploadRun.upload(); }
    void showOptions();
    void setupAccount();
    void checkForUpdates() { mAddonInstaller.checkForUpdates(); }
    void installAddon() { mAddonInstaller.installAddon(); }
    void discloseStatusText(int state);
    bool isWOWRunning() const { return mGameWatch.scanForRunningGame(); }
    void testAuthentication() { mAuthentication.testAuthentication(); }
    void retestAuthentication(QTimer *timer) { mAuthentication.retestAuthentication(timer); }
    void authenticationComplete();
    void authenticationFailed() { mUploadRun.authenticationFailed(); }
    void setNetworkTimeouts(const LVNetworkTimeouts &timeouts);
    const QString &runLockPath() const { return mServices.runLockPath; }

    LVBusyGuard &busyGuard() { return mBusy; }
    LVAuthentication &authentication() { return mAuthentication; }
    LVGameInstall &install() { return mInstall; }
    LVGameWatch &gameWatch() { return mGameWatch; }
    LVAddonInstaller &addonInstaller() { return mAddonInstaller; }
    LVUploadTransport &transport() { return mTransport; }
    LVUploadRun &uploadRun() { return mUploadRun; }
    LVRunReports &reports() { return mReports; }

private:
    // The window's controls; any of them may be gone, or never given (the runs without a window).
    struct Outlets {
        QPointer<QWidget> window;
        QPointer<QPushButton> launchButton;
        QPointer<QPushButton> uploadButton;
        QPointer<QLabel> backgroundImage;
        QPointer<QTextEdit> statusText;
    };

    void wireSubsystems();
    void gameQuit();
    void setUploadEnabled(bool enabled);

    LVServices mServices;
    std::unique_ptr<QNetworkAccessManager> mNetworkAccess;
    LVBusyGuard mBusy;
    LVAuthentication mAuthentication;
    LVGameInstall mInstall;
    LVGameWatch mGameWatch;
    LVAddonInstaller mAddonInstaller;
    LVUploadTransport mTransport;
    LVUploadRun mUploadRun;
    LVRunReports mReports;
    LVSheetQueue mSheets;
    Outlets mOutlets;
    LVLogDisclosure *mDisclosure = nullptr;
    bool mNeedToGatherInstallAndCheck = false;
};
