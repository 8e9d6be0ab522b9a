#include "LVBusRecorder.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "app/LVBackgroundView.h"
#include "auth/LVAuthenticationController.h"
#include "game/InstallChoices.h"
#include "prefs/LVPreferencesController.h"
#include "status/LVStatusBus.h"
#include "status/LVStatusLabel.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

// The main window: its buttons, its log disclosure and its sheets, driven through their widgets.
class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<LVTestWorld> mWorld;
    LVApplicationDelegate *mDelegate = nullptr;

    LVPreferencesController *options() const { return mWorld->find<LVPreferencesController>(); }
    template <typename T> T *inOptions(const char *name) const { return options()->findChild<T *>(name); }
    QPropertyAnimation *runningDisclosure() const {
        for (auto *animation : mWorld->window->findChildren<QPropertyAnimation *>("logDisclosureAnimation"))
            if (animation->state() == QAbstractAnimation::Running)
                return animation;
        return nullptr;
    }
    void openOptions() const {
        mWorld->find<QPushButton>("optionsButton")->click();
        QTRY_VERIFY(options() && options()->isVisible());
    }
    // Each row of the installs list: "+" when checked, "-" when not, then flavor, path and prefix.
    QStringList installRows() const {
        QStringList rows;
        const auto *list = inOptions<QTreeWidget>("installsList");
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            const QTreeWidgetItem *item = list->topLevelItem(row);
            rows << (item->checkState(0) == Qt::Checked ? "+" : "-") + item->text(0) + "|" + item->text(2) + "|" +
                        item->text(1);
        }
        return rows;
    }
    void browseTo(const QString &path) const {
        inOptions<QPushButton>("browseButton")->click();
        QFileDialog *dialog = nullptr;
        for (QFileDialog *candidate : options()->findChildren<QFileDialog *>("browseDialog"))
            dialog = candidate->isVisible() ? candidate : dialog;
        QVERIFY(dialog && (dialog->filter() & QDir::Hidden));
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    }

