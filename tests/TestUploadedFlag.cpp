#include "LVBusRecorder.h"
#include "LVDelegateProbe.h"
#include "LVFileSizeLimit.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "platform/FileContents.h"
#include "upload/UploadedFlag.h"

#include <QDir>
#include <QScopeGuard>
#include <QtTest>

// Whether an account has new data, and how its saved variables are prepared for the upload without
// ever putting the user's recorded data at risk.
class TestUploadedFlag : public QObject {
    Q_OBJECT

public:
    enum Obstacle { RestoreCopyBlocked, ReadOnlyFolder, FileSizeLimit };
    Q_ENUM(Obstacle)

private:
    // The account ALPHA whose saved variables hold the bytes (no file when null).
    struct Account {
        explicit Account(const QByteArray &savedVariables) {
            folder.addAccount(QStringLiteral("ALPHA"));
            if (!savedVariables.isNull())
                folder.writeFile(kFile, savedVariables);
            world.settings.setValue(kWowApplicationPathKey, folder.applicationPath());
            world.settings.setValue(
                kFilesToUploadKey,
                QStringList{QStringLiteral("%WoW%/WTF/Account/%account_name%/SavedVariables/+Lorvane_Harvex.lua")});
            LVDelegateProbe::setRealm(delegate, QStringLiteral("eu.logon.example.com"));
            LVDelegateProbe::setVerboseLogging(delegate, true);
        }
        bool alreadyUploaded() { return delegate.alreadyUploadedForAccount(QStringLiteral("ALPHA")); }
        QString path() const { return folder.filePath(kFile); }
        QStringList folderEntries() const {
            return QDir(QFileInfo(path()).path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        }

        inline static const QString kFile = QStringLiteral("WTF/Account/ALPHA/SavedVariables/+Lorvane_Harvex.lua");
        LVGameFolder folder;
        LVTestWorld world;
        LVApplicationDelegate &delegate = world.makeDelegate();
    };

    static QByteArray filler(qsizetype size) { return QByteArray(size, 'x'); }

private slots:
    void utf8IsCheckedStrictly_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");

        QTest::newRow("two, three, four bytes") << QByteArray("\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80") << true;
        QTest::newRow("overlong") << QByteArray("\xC0\x80") << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("cut at the end") << QByteArray("a\xE2\x82") << false;
        // The check works through long texts a slice of 64 KB at a time.
        for (int before = 1; before <= 3; ++before)
            QTest::addRow("across slices, %d", before)
                << filler(65536 - before) + "\xF0\x9F\x98\x80" + filler(9) << true;
        QTest::newRow("stray byte starting a slice") << filler(65536) + "\x80" + filler(9) << false;
        QTest::newRow("cut at the end of a long text") << filler(200000) + "\xF0\x9F\x98" << false;
    }

