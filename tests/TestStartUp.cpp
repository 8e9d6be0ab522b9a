#include "LVBusRecorder.h"
#include "LVSampleGame.h"
#include "LVTestWorld.h"
#include "auth/LVAuthenticationController.h"
#include "prefs/LVPreferencesController.h"

#include <QPushButton>
#include <QtTest>

// The program coming up: the credential test first, then the game's installation once a game path
// is known, gathered at most once per run.
class TestStartUp : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> mGame;
    std::unique_ptr<LVTestWorld> mWorld;

    QString gamePath(const QString &relative) const { return mGame->filePath(relative); }
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
        LVSampleGame::writeSampleGame(QFile::encodeName(mGame->path()).toStdString(), 1, 0.01);
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

    void firstRunAsksForThePasswordThenForTheGame() {
        mWorld->credentialStore.password.reset();
        LVBusRecorder bus;
        LVApplicationDelegate &delegate = start();
        QCOMPARE(bus.messages.mid(0, 2), (QStringList{"error: Authentication failed.", ""}));
        QVERIFY(visibleSheet<LVAuthenticationController>());
        QVERIFY(!visibleSheet<LVPreferencesController>()); // waits for the sign-in sheet
        visibleSheet<LVAuthenticationController>()->findChild<QPushButton *>("cancelButton")->click();
        QTRY_VERIFY(visibleSheet<LVPreferencesController>());
        QVERIFY(!delegate.install().accounts().has_value());

        visibleSheet<LVPreferencesController>()->chooseApplicationPath(gamePath("Wow.exe"));
        visibleSheet<LVPreferencesController>()->findChild<QPushButton *>("applyButton")->click();
        QCOMPARE(delegate.install().accounts(), std::optional<QStringList>(QStringList{"ACCOUNT1"}));
        QCOMPARE(siteRequests(), QStringList{"/updates.xml"});

        // A later Apply in the same run stores the path and gathers nothing.
        mWorld->find<QPushButton>("optionsButton")->click();
        QTRY_VERIFY(visibleSheet<LVPreferencesController>());
        visibleSheet<LVPreferencesController>()->findChild<QPushButton *>("applyButton")->click();
        QCOMPARE(siteRequests().count("/updates.xml"), 1);
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