private slots:
    void init() {
        mWorld = std::make_unique<LVTestWorld>();
        mDelegate = &mWorld->makeDelegateWithWindow();
        mWorld->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(mWorld->window.get()));
    }

    void cleanup() { mWorld.reset(); }

    void buttonsFollowTheGamePathTheGameAndTheAccount_data() {
        QTest::addColumn<QString>("gamePath"); // null: no path stored
        QTest::addColumn<bool>("running");
        QTest::addColumn<int>("accountStatus");
        QTest::addColumn<bool>("launchEnabled");
        QTest::addColumn<bool>("uploadEnabled");
        QTest::newRow("ready") << "/Games/WoW/Wow.exe" << false << 0 << true << true;
        QTest::newRow("empty path counts as present") << "" << false << 0 << true << true;
        QTest::newRow("no path") << QString() << false << 0 << false << false;
        QTest::newRow("game running") << "/Games/WoW/Wow.exe" << true << 0 << false << false;
        QTest::newRow("account throttled") << "/Games/WoW/Wow.exe" << false << 2 << true << false;
    }

    void buttonsFollowTheGamePathTheGameAndTheAccount() {
        QFETCH(QString, gamePath);
        QFETCH(bool, running);
        QFETCH(int, accountStatus);
        QFETCH(bool, launchEnabled);
        QFETCH(bool, uploadEnabled);
        if (!gamePath.isNull())
            mWorld->settings.setValue(kWowApplicationPathKey, gamePath);
        if (running)
            mWorld->processMonitor.launch(QStringLiteral("Wow"));
        if (accountStatus != 0)
            mWorld->answerCredentialTest(QByteArray::number(accountStatus));
        mDelegate->validateUserInterface();
        QCOMPARE(mWorld->find<QPushButton>("launchButton")->isEnabled(), launchEnabled);
        QCOMPARE(mWorld->find<QPushButton>("uploadButton")->isEnabled(), uploadEnabled);
    }

    void wakingUpPreparesTheWindow() {
        LVTestWorld world;
        world.window = std::make_unique<LVMainWindow>();
        world.find<QTextEdit>("statusText")->setPlainText(QStringLiteral("stale"));
        world.window->connectTo(world.makeDelegate());
        QVERIFY(world.delegate->statusTextView()->toPlainText().isEmpty());
        QVERIFY(world.find<LVBackgroundView>("backgroundImage")->isLoaded());
        QCOMPARE(world.settings.stringForKey(kWowApplicationNameKey), QStringLiteral("Wow"));
    }

    void logDisclosureGrowsAndShrinksTheWindow() {
        QWidget *window = mWorld->window.get();
        auto *label = mWorld->find<LVStatusLabel>("statusLabel");
        auto *toggle = mWorld->find<QToolButton>("disclosureButton");
        auto *log = mWorld->find<QTextEdit>("statusText");
        LVStatusBus::sendStatusMessage(QStringLiteral("shown"));
        label->displayMessage();
        const QRect start = window->geometry();
        QCOMPARE(toggle->text(), QStringLiteral("Show log"));

        toggle->click();
        QTRY_COMPARE(window->geometry().height(), start.height() + 170);
        QCOMPARE(window->geometry().top(), start.top());
        QVERIFY(log->isVisible());
        QVERIFY(!label->displaysMessages() && label->text().isEmpty());
        QCOMPARE(toggle->text(), QStringLiteral("Hide log"));
        QCOMPARE(toggle->accessibleName(), QStringLiteral("Hide log"));

        // The user makes the window taller: the log takes the height; hiding it takes 170 off
        // whatever the window is now.
        const int logHeight = log->height();
        window->resize(window->width(), window->height() + 40);
        QTRY_COMPARE(log->height(), logHeight + 40);
        QCOMPARE(mWorld->find<LVBackgroundView>("backgroundImage")->height(), 180);
        toggle->click();
        QTRY_COMPARE(window->geometry().height(), start.height() + 40);
        QTRY_VERIFY(!log->isVisible());
        QVERIFY(label->displaysMessages() && label->text().isEmpty());
        QCOMPARE(toggle->text(), QStringLiteral("Show log"));

        mDelegate->discloseStatusText(1);
        QTRY_COMPARE(window->height(), start.height() + 210);
        mDelegate->discloseStatusText(-1); // the mixed state hides the log
        QTRY_COMPARE(window->height(), start.height() + 40);
    }

    void logToggledAgainWhileMovingEndsAtTheRightSize_data() {
        QTest::addColumn<bool>("fromShown");
        QTest::addColumn<QList<int>>("states"); // given one after the other, each before the last ends
        QTest::addColumn<bool>("logShown");
        QTest::newRow("show, hide") << false << QList<int>{1, 0} << false;
        QTest::newRow("hide, show") << true << QList<int>{0, 1} << true;
        QTest::newRow("show, hide, show") << false << QList<int>{1, 0, 1} << true;
        QTest::newRow("hide, show, hide") << true << QList<int>{0, 1, 0} << false;
    }

    void logToggledAgainWhileMovingEndsAtTheRightSize() {
        QFETCH(bool, fromShown);
        QFETCH(QList<int>, states);
        QFETCH(bool, logShown);
        QWidget *window = mWorld->window.get();
        const int collapsed = window->height();
        if (fromShown) {
            mDelegate->discloseStatusText(1);
            QTRY_VERIFY(!runningDisclosure());
        }
        for (int state : states) {
            if (QPropertyAnimation *moving = runningDisclosure()) {
                moving->setCurrentTime(60); // a third of the way: the press comes while the window moves
                const int heightThen = window->height();
                QVERIFY(heightThen > collapsed && heightThen < collapsed + 170);
            }
            mDelegate->discloseStatusText(state);
        }
        QTRY_VERIFY(!runningDisclosure());
        QCOMPARE(window->height(), collapsed + (logShown ? 170 : 0));
        QCOMPARE(mWorld->find<QTextEdit>("statusText")->isVisible(), logShown);
    }

    void backgroundKeepsTitleAndMoonAtAnyWidthAndScale_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<qreal>("scale");
        QTest::newRow("480, 1x") << 480 << 1.0;
        QTest::newRow("900, 1x") << 900 << 1.0;
        QTest::newRow("900, 2x") << 900 << 2.0;
    }

    // The moon is the brightest thing in the picture, right of the middle at the same distance from the
    // right edge; the title is golden, at the left.
    void backgroundKeepsTitleAndMoonAtAnyWidthAndScale() {
        QFETCH(int, width);
        QFETCH(qreal, scale);
        auto *view = mWorld->find<LVBackgroundView>("backgroundImage");
        mWorld->window->resize(width, mWorld->window->height());
        QTRY_COMPARE(view->width(), width);
        QImage picture(view->size() * scale, QImage::Format_RGB32);
        picture.setDevicePixelRatio(scale);
        view->render(&picture);

        const auto pixel = [&](int x, int y) { return QColor(picture.pixel(int(x * scale), int(y * scale))); };
        QVERIFY(pixel(width - 100, 48).lightness() > 220); // the moon, 100 px from the right edge
        QVERIFY(pixel(width / 2, 48).lightness() < 80);    // night sky in the middle
        QVERIFY(pixel(width - 4, 176).lightness() < 40);   // the hills reach the right edge
        const QColor gold = pixel(30, 45);                 // in the L of the title
        QVERIFY2(gold.red() > 180 && gold.blue() < 160, qPrintable(gold.name()));
    }

    void applyThatCannotSaveKeepsTheSheetOpen() {
        LVGameFolder game;
        const QString settingsFile = mWorld->dir.filePath(QStringLiteral("settings.ini"));
        openOptions();
        browseTo(game.applicationPath());
        inOptions<QCheckBox>("autoUploadBox")->click();
        // Root writes anywhere, but no one writes a file where a folder is.
        QFile::remove(settingsFile);
        QVERIFY(QDir().mkdir(settingsFile));
        LVBusRecorder bus;
        inOptions<QPushButton>("applyButton")->click();

        QCOMPARE(bus.errorMessages().size(), 1);
        QVERIFY2(bus.errorMessages().first().startsWith(QLatin1String("Unable to save the settings: ") + settingsFile),
                 qPrintable(bus.errorMessages().first()));
        QCOMPARE(inOptions<QLabel>("saveErrorLabel")->text(), bus.errorMessages().first());
        QVERIFY(inOptions<QLabel>("saveErrorLabel")->isVisible());
        QVERIFY(options() && options()->isVisible());
        QVERIFY(mWorld->settings.stringForKey(kWowApplicationPathKey).isNull());

        // With the way clear, Apply stores the same choices and the sheet closes.
        QVERIFY(QDir().rmdir(settingsFile));
        inOptions<QPushButton>("applyButton")->click();
        QTRY_VERIFY(!options());
        const LVSettings stored(settingsFile);
        QCOMPARE(stored.stringForKey(kWowApplicationPathKey), game.applicationPath());
        QVERIFY(stored.hasUserValueForKey(kAutoUploadKey));
    }

    // The installs found at start-up are listed checked; Apply stores the list as shown, the first
    // checked install as the game, and the file holds it for the next start.
    void optionsListTheInstallsFoundAndApplyStoresThem() {
        const QString prefix = QStringLiteral("/home/ann/.local/share/Steam/steamapps/compatdata/7/pfx");
        const QString folder = prefix + QStringLiteral("/drive_c/Program Files (x86)/World of Warcraft");
        const QString retail = folder + "/_retail_/Wow.exe", classic = folder + "/_classic_/WowClassic.exe";
        const QString lutris = QStringLiteral("/home/ann/Games/wow/drive_c/World of Warcraft/_ptr_/WowT.exe");
        mWorld->workspace.installations = {{retail, "_retail_", prefix, LVPrefixKind::Steam, "7"},
                                           {classic, "_classic_", prefix, LVPrefixKind::Steam, "7"},
                                           {lutris, "_ptr_", "/home/ann/Games/wow", LVPrefixKind::Lutris, "wow"}};
        mDelegate->awakeFromNib(); // the search at start-up
        openOptions();
        QCOMPARE(installRows(), (QStringList{"+Retail|" + retail + "|Steam", "+Classic|" + classic + "|Steam",
                                             "+Test realm|" + lutris + "|Lutris"}));

        const auto *list = inOptions<QTreeWidget>("installsList");
        for (int row : {0, 2})
            list->topLevelItem(row)->setCheckState(0, Qt::Unchecked);
        inOptions<QPushButton>("applyButton")->click();
        QTRY_VERIFY(!options());

        LVSettings stored(mWorld->dir.filePath("settings.ini"));
        stored.registerDefaults(mWorld->settings.registeredDefaults());
        QCOMPARE(lv::installChoices(stored),
                 (QList<LVInstallChoice>{{retail, false}, {classic, true}, {lutris, false}}));
        QCOMPARE(stored.stringForKey(kWowApplicationPathKey), classic);
        openOptions();
        QCOMPARE(installRows().mid(0, 2),
                 (QStringList{"-Retail|" + retail + "|Steam", "+Classic|" + classic + "|Steam"}));
    }

    // Browse adds an install by hand, checked, once however often it is picked; Apply waits for a checked one.
    void browseAddsInstallsAndApplyStoresTheOptions() {
        LVGameFolder first;
        LVGameFolder second(QStringLiteral("_classic_/WowClassic.exe"));
        for (const char *key : {kAutoUploadKey, kCharacterDataKey, kRunLauncherAppKey, kVerboseLoggingKey})
            mWorld->settings.setValue(key, false);
        openOptions();
        QCOMPARE(installRows(), QStringList());
        QVERIFY(!inOptions<QPushButton>("applyButton")->isEnabled());
        browseTo(first.applicationPath());
        browseTo(second.applicationPath());
        inOptions<QTreeWidget>("installsList")->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        browseTo(second.applicationPath());
        QCOMPARE(installRows(), (QStringList{"-Game folder|" + first.applicationPath() + "|Chosen by hand",
                                             "+Classic|" + second.applicationPath() + "|Chosen by hand"}));
        inOptions<QTreeWidget>("installsList")->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
        QVERIFY(!inOptions<QPushButton>("applyButton")->isEnabled());
        browseTo(first.applicationPath());
        QVERIFY(inOptions<QPushButton>("applyButton")->isEnabled());
        for (const char *box : {"autoUploadBox", "characterDataBox", "runLauncherBox", "verboseLoggingBox"})
            inOptions<QCheckBox>(box)->click();
        QVERIFY(!mWorld->settings.boolForKey(kVerboseLoggingKey)); // nothing stored before Apply
        inOptions<QPushButton>("applyButton")->click();

        QCOMPARE(mWorld->settings.stringForKey(kWowApplicationPathKey), first.applicationPath());
        QCOMPARE(lv::installChoices(mWorld->settings),
                 (QList<LVInstallChoice>{{first.applicationPath(), true}, {second.applicationPath(), false}}));
        for (const char *key : {kAutoUploadKey, kCharacterDataKey, kRunLauncherAppKey, kVerboseLoggingKey})
            QVERIFY2(mWorld->settings.boolForKey(key), key);
    }

    void cancelStoresNothing() {
        LVGameFolder game;
        mWorld->settings.setValue(kWowApplicationPathKey, QStringLiteral("/stored/Wow.exe"));
        mWorld->settings.setValue(kAutoUploadKey, true);
        openOptions();
        browseTo(game.applicationPath());
        inOptions<QCheckBox>("autoUploadBox")->click();
        inOptions<QPushButton>("cancelButton")->click();
        QTRY_VERIFY(!options());

        QCOMPARE(mWorld->settings.stringForKey(kWowApplicationPathKey), QStringLiteral("/stored/Wow.exe"));
        QVERIFY(!mWorld->settings.hasUserValueForKey(kWowInstallsKey));
        mWorld->settings.save(); // a cancelled option edit is not stored by a later confirmation
        QVERIFY(mWorld->settings.boolForKey(kAutoUploadKey));
    }

    // Alt and a letter reach each button and option of a window; no letter serves two of them.
    void mnemonicsDoNotClash() {
        mDelegate->setupAccount();
        mDelegate->showOptions();
        const QList<QWidget *> windows{mWorld->window.get(), mWorld->find<LVAuthenticationController>(), options()};
        for (QWidget *window : windows) {
            QStringList texts;
            for (QAbstractButton *button : window->findChildren<QAbstractButton *>())
                if (button->window() == window && button != mWorld->find<QToolButton>("disclosureButton"))
                    texts << button->text();
            for (QLabel *label : window->findChildren<QLabel *>())
                if (label->window() == window && label->buddy())
                    texts << label->text();
            QMap<QChar, QString> taken;
            for (const QString &text : texts) {
                const qsizetype mark = text.indexOf(QLatin1Char('&'));
                QVERIFY2(mark >= 0, qPrintable(text));
                const QChar key = text.at(mark + 1).toLower();
                QVERIFY2(!taken.contains(key), qPrintable(taken.value(key) + " and " + text));
                taken.insert(key, text);
            }
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
