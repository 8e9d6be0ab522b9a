#include "LVPrivateBus.h"
#include "LVSampleGame.h"
#include "LVTestKeyring.h"
#include "LVTestSite.h"
#include "auth/StoredPassword.h"
#include "common/FileContents.h"
#include "platform/LVKeychainCredentialStore.h"
#include "settings/LVSettings.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

// The client without a window, as a game launcher runs it after the game: the real program, the
// real keychain of the test session, the reference site on loopback.
class TestHeadless : public QObject {
    Q_OBJECT

    static constexpr int kAccounts = 2;
    const QStringList kUpload{QStringLiteral("--upload")};
    std::unique_ptr<QTemporaryDir> mHome;
    std::unique_ptr<LVTestSite> mSite;
    LVKeychainCredentialStore mKeychain;
    QString mPath; // the PATH the client runs with; the test's own when null

    struct Run {
        int exitCode = -1;
        QStringList lines;
        QString errors;
    };

    QString home(const QString &relative) const { return mHome->filePath(relative); }
    QString savedVariables(int account) const {
        return home("game/" + QString::fromStdString(LVSampleGame::savedVariablesPath(account).string()));
    }
    static QByteArray read(const QString &path) { return lv::contentsOfFile(path).value_or(QByteArray()); }
    static void write(const QString &path, const QByteArray &bytes = {}) {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()) && lv::writeFileAtomically(path, {bytes}));
    }

    void start(QProcess &process, const QStringList &arguments, const QString &sessionBus = QString()) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!sessionBus.isNull())
            environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), sessionBus);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home("config"));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), home("cache"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home("data")); // the history
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home("runtime"));
        environment.insert(QStringLiteral("HOME"), mHome->path());
        if (!mPath.isNull())
            environment.insert(QStringLiteral("PATH"), mPath);
        // As after a game, from a launcher's script: no display at all.
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        if (arguments.isEmpty()) // a start with a window
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(LV_CLIENT_BINARY), arguments);
    }
    static Run finish(QProcess &process) {
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                QString::fromUtf8(process.readAllStandardError())};
    }
    Run client(const QStringList &arguments, const QByteArray &input = {}, const QString &sessionBus = {}) const {
        QProcess process;
        start(process, arguments, sessionBus);
        process.write(input);
        process.closeWriteChannel();
        return finish(process);
    }
    Run signInWith(const QByteArray &password) const {
        return client({QStringLiteral("--sign-in"), QString::fromLatin1(LVTestSite::kUser)}, password + "\n");
    }

    // The program's own settings file, written through the same settings store it reads.
    void configure(const QString &postPath = QStringLiteral("/upload?")) const {
        LVSettings settings(home("config/Lorvane/Lorvane Client.conf"));
        settings.setValue(kWowApplicationPathKey, home("game/Wow.exe"));
        // The client looks at the machine's processes: a game running there must not be this test's.
        settings.setValue(kWowApplicationNameKey, QStringLiteral("Wow-%1").arg(QCoreApplication::applicationPid()));
        settings.setValue(kUsernameKey, QString::fromLatin1(LVTestSite::kUser));
        mSite->configure(settings);
        settings.setValue(kPostURLKey, mSite->url(postPath));
        settings.synchronize();
    }
    void signIn() {
        QCOMPARE(lv::replaceStoredPassword(mKeychain, LVTestSite::kPassword), LVCredentialStore::kSuccess);
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
    // How often the site stored each account, in account order.
    QList<int> storedAccounts() const {
        QList<int> stored(kAccounts, 0);
        for (const LVSiteUpload &upload : mSite->server().uploads())
            for (int account = 1; account <= kAccounts; ++account)
                stored[account - 1] += std::any_of(upload.parts.begin(), upload.parts.end(), [&](const auto &part) {
                    return read(QFile::decodeName(part.storedPath.c_str()))
                        .contains("ACCOUNT" + QByteArray::number(account));
                });
        return stored;
    }
    bool markedUploaded(int account) const { return read(savedVariables(account)).contains("rvUploaded = 1"); }
    QStringList leftovers() const {
        return QDir(home("game/Cache/WDB/enUS")).entryList({"*.gz"}) +
               QDir(QFileInfo(savedVariables(1)).path()).entryList({"*.gz", "*.rename"});
    }

private slots:
    void init() {
        mHome = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(home("runtime")));
        QFile::setPermissions(home("runtime"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        mSite = std::make_unique<LVTestSite>(QString(), 0);
        LVSampleGame::writeSampleGame(QFile::encodeName(home("game")).toStdString(), kAccounts, 0.5);
        configure();
    }
    void cleanup() {
        mPath = QString();
        mSite.reset();
        mHome.reset();
    }

    // Wrong options, or options that do not go together, get one line saying so and where to look; an
    // upload without a stored password cannot start either.
    void refusedToStart_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        const QString tryHelp = QStringLiteral(" Try 'lorvane-client --help'.\n");
        QTest::newRow("unknown option") << QStringList{"--uplaod"} << "Unknown option 'uplaod'." + tryHelp;
        QTest::newRow("option without its value")
            << QStringList{"--sign-in"} << "Missing value after '--sign-in'." + tryHelp;
        QTest::newRow("stray argument") << QStringList{"--upload", "now"} << "Unexpected argument 'now'." + tryHelp;
        QTest::newRow("two things at once")
            << QStringList{"--history", "--upload"} << "--history and --upload cannot be used together." + tryHelp;
        QTest::newRow("--json alone") << QStringList{"--json"} << "--json needs --history or --installs." + tryHelp;
        QTest::newRow("--wait alone") << QStringList{"--wait"} << "--wait needs --upload." + tryHelp;
        QTest::newRow("no password") << kUpload
                                     << "No password is stored: sign in first with lorvane-client --sign-in NAME.\n";
    }
    void refusedToStart() {
        QFETCH(QStringList, arguments);
        if (arguments == kUpload) {
            LV_REQUIRE_TEST_KEYRING(mKeychain);
            mKeychain.deletePassword();
        }
        const Run run = client(arguments);
        QCOMPARE(run.exitCode, 2);
        QTEST(run.errors, "error");
        QVERIFY(run.lines.isEmpty());
        QVERIFY(mSite->server().requests().empty());
    }

    void signInThenUploadEverything() {
        LV_REQUIRE_TEST_KEYRING(mKeychain);
        mKeychain.deletePassword();
        // The keychain's answer when it holds no item is what lets anybody sign in for the first time.
        QCOMPARE(mKeychain.findPassword().status, LVCredentialStore::kItemNotFound);
        QCOMPARE(signInWith("wrong").exitCode, 1);
        const Run signIn = signInWith(LVTestSite::kPassword);
        QCOMPARE(signIn.exitCode, 0);
        QVERIFY(signIn.lines.last().endsWith(QLatin1String(":  Authentication succeeded.")));
        // Signed in twice: one item, holding the last password's UTF-8 bytes, whose digest the site took.
        QCOMPARE(mKeychain.findPassword().password, QByteArray(LVTestSite::kPassword));
        QCOMPARE(itemsInKeychain(), 1);

        const Run upload = client(kUpload);
        QCOMPARE(upload.exitCode, 0);
        QVERIFY2(std::all_of(upload.lines.begin(), upload.lines.end(), isLogLine), qPrintable(upload.lines.join('\n')));
        QVERIFY(upload.lines.first().endsWith(QLatin1String(":  Authentication succeeded.")));
        QVERIFY(upload.lines.last().endsWith(":  Upload successful. You can upload again after 1 minute."));
        QCOMPARE(storedAccounts(), QList<int>(kAccounts, 1));

        // The history has a row for each account's request; scripts read it as JSON.
        const Run history = client({QStringLiteral("--history"), QStringLiteral("--json")});
        QCOMPARE(history.exitCode, 0);
        const QJsonArray rows = QJsonDocument::fromJson(history.lines.join('\n').toUtf8()).array();
        QCOMPARE(rows.size(), kAccounts);
        for (int i = 0; i < kAccounts; ++i) {
            const QJsonObject row = rows.at(i).toObject();
            QCOMPARE(row.value("account").toString(), QString::fromStdString(LVSampleGame::accountName(kAccounts - i)));
            QVERIFY(row.value("succeeded").toBool() && row.value("httpStatus").toInt() == 200);
            QVERIFY(row.value("bytesAfter").toInteger() > 0 &&
                    row.value("bytesAfter").toInteger() < row.value("bytesBefore").toInteger());
        }

        // A site that accepts the credentials but takes no upload now still means a good sign-in.
        mSite->server().setResponse("GET", "/auth", 200, "2");
        QCOMPARE(signInWith(LVTestSite::kPassword).exitCode, 0);
    }

    // A new password the site refuses, or none at all, never replaces the one that works; one the site
    // cannot check is stored, and said so.
    void signInKeepsAWorkingPassword_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<bool>("siteDown");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error");
        QTest::newRow("refused") << QByteArray("wrong\n") << false << 1
                                 << "The site does not accept this password for alice: the stored one is kept.";
        QTest::newRow("nothing on standard input")
            << QByteArray() << false << 2 << "No password given on standard input";
        QTest::newRow("site unreachable")
            << QByteArray("unchecked\n") << true << 0 << "The password is stored, but the site could not be reached";
    }
    void signInKeepsAWorkingPassword() {
        QFETCH(QByteArray, input);
        QFETCH(bool, siteDown);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        LV_REQUIRE_TEST_KEYRING(mKeychain);
        signIn();
        if (siteDown)
            mSite->server().stop();
        const Run run = client({QStringLiteral("--sign-in"), QString::fromLatin1(LVTestSite::kUser)}, input);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.errors.contains(error), qPrintable(run.errors));
        QCOMPARE(mKeychain.findPassword().password,
                 siteDown ? QByteArray("unchecked") : QByteArray(LVTestSite::kPassword));
    }

    // Without a keychain service on the session bus, the answer is plain, quick and ends in 2.
    void withoutAKeychainServiceTheAnswerIsPlain_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("upload") << kUpload;
        QTest::newRow("sign in") << QStringList{"--sign-in", QString::fromLatin1(LVTestSite::kUser)};
    }
    void withoutAKeychainServiceTheAnswerIsPlain() {
        QFETCH(QStringList, arguments);
        const LVPrivateBus bus;
        QElapsedTimer clock;
        clock.start();
        const Run run = client(arguments, "s3cret\n", bus.address());
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.errors.startsWith("No keychain service is running (GNOME Keyring or KWallet): start one"),
                 qPrintable(run.errors));
        QVERIFY(mSite->server().requests().empty());
    }

    // A second start that would open a window shows the first one's and ends; the first goes on.
    void aSecondStartShowsTheFirst() {
        const LVPrivateBus bus; // the window's keychain look-ups go nowhere near a real one
        QProcess first;
        start(first, {}, bus.address());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(home("runtime/lorvane-client.socket")), 20000);
        const Run second = client({}, {}, bus.address());
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(first.state(), QProcess::Running);
        first.terminate();
        QVERIFY(first.waitForFinished());
    }

    // A run that goes wrong, at the site or before it, ends in 1 with every account's data still
    // waiting in the game.
    void failedRunsExitWithOne_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("site answers 500") << "500"
                                          << "Upload failed for 2 of 2 accounts: ACCOUNT1, ACCOUNT2";
        QTest::newRow("unsupported realm") << "Data/enUS/realmlist.wtf"
                                           << "This version of WoW uses an unsupported realm";
        QTest::newRow("corrupt cache file") << "Cache/WDB/enUS/itemcache.wdb"
                                            << "One or more .wdb cache files are corrupt";
    }
    void failedRunsExitWithOne() {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        LV_REQUIRE_TEST_KEYRING(mKeychain);
        signIn();
        if (fault == "500")
            mSite->server().setResponse("POST", "/upload", 500, "out of order");
        else
            QVERIFY(QFile::resize(home("game/" + fault), fault.endsWith(".wdb") ? 30 : 0));
        const Run upload = client(kUpload);
        QCOMPARE(upload.exitCode, 1);
        // Errors go to the error stream, as the log shows them; the rest of the log to the output.
        QVERIFY2(upload.errors.contains(QRegularExpression(":  \u26A0 " + QRegularExpression::escape(message))),
                 qPrintable(upload.errors));
        QVERIFY(!upload.lines.isEmpty() && upload.lines.filter("\u26A0").isEmpty());
        QVERIFY(!markedUploaded(1) && !markedUploaded(2));
        QCOMPARE(leftovers(), QStringList());
    }

    // Two runs started together, as a launcher's after-game command and the window's upload on quit:
    // one runs, the other says so and gives up, or with --wait waits for it and finds nothing left.
    void oneRunAtATime_data() {
        QTest::addColumn<bool>("wait");
        QTest::newRow("second gives up") << false;
        QTest::newRow("second waits") << true;
    }
    void oneRunAtATime() {
        QFETCH(bool, wait);
        LV_REQUIRE_TEST_KEYRING(mKeychain);
        signIn();
        configure(QStringLiteral("/upload?delay=600&"));
        QProcess first;
        start(first, kUpload);
        QTRY_VERIFY_WITH_TIMEOUT(
            !mSite->server().requests().empty() && mSite->server().requests().back().method == "POST", 20000);
        const Run second = client(wait ? kUpload + QStringList{"--wait"} : kUpload);
        QCOMPARE(finish(first).exitCode, 0);
        QCOMPARE(second.exitCode, wait ? 0 : 2);
        QVERIFY2(wait ? second.lines.filter("Nothing to upload to the server").size() == kAccounts
                      : second.errors.contains("Another upload is running"),
                 qPrintable(second.lines.join('\n') + second.errors));
        QCOMPARE(storedAccounts(), QList<int>(kAccounts, 1));
    }

    // Stopped at any moment, a run never leaves an account marked uploaded whose data the site did not
    // store; the next run sends what is left and cleans up after the stopped one.
    void stoppedRunsLoseNothing() {
        LV_REQUIRE_TEST_KEYRING(mKeychain);
        signIn();
        configure(QStringLiteral("/upload?delay=150&"));
        for (const int afterMs : {50, 250, 500, 800, 1200, 1700}) {
            LVSampleGame::writeSampleGame(QFile::encodeName(home("game")).toStdString(), kAccounts, 0.5);
            QProcess stopped;
            start(stopped, kUpload);
            QVERIFY(stopped.waitForStarted());
            QTest::qWait(afterMs);
            if (stopped.state() == QProcess::Running && stopped.processId() > 0)
                ::kill(pid_t(stopped.processId()), afterMs % 2 ? SIGKILL : SIGTERM);
            finish(stopped);
            const QList<int> storedBefore = storedAccounts();
            for (int account = 1; account <= kAccounts; ++account)
                QVERIFY2(!markedUploaded(account) || storedBefore[account - 1] > 0,
                         qPrintable(QString::number(afterMs)));

            QCOMPARE(client(kUpload).exitCode, 0);
            QVERIFY(markedUploaded(1) && markedUploaded(2));
            QVERIFY(!storedAccounts().contains(0));
            QCOMPARE(leftovers(), QStringList());
            mSite->server().clearUploads();
        }
    }

    // For scripts and bug reports, without a display: --installs lists what Options would, each with
    // where it came from and the command Launch would run; --launch runs it and tells why the game
    // did not start. Fake launchers on a private PATH; the game set by hand has the test's own name.
    void installsAndLaunchWithoutADisplay() {
        const QString bottle = home(".var/app/com.usebottles.bottles/data/bottles/bottles/World-of-Warcraft");
        const QString classic = bottle + "/drive_c/Program Files (x86)/World of Warcraft/_classic_/";
        const QString gameName = QStringLiteral("Wow-%1.exe").arg(QCoreApplication::applicationPid());
        for (const QString &file : {classic + "WowClassic.exe", classic + gameName, home("game/" + gameName)})
            write(file);
        // bottlesdevs/Bottles, bottles/backend/managers/manager.py: the bottle is found by its Name.
        write(bottle + "/bottle.yml", "Name: World of Warcraft\nPath: World-of-Warcraft\n");
        for (const auto &[program, failure] :
             {std::pair{"wine", "wine: could not load kernel32.dll"},
              std::pair{"flatpak", "error: app/com.usebottles.bottles not installed"}}) {
            const QString path = home(QStringLiteral("bin/") + program);
            write(path, QByteArray("#!/bin/sh\necho '") + failure + "' >&2\nexit 53\n");
            QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner));
        }
        mPath = home("bin");

        const Run installs = client({QStringLiteral("--installs"), QStringLiteral("--json")});
        QCOMPARE(installs.exitCode, 0);
        QStringList rows;
        for (const QJsonValue &value : QJsonDocument::fromJson(installs.lines.join('\n').toUtf8()).array()) {
            const QJsonObject row = value.toObject();
            QStringList command;
            for (const QJsonValue &word : row.value("command").toArray())
                command << word.toString();
            rows << QStringList{row.value("launcher").toString(),   row.value("copy").toString(),
                                row.value("launcherId").toString(), row.value("checked").toBool() ? "+" : "-",
                                row.value("program").toString(),    command.join(' ')}
                        .join('|')
                        .replace(mHome->path(), "~");
        }
        QCOMPARE(rows,
                 (QStringList{"Chosen by hand|native||+|~/game/Wow.exe|~/bin/wine ~/game/" + gameName,
                              "Bottles|flatpak|World of Warcraft|-|" + QString(classic).replace(mHome->path(), "~") +
                                  "WowClassic.exe|~/bin/flatpak run --command=bottles-cli com.usebottles.bottles "
                                  "run -b World of Warcraft -e " +
                                  QString(classic).replace(mHome->path(), "~") + gameName}));

        for (const QStringList &arguments :
             {QStringList{"--launch"}, QStringList{"--launch", classic + "WowClassic.exe"}}) {
            const Run launch = client(arguments);
            QCOMPARE(launch.exitCode, 1);
            const QString failure = arguments.size() == 1 ? "ended with status 53: wine: could not load kernel32.dll"
                                                          : "ended with status 53: error: app/com.usebottles.bottles";
            QVERIFY2(launch.lines.isEmpty() && launch.errors.contains("The launcher did not start the game: ") &&
                         launch.errors.contains(failure) && launch.errors.count('\n') == 1,
                     qPrintable(launch.lines.join('\n') + launch.errors));
        }
    }

    // Replies are read up to a limit and no further: a site that sends a gigabyte to each request
    // does not make the client hold it.
    void hugeRepliesAreNotKept() {
        LV_REQUIRE_TEST_KEYRING(mKeychain);
        signIn();
        LVSettings settings(home("config/Lorvane/Lorvane Client.conf"));
        settings.setValue(kPostURLKey, mSite->url(QStringLiteral("/huge?")));
        settings.setValue(kAuthURLKey, mSite->url(QStringLiteral("/huge?")));
        settings.setValue(kUpdateURLKey, mSite->url(QStringLiteral("/huge")));
        settings.synchronize();
        client(kUpload);
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        QVERIFY2(usage.ru_maxrss < 200 * 1024, qPrintable(QString::number(usage.ru_maxrss / 1024) + " MB"));
    }
};

QTEST_GUILESS_MAIN(TestHeadless)
#include "TestHeadless.moc"
