#pragma once

#include <QDBusConnection>
#include <QString>

class QAbstractButton;
class QFrame;
class QLabel;
class QPushButton;
class QTextEdit;
class QWidget;
class LVBackgroundView;
class LVClock;
class LVCredentialStore;
class LVProcessMonitor;
class LVSettings;
class LVStatusLabel;
class LVSystemEvents;
class LVWorkspace;

// The platform services the program works with, handed in so that tests can build the world they need.
struct LVServices {
    LVSettings *settings = nullptr;
    LVWorkspace *workspace = nullptr;
    LVProcessMonitor *processMonitor = nullptr;
    LVCredentialStore *credentialStore = nullptr;
    QString resourceFolder;
    QString runLockPath; // held by the upload run of any process of the user; none: no lock
    // The desktop shows tray icons: the client then lives in the tray, and closing its window hides it.
    bool hasSystemTray = false;
    QString historyPath; // the upload history's database
    QDBusConnection notificationBus = QDBusConnection::sessionBus();
    LVClock *clock = nullptr;               // none: the real one
    LVSystemEvents *systemEvents = nullptr; // none: the network and wake-ups are not followed
};

// The main window's controls, owned by the window.
struct LVMainWindowOutlets {
    QWidget *window = nullptr;
    QPushButton *launchButton = nullptr;
    QPushButton *uploadButton = nullptr;
    QPushButton *optionsButton = nullptr;
    QPushButton *signInButton = nullptr;
    LVBackgroundView *backgroundImage = nullptr;
    QLabel *lastUploadLabel = nullptr;
    QTextEdit *statusText = nullptr;
    LVStatusLabel *statusLabel = nullptr;
    QAbstractButton *disclosureButton = nullptr;
    QFrame *welcomePanel = nullptr;
    QLabel *welcomeLabel = nullptr;
    QPushButton *welcomeButton = nullptr;
};
