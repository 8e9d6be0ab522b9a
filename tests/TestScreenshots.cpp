#include "LVTestWorld.h"
#include "app/LVMainWindow.h"
#include "auth/LVAuthenticationController.h"
#include "prefs/LVPreferencesController.h"
#include "status/LVStatusBus.h"
#include "status/LVStatusLabel.h"
#include "upload/LVUploadHistory.h"

#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

// Pictures of the window with its log shown and of each sheet, on a real X server (Xvfb), written
// into the build folder for anyone to look at.
class TestScreenshots : public QObject {
    Q_OBJECT

    QString mFolder = QStringLiteral(LV_SCREENSHOT_DIR);

    void save(QWidget *widget, const QString &name, qreal scale = 0) {
        QVERIFY(QTest::qWaitForWindowExposed(widget));
        QImage picture = widget->grab().toImage();
        if (scale > 0) { // as a screen of that scale shows it
            picture = QImage(widget->size() * scale, QImage::Format_RGB32);
            picture.setDevicePixelRatio(scale);
            widget->render(&picture);
        }
        QVERIFY(!picture.isNull());
        // A picture of a few colours means nothing much was drawn.
        QSet<QRgb> colours;
        for (int y = 0; y < picture.height(); y += 3)
            for (int x = 0; x < picture.width(); x += 3)
                colours.insert(picture.pixel(x, y));
        QVERIFY2(colours.size() > 16, qPrintable(name));
        QVERIFY(picture.save(QDir(mFolder).filePath(name)));
    }

private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("Screenshots are taken on an X server: the test runs under xvfb-run.");
        QDir().mkpath(mFolder);
    }

    void windowAndSheets() {
        LVTestWorld world;
        world.hasSystemTray = true;
        world.settings.setValue(kWowApplicationPathKey, QStringLiteral("/home/player/.wine/drive_c/Program Files "
                                                                       "(x86)/World of Warcraft/_retail_/Wow.exe"));
        const QString lutris = QStringLiteral("/home/player/Games/world-of-warcraft");
        world.workspace.installations = {
            {lutris + "/drive_c/Program Files (x86)/World of Warcraft/_classic_/WowClassic.exe", "_classic_", lutris,
             LVPrefixKind::Lutris, "world-of-warcraft"}};
        LVApplicationDelegate &delegate = world.makeDelegateWithWindow();
        LVMainWindow &window = *world.window;
        window.show();
        delegate.validateUserInterface();
        for (const char *message : {"Checking for supported realms…", "Found valid realm: eu.logon.worldofwarcraft.com",
                                    "----------\nUsing account ACCOUNT1", "Validating data…", "Initiating upload…"})
            LVStatusBus::sendStatusMessage(QString::fromUtf8(message));
        LVStatusBus::sendErrorMessage(QStringLiteral("Invalid cache file: itemcache.wdb"));
        auto *label = window.findChild<LVStatusLabel *>();
        while (label->queuedMessageCount() > 0)
            label->displayMessage();
        delegate.showLastUpload(QDateTime::currentDateTime().addSecs(-3600), 2, true);
        save(&window, QStringLiteral("main-window.png"));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.findChild<QPushButton *>(QStringLiteral("uploadButton"))->setFocus(Qt::TabFocusReason);
        save(&window, QStringLiteral("main-window@2x.png"), 2);

        const int collapsed = window.height();
        window.findChild<QToolButton *>(QStringLiteral("disclosureButton"))->click();
        QTRY_COMPARE(window.height(), collapsed + 170);
        save(&window, QStringLiteral("main-window-with-log.png"));

        delegate.setupAccount();
        auto *signIn = window.findChild<LVAuthenticationController *>();
        save(signIn, QStringLiteral("sign-in-sheet.png"));
        signIn->reject();

        delegate.showOptions();
        QTRY_VERIFY(window.findChild<LVPreferencesController *>() &&
                    window.findChild<LVPreferencesController *>()->isVisible());
        save(window.findChild<LVPreferencesController *>(), QStringLiteral("options-sheet.png"));
        window.findChild<LVPreferencesController *>()->reject();

        // The tray's menu as it pops up, with Launch unavailable while the game runs.
        world.processMonitor.launch(QStringLiteral("Wow"));
        QMenu *menu = delegate.trayIcon()->menu();
        menu->popup(window.mapToGlobal(QPoint(40, 40)));
        save(menu, QStringLiteral("tray-menu.png"));
        menu->hide();

        // The History window, with a run that went up and one that did not.
        LVUploadHistory &history = delegate.reports().history();
        QVERIFY(history.open());
        const QDateTime earlier = QDateTime::currentDateTimeUtc().addDays(-1);
        const QString install = QStringLiteral("/home/player/Games/World of Warcraft/_retail_");
        const QStringList files{"+Lorvane_Harvex.lua", "itemcache.wdb", "questcache.wdb"};
        history.record(
            {earlier, install, "ACCOUNT1", files, 4'812'345, 611'204, 1840, 200, "Received 3 files", true, {}});
        history.record({earlier.addSecs(2),
                        install,
                        "ACCOUNT2",
                        files,
                        2'100'000,
                        290'112,
                        1210,
                        200,
                        "Received 3 files",
                        true,
                        {}});
        history.record({QDateTime::currentDateTimeUtc(),
                        install,
                        "ACCOUNT1",
                        files,
                        5'002'310,
                        640'991,
                        30'020,
                        0,
                        {},
                        false,
                        "the site stopped answering for 30 seconds"});
        window.findChild<QPushButton *>(QStringLiteral("historyButton"))->click();
        auto *historyWindow = window.findChild<QWidget *>(QStringLiteral("historyWindow"));
        QVERIFY(historyWindow);
        save(historyWindow, QStringLiteral("history-window.png"));
    }
};

QTEST_MAIN(TestScreenshots)
#include "TestScreenshots.moc"
