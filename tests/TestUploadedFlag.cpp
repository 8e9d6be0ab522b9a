#include "LVBusRecorder.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "common/FileContents.h"
#include "upload/UploadedFlag.h"
#include "upload/WdbWalk.h"

#include <QDir>
#include <QtEndian>
#include <QtTest>

#include <sys/inotify.h>
#include <unistd.h>

// What an account needs before its files are sent: new data in its saved variables, prepared for the
// upload without ever putting the user's recorded data at risk, and sound cache files.
class TestUploadedFlag : public QObject {
    Q_OBJECT

    // The account ALPHA whose saved variables hold the bytes (no file when null).
    struct Account {
        explicit Account(const QByteArray &savedVariables) {
            if (!savedVariables.isNull())
                folder.writeFile("ALPHA.lua", savedVariables);
            world.settings.setValue(kWowApplicationPathKey, folder.applicationPath());
            world.settings.setValue(kFilesToUploadKey, QStringList{"%WoW%/%account_name%.lua"});
            LVStatusBus::setVerboseLogging(true);
        }
        LVGameFolder folder;
        LVTestWorld world;
        LVApplicationDelegate &delegate = world.makeDelegate();
    };

    // The names of the files deleted in a watched folder since the last look.
    static QStringList deletedNames(int watch) {
        QStringList names;
        alignas(inotify_event) char buffer[4096];
        const ssize_t length = read(watch, buffer, sizeof buffer);
        for (char *at = buffer; at < buffer + length; at += sizeof(inotify_event) + ((inotify_event *)at)->len)
            names << QString::fromUtf8(reinterpret_cast<const inotify_event *>(at)->name);
        return names;
    }
    static QByteArray filler(qsizetype size) { return QByteArray(size, 'x'); }
    // A cache file: its 20-byte header, then records of two header words and a payload.
    static QByteArray record(quint32 first, quint32 length, const QByteArray &payload = {}) {
        QByteArray bytes(8, Qt::Uninitialized);
        qToLittleEndian(first, bytes.data());
        qToLittleEndian(length, bytes.data() + 4);
        return bytes + payload;
    }
    static QByteArray wdb(const QByteArray &records) { return "WDBCheaderof20bytes!" + records; }

private slots:
    void bytesAreCheckedStrictly_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("cacheFile"); // else UTF-8 text
        QTest::addColumn<bool>("valid");
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false << false;
        // The UTF-8 check works through long texts a slice of 64 KB at a time.
        for (int before = 1; before <= 3; ++before)
            QTest::addRow("across slices, %d", before) << filler(65536 - before) + "\xF0\x9F\x98\x80" << false << true;
        QTest::newRow("stray byte starting a slice") << filler(65536) + "\x80" + filler(9) << false << false;
        QTest::newRow("cut at the end of a long text") << filler(200000) + "\xF0\x9F\x98" << false << false;
        QTest::newRow("header only") << wdb("") << true << true;
        QTest::newRow("records to the last byte") << wdb(record(1, 4, "item") + record(7, 0)) << true << true;
        QTest::newRow("end record, then anything") << wdb(record(0, 0) + "junk") << true << true;
        QTest::newRow("an end needs both words 0")
            << wdb(record(7, 0) + record(0, 2, "ab") + record(1, 9)) << true << false;
        QTest::newRow("header cut short") << wdb("").left(19) << true << false;
        QTest::newRow("stops mid-record-header") << wdb(record(1, 4, "item") + record(0, 0).left(7)) << true << false;
        QTest::newRow("payload one byte past the end") << wdb(record(1, 10, QByteArray(9, 'p'))) << true << false;
        // In 32 bits, 20 + 8 + L would come round to 8, inside the data.
        QTest::newRow("length that wraps round") << wdb(record(1, 0xFFFFFFEC, QByteArray(64, 'p'))) << true << false;
    }
    void bytesAreCheckedStrictly() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, cacheFile);
        QFETCH(bool, valid);
        QCOMPARE(cacheFile ? lv::isSoundWdb(bytes) : lv::isValidUtf8(bytes), valid);
    }

    void newDataIsPreparedForUpload() {
        // The first "rvUploaded = 0" is set, even after an "rvUploaded = 1"; every other byte stays.
        const QByteArray head = QByteArray("\xC3\x86rdal\r\n\0", 9) + "rvUploaded = 1 -- was\nrvUploaded = ";
        QByteArray savedVariables = head + "0;rvUploaded = 0\n";
        QCOMPARE(lv::setUploadedFlag(savedVariables), qsizetype(head.size() - 13));
        QCOMPARE(savedVariables, head + "1;rvUploaded = 0\n");
        QCOMPARE(lv::realmLine("\u00C6rdal \"Old\""), "\nrvRealm = \"\xC3\x86rdal \"Old\"\";");
        // An upload that did not finish is undone at the flag it set, not at an older one.
        QCOMPARE(lv::flagSetByUpload(savedVariables), qsizetype(head.size() - 13));
        QCOMPARE(lv::flagSetByUpload("rvUploaded = 1;rvUploaded = 1"), qsizetype(15));
        QCOMPARE(lv::flagSetByUpload("rvUploaded = 0"), qsizetype(-1));
    }

    // Looking for new data changes nothing in the game's folder, whatever it finds.
    void lookingForNewDataLeavesTheFileAsItWas_data() {
        QTest::addColumn<QByteArray>("savedVariables"); // null: no file
        QTest::addColumn<bool>("emptyList");
        QTest::addColumn<bool>("uploaded");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("new data after an old flag")
            << QByteArray("rvUploaded = 1 -- was\nrvUploaded = 0\n") << false << false << QStringList{"rvUpload == 1"};
        QTest::newRow("already uploaded") << QByteArray("rvUploaded = 1\n") << false << true << QStringList();
        QTest::newRow("neither flag") << QByteArray("rvUploaded=0\n") << false << true
                                      << QStringList{"error: rvUploaded variable seems to be malformed."};
        QTest::newRow("not UTF-8") << QByteArray("rvUploaded = 0\n\xC0\x80") << false << true << QStringList();
        QTest::newRow("no file") << QByteArray() << false << true << QStringList();
        QTest::newRow("empty list") << QByteArray("rvUploaded = 0\n") << true << true << QStringList();
    }
    void lookingForNewDataLeavesTheFileAsItWas() {
        QFETCH(QByteArray, savedVariables);
        QFETCH(bool, emptyList);
        QFETCH(bool, uploaded);
        QFETCH(QStringList, messages);
        Account account(savedVariables);
        if (emptyList)
            account.world.settings.setValue(kFilesToUploadKey, QStringList());
        const auto entries = [&] {
            return QDir(account.folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden);
        };
        const QStringList before = entries();
        LVBusRecorder bus;
        QCOMPARE(account.delegate.uploadRun().alreadyUploadedForAccount("ALPHA"), uploaded);
        QCOMPARE(account.folder.readFile("ALPHA.lua"), savedVariables);
        QCOMPARE(entries(), before);
        QCOMPARE(bus.messages, messages);
    }

    // The site has the data: one byte turns "rvUploaded = 0" into "rvUploaded = 1", and only while the
    // file is still the one that was read.
    void markingUploadedChangesOneByte_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QByteArray>("expected"); // null: refused, the file unchanged
        const QByteArray text("x = 1\nrvUploaded = 0\n");
        QTest::newRow("the file as read") << text << QByteArray("x = 1\nrvUploaded = 1\n");
        QTest::newRow("grown since") << text + "y = 2\n" << QByteArray();
        QTest::newRow("flag moved") << QByteArray("x = 12\nrvUploaded = 0\n") << QByteArray();
    }
    void markingUploadedChangesOneByte() {
        QFETCH(QByteArray, contents);
        QFETCH(QByteArray, expected);
        LVGameFolder folder;
        folder.writeFile("A.lua", contents);
        QString error;
        QCOMPARE(lv::markUploaded(folder.filePath("A.lua"), 6, 21, &error), !expected.isNull());
        QCOMPARE(folder.readFile("A.lua"), expected.isNull() ? contents : expected);
        QCOMPARE(error.isNull(), !expected.isNull());
    }

    // What an upload that did not finish left beside the saved variables: its restore copy holds the
    // flag already set, which goes back to "rvUploaded = 0" in the file; a link there is only removed.
    void unfinishedUploadIsUndone() {
        LVGameFolder folder;
        folder.writeFile("A.lua", "rvUploaded = 1\nrvRealm = \"x\";").writeFile("A.lua.rename", "rvUploaded = 1\n");
        // The file is replaced in one step: there is never a moment without it.
        const int watch = inotify_init1(IN_NONBLOCK);
        inotify_add_watch(watch, QFile::encodeName(folder.path()).constData(), IN_DELETE);
        QVERIFY(!lv::undoUnfinishedUpload(folder.filePath("A.lua")).isNull());
        QCOMPARE(folder.readFile("A.lua"), "rvUploaded = 0\n");
        QCOMPARE(deletedNames(watch), QStringList{"A.lua.rename"});
        close(watch);
        QVERIFY(lv::undoUnfinishedUpload(folder.filePath("A.lua")).isNull());

        folder.writeFile("outside", "rvUploaded = 1\n");
        QVERIFY(QFile::link(folder.filePath("outside"), folder.filePath("A.lua.rename")));
        QVERIFY(!lv::undoUnfinishedUpload(folder.filePath("A.lua")).isNull());
        QCOMPARE(folder.readFile("A.lua"), "rvUploaded = 0\n");
        QCOMPARE(folder.readFile("outside"), "rvUploaded = 1\n");
        QVERIFY(!QFileInfo(folder.filePath("A.lua.rename")).isSymLink());
    }

    void onlyListedWdbFilesAreCheckedUpToTheFirstCorruptOne() {
        Account account({});
        // Corrupt as they are, entries not ending exactly in ".wdb" are passed over, even one that
        // does once the account is put in; missing and empty cache files pass.
        QStringList entries;
        for (const QString name : {"missing.wdb", "empty.wdb", "sound.wdb", "a.WDB", "a.wdb.gz", "a_wdb",
                                   "%account_name%", "corrupt.wdb", "later.wdb"}) {
            entries << "%WoW%/Cache/WDB/%locale%/" + name;
            const QByteArray bytes = name == "empty.wdb" ? "" : wdb(name == "sound.wdb" ? record(0, 0) : "short");
            if (name != "missing.wdb")
                account.folder.writeFile("Cache/WDB/enUS/" + QString(name).replace("%account_name%", "A.wdb"), bytes);
        }
        account.world.settings.setValue(kFilesToUploadKey, entries);
        account.delegate.install().gatherLocales();
        LVBusRecorder bus;

        QVERIFY(!account.delegate.uploadRun().validateCacheFilesForAccount("A.wdb"));
        QCOMPARE(bus.messages,
                 (QStringList{"Validating cache file: missing.wdb", "Validating cache file: empty.wdb",
                              "Validating cache file: sound.wdb", "error: Invalid cache file: corrupt.wdb"}));
        account.world.settings.setValue(kFilesToUploadKey, entries.mid(0, 7));
        QVERIFY(account.delegate.uploadRun().validateCacheFilesForAccount("A.wdb"));
    }
};

QTEST_GUILESS_MAIN(TestUploadedFlag)
#include "TestUploadedFlag.moc"
