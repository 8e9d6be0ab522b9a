#include "LVBusRecorder.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "app/LVBackgroundView.h"
#include "app/UploadReadiness.h"
#include "auth/LVAuthenticationController.h"
#include "common/FileContents.h"
#include "common/TimeText.h"
#include "game/InstallChoices.h"
#include "prefs/LVPreferencesController.h"
#include "status/LVStatusBus.h"
#include "status/LVStatusLabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

Q_DECLARE_METATYPE(LVUploadSituation)

// The main window: its buttons, its log disclosure and its sheets, driven through their widgets.
class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<LVTestWorld> mWorld;
    LVApplicationDelegate *mDelegate = nullptr;

    LVPreferencesController *options() const { return mWorld->find<LVPreferencesController>(); }
    template <typename T> T *inOptions(const char *name) const { return options()->findChild<T *>(name); }
    void click(const char *button) const { inOptions<QPushButton>(button)->click(); }
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
    void setChecked(int row, bool checked) const {
        inOptions<QTreeWidget>("installsList")
            ->topLevelItem(row)
            ->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }
    void browseTo(const QString &path) const {
        click("browseButton");
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
        QTest::newRow("empty path counts as present") << "" << false << 0 << true << true;
        QTest::newRow("no path") << QString() << false << 0 << false << false;
        QTest::newRow("game running") << "/Games/WoW/Wow.exe" << true << 0 << false << false;
        QTest::newRow("account throttled") << "/Games/WoW/Wow.exe" << false << 2 << true << false;
    }

    void buttonsFollowTheGamePathTheGameAndTheAccount() {
        QFETCH(QString, gamePath);
        QFETCH(int, accountStatus);
        if (!gamePath.isNull())
            mWorld->settings.setValue(kWowApplicationPathKey, gamePath);
        if (QTest::currentDataTag() == QLatin1String("game running"))
            mWorld->processMonitor.launch(QStringLiteral("Wow"));
        if (accountStatus != 0)
            mWorld->answerCredentialTest(QByteArray::number(accountStatus));
        mDelegate->validateUserInterface();
        QTEST(mWorld->find<QPushButton>("launchButton")->isEnabled(), "launchEnabled");
        QTEST(mWorld->find<QPushButton>("uploadButton")->isEnabled(), "uploadEnabled");
    }

    // Whether Upload can be pressed, and what the window says about it ("%1": the time in the situation).
    void uploadSaysWhyItCannotBePressed_data() {
        QTest::addColumn<LVUploadSituation>("situation");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("why");
        const auto with = [](auto change) {
            LVUploadSituation situation;
            situation.hasGame = true;
            change(situation);
            return situation;
        };
        QTest::newRow("ready") << with([](auto &) {}) << true << QString();
        QTest::newRow("no game") << with([](auto &s) { s.hasGame = false; }) << false
                                 << "Choose the game in Options to upload";
        QTest::newRow("a run goes on while the game runs")
            << with([](auto &s) { s.runInProgress = s.gameRunning = true; }) << false << "An upload is running";
        QTest::newRow("the game runs") << with([](auto &s) { s.gameRunning = true; }) << false
                                       << "The game is running: uploading waits until it quits";
        QTest::newRow("refused") << with([](auto &s) { s.accountStatus = 1; }) << false
                                 << "The site refused your password: sign in again";
        QTest::newRow("the site does not answer, after refusing")
            << with([](auto &s) { s.accountStatus = 1, s.siteUnanswered = true; }) << true
            << "The site does not answer: asked again at %1, or when you press Upload";
        QTest::newRow("after an upload") << with([](auto &s) { s.heldAfterUpload = true; }) << false
                                         << "The site takes no new upload until %1";
        QTest::newRow("no password") << with([](auto &s) { s.passwordMissing = true; }) << true
                                     << "Not signed in: Upload asks for your password";
        QTest::newRow("a retry waits") << with([](auto &s) {
            s.accountsToRetry = {"A", "B"}, s.paused = true;
        }) << true << "A, B tried again at %1";
        QTest::newRow("paused") << with([](auto &s) { s.paused = true; }) << true
                                << "Automatic uploads paused until you resume them";
    }

    void uploadSaysWhyItCannotBePressed() {
        QFETCH(LVUploadSituation, situation);
        QFETCH(bool, enabled);
        QFETCH(QString, why);
        const QDateTime when = QDateTime::currentDateTime().addSecs(90);
        situation.nextTest = when;
        situation.nextRetry = situation.accountsToRetry.isEmpty() ? QDateTime() : when;
        const LVUploadReadiness readiness = lv::uploadReadiness(situation);
        QCOMPARE(readiness.enabled, enabled);
        QCOMPARE(readiness.why, why.contains("%1") ? why.arg(lv::shortDateTime(when)) : why);
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

    // Showing the log adds 170 to the height, from the top; hiding it takes 170 off whatever the user
    // made the window since. A state given while the window moves ends at the right size.
    void logDisclosureGrowsAndShrinksTheWindow() {
        QWidget *window = mWorld->window.get();
        auto *label = mWorld->find<LVStatusLabel>("statusLabel");
        auto *toggle = mWorld->find<QToolButton>("disclosureButton");
        auto *log = mWorld->find<QTextEdit>("statusText");
        LVStatusBus::sendStatusMessage(QStringLiteral("shown"));
        label->displayMessage();
        const QRect start = window->geometry();
        toggle->click();
        QTRY_COMPARE(window->geometry().height(), start.height() + 170);
        QCOMPARE(window->geometry().top(), start.top());
        QVERIFY(log->isVisible() && !label->displaysMessages() && label->text().isEmpty());
        QCOMPARE(toggle->text(), QStringLiteral("Hide log"));
        // Shown, the log can be saved, whole, as text.
        QVERIFY(mWorld->find<QToolButton>("saveLogButton")->isVisible());
        QVERIFY(mWorld->window->saveLogTo(mWorld->dir.filePath("log.txt")));
        QCOMPARE(lv::contentsOfFile(mWorld->dir.filePath("log.txt")), log->toPlainText().toUtf8());
        QVERIFY(log->toPlainText().contains(":  shown"));

        const int logHeight = log->height();
        window->resize(window->width(), window->height() + 40);
        QTRY_COMPARE(log->height(), logHeight + 40);
        QCOMPARE(mWorld->find<LVBackgroundView>("backgroundImage")->height(), 180);
        toggle->click();
        QTRY_COMPARE(window->geometry().height(), start.height() + 40);
        QTRY_VERIFY(!log->isVisible());
        QVERIFY(label->displaysMessages());
        QCOMPARE(toggle->text(), QStringLiteral("Show log"));
        mDelegate->discloseStatusText(1);
        QTRY_COMPARE(window->height(), start.height() + 210);
        mDelegate->discloseStatusText(-1); // the mixed state hides the log
        QTRY_COMPARE(window->height(), start.height() + 40);

        for (int state : {1, 0, 1}) {
            if (QPropertyAnimation *moving = runningDisclosure()) {
                moving->setCurrentTime(60); // a third of the way: the press comes while the window moves
                QVERIFY(window->height() > start.height() + 40 && window->height() < start.height() + 210);
            }
            mDelegate->discloseStatusText(state);
        }
        QTRY_VERIFY(!runningDisclosure());
        QCOMPARE(window->height(), start.height() + 210);
        QVERIFY(log->isVisible());
    }

    // The moon is the brightest thing in the picture, right of the middle at the same distance from the
    // right edge; the title is golden, at the left.
    void backgroundKeepsTitleAndMoonAtAnyWidthAndScale() {
        auto *view = mWorld->find<LVBackgroundView>("backgroundImage");
        for (const auto &[width, scale] : {std::pair{480, 1.0}, std::pair{900, 2.0}}) {
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
    }

    void applyThatCannotSaveKeepsTheSheetOpen() {
        LVGameFolder game;
        const QString settingsFile = mWorld->dir.filePath(QStringLiteral("settings.ini"));
        openOptions();
        browseTo(game.applicationPath());
        // Root writes anywhere, but no one writes a file where a folder is.
        QFile::remove(settingsFile);
        QVERIFY(QDir().mkdir(settingsFile));
        LVBusRecorder bus;
        click("applyButton");
        QCOMPARE(bus.errorMessages().size(), 1);
        QVERIFY2(bus.errorMessages().first().startsWith(QLatin1String("Unable to save the settings: ") + settingsFile),
                 qPrintable(bus.errorMessages().first()));
        QCOMPARE(inOptions<QLabel>("saveErrorLabel")->text(), bus.errorMessages().first());
        QVERIFY(inOptions<QLabel>("saveErrorLabel")->isVisible() && options()->isVisible());
        QVERIFY(mWorld->settings.stringForKey(kWowApplicationPathKey).isNull());

        QVERIFY(QDir().rmdir(settingsFile)); // with the way clear, Apply stores the choice and closes
        click("applyButton");
        QTRY_VERIFY(!options());
        QCOMPARE(LVSettings(settingsFile).stringForKey(kWowApplicationPathKey), game.applicationPath());
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
        setChecked(0, false);
        setChecked(2, false);
        click("applyButton");
        QTRY_VERIFY(!options());
        LVSettings stored(mWorld->dir.filePath("settings.ini"));
        stored.registerDefaults(mWorld->settings.registeredDefaults());
        QCOMPARE(lv::installChoices(stored),
                 (QList<LVInstallChoice>{{retail, false}, {classic, true}, {lutris, false}}));
        QCOMPARE(stored.stringForKey(kWowApplicationPathKey), classic);
    }

    // Cancel stores nothing, not even at a later save. Browse adds an install by hand, checked, once
    // however often it is picked; Apply waits for a checked one and stores the options only then.
    void browseAddsInstallsAndApplyStoresTheOptions() {
        LVGameFolder first, second(QStringLiteral("_classic_/WowClassic.exe"));
        const char *keys[] = {kAutoUploadKey, kCharacterDataKey, kRunLauncherAppKey, kVerboseLoggingKey};
        for (const char *key : keys)
            mWorld->settings.setValue(key, false);
        openOptions();
        browseTo(first.applicationPath());
        inOptions<QCheckBox>("autoUploadBox")->click();
        click("cancelButton");
        QTRY_VERIFY(!options());
        mWorld->settings.save();
        QVERIFY(!mWorld->settings.hasUserValueForKey(kWowInstallsKey) && !mWorld->settings.boolForKey(kAutoUploadKey));
        openOptions();
        QVERIFY(!inOptions<QPushButton>("applyButton")->isEnabled());
        browseTo(first.applicationPath());
        browseTo(second.applicationPath());
        setChecked(0, false);
        browseTo(second.applicationPath());
        QCOMPARE(installRows(), (QStringList{"-Game folder|" + first.applicationPath() + "|Chosen by hand",
                                             "+Classic|" + second.applicationPath() + "|Chosen by hand"}));
        // Each flavor and prefix shows whole, however long, once added.
        auto *list = inOptions<QTreeWidget>("installsList");
        for (const int column : {0, 1}) {
            const int width = list->columnWidth(column);
            list->resizeColumnToContents(column);
            QCOMPARE(width, list->columnWidth(column));
        }
        setChecked(1, false);
        QVERIFY(!inOptions<QPushButton>("applyButton")->isEnabled());
        browseTo(first.applicationPath());
        for (const char *box : {"autoUploadBox", "characterDataBox", "runLauncherBox", "verboseLoggingBox"})
            inOptions<QCheckBox>(box)->click();
        QVERIFY(!mWorld->settings.boolForKey(kVerboseLoggingKey)); // nothing stored before Apply
        click("applyButton");
        QCOMPARE(lv::installChoices(mWorld->settings),
                 (QList<LVInstallChoice>{{first.applicationPath(), true}, {second.applicationPath(), false}}));
        for (const char *key : keys)
            QVERIFY2(mWorld->settings.boolForKey(key), key);
    }

    // Whatever the desktop's theme, a check box stands out from the sheet: its tick from its box, the
    // edge of an empty one from what is around it.
    void checkBoxesReadClearlyInAnyTheme_data() {
        QTest::addColumn<QPalette>("desktop");
        QTest::newRow("light") << QPalette(QColor(0xef, 0xef, 0xef));
        QTest::newRow("dark") << QPalette(QColor(0x35, 0x35, 0x35));
    }
    void checkBoxesReadClearlyInAnyTheme() {
        QFETCH(QPalette, desktop);
        mWorld.reset();
        QApplication::setPalette(desktop);
        mWorld = std::make_unique<LVTestWorld>();
        mDelegate = &mWorld->makeDelegateWithWindow();
        mWorld->window->show();
        openOptions();
        const auto luminance = [](QRgb pixel) {
            const auto linear = [](int value) {
                const double c = value / 255.0;
                return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * linear(qRed(pixel)) + 0.7152 * linear(qGreen(pixel)) + 0.0722 * linear(qBlue(pixel));
        };
        for (const bool checked : {true, false}) {
            auto *box = inOptions<QCheckBox>(checked ? "autoUploadBox" : "autostartBox");
            box->setChecked(checked);
            QVERIFY(!box->hasFocus());
            const QImage picture = box->grab(QRect(0, 0, box->height(), box->height())).toImage();
            double darkest = 1, lightest = 0;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x) {
                    darkest = std::min(darkest, luminance(picture.pixel(x, y)));
                    lightest = std::max(lightest, luminance(picture.pixel(x, y)));
                }
            const double contrast = (lightest + 0.05) / (darkest + 0.05);
            QVERIFY2(contrast >= (checked ? 4.5 : 3.0), qPrintable(QString::number(contrast)));
        }
    }

    // Alt and a letter reach each button and option of a window; no letter serves two of them.
    void mnemonicsDoNotClash() {
        mDelegate->setupAccount();
        mDelegate->showOptions();
        for (QWidget *window :
             QWidgetList{mWorld->window.get(), mWorld->find<LVAuthenticationController>(), options()}) {
            QMap<QChar, QString> taken;
            for (QWidget *widget : window->findChildren<QWidget *>()) {
                auto *button = qobject_cast<QAbstractButton *>(widget);
                auto *label = qobject_cast<QLabel *>(widget);
                if (widget->window() != window || widget == mWorld->find<QToolButton>("disclosureButton") ||
                    !(button || (label && label->buddy())))
                    continue;
                const QString text = button ? button->text() : label->text();
                const QChar key = (text + QLatin1Char(' ')).at(text.indexOf(QLatin1Char('&')) + 1).toLower();
                QVERIFY2(text.contains(QLatin1Char('&')) && !taken.contains(key),
                         qPrintable(taken.value(key) + " and " + text));
                taken.insert(key, text);
            }
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
