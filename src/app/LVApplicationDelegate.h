#pragma once

#include "app/LVRunReports.h"
#include "app/LVServices.h"
#include "app/LVSheetQueue.h"
#include "app/LVTrayIcon.h"
#include "app/UploadReadiness.h"
#include "auth/LVAuthentication.h"
#include "auth/LVSessionCredentialStore.h"
#include "common/LVBusyGuard.h"
#include "game/LVAddonInstaller.h"
#include "game/LVGameInstall.h"
#include "game/LVGameInstalls.h"
#include "game/LVGameWatch.h"
#include "net/LVUploadTransport.h"
#include "upload/LVAutomaticUploads.h"
#include "upload/LVUploadRun.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QDialog;
class QLabel;
class QNetworkAccessManager;
class QPushButton;
class QTextEdit;
class QTimer;
class LVAuthenticationController;
class LVBackgroundView;
class LVLogDisclosure;
class LVWelcome;

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
    // Once start-up asks for it: gathers every checked install, puts the addon into it and brings the
    // addon up to date. Later calls do so again only when an install was checked since.
    void gatherInstallAndCheck();
    void validateUserInterface();
    QTextEdit *statusTextView() const;

    // The window at start-up: shown, unless starting minimised (asked for, or chosen in the options)
    // where the tray can stand for it.
    void showWindowAtStart(bool minimizedRequested);
    void showWindow();
    void quit();
    // With a tray, closing the window only hides it: the client keeps watching the game.
    bool hidesWindowOnClose() const { return mTray != nullptr; }
    LVTrayIcon *trayIcon() const { return mTray.get(); }
    // How the last upload went, under the buttons and in the tray's tooltip.
    void showLastUpload(const QDateTime &when, int accounts, bool succeeded);
    // The History window, shown by the main window.
    void showHistory();

    void launchWoW() { mGameWatch.launchWoW(); }
    void upload() { mUploadRun.upload(); }
    void showOptions();
    // Opens the sign-in sheet, unless one is open already.
    void setupAccount();
    void checkForUpdates() { mAddonInstaller.checkForUpdates(); }
    void installAddon() { mAddonInstaller.installAddon(); }
    void discloseStatusText(int state);
    bool isWOWRunning() const { return mGameWatch.scanForRunningGame(); }
    void testAuthentication() { mAuthentication.testAuthentication(); }
    void retestAuthentication(QTimer *timer) { mAuthentication.retestAuthentication(timer); }
    void authenticationComplete();
    void authenticationFailed();
    void setNetworkTimeouts(const LVNetworkTimeouts &timeouts);
    // Off, nothing that failed for a passing reason is tried again: the runs without a window end first.
    void setRetrying(bool retrying);
    const QString &runLockPath() const { return mServices.runLockPath; }

    LVBusyGuard &busyGuard() { return mBusy; }
    LVAuthentication &authentication() { return mAuthentication; }
    // The first checked install, the one Launch starts.
    LVGameInstall &install() { return mInstalls.primary(); }
    LVGameInstalls &installs() { return mInstalls; }
    LVGameWatch &gameWatch() { return mGameWatch; }
    LVAddonInstaller &addonInstaller() { return mAddonInstaller; }
    LVUploadTransport &transport() { return mTransport; }
    LVUploadRun &uploadRun() { return mUploadRun; }
    LVAutomaticUploads &automaticUploads() { return mAutomaticUploads; }
    LVRunReports &reports() { return mReports; }
    // The keychain, and a password kept for this session only.
    LVSessionCredentialStore &credentials() { return mCredentials; }

signals:
    void historyRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The window's controls; any of them may be gone, or never given (the runs without a window).
    struct Outlets {
        QPointer<QWidget> window;
        QPointer<QPushButton> launchButton;
        QPointer<QPushButton> uploadButton;
        QPointer<QPushButton> signInButton;
        QPointer<LVBackgroundView> backgroundImage;
        QPointer<QLabel> lastUploadLabel;
        QPointer<QTextEdit> statusText;
    };

    void wireSubsystems();
    void wireAuthentication();
    void wireTrayIcon();
    void makeTrayIcon();
    void updateTrayState();
    LVUploadSituation uploadSituation() const;
    void showUploadReadiness(const LVUploadReadiness &readiness);
    void presentSheet(QDialog *sheet);
    void signInAfterRejection();
    void notificationActionChosen(const QString &key);
    void makeWelcome(const LVMainWindowOutlets &outlets);
    void updateWelcome();

    LVServices mServices;
    LVClock &mClock;
    std::unique_ptr<LVSystemEvents> mOwnSystemEvents; // when none were handed in
    LVSystemEvents &mSystemEvents;
    std::unique_ptr<QNetworkAccessManager> mNetworkAccess;
    LVBusyGuard mBusy;
    LVSessionCredentialStore mCredentials;
    LVAuthentication mAuthentication;
    LVGameInstalls mInstalls;
    LVGameWatch mGameWatch;
    LVAddonInstaller mAddonInstaller;
    LVUploadTransport mTransport;
    LVUploadRun mUploadRun;
    LVAutomaticUploads mAutomaticUploads;
    LVRunReports mReports;
    LVSheetQueue mSheets;
    Outlets mOutlets;
    QString mUploadToolTip; // the button's own, shown while nothing is to be said
    QString mLastUpload;    // how the last upload went, for the line under the buttons
    bool mLastUploadFailed = false;
    bool mHeldAfterUpload = false;           // the site takes no new upload until the next retest
    bool mSignInAskedAfterRejection = false; // the sheet opened by itself once since the last refusal
    bool mSignInWhenShown = false;           // and is to open when the window is next shown
    QPointer<LVAuthenticationController> mSignInSheet;
    LVLogDisclosure *mDisclosure = nullptr;
    LVWelcome *mWelcome = nullptr;
    std::unique_ptr<LVTrayIcon> mTray;
    // The installation is gathered once a game is known after start-up, then only installs added since.
    enum class Gathering { NotDue, Due, Done } mGathering = Gathering::NotDue;
};
