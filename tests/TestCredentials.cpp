#include "LVBusRecorder.h"
#include "LVPrivateBus.h"
#include "LVSampleGame.h"
#include "LVTestKeyring.h"
#include "LVTestWorld.h"
#include "auth/LVAuthenticationController.h"
#include "auth/StoredPassword.h"
#include "common/md5.h"
#include "platform/LVKeychainCredentialStore.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>
#include <qt6keychain/keychain.h>

// The password in the keychain, its MD5 hex form, and the sign-in sheet.
class TestCredentials : public QObject {
    Q_OBJECT

    std::unique_ptr<LVTestWorld> mWorld;
    LVApplicationDelegate *mDelegate = nullptr;

    LVAuthenticationController *sheet() const { return mWorld->find<LVAuthenticationController>(); }
    QLineEdit *field(const char *name) const { return sheet()->findChild<QLineEdit *>(name); }
    void press(const char *button) const { sheet()->findChild<QPushButton *>(button)->click(); }

private slots:
    void init() {
        mWorld = std::make_unique<LVTestWorld>();
        mDelegate = &mWorld->makeDelegateWithWindow();
        // No site answers: the credential test after a sign-in fails fast.
        mWorld->settings.setValue(kAuthURLKey, QStringLiteral("http://127.0.0.1:1/auth?"));
    }

    void cleanup() { mWorld.reset(); }

    void storedPasswordIsHandedOnAsItsDigest() {
        mWorld->credentialStore.password = QByteArray("pässword");
        QString username = QStringLiteral("untouched"), password;
        QVERIFY(mDelegate->authentication().obtainUsername(username, password));
        QVERIFY(username.isNull()); // no user name stored yet
        QCOMPARE(password, lv::md5HexString("pässword"));
    }

    void withoutAPasswordTheSheetOpensUnlessTheKeychainIsAway() {
        QString username = QStringLiteral("u"), password = QStringLiteral("p");
        QVERIFY(!mDelegate->authentication().obtainUsername(username, password));
        QCOMPARE(username + password, QStringLiteral("up"));
        QCOMPARE(mDelegate->uploadRun().uploadState(), LVUploadRun::UploadWaitingForSignIn);
        QVERIFY(sheet() && sheet()->isVisible() && sheet()->windowModality() == Qt::WindowModal);

        LVTestWorld locked;
        LVApplicationDelegate &delegate = locked.makeDelegateWithWindow();
        locked.credentialStore.findStatus = LVCredentialStore::kUnavailable;
        LVBusRecorder bus;
        QVERIFY(!delegate.authentication().obtainUsername(username, password));
        QCOMPARE(bus.messages, QStringList{"error: The keychain is not available: the test's keychain is locked"});
        QVERIFY(!locked.find<LVAuthenticationController>());
        QCOMPARE(delegate.uploadRun().uploadState(), LVUploadRun::UploadIdle);
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
        QCOMPARE(field("passwordField")->text(), QString::fromUtf8(oldPassword));
        QTest::keyClicks(field("usernameField"), QStringLiteral("bob"));
        field("passwordField")->setText(typed);
        QVERIFY(mWorld->settings.stringForKey(kUsernameKey).isNull()); // nothing stored before OK
        press("okButton");

        QCOMPARE(mWorld->credentialStore.password.value_or("<none>"), typed.toUtf8());
        QCOMPARE(mWorld->settings.stringForKey(kUsernameKey), QStringLiteral("bob"));
        QTRY_VERIFY(!sheet());
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
        mDelegate->uploadRun().waitForSignIn();
        mDelegate->setupAccount();
        field("passwordField")->setText(QStringLiteral("new"));
        LVBusRecorder bus;
        press("okButton");
        QCOMPARE(mWorld->credentialStore.password.has_value(), itemLeft);
        // The waiting run is dropped and no credential test runs.
        QCOMPARE(mDelegate->uploadRun().uploadState(), LVUploadRun::UploadIdle);
        QVERIFY(bus.messages.isEmpty());
    }

