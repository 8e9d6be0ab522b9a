#include "LVBusRecorder.h"
#include "LVSampleGame.h"
#include "LVTestWorld.h"
#include "app/LVSingleInstance.h"
#include "auth/LVAuthenticationController.h"
#include "game/InstallChoices.h"
#include "prefs/LVPreferencesController.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtConcurrent/QtConcurrentRun>
#include <QtTest>

// The program coming up: the credential test first, then the game's installs once a game path is
// known, each gathered at most once per run.
class TestStartUp : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> mGame;
    std::unique_ptr<LVTestWorld> mWorld;

    // In the retail game's folder; its sibling folders hold other installs.
    QString gamePath(const QString &relative) const {
        return QDir::cleanPath(mGame->filePath(QStringLiteral("retail/") + relative));
    }
    QStringList siteRequests() const {
        QStringList paths;
        for (const LVSiteRequest &request : mWorld->site->server().requests())
            paths << QString::fromStdString(request.path);
        return paths;
    }
    template <typename Sheet> Sheet *visibleSheet() const {
        for (Sheet *sheet : mWorld->window->findChildren<Sheet *>())
            if (sheet->isVisible())
                return sheet;
        return nullptr;
    }
    LVApplicationDelegate &start() {
        LVApplicationDelegate &delegate = mWorld->makeDelegateWithWindow();
        delegate.applicationDidFinishLaunching();
        return delegate;
    }

