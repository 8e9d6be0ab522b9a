#include "LVBusRecorder.h"
#include "LVDelegateProbe.h"
#include "LVTestWorld.h"
#include "app/LVMainWindow.h"
#include "auth/LVAuthenticationController.h"
#include "auth/md5.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The password in the keychain, its MD5 hex form, and the sign-in sheet. The controller's reaction
// to the sheet is checked with an idle upload state, so no upload starts here.
class TestCredentials : public QObject {
    Q_OBJECT

    std::unique_ptr<LVTestWorld> mWorld;
    std::unique_ptr<LVMainWindow> mWindow;
    LVApplicationDelegate *mDelegate = nullptr;

    LVAuthenticationController *openSheet() const {
        return mWindow->findChild<LVAuthenticationController *>(QString(), Qt::FindDirectChildrenOnly);
    }
    static QLineEdit *field(QWidget *sheet, const char *name) { return sheet->findChild<QLineEdit *>(name); }
    static void press(QWidget *sheet, const char *button) { sheet->findChild<QPushButton *>(button)->click(); }

private slots:
    void init() {
        mWorld = std::make_unique<LVTestWorld>();
        mWindow = std::make_unique<LVMainWindow>();
        mDelegate = &mWorld->makeDelegate();
        mWindow->connectTo(*mDelegate);
        // No site answers here: the credential test after a sign-in fails fast.
        mWorld->settings.setValue(kAuthURLKey, QStringLiteral("http://127.0.0.1:1/auth?"));
    }

    void cleanup() {
        mWindow.reset();
        mWorld.reset();
    }

    void digestsAndTheirHexForm() {
        QCOMPARE(md5HexString(""), QStringLiteral("d41d8cd98f00b204e9800998ecf8427e"));
        QCOMPARE(md5HexString("abc"), QStringLiteral("900150983cd24fb0d6963f7d28e17f72"));
        QCOMPARE(md5HexString("pässword"), md5HexString(QByteArray("p\xc3\xa4ssword")));
        const unsigned char digest[16] = {0x0a, 0xff, 0x00, 0xab, 0x05};
        QCOMPARE(MD5ToString(digest), QStringLiteral("0aff00ab050000000000000000000000"));
    }

    void storedPasswordIsHandedOnAsItsDigest() {
        mWorld->credentialStore.password = QByteArray("pässword");
        QString username = QStringLiteral("untouched");
        QString password;
        QVERIFY(mDelegate->obtainUsername(username, password));
        QVERIFY(username.isNull()); // no user name stored yet
        QCOMPARE(password, md5HexString("pässword"));

        mWorld->settings.setValue(kUsernameKey, QStringLiteral("alice"));
        QVERIFY(mDelegate->obtainUsername(username, password));
        QCOMPARE(username, QStringLiteral("alice"));
    }

