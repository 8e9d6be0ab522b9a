#include "auth/md5.h"
#include "platform/LVKeychainCredentialStore.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

// The real keychain, through the Secret Service of the session's D-Bus. scripts/test runs this with
// a throw-away keyring of its own, so the user's item is never touched.
class TestKeychain : public QObject {
    Q_OBJECT

    LVKeychainCredentialStore mStore;

    // How many items the keychain holds for the client, counted by another program.
    static int itemsInKeychain() {
        QProcess search;
        search.start(QStringLiteral("secret-tool"),
                     {QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("server"),
                      QString::fromLatin1(kServiceName), QStringLiteral("user"), QString::fromLatin1(kAccountName)});
        search.waitForFinished();
        return int(("\n" + search.readAllStandardOutput()).count("\n[/"));
    }

private slots:
    void initTestCase() {
        const LVCredentialStore::Item probe = mStore.findPassword();
        if (probe.status != LVCredentialStore::kSuccess && probe.status != LVCredentialStore::kItemNotFound)
            QSKIP(qPrintable(QStringLiteral("No Secret Service answers on this session bus (%1); scripts/test "
                                            "starts one.")
                                 .arg(mStore.failureReason())));
        if (QStandardPaths::findExecutable(QStringLiteral("secret-tool")).isEmpty())
            QSKIP("secret-tool is missing: scripts/install-deps installs it.");
    }

    void passwordRoundTripsByteForByte_data() {
        QTest::addColumn<QByteArray>("password");
        QTest::newRow("non-ascii") << QString::fromUtf8("Zoë's pässwörd ✓").toUtf8();
        QTest::newRow("empty") << QByteArray("");
    }

    void passwordRoundTripsByteForByte() {
        QFETCH(QByteArray, password);
        QCOMPARE(replaceStoredPassword(mStore, "first"), LVCredentialStore::kSuccess);
        QCOMPARE(replaceStoredPassword(mStore, password), LVCredentialStore::kSuccess);

        const LVCredentialStore::Item found = mStore.findPassword();
        QCOMPARE(found.status, LVCredentialStore::kSuccess);
        QCOMPARE(found.password, password);
        QCOMPARE(md5HexString(found.password), md5HexString(password));
        QCOMPARE(itemsInKeychain(), 1);
    }

    void deletedItemIsNotFound() {
        replaceStoredPassword(mStore, "gone soon");
        QCOMPARE(mStore.deletePassword(), LVCredentialStore::kSuccess);
        QCOMPARE(mStore.findPassword().status, LVCredentialStore::kItemNotFound);
        QCOMPARE(itemsInKeychain(), 0);
    }
};

QTEST_GUILESS_MAIN(TestKeychain)
#include "TestKeychain.moc"
