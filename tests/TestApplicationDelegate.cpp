#include "LVDelegateProbe.h"
#include "LVTestWorld.h"
#include "app/LVMainWindow.h"

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

        const QString path = QStringLiteral("/Games/WoW/Wow.exe");
        QTest::newRow("ready") << path << false << 0 << true << true;
        QTest::newRow("empty path counts as present") << QStringLiteral("") << false << 0 << true << true;
        QTest::newRow("no path") << QString() << false << 0 << false << false;
        QTest::newRow("game running") << path << true << 0 << false << false;
        QTest::newRow("game running, account rejected") << path << true << 1 << false << false;
        QTest::newRow("account rejected") << path << false << 1 << true << false;
        QTest::newRow("account throttled") << path << false << 2 << true << false;
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
        LVMainWindow window;
        LVApplicationDelegate &delegate = world.makeDelegate();
        window.connectTo(delegate);
        LVDelegateProbe::setWoWIsRunning(delegate, running);
        LVDelegateProbe::setAccountStatus(delegate, accountStatus);
        // An upload in progress does not change the rule: the run handles its own button.
        LVDelegateProbe::setUploadState(delegate, LVApplicationDelegate::Uploading);

        delegate.validateUserInterface();

        QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("launchButton"))->isEnabled(), launchEnabled);
        QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("uploadButton"))->isEnabled(), uploadEnabled);
        QVERIFY(window.findChild<QPushButton *>(QStringLiteral("optionsButton"))->isEnabled());
    }

    void wakingUpPreparesTheWindow() {
        LVTestWorld world;
        LVMainWindow window;
        window.findChild<QTextEdit *>(QStringLiteral("statusText"))->setPlainText(QStringLiteral("stale"));
        LVApplicationDelegate &delegate = world.makeDelegate();
        window.connectTo(delegate);

        QCOMPARE(delegate.statusTextView(), window.findChild<QTextEdit *>(QStringLiteral("statusText")));
        QVERIFY(delegate.statusTextView()->toPlainText().isEmpty());
        QVERIFY(delegate.statusTextView()->isReadOnly());
        QVERIFY(!window.findChild<QLabel *>(QStringLiteral("backgroundImage"))->pixmap().isNull());
        QCOMPARE(delegate.uploadState(), qint32(LVApplicationDelegate::UploadIdle));
        // The shipped defaults are registered.
        QCOMPARE(world.settings.stringForKey(kWowApplicationNameKey), QStringLiteral("Wow"));
    }
};

QTEST_MAIN(TestApplicationDelegate)
#include "TestApplicationDelegate.moc"
