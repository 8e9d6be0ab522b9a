#include "LVBusRecorder.h"
#include "LVSampleGame.h"
#include "LVTestWorld.h"
#include "app/LVTrayIcon.h"
#include "app/LVWindowLook.h"
#include "auth/LVAuthenticationController.h"
#include "prefs/Autostart.h"
#include "prefs/LVPreferencesController.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include <functional>

// The client in the desktop's tray: closing the window, the tray's menu and tooltip, starting
// minimised and starting at log-in. The offscreen platform has no tray: each world says whether it has one.
class TestTray : public QObject {
    Q_OBJECT

    QTemporaryDir mConfigHome;
    std::unique_ptr<LVTestWorld> mWorld;

    LVApplicationDelegate &start(bool tray) {
        mWorld = std::make_unique<LVTestWorld>();
        mWorld->hasSystemTray = tray;
        LVApplicationDelegate &delegate = mWorld->makeDelegateWithWindow();
        mWorld->settings.setValue(kAutoUploadKey, false);
        return delegate;
    }
    void showWindow() const {
        mWorld->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(mWorld->window.get()));
    }
    LVTrayIcon *tray() const { return mWorld->delegate->trayIcon(); }
    QAction *trayAction(const char *name) const { return tray()->menu()->findChild<QAction *>(name); }
    // A game the site takes uploads for, with the client signed in and ready to upload.
    void readyToUpload(int accounts) {
        const QString gameFolder = mWorld->dir.filePath(QStringLiteral("game"));
        LVSampleGame::writeSampleGame(QFile::encodeName(gameFolder).toStdString(), accounts, 0.01);
        mWorld->startSite(QString(), 0);
        mWorld->settings.setValue(kWowApplicationPathKey, gameFolder + QStringLiteral("/Wow.exe"));
        mWorld->delegate->install().gatherAccounts();
        mWorld->delegate->install().gatherLocales();
        mWorld->delegate->validateUserInterface();
    }
    // Runs the application's event loop with the step queued; true when the application quit. A loop
    // that does not end is stopped after a while, so that the test fails rather than hangs.
    static bool quitsAfter(const std::function<void()> &step) {
        QTimer::singleShot(0, qApp, step);
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        guard.start(10000);
        return QCoreApplication::exec() == 0;
    }
    QString autostartEntry() const { return mConfigHome.filePath(QStringLiteral("autostart/lorvane-client.desktop")); }
    void clickAutostartAndApply() {
        mWorld->delegate->showOptions();
        auto *options = mWorld->find<LVPreferencesController>();
        QVERIFY(options && options->isVisible());
        options->findChild<QCheckBox *>(QStringLiteral("autostartBox"))->click();
        options->findChild<QPushButton *>(QStringLiteral("applyButton"))->click();
    }

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(mConfigHome.path())); }

    void cleanup() {
        mWorld.reset();
        QDir(mConfigHome.path()).removeRecursively();
        QDir().mkpath(mConfigHome.path());
    }

    void closingWithATrayHidesTheWindowAndTheWatchGoesOn() {
        LVApplicationDelegate &delegate = start(true);
        showWindow();
        QVERIFY(!mWorld->window->close() && !mWorld->window->isVisible());
        QVERIFY(!QGuiApplication::quitOnLastWindowClosed());
        mWorld->settings.setValue(kWowApplicationPathKey, QStringLiteral("/Games/WoW/Wow.exe"));
        mWorld->processMonitor.launch(QStringLiteral("Wow"));
        QVERIFY(delegate.gameWatch().isGameRunning());
        QVERIFY(tray()->toolTip().contains(QLatin1String("The game is running")));
        QVERIFY(!trayAction("launchAction")->isEnabled() && !trayAction("uploadNowAction")->isEnabled());
        mWorld->find<QPushButton>("uploadButton")->setEnabled(true); // whoever changes a button, its action follows
        QVERIFY(trayAction("uploadNowAction")->isEnabled());
        mWorld->processMonitor.terminate(QStringLiteral("Wow"));
        QVERIFY(tray()->toolTip().contains(QLatin1String("Watching the game")));
        trayAction("showWindowAction")->trigger();
        QVERIFY(mWorld->window->isVisible());
        QVERIFY(quitsAfter([this] { trayAction("quitAction")->trigger(); }));
    }

    void closingWithoutATrayQuits() {
        start(false);
        showWindow();
        QVERIFY(!tray());
        QVERIFY(quitsAfter([this] { mWorld->window->close(); }));
    }

    // What the user sees happen, by the button or by the tray: the first thing the client says, and
    // what it asked to start.
    void trayActionsDoWhatTheirButtonsDo() {
        const auto outcome = [&](const std::function<void()> &press) {
            start(true);
            readyToUpload(1);
            LVBusRecorder bus;
            press();
            QStringList seen = bus.messages.mid(0, 1);
            for (const QString &launched : mWorld->workspace.launched)
                seen << QDir(mWorld->dir.path()).relativeFilePath(launched);
            return seen;
        };
        for (const auto &[action, button] :
             {std::pair{"uploadNowAction", "uploadButton"}, {"launchAction", "launchButton"}}) {
            const QStringList byButton = outcome([&] { mWorld->find<QPushButton>(button)->click(); });
            const QStringList byTray = outcome([&] {
                QVERIFY(trayAction(action)->isEnabled());
                trayAction(action)->trigger();
            });
            QVERIFY(!byButton.isEmpty());
            QCOMPARE(byTray, byButton);
        }
    }

    void lastUploadIsToldUnderTheButtonsAndInTheTooltip_data() {
        QTest::addColumn<int>("siteStatus");
        QTest::addColumn<QString>("ending");
        QTest::newRow("both accounts went up") << 200 << ", 2 accounts";
        QTest::newRow("the site refused them") << 500 << " failed";
    }

    void lastUploadIsToldUnderTheButtonsAndInTheTooltip() {
        QFETCH(int, siteStatus);
        QFETCH(QString, ending);
        LVApplicationDelegate &delegate = start(true);
        readyToUpload(2);
        if (siteStatus != 200)
            mWorld->site->server().setResponse("POST", "/upload", siteStatus, "refused");
        auto *label = mWorld->find<QLabel>("lastUploadLabel");
        QString toolTipWhileUploading;
        LVTrayIcon::Picture pictureWhileUploading = LVTrayIcon::IdlePicture;
        connect(&delegate.uploadRun(), &LVUploadRun::runStarted, this, [&] {
            toolTipWhileUploading = tray()->toolTip();
            pictureWhileUploading = tray()->picture();
        });
        QSignalSpy ended(&delegate.uploadRun(), &LVUploadRun::runEnded);

        trayAction("uploadNowAction")->trigger();
        QTRY_COMPARE(ended.size(), 1);
        QVERIFY2(toolTipWhileUploading.contains(QStringLiteral("Uploading…")), qPrintable(toolTipWhileUploading));
        QCOMPARE(pictureWhileUploading, LVTrayIcon::UploadingPicture);
        QCOMPARE(tray()->picture(), siteStatus == 200 ? LVTrayIcon::IdlePicture : LVTrayIcon::ProblemPicture);
        // Why no upload is possible now, or what happens next, comes first.
        const QString why =
            siteStatus == 200 ? "The site takes no new upload until " : "ACCOUNT1, ACCOUNT2 tried again at ";
        const QString last = label->text().section(QStringLiteral(" · "), 1);
        QVERIFY2(label->text().startsWith(why) && last.startsWith("Last upload ") && last.endsWith(ending),
                 qPrintable(label->text()));
        QCOMPARE(tray()->toolTip(), "Lorvane Client\nWatching the game\n" + label->text().replace(" · ", "\n"));
        QStringList menuLines; // desktops that show no tooltips have the menu
        for (QAction *action : tray()->menu()->actions())
            if (action->isVisible() && !action->isEnabled() && !action->isSeparator())
                menuLines << action->text();
        QCOMPARE(menuLines.mid(0, 2), (QStringList{"Watching the game", last}));
    }

    // The tray signs in again, opens Options and the History, and pauses the automatic uploads for an
    // hour or until resumed. Its menu has the window's colours.
    void traySignsInAndPauses() {
        LVApplicationDelegate &delegate = start(true);
        mWorld->settings.setValue(kUsernameKey, QStringLiteral("alice"));
        trayAction("signInAction")->trigger();
        auto *sheet = mWorld->find<LVAuthenticationController>();
        QVERIFY(sheet && sheet->isVisible() && mWorld->window->isVisible());
        QCOMPARE(sheet->findChild<QLineEdit *>("usernameField")->text(), QStringLiteral("alice"));
        sheet->findChild<QPushButton *>("cancelButton")->click();
        QCOMPARE(tray()->menu()->palette().color(QPalette::Window), lv::windowPalette().color(QPalette::Window));
        trayAction("optionsAction")->trigger();
        QTRY_VERIFY(mWorld->find<LVPreferencesController>() && mWorld->find<LVPreferencesController>()->isVisible());
        mWorld->find<LVPreferencesController>()->reject();
        trayAction("historyAction")->trigger();
        QVERIFY(mWorld->find<QWidget>("historyWindow") && mWorld->find<QWidget>("historyWindow")->isVisible());

        tray()->menu()->findChild<QAction *>("pauseHourAction")->trigger();
        QVERIFY(delegate.automaticUploads().isPaused());
        QVERIFY2(tray()->toolTip().contains("Automatic uploads paused until "), qPrintable(tray()->toolTip()));
        QVERIFY(trayAction("resumeAction")->isVisible());
        trayAction("resumeAction")->trigger();
        QVERIFY(!delegate.automaticUploads().isPaused() && !tray()->toolTip().contains("paused"));
        tray()->menu()->findChild<QAction *>("pauseAction")->trigger();
        QVERIFY(tray()->toolTip().contains("Automatic uploads paused until you resume them"));
    }

    void lastUploadText_data() {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<int>("accounts");
        QTest::addColumn<bool>("succeeded");
        QTest::addColumn<QString>("text");
        const QDateTime today(QDate(2026, 5, 4), QTime(13, 2, 40));
        QTest::newRow("one account today") << today << 1 << true << "Last upload 01:02 PM, 1 account";
        QTest::newRow("yesterday") << today.addDays(-1) << 3 << true << "Last upload 2026.05.03 01:02 PM, 3 accounts";
        QTest::newRow("failed") << today << 0 << false << "Last upload 01:02 PM failed";
    }

    void lastUploadText() {
        QFETCH(QDateTime, when);
        QFETCH(int, accounts);
        QFETCH(bool, succeeded);
        QTEST(lv::lastUploadText(when, accounts, succeeded, QLocale::c(), QDateTime(QDate(2026, 5, 4), QTime(18, 0))),
              "text");
    }

    void startsMinimisedOnlyWhereATrayHoldsIt_data() {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("option");
        QTest::addColumn<bool>("requested"); // --minimized
        QTest::addColumn<bool>("shown");
        QTest::newRow("plain start") << true << false << false << true;
        QTest::newRow("option") << true << true << false << false;
        QTest::newRow("--minimized") << true << false << true << false;
        QTest::newRow("no tray: option ignored") << false << true << false << true;
        QTest::newRow("no tray: --minimized ignored") << false << false << true << true;
    }

    void startsMinimisedOnlyWhereATrayHoldsIt() {
        QFETCH(bool, tray);
        QFETCH(bool, option);
        QFETCH(bool, requested);
        LVApplicationDelegate &delegate = start(tray);
        mWorld->settings.setValue(kStartMinimizedKey, option);
        delegate.showWindowAtStart(requested);
        QTEST(mWorld->window->isVisible(), "shown");

        // A sheet cannot wait in the tray: it brings the window up.
        delegate.showOptions();
        QVERIFY(mWorld->window->isVisible());
        QCOMPARE(mWorld->find<QCheckBox>("startMinimizedBox")->isEnabled(), tray);
    }

    void startAtLogInFollowsItsOption() {
        start(true);
        mWorld->settings.setValue(kWowApplicationPathKey, QStringLiteral("/Games/WoW/Wow.exe"));
        clickAutostartAndApply();
        QVERIFY(mWorld->settings.boolForKey(kAutostartKey));
        QFile entry(autostartEntry());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QByteArray text = entry.readAll();
        QVERIFY2(text.startsWith("[Desktop Entry]\n") &&
                     text.contains("\nExec=" + lv::execArgument(QCoreApplication::applicationFilePath()).toUtf8() +
                                   " --minimized\n"),
                 text.constData());
        QTRY_VERIFY(!mWorld->find<LVPreferencesController>());
        clickAutostartAndApply();
        QVERIFY(!QFileInfo::exists(autostartEntry()));
    }

    void execArgumentsAreQuotedForTheDesktop_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("argument");
        QTest::newRow("space") << QString("/opt/My Games/lorvane") << "\"/opt/My Games/lorvane\"";
        QTest::newRow("percent, unquoted") << QString("/opt/100%/lorvane") << "/opt/100%%/lorvane";
        QTest::newRow("dollar and percent") << QString("/home/a$b/100%/x") << "\"/home/a\\\\$b/100%%/x\"";
        QTest::newRow("quote and backslash") << QString("/q\"uote\\back") << "\"/q\\\\\"uote\\\\\\\\back\"";
    }

    void execArgumentsAreQuotedForTheDesktop() {
        QFETCH(QString, program);
        QTEST(lv::execArgument(program), "argument");
    }
};

QTEST_MAIN(TestTray)
#include "TestTray.moc"
