#include "LVTestWorld.h"
#include "app/LVMainWindow.h"
#include "app/Translations.h"
#include "auth/LVAuthenticationController.h"
#include "prefs/LVPreferencesController.h"
#include "status/LVStatusBus.h"
#include "status/LVStatusLabel.h"
#include "upload/LVUploadHistory.h"

#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

// Pictures of the window and its sheets as the user sees them, on a real X server (Xvfb), written into
// the build folder for anyone to look at. Run with QT_SCALE_FACTOR=2 on a 1280×800 screen, the Options
// picture is the sheet as a small high-density screen shows it, and must fit there.
class TestScreenshots : public QObject {
    Q_OBJECT

    QString mFolder = QStringLiteral(LV_SCREENSHOT_DIR);
    std::unique_ptr<LVTestWorld> mWorld;

    // A picture of a few colours means nothing much was drawn.
    void save(const QImage &picture, const QString &name) {
        QVERIFY(!picture.isNull());
        QSet<QRgb> colours;
        for (int y = 0; y < picture.height(); y += 3)
            for (int x = 0; x < picture.width(); x += 3)
                colours.insert(picture.pixel(x, y));
        QVERIFY2(colours.size() > 16, qPrintable(name));
        QVERIFY(picture.save(QDir(mFolder).filePath(name)));
    }
    void save(QWidget *widget, const QString &name, qreal scale = 0) {
        QVERIFY(QTest::qWaitForWindowExposed(widget));
        QImage picture = widget->grab().toImage();
        if (scale > 0) { // as a screen of that scale shows it
            picture = QImage(widget->size() * scale, QImage::Format_RGB32);
            picture.setDevicePixelRatio(scale);
            widget->render(&picture);
        }
        save(picture, name);
    }
    // The window with its sheet where the sheet stands over it.
    void saveWithSheet(QWidget *window, QWidget *sheet, const QString &name) {
        QVERIFY(QTest::qWaitForWindowExposed(window) && QTest::qWaitForWindowExposed(sheet));
        QImage picture = window->grab().toImage();
        QPainter painter(&picture);
        painter.drawImage(sheet->geometry().topLeft() - window->geometry().topLeft(), sheet->grab().toImage());
        painter.end();
        save(picture, name);
    }
    template <typename Sheet> Sheet *openSheet() const {
        Sheet *sheet = nullptr;
        [&] { QTRY_VERIFY((sheet = mWorld->find<Sheet>()) && sheet->isVisible()); }();
        return sheet;
    }
    LVMainWindow &window() const { return *mWorld->window; }

private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("Screenshots are taken on an X server: the test runs under xvfb-run.");
        QDir().mkpath(mFolder);
        lv::installTranslations(); // run under LANG=de_DE.UTF-8, the pictures show the German texts
    }

    // A player's machine: the game in Wine and a Classic copy in Lutris, a tray, a signed-in user.
    void init() {
        mWorld = std::make_unique<LVTestWorld>();
        mWorld->hasSystemTray = true;
        const QString wine = QStringLiteral("/home/player/.wine");
        const QString lutris = QStringLiteral("/home/player/Games/world-of-warcraft");
        const QString folder = QStringLiteral("/drive_c/Program Files (x86)/World of Warcraft");
        mWorld->workspace.installations = {
            {wine + folder + "/_retail_/Wow.exe", "_retail_", wine, LVPrefixKind::Wine, QString()},
            {lutris + folder + "/_classic_/WowClassic.exe", "_classic_", lutris, LVPrefixKind::Lutris,
             "world-of-warcraft"}};
        mWorld->settings.setValue(kUsernameKey, QStringLiteral("alice"));
        mWorld->credentialStore.password = QByteArray("s3cret");
        mWorld->makeDelegateWithWindow();
    }
    void cleanup() { mWorld.reset(); }

    // What a player sees at the very first start: the welcome, then the sign-in sheet it opens.
    void firstStart() {
        mWorld->settings.removeValueForKey(kUsernameKey);
        mWorld->credentialStore.password.reset();
        window().show();
        mWorld->delegate->applicationDidFinishLaunching();
        save(&window(), QStringLiteral("first-start.png"));
        saveWithSheet(&window(), openSheet<LVAuthenticationController>(), QStringLiteral("first-start-sign-in.png"));
    }

    void windowAndLog() {
        LVApplicationDelegate &delegate = *mWorld->delegate;
        window().show();
        delegate.validateUserInterface();
        for (const char *message : {"Checking for supported realms…", "Found valid realm: eu.logon.worldofwarcraft.com",
                                    "----------\nUsing account ACCOUNT1", "Validating data…", "Initiating upload…"})
            LVStatusBus::sendStatusMessage(QString::fromUtf8(message));
        LVStatusBus::sendErrorMessage(QStringLiteral("Invalid cache file: itemcache.wdb"));
        auto *label = mWorld->find<LVStatusLabel>();
        while (label->queuedMessageCount() > 0)
            label->displayMessage();
        delegate.showLastUpload(QDateTime::currentDateTime().addSecs(-3600), 2, true);
        save(&window(), QStringLiteral("main-window.png"));
        window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
        mWorld->find<QPushButton>("uploadButton")->setFocus(Qt::TabFocusReason);
        save(&window(), QStringLiteral("main-window@2x.png"), 2);

        const int collapsed = window().height();
        mWorld->find<QToolButton>("disclosureButton")->click();
        QTRY_COMPARE(window().height(), collapsed + 170);
        save(&window(), QStringLiteral("main-window-with-log.png"));
    }

    // Options fits the screen, buttons in sight, at any scale.
    void options() {
        lv::storeFoundInstalls(mWorld->settings);
        mWorld->delegate->showOptions();
        auto *sheet = openSheet<LVPreferencesController>();
        QVERIFY(QTest::qWaitForWindowExposed(sheet));
        const QRect room = sheet->screen()->availableGeometry();
        QVERIFY2(sheet->width() <= room.width() && sheet->height() <= room.height(),
                 qPrintable(QStringLiteral("%1×%2").arg(sheet->width()).arg(sheet->height())));
        auto *apply = sheet->findChild<QPushButton *>("applyButton");
        QVERIFY(sheet->rect().contains(QRect(apply->mapTo(sheet, QPoint()), apply->size())));
        const bool highDensity = sheet->devicePixelRatio() > 1.5;
        save(sheet, highDensity ? QStringLiteral("options-sheet@2x.png") : QStringLiteral("options-sheet.png"));
    }

    // The tray's menu as it pops up, with Launch unavailable while the game runs.
    void trayMenu() {
        window().show();
        mWorld->delegate->showLastUpload(QDateTime::currentDateTime().addSecs(-600), 2, true);
        mWorld->processMonitor.launch(QStringLiteral("Wow"));
        QMenu *menu = mWorld->delegate->trayIcon()->menu();
        menu->popup(window().mapToGlobal(QPoint(40, 40)));
        save(menu, QStringLiteral("tray-menu.png"));
        menu->hide();
    }

    // The History, with a run that went up and one that did not, the failed upload chosen.
    void history() {
        LVUploadHistory &history = mWorld->delegate->reports().history();
        QVERIFY(history.open());
        const QDateTime earlier = QDateTime::currentDateTimeUtc().addDays(-1);
        const QString install = QStringLiteral("/home/player/Games/World of Warcraft/_retail_");
        const QStringList files{"+Lorvane_Harvex.lua", "itemcache.wdb", "questcache.wdb"};
        for (const auto &[account, before, after] :
             {std::tuple("ACCOUNT1", 4'812'345, 611'204), std::tuple("ACCOUNT2", 2'100'000, 290'112)})
            history.record({earlier,
                            install,
                            account,
                            files,
                            before,
                            after,
                            1840,
                            200,
                            "Received 3 files",
                            true,
                            {},
                            false,
                            "run-1"});
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
                        "the site stopped answering for 30 seconds",
                        false,
                        "run-2"});
        mWorld->find<QPushButton>("historyButton")->click();
        auto *historyWindow = mWorld->find<QWidget>("historyWindow");
        QVERIFY(historyWindow);
        historyWindow->findChild<QTableView *>("historyTable")->selectRow(0);
        save(historyWindow, QStringLiteral("history-window.png"));
    }
};

QTEST_MAIN(TestScreenshots)
#include "TestScreenshots.moc"
