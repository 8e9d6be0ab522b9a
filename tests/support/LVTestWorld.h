#pragma once

#include "LVFakeClock.h"
#include "LVFakeProcessMonitor.h"
#include "LVFakeWorkspace.h"
#include "LVMemoryCredentialStore.h"
#include "LVTestSite.h"
#include "app/LVApplicationDelegate.h"
#include "app/LVMainWindow.h"
#include "platform/LVSystemEvents.h"
#include "settings/LVSettings.h"

#include <QTemporaryDir>

#include <memory>

// Everything a controller needs, with settings in a temporary file, a fake workspace, a fake
// process monitor, a keychain in memory and a clock that moves when the test says; on request the main
// window and the reference site.
struct LVTestWorld {
    LVTestWorld();

    QString resourceFolder() const;
    // The controller alone; the defaults are registered by its awakeFromNib, as at start-up.
    LVApplicationDelegate &makeDelegate();
    // The controller with its main window, woken as at start-up (defaults registered).
    LVApplicationDelegate &makeDelegateWithWindow();
    // The reference site on loopback, the client's addresses pointed at it, and its user's name and
    // password stored as a sign-in would store them.
    LVTestSite &startSite(const QString &addonFolder = QString(), int throttleSeconds = 60);
    // The credential test as it ends when the site answers these bytes (a site is started if none runs).
    void answerCredentialTest(const QByteArray &reply);

    template <typename T> T *find(const char *name = nullptr) const {
        return name ? window->findChild<T *>(QString::fromLatin1(name)) : window->findChild<T *>();
    }

    QTemporaryDir dir;
    bool hasSystemTray = false; // the offscreen platform has no tray: a test that wants one says so
    LVSettings settings;
    LVFakeWorkspace workspace;
    LVFakeProcessMonitor processMonitor;
    LVMemoryCredentialStore credentialStore;
    LVCredentialStore *keychain = &credentialStore; // the store the controller is given
    LVFakeClock clock;
    LVSystemEvents systemEvents; // the network and wake-ups, sent by the test
    // No notification service: a test that wants one connects its own bus.
    QDBusConnection notificationBus{QStringLiteral("lv-test-without-a-bus")};
    std::unique_ptr<LVTestSite> site;
    std::unique_ptr<LVMainWindow> window;
    std::unique_ptr<LVApplicationDelegate> delegate;
};
