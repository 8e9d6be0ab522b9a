#include "LVDelegateProbe.h"
#include "LVTestWorld.h"

#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

// The controller with the real main window on the offscreen platform.
class TestApplicationDelegate : public QObject {
    Q_OBJECT

private slots:
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
        LVTestWorld world;
        if (!gamePath.isNull())
            world.settings.setValue(kWowApplicationPathKey, gamePath);
        LVApplicationDelegate &delegate = world.makeDelegateWithWindow();
        LVDelegateProbe::setWoWIsRunning(delegate, running);
        LVDelegateProbe::setAccountStatus(delegate, accountStatus);
        // An upload in progress does not change the rule: the run handles its own button.
        LVDelegateProbe::setUploadState(delegate, LVApplicationDelegate::Uploading);
        delegate.validateUserInterface();
        QCOMPARE(world.find<QPushButton>("launchButton")->isEnabled(), launchEnabled);
        QCOMPARE(world.find<QPushButton>("uploadButton")->isEnabled(), uploadEnabled);
    }

    void wakingUpPreparesTheWindow() {
        LVTestWorld world;
        world.window = std::make_unique<LVMainWindow>();
        world.find<QTextEdit>("statusText")->setPlainText(QStringLiteral("stale"));
        world.window->connectTo(world.makeDelegate());
        QVERIFY(world.delegate->statusTextView()->toPlainText().isEmpty());
        QVERIFY(!world.find<QLabel>("backgroundImage")->pixmap().isNull());
        QCOMPARE(world.settings.stringForKey(kWowApplicationNameKey), QStringLiteral("Wow"));
    }
};

QTEST_MAIN(TestApplicationDelegate)
#include "TestApplicationDelegate.moc"