    // The keychain takes its time, and events arrive meanwhile; a retest among them waits until the
    // new password is stored, and the credential test after OK answers it.
    void retestDuringOkWaitsForTheNewPassword_data() {
        QTest::addColumn<QByteArray>("operation");
        QTest::newRow("during the look-up") << QByteArray("find");
        QTest::newRow("between delete and add") << QByteArray("delete");
        QTest::newRow("during the add") << QByteArray("add");
    }

    void retestDuringOkWaitsForTheNewPassword() {
        QFETCH(QByteArray, operation);
        LVTestSite &site = mWorld->startSite();
        mWorld->credentialStore.password = QByteArray("old");
        mWorld->credentialStore.waitMs = 20;
        mDelegate->setupAccount();
        field("passwordField")->setText(QString::fromUtf8(LVTestSite::kPassword));
        LVAuthentication &authentication = mDelegate->authentication();
        mWorld->credentialStore.whileWaiting = [&, fired = false](const char *during) mutable {
            if (during == operation && !std::exchange(fired, true))
                authentication.scheduleRetest(0);
        };

        press("okButton");
        QCoreApplication::processEvents(); // what was deferred runs now
        mWorld->credentialStore.whileWaiting = nullptr;

        const auto requests = site.server().requests();
        QCOMPARE(requests.size(), size_t(1));
        QCOMPARE(requests.front().path, std::string("/auth"));
        QCOMPARE(QString::fromStdString(requests.front().query),
                 "username=alice&password=" + lv::md5HexString(LVTestSite::kPassword) + "&mac");
        QCOMPARE(authentication.accountStatus(), LVAuthentication::AccountValid);
        QTRY_VERIFY(!sheet()); // and no second one
        QCOMPARE(mDelegate->uploadRun().uploadState(), LVUploadRun::UploadIdle);
    }

    // The real keychain: the item holds the password as the user typed it, which other keychain
    // tools show; an item written as binary data, the way earlier versions did, still reads back.
    void keychainItemHoldsThePasswordAsText_data() {
        QTest::addColumn<bool>("writtenAsBinary");
        QTest::newRow("written now") << false;
        QTest::newRow("written as binary data") << true;
    }

    void keychainItemHoldsThePasswordAsText() {
        QFETCH(bool, writtenAsBinary);
        LVKeychainCredentialStore keychain;
        LV_REQUIRE_TEST_KEYRING(keychain);
        const QByteArray password = "Zoë's sécret ✓";
        if (writtenAsBinary) {
            QKeychain::WritePasswordJob job(QString::fromLatin1(kServiceName));
            job.setKey(QString::fromLatin1(kAccountName));
            job.setBinaryData(password);
            QSignalSpy finished(&job, &QKeychain::Job::finished);
            job.start();
            QVERIFY(finished.wait());
            QCOMPARE(job.error(), QKeychain::NoError);
        } else {
            QCOMPARE(lv::replaceStoredPassword(keychain, password), LVCredentialStore::kSuccess);
            QProcess lookup;
            lookup.start("secret-tool", {"lookup", "server", kServiceName, "user", kAccountName});
            QVERIFY(lookup.waitForFinished());
            QCOMPARE(lookup.readAllStandardOutput(), password);
        }
        QCOMPARE(keychain.findPassword().password, password);
        QCOMPARE(keychain.deletePassword(), LVCredentialStore::kSuccess);
    }

    // A password the site refuses is asked for again: the sheet opens by itself once, at once when the
    // window is on the screen, else when it next is; Sign in… opens it whenever the user wants.
    void refusedPasswordIsAskedForAgain_data() {
        QTest::addColumn<bool>("windowShown");
        QTest::newRow("window shown") << true;
        QTest::newRow("in the tray") << false;
    }
    void refusedPasswordIsAskedForAgain() {
        QFETCH(bool, windowShown);
        mWorld->startSite();
        mWorld->settings.setValue(kWowApplicationPathKey, QStringLiteral("/Games/WoW/Wow.exe"));
        mWorld->credentialStore.password = QByteArray("changed on the site");
        if (windowShown)
            mWorld->window->show();
        mDelegate->testAuthentication();
        QCOMPARE(sheet() != nullptr, windowShown);
        mWorld->window->show();
        QTRY_VERIFY(sheet() && sheet()->isVisible());
        QCOMPARE(field("usernameField")->text(), QStringLiteral("alice"));
        press("cancelButton");
        QTRY_VERIFY(!sheet());
        mDelegate->testAuthentication();
        QCoreApplication::processEvents();
        QVERIFY(!sheet()); // once

        mWorld->find<QPushButton>("signInButton")->click();
        field("passwordField")->setText(QString::fromUtf8(LVTestSite::kPassword));
        press("okButton");
        QCOMPARE(mDelegate->authentication().accountStatus(), LVAuthentication::AccountValid);
        QVERIFY(mWorld->find<QPushButton>("uploadButton")->isEnabled());
    }

