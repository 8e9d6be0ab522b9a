#include "LVGameFolder.h"
#include "LVStatusBusSpy.h"
#include "LVTestWorld.h"
#include "game/RealmCheck.h"

#include <QtTest>

// The realm check before an upload: which accepted realm the game's realm list names, and what the
// user is told.
class TestRealmCheck : public QObject {
    Q_OBJECT

    const QString kChecking = QStringLiteral("Checking for supported realms…");
    const QString kNoRealm = QStringLiteral("No valid realm found.");

    // A game whose realm list holds the bytes (none when null), with the accepted realms alpha, beta.
    struct Game {
        explicit Game(const QByteArray &realmList) {
            if (!realmList.isNull())
                folder.writeFile(QStringLiteral("Data/enUS/realmlist.wtf"), realmList);
            world.settings.setValue(kWowApplicationPathKey, folder.applicationPath());
            world.settings.setValue(kValidRealmsKey, QStringList{QStringLiteral("alpha"), QStringLiteral("beta")});
        }
        LVGameFolder folder;
        LVTestWorld world;
        LVApplicationDelegate &delegate = world.makeDelegate();
    };

private slots:
    void acceptedRealmIsTheFirstListedThatOccurs_data() {
        QTest::addColumn<QStringList>("accepted");
        QTest::addColumn<QString>("realmList");
        QTest::addColumn<QString>("expected"); // null: none

        const QStringList alphaBeta{QStringLiteral("alpha"), QStringLiteral("beta")};
        QTest::newRow("only the second listed occurs") << alphaBeta << "set realmlist beta"
                                                       << "beta";
        QTest::newRow("list order wins over file order") << alphaBeta << "beta\nalpha\n"
                                                         << "alpha";
        QTest::newRow("inside a longer word")
            << QStringList{QStringLiteral("logon.example")} << "set realmlist eu.logon.example.com"
            << "logon.example";
        QTest::newRow("letter case differs") << QStringList{QStringLiteral("Alpha")} << "alpha ALPHA" << QString();
        QTest::newRow("split over two lines") << alphaBeta << "alp\nha" << QString();
        QTest::newRow("accented name") << QStringList{QStringLiteral("Ærdal")} << "set realmlist Ærdal"
                                       << "Ærdal";
        QTest::newRow("empty name passed over") << QStringList{QString(""), QStringLiteral("beta")} << "beta"
                                                << "beta";
        QTest::newRow("empty name alone") << QStringList{QString("")} << "anything" << QString();
        QTest::newRow("no accepted realms") << QStringList() << "alpha" << QString();
    }

    void acceptedRealmIsTheFirstListedThatOccurs() {
        QFETCH(QStringList, accepted);
        QFETCH(QString, realmList);
        QFETCH(QString, expected);
        const QString found = findAcceptedRealm(realmList, accepted);
        QCOMPARE(found, expected);
        QCOMPARE(found.isNull(), expected.isNull());
    }

    void checkTellsWhatItFound_data() {
        QTest::addColumn<QByteArray>("realmList"); // null: no file
        QTest::addColumn<QString>("expected");     // null: none

        QTest::newRow("found") << QByteArray("set realmlist beta.example.com\n") << "beta";
        QTest::newRow("none accepted") << QByteArray("set realmlist gamma\n") << QString();
        QTest::newRow("not UTF-8") << QByteArray("set realmlist alpha \xC0\x80\n") << QString();
        QTest::newRow("empty file") << QByteArray("") << QString();
        QTest::newRow("no realm list") << QByteArray() << QString();
    }

    void checkTellsWhatItFound() {
        QFETCH(QByteArray, realmList);
        QFETCH(QString, expected);
        Game game(realmList);
        LVStatusBusSpy bus;

        QCOMPARE(game.delegate.checkSupportedRealms(), !expected.isNull());

        QCOMPARE(game.delegate.realm(), expected);
        QCOMPARE(game.delegate.realm().isNull(), expected.isNull());
        const QString outcome = expected.isNull() ? kNoRealm : QStringLiteral("Found valid realm: ") + expected;
        QCOMPARE(bus.statusMessages(), (QStringList{kChecking, outcome}));
        QVERIFY(bus.errorMessages().isEmpty());
    }

    void withoutAcceptedRealmsNoneIsFound_data() {
        QTest::addColumn<QVariant>("accepted");
        QTest::newRow("absent") << QVariant();
        QTest::newRow("empty") << QVariant(QStringList());
        QTest::newRow("not a list") << QVariant(QStringLiteral("alpha"));
    }

    void withoutAcceptedRealmsNoneIsFound() {
        QFETCH(QVariant, accepted);
        Game game("set realmlist alpha\n");
        game.world.settings.setValue(kValidRealmsKey, accepted);
        LVStatusBusSpy bus;

        QVERIFY(!game.delegate.checkSupportedRealms());
        QVERIFY(game.delegate.realm().isNull());
        QCOMPARE(bus.statusMessages(), (QStringList{kChecking, kNoRealm}));
    }

    void aFailingCheckKeepsTheRealmFoundBefore() {
        Game game("set realmlist beta\n");
        QVERIFY(game.delegate.checkSupportedRealms());
        game.folder.writeFile(QStringLiteral("Data/enUS/realmlist.wtf"), "set realmlist gamma\n");
        LVStatusBusSpy bus;

        QVERIFY(!game.delegate.checkSupportedRealms());

        QCOMPARE(game.delegate.realm(), QStringLiteral("beta"));
        // The realm found earlier silences "No valid realm found." for the rest of the run.
        QCOMPARE(bus.statusMessages(), QStringList{kChecking});

        game.folder.writeFile(QStringLiteral("Data/enUS/realmlist.wtf"), "set realmlist alpha\n");
        QVERIFY(game.delegate.checkSupportedRealms());
        QCOMPARE(game.delegate.realm(), QStringLiteral("alpha"));
    }
};

QTEST_GUILESS_MAIN(TestRealmCheck)
#include "TestRealmCheck.moc"
