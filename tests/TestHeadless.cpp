#include "LVSampleGame.h"
#include "LVTestKeyring.h"
#include "LVTestSite.h"
#include "auth/StoredPassword.h"
#include "platform/LVKeychainCredentialStore.h"
#include "settings/LVSettings.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

// The client without a window, as a game launcher runs it after the game: the real program, the
// real keychain of the test session, the reference site on loopback.
class TestHeadless : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> mHome;
    std::unique_ptr<LVTestSite> mSite;
    LVKeychainCredentialStore mKeychain;

    struct Run {
        int exitCode = -1;
        QStringList lines;
        QString errors;
    };

    Run client(const QStringList &arguments, const QByteArray &input = {}) const {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), mHome->filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), mHome->filePath(QStringLiteral("cache")));
        environment.insert(QStringLiteral("HOME"), mHome->path());
        // As after a game, from a launcher's script: no display at all.
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(LV_CLIENT_BINARY), arguments);
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000))
            return {};
        Run run{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n')),
                QString::fromUtf8(process.readAllStandardError())};
        run.lines.removeAll(QString());
        return run;
    }

    // The program's own settings file, written through the same settings store it reads.
    void configure(const QString &postPath = QStringLiteral("/upload?")) const {
        LVSettings settings(mHome->filePath(QStringLiteral("config/Lorvane/Lorvane Client.conf")));
        settings.setValue(kWowApplicationPathKey, mHome->filePath(QStringLiteral("game/Wow.exe")));
        // The client looks at the machine's processes: a game running there must not be this test's.
        settings.setValue(kWowApplicationNameKey, QStringLiteral("Wow-%1").arg(QCoreApplication::applicationPid()));
        settings.setValue(kUsernameKey, QString::fromLatin1(LVTestSite::kUser));
        mSite->configure(settings);
        settings.setValue(kPostURLKey, mSite->url(postPath));
        settings.synchronize();
    }

    // How many items the keychain holds for the client, counted by another program.
    static int itemsInKeychain() {
        QProcess search;
        search.start(QStringLiteral("secret-tool"), {"search", "--all", "server", kServiceName, "user", kAccountName});
        search.waitForFinished();
        return int(("\n" + search.readAllStandardOutput()).count("\n[/"));
    }

    // A log line, or the second line of a message that has two ("----------", then the account).
    static bool isLogLine(const QString &line) {
        static const QRegularExpression format(
            QStringLiteral("^(\\d{4}\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d \\S+:  |Using account )"));
        return format.match(line).hasMatch();
    }

private slots:
    void init() {
        mHome = std::make_unique<QTemporaryDir>();
        mSite = std::make_unique<LVTestSite>(QString(), 0);
        LVSampleGame::writeSampleGame(QFile::encodeName(mHome->filePath(QStringLiteral("game"))).toStdString(), 2,
                                      0.05);
        configure();
    }

    void cleanup() {
        mSite.reset();
        mHome.reset();
    }

    void wrongOptionsGetTheUsage_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown option") << QStringList{"--uplaod"} << "Unknown option 'uplaod'.";
        QTest::newRow("option without its value") << QStringList{"--sign-in"} << "Missing value after '--sign-in'.";
        QTest::newRow("stray argument") << QStringList{"--upload", "now"} << "Unexpected argument 'now'.";
    }

    void wrongOptionsGetTheUsage() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        const Run run = client(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.errors.startsWith(error + "\n\nUsage: "), qPrintable(run.errors));
        QVERIFY(run.errors.contains(QLatin1String("--sign-in <NAME>")));
        QVERIFY(run.lines.isEmpty());
        QVERIFY(mSite->server().requests().empty());
    }

    void signInThenUploadEverything() {
        LV_REQUIRE_TEST_KEYRING(mKeychain);
        const Run wrong = client({QStringLiteral("--sign-in"), QString::fromLatin1(LVTestSite::kUser)}, "wrong\n");
        QCOMPARE(wrong.exitCode, 1);

        const Run signIn = client({QStringLiteral("--sign-in"), QString::fromLatin1(LVTestSite::kUser)},
                                  QByteArray(LVTestSite::kPassword) + "\n");
        QCOMPARE(signIn.exitCode, 0);
        QVERIFY(signIn.lines.last().endsWith(QLatin1String(":  Authentication succeeded.")));
        // Signed in twice: one item, holding the last password's UTF-8 bytes, whose digest the site took.
        QCOMPARE(mKeychain.findPassword().password, QByteArray(LVTestSite::kPassword));
        QCOMPARE(itemsInKeychain(), 1);

        const Run upload = client({QStringLiteral("--upload")});
        QCOMPARE(upload.exitCode, 0);
        QVERIFY2(std::all_of(upload.lines.begin(), upload.lines.end(), isLogLine), qPrintable(upload.lines.join('\n')));
        QVERIFY(upload.lines.first().endsWith(QLatin1String(":  Authentication succeeded.")));
        QVERIFY(
            upload.lines.last().endsWith(QLatin1String(":  Upload successful. You can upload again after 1 minute.")));
        QCOMPARE(mSite->server().uploads().size(), size_t(2));
    }

    void failedUploadExitsWithOne() {
        LV_REQUIRE_TEST_KEYRING(mKeychain);
        QCOMPARE(lv::replaceStoredPassword(mKeychain, LVTestSite::kPassword), LVCredentialStore::kSuccess);
        mSite->server().setResponse("POST", "/broken", 500, "out of order");
        configure(QStringLiteral("/broken?"));
        const Run upload = client({QStringLiteral("--upload")});
        QCOMPARE(upload.exitCode, 1);
        QCOMPARE(upload.lines.filter(QStringLiteral("Upload failed for account")).size(), 2);
    }

    void withoutAPasswordItCannotStart() {
        LV_REQUIRE_TEST_KEYRING(mKeychain);
        mKeychain.deletePassword();
        const Run upload = client({QStringLiteral("--upload")});
        QCOMPARE(upload.exitCode, 2);
        QVERIFY2(upload.errors.contains(QLatin1String("--sign-in")), qPrintable(upload.errors));
        QVERIFY(mSite->server().requests().empty());
    }
};

QTEST_GUILESS_MAIN(TestHeadless)
#include "TestHeadless.moc"
