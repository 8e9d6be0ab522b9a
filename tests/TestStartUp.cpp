#include "LVBusRecorder.h"
#include "LVSampleGame.h"
#include "LVTestSite.h"
#include "LVTestWorld.h"
#include "app/LVMainWindow.h"
#include "auth/LVAuthenticationController.h"
#include "prefs/LVPreferencesController.h"

#include <QPushButton>
#include <QtTest>

// The program coming up: the credential test first, then the game's installation once a game path
// is known, gathered at most once per run.
class TestStartUp : public QObject {
    Q_OBJECT

    QTemporaryDir mGame;
    std::unique_ptr<LVTestWorld> mWorld;
    std::unique_ptr<LVTestSite> mSite;
    std::unique_ptr<LVMainWindow> mWindow;
    LVApplicationDelegate *mDelegate = nullptr;

    QString gamePath(const QString &relative) const { return mGame.filePath(relative); }
    QStringList siteRequests() const {
        QStringList paths;
        for (const LVSiteRequest &request : mSite->server().requests())
            paths << QString::fromStdString(request.path);
        return paths;
    }
    template <typename Sheet> Sheet *visibleSheet() const {
        for (Sheet *sheet : mWindow->findChildren<Sheet *>())
            if (sheet->isVisible())
                return sheet;
        return nullptr;
    }
    void start() {
        mWindow = std::make_unique<LVMainWindow>();
        mDelegate = &mWorld->makeDelegate();
        mWindow->connectTo(*mDelegate);
        mDelegate->applicationDidFinishLaunching();
    }

private slots:
    void init() {
        LVSampleGame::writeSampleGame(QFile::encodeName(mGame.path()).toStdString(), 1, 0.01);
        mWorld = std::make_unique<LVTestWorld>();
        mSite = std::make_unique<LVTestSite>();
        mSite->configure(mWorld->settings);
        mWorld->settings.setValue(kUsernameKey, QString::fromLatin1(LVTestSite::kUser));
        mWorld->credentialStore.password = QByteArray(LVTestSite::kPassword);
    }

    void cleanup() {
        mWindow.reset();
        mWorld.reset();
        mSite.reset();
        QDir(mGame.path()).removeRecursively();
    }

    void knownGameIsGatheredAfterTheCredentialTest() {
        mWorld->settings.setValue(kWowApplicationPathKey, gamePath("Wow.exe"));
        mWorld->processMonitor.names = {QStringLiteral("Wow")};
        start();

        QCOMPARE(siteRequests(), (QStringList{"/auth", "/updates.xml"}));
        QVERIFY(mDelegate->isWoWRunning());
        QVERIFY(!mWindow->findChild<QPushButton *>("uploadButton")->isEnabled());
        QCOMPARE(mDelegate->accounts(), std::optional<QStringList>(QStringList{"ACCOUNT1"}));
        QVERIFY(QFileInfo(gamePath("Interface/AddOns/+Lorvane_Harvex")).isDir());
        QVERIFY(!visibleSheet<LVPreferencesController>());

        mDelegate->gatherInstallAndCheck();
        QCOMPARE(siteRequests().count("/updates.xml"), 1);
    }

    void firstRunAsksForThePasswordThenForTheGame() {
        mWorld->credentialStore.password.reset();
        LVBusRecorder bus;
        start();

        QCOMPARE(bus.messages.mid(0, 2), (QStringList{"error: Authentication failed.", ""}));
        auto *signIn = visibleSheet<LVAuthenticationController>();
        QVERIFY(signIn);
        QVERIFY(!visibleSheet<LVPreferencesController>()); // waits for the sign-in sheet
        QVERIFY(!mDelegate->accounts().has_value());

        signIn->findChild<QPushButton *>("cancelButton")->click();
        QTRY_VERIFY(visibleSheet<LVPreferencesController>());
        QVERIFY(!mDelegate->accounts().has_value());
        visibleSheet<LVPreferencesController>()->chooseApplicationPath(gamePath("Wow.exe"));
        visibleSheet<LVPreferencesController>()->findChild<QPushButton *>("applyButton")->click();

        QCOMPARE(mDelegate->accounts(), std::optional<QStringList>(QStringList{"ACCOUNT1"}));
        QCOMPARE(siteRequests(), QStringList{"/updates.xml"});

        // A later Apply in the same run stores the path and gathers nothing.
        mWindow->findChild<QPushButton *>("optionsButton")->click();
        QTRY_VERIFY(visibleSheet<LVPreferencesController>());
        visibleSheet<LVPreferencesController>()->findChild<QPushButton *>("applyButton")->click();
        QCOMPARE(siteRequests().count("/updates.xml"), 1);
    }

    void storedEmptyPathOpensTheOptions() {
        mWorld->settings.setValue(kWowApplicationPathKey, QString(""));
        start();
        QTRY_VERIFY(visibleSheet<LVPreferencesController>());
        QVERIFY(!visibleSheet<LVPreferencesController>()->findChild<QPushButton *>("applyButton")->isEnabled());
        QCOMPARE(siteRequests(), QStringList{"/auth"});
    }
};

QTEST_MAIN(TestStartUp)
#include "TestStartUp.moc"
