#include "LVDelegateProbe.h"
#include "LVFileSizeLimit.h"
#include "LVGameFolder.h"
#include "LVStatusBusSpy.h"
#include "LVTestWorld.h"
#include "platform/FileContents.h"
#include "upload/UploadedFlag.h"

#include <QDir>
#include <QScopeGuard>
#include <QtTest>

// The addon's uploaded flag: whether an account has new data, and how its saved variables are
// prepared for the upload without ever putting the user's recorded data at risk.
class TestUploadedFlag : public QObject {
    Q_OBJECT

public:
    enum Obstacle { RestoreCopyBlocked, ReadOnlyFolder, UploadedCopyTooLarge };
    Q_ENUM(Obstacle)

private:
    // The account ALPHA whose saved variables hold the bytes (no file when null).
    struct Account {
        explicit Account(const QByteArray &savedVariables) {
            folder.addAccount(QStringLiteral("ALPHA"));
            if (!savedVariables.isNull())
                folder.writeFile(kSavedVariables, savedVariables);
            world.settings.setValue(kWowApplicationPathKey, folder.applicationPath());
            world.settings.setValue(
                kFilesToUploadKey,
                QStringList{QStringLiteral("%WoW%/WTF/Account/%account_name%/SavedVariables/+Lorvane_Harvex.lua"),
                            QStringLiteral("%WoW%/Cache/WDB/%locale%/itemcache.wdb")});
            LVDelegateProbe::setRealm(delegate, QStringLiteral("eu.logon.example.com"));
        }
        QString path() const { return folder.filePath(kSavedVariables); }
        QString restorePath() const { return path() + QStringLiteral(".rename"); }
        QByteArray savedVariables() const { return folder.readFile(kSavedVariables); }
        QStringList savedVariablesFolder() const {
            return QDir(QFileInfo(path()).path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        }

        inline static const QString kSavedVariables =
            QStringLiteral("WTF/Account/ALPHA/SavedVariables/+Lorvane_Harvex.lua");
        LVGameFolder folder;
        LVTestWorld world;
        LVApplicationDelegate &delegate = world.makeDelegate();
    };

    static QByteArray longText(qsizetype size) { return QByteArray(size, 'x'); }
    // Every byte of the literal, NULs included.
    template <qsizetype N> static QByteArray bytes(const char (&literal)[N]) { return QByteArray(literal, N - 1); }

private slots:
    void utf8IsCheckedStrictly_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");

        // Far enough into the text that the check has moved past its first slice.
        const qsizetype far = 3 * 64 * 1024 + 1;
        QTest::newRow("ASCII") << QByteArray("rvUploaded = 0\n") << true;
        QTest::newRow("two, three and four bytes") << QByteArray("\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80") << true;
        QTest::newRow("empty") << QByteArray("") << true;
        QTest::newRow("overlong") << QByteArray("\xC0\x80") << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
        QTest::newRow("stray continuation byte") << QByteArray("a\x80") << false;
        QTest::newRow("cut at the end") << QByteArray("a\xE2\x82") << false;
        QTest::newRow("never a UTF-8 byte") << QByteArray("a\xFF") << false;
        for (qsizetype offset = 1; offset <= 3; ++offset)
            QTest::addRow("four bytes across a slice boundary, %d", int(offset))
                << longText(64 * 1024 - offset) + "\xF0\x9F\x98\x80" + longText(far) << true;
        QTest::newRow("long, invalid far in") << longText(far) + "\xFF" + longText(10) << false;
        QTest::newRow("long, cut at the end") << longText(far) + "\xF0\x9F\x98" << false;
        QTest::newRow("long, stray byte at a slice start") << longText(64 * 1024) + "\x80" + longText(10) << false;
    }