    void utf8IsCheckedStrictly() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QCOMPARE(isValidUtf8(bytes), valid);
    }

    void onlyTheFirstNewDataFlagIsSet_data() {
        QTest::addColumn<QByteArray>("savedVariables");
        QTest::addColumn<QByteArray>("restore"); // null: no new data, the bytes untouched

        QTest::newRow("twice") << QByteArray("rvUploaded = 0;rvUploaded = 0")
                               << QByteArray("rvUploaded = 1;rvUploaded = 0");
        QTest::newRow("after an uploaded flag")
            << QByteArray("rvUploaded = 1;rvUploaded = 0") << QByteArray("rvUploaded = 1;rvUploaded = 1");
        QTest::newRow("other bytes kept") << QByteArray("\xC3\xA9\r\n\0 rvUploaded = 0\xE2\x82\xAC", 23)
                                          << QByteArray("\xC3\xA9\r\n\0 rvUploaded = 1\xE2\x82\xAC", 23);
        QTest::newRow("uploaded only") << QByteArray("rvUploaded = 1") << QByteArray();
        QTest::newRow("no spaces") << QByteArray("rvUploaded=0") << QByteArray();
    }

    void onlyTheFirstNewDataFlagIsSet() {
        QFETCH(QByteArray, savedVariables);
        QFETCH(QByteArray, restore);
        QByteArray flagged = savedVariables;
        QCOMPARE(setUploadedFlag(flagged), !restore.isNull());
        QCOMPARE(flagged, restore.isNull() ? savedVariables : restore);
    }

    void newDataIsPreparedForUpload() {
        Account account("Harvex = { \"\xC3\x86rdal\" }\nrvUploaded = 1 -- was\nrvUploaded = 0\n");
        LVDelegateProbe::setRealm(account.delegate, QStringLiteral("Ærdal \"Old\""));
        LVDelegateProbe::setFilesToCleanup(account.delegate, QStringList{QStringLiteral("/earlier.gz")});
        LVBusRecorder bus;

        QVERIFY(!account.alreadyUploaded());

        const QByteArray restore("Harvex = { \"\xC3\x86rdal\" }\nrvUploaded = 1 -- was\nrvUploaded = 1\n");
        QCOMPARE(account.folder.readFile(Account::kFile), restore + "\nrvRealm = \"\xC3\x86rdal \"Old\"\";");
        QCOMPARE(account.folder.readFile(Account::kFile + ".rename"), restore);
        QCOMPARE(LVDelegateProbe::filesToCleanup(account.delegate),
                 (QStringList{QStringLiteral("/earlier.gz"), account.path() + ".rename"}));
        QCOMPARE(bus.statusMessages(), QStringList{QStringLiteral("rvUpload == 1")});
        QVERIFY(bus.errorMessages().isEmpty());
    }

    void nothingToUpload_data() {
        QTest::addColumn<QByteArray>("savedVariables"); // null: no file
        QTest::addColumn<QVariant>("files");            // invalid: the saved variables only
        QTest::addColumn<QStringList>("errors");

        const QStringList malformed{QStringLiteral("rvUploaded variable seems to be malformed.")};
        QTest::newRow("already uploaded") << QByteArray("rvUploaded = 1\n") << QVariant() << QStringList();
        QTest::newRow("flag without spaces") << QByteArray("rvUploaded=0\n") << QVariant() << malformed;
        QTest::newRow("empty file") << QByteArray("") << QVariant() << malformed;
        QTest::newRow("not UTF-8") << QByteArray("rvUploaded = 0\n\xC0\x80") << QVariant() << QStringList();
        QTest::newRow("no file") << QByteArray() << QVariant() << QStringList();
        QTest::newRow("no list") << QByteArray("rvUploaded = 0") << QVariant(QString()) << QStringList();
        QTest::newRow("empty list") << QByteArray("rvUploaded = 0") << QVariant(QStringList()) << QStringList();
    }

    void nothingToUpload() {
        QFETCH(QByteArray, savedVariables);
        QFETCH(QVariant, files);
        QFETCH(QStringList, errors);
        Account account(savedVariables);
        if (files.isValid())
            account.world.settings.setValue(kFilesToUploadKey, files);
        LVBusRecorder bus;

        QVERIFY(account.alreadyUploaded());
        QCOMPARE(account.folder.readFile(Account::kFile), savedVariables.isNull() ? QByteArray() : savedVariables);
        QCOMPARE(account.folderEntries().size(), savedVariables.isNull() ? 0 : 1);
        QVERIFY(!LVDelegateProbe::filesToCleanup(account.delegate).has_value());
        QVERIFY(bus.statusMessages().isEmpty());
        QCOMPARE(bus.errorMessages(), errors);
    }

    void aFailedWriteLeavesTheFileAsItWas_data() {
        QTest::addColumn<Obstacle>("obstacle");
        QTest::newRow("restore copy blocked by a folder") << RestoreCopyBlocked;
        QTest::newRow("read-only folder") << ReadOnlyFolder;
        // The restore copy fits under the limit; the uploaded copy, longer by the realm line, does not.
        QTest::newRow("uploaded copy over the file size limit") << FileSizeLimit;
    }

    void aFailedWriteLeavesTheFileAsItWas() {
        QFETCH(Obstacle, obstacle);
        const QByteArray savedVariables = filler(4096) + "\nrvUploaded = 0\n";
        Account account(savedVariables);
        LVDelegateProbe::setFilesToCleanup(account.delegate, QStringList{QStringLiteral("/earlier.gz")});
        const QString folder = QFileInfo(account.path()).path();
        const QFileDevice::Permissions permissions = QFile::permissions(folder);
        const auto writableAgain = qScopeGuard([&] { QFile::setPermissions(folder, permissions); });
        if (obstacle == RestoreCopyBlocked)
            QVERIFY(QDir().mkdir(account.path() + ".rename"));
        if (obstacle == ReadOnlyFolder) {
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            if (QFile(folder + "/probe").open(QIODevice::WriteOnly))
                QSKIP("This user writes into read-only folders (root); the other rows make the writes fail");
        }
        const QStringList entriesBefore = account.folderEntries();
        LVBusRecorder bus;

        bool alreadyUploaded = false;
        if (obstacle == FileSizeLimit) {
            // The restore copy, as large as the file, fits under the limit; the uploaded copy,
            // longer by the realm line, does not. The limit binds root as well.
            LVFileSizeLimit limit(savedVariables.size());
            alreadyUploaded = account.alreadyUploaded();
        } else {
            alreadyUploaded = account.alreadyUploaded();
        }
        QVERIFY(alreadyUploaded);

        QCOMPARE(account.folder.readFile(Account::kFile), savedVariables);
        QCOMPARE(account.folderEntries(), entriesBefore);
        QCOMPARE(LVDelegateProbe::filesToCleanup(account.delegate), QStringList{QStringLiteral("/earlier.gz")});
        QCOMPARE(bus.errorMessages(), QStringList{QStringLiteral("Unable to prepare +Lorvane_Harvex.lua for upload")});
        QVERIFY(bus.statusMessages().isEmpty());
    }

private:
};

QTEST_GUILESS_MAIN(TestUploadedFlag)
#include "TestUploadedFlag.moc"