    void noStoredPasswordOpensTheSheet() {
        QString username = QStringLiteral("u");
        QString password = QStringLiteral("p");
        QVERIFY(!mDelegate->obtainUsername(username, password));
        QCOMPARE(username, QStringLiteral("u"));
        QCOMPARE(password, QStringLiteral("p"));
        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadWaitingForSignIn));
        QVERIFY(openSheet() && openSheet()->isVisible());
        QCOMPARE(openSheet()->windowModality(), Qt::WindowModal);
        QVERIFY(field(openSheet(), "passwordField")->text().isEmpty());
    }

    void unreachableKeychainSaysSoWithoutASheet() {
        mWorld->credentialStore.findStatus = LVCredentialStore::kUnavailable;
        LVBusRecorder bus;
        QString username;
        QString password;
        QVERIFY(!mDelegate->obtainUsername(username, password));
        QCOMPARE(bus.messages, QStringList{"error: The keychain is not available: the test's keychain is locked"});
        QVERIFY(!openSheet());
        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadIdle));
    }

    void okStoresThePasswordAndTheUserName_data() {
        QTest::addColumn<QByteArray>("oldPassword"); // null: no item yet
        QTest::addColumn<QString>("typed");
        QTest::newRow("first sign-in") << QByteArray() << QStringLiteral("Zoë's sécret");
        QTest::newRow("replacing the old item") << QByteArray("old") << QStringLiteral("new");
        QTest::newRow("empty password") << QByteArray() << QString();
    }

    void okStoresThePasswordAndTheUserName() {
        QFETCH(QByteArray, oldPassword);
        QFETCH(QString, typed);
        if (!oldPassword.isNull())
            mWorld->credentialStore.password = oldPassword;
        mDelegate->setupAccount();
        QWidget *sheet = openSheet();
        QCOMPARE(field(sheet, "passwordField")->text(), QString::fromUtf8(oldPassword));
        QCOMPARE(field(sheet, "passwordField")->echoMode(), QLineEdit::Password);

        QTest::keyClicks(field(sheet, "usernameField"), QStringLiteral("bob"));
        field(sheet, "passwordField")->setText(typed);
        QVERIFY(mWorld->settings.stringForKey(kUsernameKey).isNull()); // nothing stored before OK
        press(sheet, "okButton");

        QCOMPARE(mWorld->credentialStore.password.value_or("<none>"), typed.toUtf8());
        QCOMPARE(mWorld->settings.stringForKey(kUsernameKey), QStringLiteral("bob"));
        QVERIFY(!sheet->isVisible());
        QTRY_VERIFY(!openSheet());
    }

    void failedStoreTellsTheControllerItFailed_data() {
        QTest::addColumn<int>("deleteStatus");
        QTest::addColumn<int>("addStatus");
        QTest::addColumn<bool>("itemLeft");
        QTest::newRow("delete refused keeps the old item") << -25244 << 0 << true;
        QTest::newRow("add refused leaves no item") << 0 << -25299 << false;
    }

    void failedStoreTellsTheControllerItFailed() {
        QFETCH(int, deleteStatus);
        QFETCH(int, addStatus);
        QFETCH(bool, itemLeft);
        mWorld->credentialStore.password = QByteArray("old");
        mWorld->credentialStore.deleteStatus = deleteStatus;
        mWorld->credentialStore.addStatus = addStatus;
        LVDelegateProbe::setUploadState(*mDelegate, LVApplicationDelegate::UploadWaitingForSignIn);
        mDelegate->setupAccount();
        field(openSheet(), "passwordField")->setText(QStringLiteral("new"));
        LVBusRecorder bus;
        press(openSheet(), "okButton");

        QCOMPARE(mWorld->credentialStore.password.has_value(), itemLeft);
        // authenticationFailed: the waiting run is dropped and no credential test runs.
        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadIdle));
        QVERIFY(bus.messages.isEmpty());
    }

    void cancelChangesNothing() {
        mWorld->credentialStore.password = QByteArray("kept");
        mWorld->settings.setValue(kUsernameKey, QStringLiteral("alice"));
        LVDelegateProbe::setUploadState(*mDelegate, LVApplicationDelegate::UploadWaitingForSignIn);
        mDelegate->setupAccount();
        QCOMPARE(field(openSheet(), "usernameField")->text(), QStringLiteral("alice"));
        field(openSheet(), "passwordField")->setText(QStringLiteral("other"));
        const int operationsBefore = mWorld->credentialStore.operations;
        LVBusRecorder bus;
        press(openSheet(), "cancelButton");

        QCOMPARE(mWorld->credentialStore.password, std::optional<QByteArray>("kept"));
        QCOMPARE(mWorld->credentialStore.operations, operationsBefore);
        QCOMPARE(mWorld->settings.stringForKey(kUsernameKey), QStringLiteral("alice"));
        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadIdle));
        QVERIFY(bus.messages.isEmpty());
    }

    void escapeCancelsToo() {
        LVDelegateProbe::setUploadState(*mDelegate, LVApplicationDelegate::UploadWaitingForSignIn);
        mDelegate->setupAccount();
        openSheet()->reject();
        QCOMPARE(mDelegate->uploadState(), qint32(LVApplicationDelegate::UploadIdle));
        QVERIFY(!mWorld->credentialStore.password.has_value());
    }
};

QTEST_MAIN(TestCredentials)
#include "TestCredentials.moc"