    void utf8IsCheckedStrictly() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QCOMPARE(isValidUtf8(bytes), valid);
        QCOMPARE(decodeUtf8(bytes).has_value(), valid);
    }

    void flagIsReadNewDataFirst_data() {
        QTest::addColumn<QByteArray>("savedVariables");
        QTest::addColumn<LVUploadedFlag>("flag");

        QTest::newRow("new data") << QByteArray("x = 1\nrvUploaded = 0\n") << LVUploadedFlag::NewData;
        QTest::newRow("uploaded") << QByteArray("x = 1\nrvUploaded = 1\n") << LVUploadedFlag::AlreadyUploaded;
        QTest::newRow("uploaded, then new data")
            << QByteArray("rvUploaded = 1\nrvUploaded = 0\n") << LVUploadedFlag::NewData;
        QTest::newRow("no spaces") << QByteArray("rvUploaded=0\n") << LVUploadedFlag::Malformed;
        QTest::newRow("other letter case") << QByteArray("rvuploaded = 0\n") << LVUploadedFlag::Malformed;
        QTest::newRow("empty") << QByteArray("") << LVUploadedFlag::Malformed;
    }

    void flagIsReadNewDataFirst() {
        QFETCH(QByteArray, savedVariables);
        QFETCH(LVUploadedFlag, flag);
        QCOMPARE(readUploadedFlag(savedVariables), flag);
    }

    void restoreBytesSetTheFirstNewDataFlagOnly_data() {
        QTest::addColumn<QByteArray>("savedVariables");
        QTest::addColumn<QByteArray>("restore");

        QTest::newRow("one flag") << QByteArray("x = 1\nrvUploaded = 0\n") << QByteArray("x = 1\nrvUploaded = 1\n");
        QTest::newRow("twice") << QByteArray("rvUploaded = 0;rvUploaded = 0")
                               << QByteArray("rvUploaded = 1;rvUploaded = 0");
        QTest::newRow("after an uploaded flag") << QByteArray("rvUploaded = 1 rvUploaded = 0 rvUploaded = 0")
                                                << QByteArray("rvUploaded = 1 rvUploaded = 1 rvUploaded = 0");
        QTest::newRow("every other byte kept") << bytes("\xC3\xA9\r\n\0\trvUploaded = 0\xE2\x82\xAC")
                                               << bytes("\xC3\xA9\r\n\0\trvUploaded = 1\xE2\x82\xAC");
        QTest::newRow("no new data") << QByteArray("rvUploaded = 1") << QByteArray("rvUploaded = 1");
    }

    void restoreBytesSetTheFirstNewDataFlagOnly() {
        QFETCH(QByteArray, savedVariables);
        QFETCH(QByteArray, restore);
        QCOMPARE(restoreBytes(savedVariables), restore);
    }

    void uploadBytesEndWithTheRealmLine_data() {
        QTest::addColumn<QByteArray>("restore");
        QTest::addColumn<QString>("realm");
        QTest::addColumn<QByteArray>("upload");

        QTest::newRow("after a trailing line feed")
            << QByteArray("rvUploaded = 1\n") << "eu.logon" << QByteArray("rvUploaded = 1\n\nrvRealm = \"eu.logon\";");
        QTest::newRow("no trailing line feed")
            << QByteArray("rvUploaded = 1") << "eu" << QByteArray("rvUploaded = 1\nrvRealm = \"eu\";");
        QTest::newRow("double quote kept") << QByteArray("") << "a\"b" << QByteArray("\nrvRealm = \"a\"b\";");
        QTest::newRow("accented name") << QByteArray("") << QStringLiteral("Ærdal")
                                       << QByteArray("\nrvRealm = \"\xC3\x86rdal\";");
    }

    void uploadBytesEndWithTheRealmLine() {
        QFETCH(QByteArray, restore);
        QFETCH(QString, realm);
        QFETCH(QByteArray, upload);
        QCOMPARE(uploadBytes(restore, realm), upload);
    }

    void newDataIsPreparedForUpload_data() {
        QTest::addColumn<bool>("verbose");
        QTest::addColumn<QStringList>("queued"); // the temporary-files list before; absent when empty

        QTest::newRow("quiet, nothing queued yet") << false << QStringList();
        QTest::newRow("verbose, a file queued before")
            << true << QStringList{QStringLiteral("/earlier/itemcache.wdb.gz")};
    }

    void newDataIsPreparedForUpload() {
        QFETCH(bool, verbose);
        QFETCH(QStringList, queued);
        const QByteArray savedVariables("Harvex = { [\"\xC3\x86rdal\"] = 1 }\nrvUploaded = 0\nrvUploaded = 0\n");
        const QByteArray restore("Harvex = { [\"\xC3\x86rdal\"] = 1 }\nrvUploaded = 1\nrvUploaded = 0\n");
        Account account(savedVariables);
        LVDelegateProbe::setVerboseLogging(account.delegate, verbose);
        if (!queued.isEmpty())
            LVDelegateProbe::setFilesToCleanup(account.delegate, queued);
        LVStatusBusSpy bus;

        QVERIFY(!account.delegate.alreadyUploadedForAccount(QStringLiteral("ALPHA")));

        QCOMPARE(account.savedVariables(), restore + "\nrvRealm = \"eu.logon.example.com\";");
        QCOMPARE(account.folder.readFile(Account::kSavedVariables + QStringLiteral(".rename")), restore);
        QCOMPARE(LVDelegateProbe::filesToCleanup(account.delegate), queued << account.restorePath());
        QCOMPARE(account.savedVariablesFolder(),
                 (QStringList{QStringLiteral("+Lorvane_Harvex.lua"), QStringLiteral("+Lorvane_Harvex.lua.rename")}));
        QCOMPARE(bus.statusMessages(), verbose ? QStringList{QStringLiteral("rvUpload == 1")} : QStringList());
        QVERIFY(bus.errorMessages().isEmpty());
    }

    void nothingToUpload_data() {
        QTest::addColumn<QByteArray>("savedVariables"); // null: no file
        QTest::addColumn<QStringList>("errors");

        const QStringList malformed{QStringLiteral("rvUploaded variable seems to be malformed.")};
        QTest::newRow("already uploaded") << QByteArray("x = 1\nrvUploaded = 1\n") << QStringList();
        QTest::newRow("flag without spaces") << QByteArray("rvUploaded=0\n") << malformed;
        QTest::newRow("empty file") << QByteArray("") << malformed;
        QTest::newRow("not UTF-8") << QByteArray("rvUploaded = 0\n\xC0\x80") << QStringList();
        QTest::newRow("cut character at the end") << QByteArray("rvUploaded = 0\n\xE2\x82") << QStringList();
        QTest::newRow("no file") << QByteArray() << QStringList();
    }

    void nothingToUpload() {
        QFETCH(QByteArray, savedVariables);
        QFETCH(QStringList, errors);
        Account account(savedVariables);
        LVDelegateProbe::setVerboseLogging(account.delegate, true);
        LVStatusBusSpy bus;

        QVERIFY(account.delegate.alreadyUploadedForAccount(QStringLiteral("ALPHA")));

        QCOMPARE(account.savedVariables(), savedVariables.isNull() ? QByteArray() : savedVariables);
        QVERIFY(!QFileInfo::exists(account.restorePath()));
        QVERIFY(!LVDelegateProbe::filesToCleanup(account.delegate).has_value());
        QVERIFY(bus.statusMessages().isEmpty());
        QCOMPARE(bus.errorMessages(), errors);
    }

    void withoutListedFilesThereIsNothingToUpload_data() {
        QTest::addColumn<QVariant>("files");
        QTest::newRow("absent") << QVariant();
        QTest::newRow("empty") << QVariant(QStringList());
    }

    void withoutListedFilesThereIsNothingToUpload() {
        QFETCH(QVariant, files);
        Account account("rvUploaded = 0\n");
        account.world.settings.setValue(kFilesToUploadKey, files);
        LVStatusBusSpy bus;

        QVERIFY(account.delegate.alreadyUploadedForAccount(QStringLiteral("ALPHA")));
        QCOMPARE(account.savedVariables(), QByteArray("rvUploaded = 0\n"));
        QVERIFY(bus.statusMessages().isEmpty());
        QVERIFY(bus.errorMessages().isEmpty());
    }

    void aFailedWriteLeavesTheFileAsItWas_data() {
        QTest::addColumn<Obstacle>("obstacle");
        QTest::newRow("restore copy blocked by a folder") << RestoreCopyBlocked;
        QTest::newRow("read-only folder") << ReadOnlyFolder;
        QTest::newRow("uploaded copy over the file size limit") << UploadedCopyTooLarge;
    }

    void aFailedWriteLeavesTheFileAsItWas() {
        QFETCH(Obstacle, obstacle);
        const QByteArray savedVariables = "Harvex = {}\n" + longText(4096) + "\nrvUploaded = 0\n";
        Account account(savedVariables);
        LVDelegateProbe::setVerboseLogging(account.delegate, true);
        const QStringList queued{QStringLiteral("/earlier/itemcache.wdb.gz")};
        LVDelegateProbe::setFilesToCleanup(account.delegate, queued);
        const QString folder = QFileInfo(account.path()).path();
        const QFileDevice::Permissions permissions = QFile::permissions(folder);
        const auto restorePermissions = qScopeGuard([&] { QFile::setPermissions(folder, permissions); });
        if (obstacle == RestoreCopyBlocked)
            QVERIFY(QDir().mkdir(account.restorePath()));
        if (obstacle == ReadOnlyFolder) {
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            if (canCreateFileIn(folder))
                QSKIP("This user writes into read-only folders (root); the other rows make the writes fail");
        }
        const QStringList folderBefore = account.savedVariablesFolder();
        LVStatusBusSpy bus;

        bool alreadyUploaded = false;
        if (obstacle == UploadedCopyTooLarge) {
            // The restore copy, as large as the file, fits under the limit; the uploaded copy,
            // longer by the realm line, does not. The limit binds root as well.
            LVFileSizeLimit limit(savedVariables.size());
            alreadyUploaded = account.delegate.alreadyUploadedForAccount(QStringLiteral("ALPHA"));
        } else {
            alreadyUploaded = account.delegate.alreadyUploadedForAccount(QStringLiteral("ALPHA"));
        }

        QVERIFY(alreadyUploaded);
        QCOMPARE(account.savedVariables(), savedVariables);
        QCOMPARE(account.savedVariablesFolder(), folderBefore);
        QCOMPARE(LVDelegateProbe::filesToCleanup(account.delegate), queued);
        QCOMPARE(bus.errorMessages(), QStringList{QStringLiteral("Unable to prepare +Lorvane_Harvex.lua for upload")});
        QVERIFY(bus.statusMessages().isEmpty());
    }

private:
    static bool canCreateFileIn(const QString &folder) {
        QFile probe(folder + QStringLiteral("/probe"));
        return probe.open(QIODevice::WriteOnly) && probe.remove();
    }
};

QTEST_GUILESS_MAIN(TestUploadedFlag)
#include "TestUploadedFlag.moc"