private slots:
    void init() {
        mGame = std::make_unique<QTemporaryDir>();
        LVSampleGame::writeSampleGame(QFile::encodeName(gamePath(".")).toStdString(), 1, 0.01);
        mWorld = std::make_unique<LVTestWorld>();
        mWorld->startSite();
    }

    void cleanup() {
        mWorld.reset();
        mGame.reset();
    }

    void knownGameIsGatheredAfterTheCredentialTest() {
        mWorld->settings.setValue(kWowApplicationPathKey, gamePath("Wow.exe"));
        mWorld->processMonitor.names = {QStringLiteral("Wow")};
        LVApplicationDelegate &delegate = start();

        QCOMPARE(siteRequests(), (QStringList{"/auth", "/updates.xml"}));
        QVERIFY(delegate.gameWatch().isGameRunning());
        QVERIFY(!mWorld->find<QPushButton>("uploadButton")->isEnabled());
        QCOMPARE(delegate.install().accounts(), std::optional<QStringList>(QStringList{"ACCOUNT1"}));
        QVERIFY(QFileInfo(gamePath("Interface/AddOns/+Lorvane_Harvex")).isDir());
        QVERIFY(!visibleSheet<LVPreferencesController>());
        delegate.gatherInstallAndCheck();
        QCOMPARE(siteRequests().count("/updates.xml"), 1);
    }

    // The first start says in the window what the client does and what it needs, then asks: the sign-in
    // sheet, hanging from the top so that the welcome stays in sight, the cursor in the user name, then
    // Options for the game not found. Cancelling logs no error. Signed in, with a game, the welcome leaves.
    void firstStartWelcomesThenAsksForThePasswordThenForTheGame() {
        mWorld->credentialStore.password.reset();
        mWorld->settings.removeValueForKey(kUsernameKey);
        LVBusRecorder bus;
        LVApplicationDelegate &delegate = start();
        const auto *welcome = mWorld->find<QLabel>("welcomeLabel");
        QVERIFY(!mWorld->find<QFrame>("welcomePanel")->isHidden());
        QVERIFY(welcome->text().contains("not found yet") && welcome->text().contains("sign in"));
        QTRY_VERIFY(visibleSheet<LVAuthenticationController>());
        const QRect sheet = visibleSheet<LVAuthenticationController>()->geometry();
        QVERIFY(sheet.bottom() < welcome->mapToGlobal(welcome->rect().center()).y());
        QCOMPARE(visibleSheet<LVAuthenticationController>()->focusWidget()->objectName(), "usernameField");
        QVERIFY(!visibleSheet<LVPreferencesController>()); // waits for the sign-in sheet
        QTest::keyClick(visibleSheet<LVAuthenticationController>(), Qt::Key_Escape);
        QTRY_VERIFY(visibleSheet<LVPreferencesController>());
        QCOMPARE(bus.errorMessages(), QStringList());
        QVERIFY(!delegate.install().accounts().has_value());

        visibleSheet<LVPreferencesController>()->chooseApplicationPath(gamePath("Wow.exe"));
        visibleSheet<LVPreferencesController>()->findChild<QPushButton *>("applyButton")->click();
        QCOMPARE(delegate.install().accounts(), std::optional<QStringList>(QStringList{"ACCOUNT1"}));
        QCOMPARE(siteRequests(), QStringList{"/updates.xml"});
        QVERIFY(!welcome->text().contains("not found yet"));

        mWorld->find<QPushButton>("welcomeButton")->click();
        auto *signIn = visibleSheet<LVAuthenticationController>();
        QTest::keyClicks(signIn->findChild<QLineEdit *>("usernameField"), QString::fromLatin1(LVTestSite::kUser));
        signIn->findChild<QLineEdit *>("passwordField")->setText(QString::fromUtf8(LVTestSite::kPassword));
        signIn->findChild<QPushButton *>("okButton")->click();
        QVERIFY(mWorld->find<QFrame>("welcomePanel")->isHidden());
        QCOMPARE(siteRequests().count("/auth"), 1);

        // A later Apply in the same run stores the path and gathers nothing.
        mWorld->find<QPushButton>("optionsButton")->click();
        QTRY_VERIFY(visibleSheet<LVPreferencesController>());
        visibleSheet<LVPreferencesController>()->findChild<QPushButton *>("applyButton")->click();
        QCOMPARE(siteRequests().count("/updates.xml"), 1);
    }

    // Every checked install is gathered and gets the addon, the site's manifest fetched once. A game
    // chosen before there were several installs becomes the one checked install, the others found
    // listed unchecked and left alone.
    void startUpGathersEveryCheckedInstall_data() {
        QTest::addColumn<bool>("gameChosenBefore");
        QTest::newRow("nothing stored, two installs found") << false;
        QTest::newRow("a game chosen before there were several") << true;
    }
    void startUpGathersEveryCheckedInstall() {
        QFETCH(bool, gameChosenBefore);
        const QString classicFolder = gamePath("../classic/World of Warcraft/_classic_");
        LVSampleGame::writeSampleGame(QFile::encodeName(classicFolder).toStdString(), 1, 0.01);
        const QString retail = gamePath("Wow.exe"), classic = QDir::cleanPath(classicFolder + "/WowClassic.exe");
        mWorld->workspace.installations = {
            {retail, "", QString(), LVPrefixKind::Manual, QString()},
            {classic, "_classic_", gamePath("../classic"), LVPrefixKind::Wine, QString()}};
        if (gameChosenBefore)
            mWorld->settings.setValue(kWowApplicationPathKey, retail);
        LVApplicationDelegate &delegate = start();

        QCOMPARE(lv::installChoices(mWorld->settings),
                 (QList<LVInstallChoice>{{retail, true}, {classic, !gameChosenBefore}}));
        QVERIFY(mWorld->settings.hasUserValueForKey(kWowInstallsKey)); // what the first start found is stored
        QCOMPARE(delegate.installs().checked().size(), gameChosenBefore ? 1 : 2);
        for (const LVGameInstall *install : delegate.installs().checked())
            QCOMPARE(install->accounts(), std::optional<QStringList>(QStringList{"ACCOUNT1"}));
        QVERIFY(QFileInfo(gamePath("Interface/AddOns/+Lorvane_Harvex")).isDir());
        QCOMPARE(QFileInfo(classicFolder + "/Interface/AddOns/+Lorvane_Harvex").isDir(), !gameChosenBefore);
        QCOMPARE(siteRequests(), (QStringList{"/auth", "/updates.xml"}));
        if (!gameChosenBefore)
            return;

        // Checked later in the Options, an install is gathered and gets the addon on Apply.
        mWorld->find<QPushButton>("optionsButton")->click();
        QTRY_VERIFY(visibleSheet<LVPreferencesController>());
        visibleSheet<LVPreferencesController>()->chooseApplicationPath(classic);
        visibleSheet<LVPreferencesController>()->findChild<QPushButton *>("applyButton")->click();
        QCOMPARE(delegate.installs().checked().size(), 2);
        QCOMPARE(delegate.installs().checked().last()->accounts(), std::optional<QStringList>(QStringList{"ACCOUNT1"}));
        QVERIFY(QFileInfo(classicFolder + "/Interface/AddOns/+Lorvane_Harvex").isDir());
        QCOMPARE(siteRequests().count("/updates.xml"), 2);
    }

    // Once the first start has stored what it found, an install found later starts unchecked: nothing is
    // uploaded from it or installed into it until the user checks it, and the user is told once.
    void anInstallFoundLaterWaitsToBeChecked() {
        const QString classicFolder = gamePath("../classic/_classic_"), classic = classicFolder + "/WowClassic.exe";
        LVSampleGame::writeSampleGame(QFile::encodeName(classicFolder).toStdString(), 1, 0.01);
        mWorld->workspace.installations = {lv::installationAt(gamePath("Wow.exe"))};
        start();
        const QString told = "Found another copy of the game: Classic (WowClassic) in " + classicFolder +
                             ". Check it in Options to upload its data.";
        for (int count : {1, 0}) {
            mWorld->workspace.installations = {lv::installationAt(gamePath("Wow.exe")), lv::installationAt(classic)};
            LVBusRecorder bus;
            LVApplicationDelegate &delegate = start();
            QCOMPARE(bus.messages.count(told), count);
            QCOMPARE(lv::installChoices(mWorld->settings),
                     (QList<LVInstallChoice>{{gamePath("Wow.exe"), true}, {classic, false}}));
            QCOMPARE(delegate.installs().checked().size(), 1);
            QVERIFY(!QFileInfo::exists(classicFolder + "/Interface/AddOns/+Lorvane_Harvex"));
        }
    }

    // A later start that would open a window finds the first one, which shows its window (unless the
    // later one was to start minimised) and tells it so.
    void aSecondStartShowsTheFirstWindow_data() {
        QTest::addColumn<bool>("minimized");
        QTest::newRow("plain start") << false;
        QTest::newRow("--minimized") << true;
    }
    void aSecondStartShowsTheFirstWindow() {
        QFETCH(bool, minimized);
        QTemporaryDir runtime;
        LVApplicationDelegate &delegate = mWorld->makeDelegateWithWindow();
        LVSingleInstance first(runtime.path());
        QVERIFY(first.claim() && first.listen());
        connect(&first, &LVSingleInstance::showRequested, &delegate, &LVApplicationDelegate::showWindow);
        // The later start waits for the answer, which this thread's loop gives: it runs on another.
        const QFuture<bool> second = QtConcurrent::run([&runtime, minimized] {
            LVSingleInstance later(runtime.path());
            return !later.claim() && later.handOver(!minimized);
        });
        QTRY_VERIFY(second.isFinished());
        QVERIFY(second.result());
        QCOMPARE(mWorld->window->isVisible(), !minimized);
    }

    void storedEmptyPathOpensTheOptions() {
        mWorld->settings.setValue(kWowApplicationPathKey, QString(""));
        start();
        QTRY_VERIFY(visibleSheet<LVPreferencesController>());
        QCOMPARE(siteRequests(), QStringList{"/auth"});
    }
};

QTEST_MAIN(TestStartUp)
#include "TestStartUp.moc"
