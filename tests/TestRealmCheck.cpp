#include "LVBusRecorder.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "game/RealmCheck.h"

#include <QtTest>

// Which accepted realm the game's realm list names, and what the user is told about it.
class TestRealmCheck : public QObject {
    Q_OBJECT

    const QString kChecking = QStringLiteral("Checking for supported realms…");
    const QString kNoRealm = QStringLiteral("No valid realm found.");

    // A game whose realm list holds the bytes (no file when null); alpha and beta are accepted.
    struct Game {
        explicit Game(const QByteArray &realmList) {
            if (!realmList.isNull())
                folder.writeFile(QStringLiteral("Data/realmlist.wtf"), realmList);
            world.settings.setValue(kWowApplicationPathKey, folder.applicationPath());
            world.settings.setValue(kValidRealmsKey, QStringList{QStringLiteral("alpha"), QStringLiteral("beta")});
        }
        LVGameFolder folder;
        LVTestWorld world;
        LVApplicationDelegate &delegate = world.makeDelegate();
    };

private slots:
    void firstAcceptedRealmThatOccurs_data() {
        QTest::addColumn<QStringList>("accepted");
        QTest::addColumn<QString>("realmList");
        QTest::addColumn<QString>("expected"); // null: none

        const QStringList alphaBeta{QStringLiteral("alpha"), QStringLiteral("beta")};
        QTest::newRow("only the second occurs") << alphaBeta << "set realmlist beta"
                                                << "beta";
        QTest::newRow("list order, not file order") << alphaBeta << "beta\nalpha"
                                                    << "alpha";
        QTest::newRow("inside a longer word") << QStringList{"logon.eu"} << "set realmlist xlogon.eu.com"
                                              << "logon.eu";
        QTest::newRow("letter case differs") << QStringList{"Alpha"} << "alpha ALPHA" << QString();
        QTest::newRow("accented") << QStringList{QStringLiteral("Ærdal")} << QStringLiteral("set Ærdal") << "Ærdal";
        QTest::newRow("empty name passed over") << QStringList{"", "beta"} << "beta"
                                                << "beta";
        QTest::newRow("empty name alone") << QStringList{""} << "anything" << QString();
    }

    void firstAcceptedRealmThatOccurs() {
        QFETCH(QStringList, accepted);
        QFETCH(QString, realmList);
        QFETCH(QString, expected);
        const QString found = findAcceptedRealm(realmList, accepted);
        QCOMPARE(found, expected);
        QCOMPARE(found.isNull(), expected.isNull());
    }

    void checkTellsWhatItFound_data() {
        QTest::addColumn<QByteArray>("realmList"); // null: no file
        QTest::addColumn<QVariant>("accepted");    // invalid: alpha and beta
        QTest::addColumn<QString>("expected");     // null: none

        QTest::newRow("found") << QByteArray("set realmlist beta.example\n") << QVariant() << "beta";
        QTest::newRow("none accepted") << QByteArray("set realmlist gamma\n") << QVariant() << QString();
        QTest::newRow("not UTF-8") << QByteArray("set realmlist alpha\xC0\x80") << QVariant() << QString();
        QTest::newRow("empty file") << QByteArray("") << QVariant() << QString();
        QTest::newRow("no file") << QByteArray() << QVariant() << QString();
        QTest::newRow("empty list") << QByteArray("alpha") << QVariant(QStringList()) << QString();
        QTest::newRow("not a list") << QByteArray("alpha") << QVariant(QStringLiteral("alpha")) << QString();
    }

    void checkTellsWhatItFound() {
        QFETCH(QByteArray, realmList);
        QFETCH(QVariant, accepted);
        QFETCH(QString, expected);
        Game game(realmList);
        if (accepted.isValid())
            game.world.settings.setValue(kValidRealmsKey, accepted);
        LVBusRecorder bus;

        QCOMPARE(game.delegate.checkSupportedRealms(), !expected.isNull());
        QCOMPARE(game.delegate.realm(), expected);
        QCOMPARE(game.delegate.realm().isNull(), expected.isNull());
        const QString outcome = expected.isNull() ? kNoRealm : QStringLiteral("Found valid realm: ") + expected;
        QCOMPARE(bus.statusMessages(), (QStringList{kChecking, outcome}));
        QVERIFY(bus.errorMessages().isEmpty());
    }

    void aFailingCheckKeepsTheRealmFoundBefore() {
        Game game("set realmlist beta\n");
        QVERIFY(game.delegate.checkSupportedRealms());
        game.folder.writeFile(QStringLiteral("Data/realmlist.wtf"), "set realmlist gamma\n");
        LVBusRecorder bus;

        QVERIFY(!game.delegate.checkSupportedRealms());
        QCOMPARE(game.delegate.realm(), QStringLiteral("beta"));
        // Once a realm has been found, "No valid realm found." is not said again.
        QCOMPARE(bus.statusMessages(), QStringList{kChecking});
    }
};

QTEST_GUILESS_MAIN(TestRealmCheck)
#include "TestRealmCheck.moc"