    // With no keychain service at all the answer is plain and quick, and the sign-in sheet keeps the
    // password for this session only: the upload the user asked for goes up with it.
    void withoutAKeychainServiceTheSessionKeepsThePassword() {
        LVPrivateBus bus;
        LVKeychainCredentialStore keychain(bus.connect(QStringLiteral("without a keychain")));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(keychain.findPassword().status, LVCredentialStore::kNoService);
        QVERIFY(clock.elapsed() < LVKeychainCredentialStore::kServiceWaitMs);
        QCOMPARE(keychain.failureReason(), "No keychain service is running (GNOME Keyring or KWallet)");

        QTemporaryDir game;
        LVSampleGame::writeSampleGame(QFile::encodeName(game.path()).toStdString(), 1, 0.01);
        LVTestWorld world;
        world.keychain = &keychain;
        LVApplicationDelegate &delegate = world.makeDelegateWithWindow();
        LVTestSite &site = world.startSite(QString(), 0);
        world.settings.setValue(kWowApplicationPathKey, game.filePath("Wow.exe"));
        delegate.install().gatherAccounts();
        delegate.install().gatherLocales();
        LVBusRecorder messages;
        delegate.upload();
        QCOMPARE(messages.errorMessages(),
                 QStringList{"No keychain service is running (GNOME Keyring or KWallet): sign in and keep the "
                             "password for this session only, or start one and sign in again."});
        auto *sheet = world.find<LVAuthenticationController>();
        QVERIFY(sheet && sheet->isVisible() && sheet->findChild<QCheckBox *>("sessionOnlyBox")->isChecked());
        QVERIFY(sheet->findChild<QLabel *>("keychainNoteLabel")->text().startsWith("No keychain service is running"));
        sheet->findChild<QLineEdit *>("passwordField")->setText(QString::fromUtf8(LVTestSite::kPassword));
        QSignalSpy ended(&delegate.uploadRun(), &LVUploadRun::runEnded);
        sheet->findChild<QPushButton *>("okButton")->click();
        QVERIFY(ended.wait(10000));
        QCOMPARE(ended.first().first().value<LVUploadOutcome>().storedAccounts, QStringList{"ACCOUNT1"});
        QCOMPARE(site.server().uploads().size(), size_t(1));
    }

    void cancelChangesNothing() {
        mWorld->credentialStore.password = QByteArray("kept");
        mWorld->settings.setValue(kUsernameKey, QStringLiteral("alice"));
        mDelegate->uploadRun().waitForSignIn();
        mDelegate->setupAccount();
        QCOMPARE(field("usernameField")->text(), QStringLiteral("alice"));
        QTest::keyClicks(field("usernameField"), QStringLiteral("-edited"));
        const int operationsBefore = mWorld->credentialStore.operations;
        LVBusRecorder bus;
        press("cancelButton");
        QCOMPARE(mWorld->credentialStore.operations, operationsBefore);
        mWorld->settings.save(); // the cancelled edit is not stored by a later confirmation either
        QCOMPARE(mWorld->settings.stringForKey(kUsernameKey), QStringLiteral("alice"));
        QCOMPARE(mDelegate->uploadRun().uploadState(), LVUploadRun::UploadIdle);
        QVERIFY(bus.messages.isEmpty());
    }
};

QTEST_MAIN(TestCredentials)
#include "TestCredentials.moc"
