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
        bool alreadyUploaded() { return world.delegate->uploadRun().alreadyUploadedForAccount("ALPHA"); }
        QStringList entries() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden); }

        LVGameFolder folder;
        LVTestWorld world;
        LVApplicationDelegate &delegate = world.makeDelegate();
    };

    // The names of the files deleted in a watched folder since the last look.
    static QStringList deletedNames(int watch) {
        QStringList names;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t length; (length = read(watch, buffer, sizeof buffer)) > 0;)
            for (char *at = buffer; at < buffer + length;) {
                const auto *event = reinterpret_cast<const inotify_event *>(at);
                names << QString::fromUtf8(event->name);
                at += sizeof(inotify_event) + event->len;
            }
        return names;
    }
    static QByteArray filler(qsizetype size) { return QByteArray(size, 'x'); }
    // A cache record: its header's two words, then the payload.
    static QByteArray record(quint32 first, quint32 length, const QByteArray &payload = {}) {
        QByteArray bytes(8, Qt::Uninitialized);
        qToLittleEndian(first, bytes.data());
        qToLittleEndian(length, bytes.data() + 4);
        return bytes + payload;
    }
    static QByteArray header() { return QByteArray("WDBCheaderof20bytes!"); }

private slots:
    void utf8IsCheckedStrictly_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
        // The check works through long texts a slice of 64 KB at a time.
        for (int before = 1; before <= 3; ++before)
            QTest::addRow("across slices, %d", before) << filler(65536 - before) + "\xF0\x9F\x98\x80" << true;
        QTest::newRow("stray byte starting a slice") << filler(65536) + "\x80" + filler(9) << false;
        QTest::newRow("cut at the end of a long text") << filler(200000) + "\xF0\x9F\x98" << false;
    }

    void utf8IsCheckedStrictly() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QCOMPARE(lv::isValidUtf8(bytes), valid);
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

        // Finding new data changes nothing in the game's folder.
        Account account(head + "0;rvUploaded = 0\n");
        const QStringList entries = account.entries();
        LVBusRecorder bus;
        QVERIFY(!account.alreadyUploaded());
        QCOMPARE(account.folder.readFile("ALPHA.lua"), head + "0;rvUploaded = 0\n");
        QCOMPARE(account.entries(), entries);
        QCOMPARE(bus.messages, QStringList{"rvUpload == 1"});
    }

    void nothingToUploadLeavesTheFileAsItWas_data() {
        QTest::addColumn<QByteArray>("savedVariables"); // null: no file
        QTest::addColumn<bool>("emptyList");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("already uploaded") << QByteArray("rvUploaded = 1\n") << false << QStringList();
        QTest::newRow("neither flag") << QByteArray("rvUploaded=0\n") << false
                                      << QStringList{"error: rvUploaded variable seems to be malformed."};
        QTest::newRow("not UTF-8") << QByteArray("rvUploaded = 0\n\xC0\x80") << false << QStringList();
        QTest::newRow("no file") << QByteArray() << false << QStringList();
        QTest::newRow("empty list") << QByteArray("rvUploaded = 0\n") << true << QStringList();
    }

    void nothingToUploadLeavesTheFileAsItWas() {
        QFETCH(QByteArray, savedVariables);
        QFETCH(bool, emptyList);
        QFETCH(QStringList, messages);
        Account account(savedVariables);
        if (emptyList)
            account.world.settings.setValue(kFilesToUploadKey, QStringList());
        const QStringList entries = account.entries();
        LVBusRecorder bus;
        QVERIFY(account.alreadyUploaded());
        QCOMPARE(account.folder.readFile("ALPHA.lua"), savedVariables);
        QCOMPARE(account.entries(), entries);
        QCOMPARE(bus.messages, messages);
    }

    // The site has the data: one byte turns "rvUploaded = 0" into "rvUploaded = 1", and only while the
    // file is still the one that was read.
    void markingUploadedChangesOneByte_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<qsizetype>("offset");
        QTest::addColumn<QByteArray>("expected"); // null: refused, the file unchanged
        const QByteArray text("x = 1\nrvUploaded = 0\n");
        QTest::newRow("the file as read") << text << qsizetype(6) << QByteArray("x = 1\nrvUploaded = 1\n");
        QTest::newRow("grown since") << text + "y = 2\n" << qsizetype(6) << QByteArray();
        QTest::newRow("flag moved") << QByteArray("x = 12\nrvUploaded = 0\n") << qsizetype(6) << QByteArray();
    }

    void markingUploadedChangesOneByte() {
        QFETCH(QByteArray, contents);
        QFETCH(qsizetype, offset);
        QFETCH(QByteArray, expected);
        LVGameFolder folder;
        folder.writeFile("A.lua", contents);
        QString error;
        QCOMPARE(lv::markUploaded(folder.filePath("A.lua"), offset, 21, &error), !expected.isNull());
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
        QVERIFY(!QFileInfo::exists(folder.filePath("A.lua.rename")));
        QVERIFY(lv::undoUnfinishedUpload(folder.filePath("A.lua")).isNull());

        folder.writeFile("outside", "rvUploaded = 1\n");
        QVERIFY(QFile::link(folder.filePath("outside"), folder.filePath("A.lua.rename")));
        QVERIFY(!lv::undoUnfinishedUpload(folder.filePath("A.lua")).isNull());
        QCOMPARE(folder.readFile("A.lua"), "rvUploaded = 0\n");
        QCOMPARE(folder.readFile("outside"), "rvUploaded = 1\n");
        QVERIFY(!QFileInfo(folder.filePath("A.lua.rename")).isSymLink());
    }

    void recordWalk_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("sound");
        QTest::newRow("header only") << header() << true;
        QTest::newRow("records to the last byte") << header() + record(1, 4, "item") + record(7, 0) << true;
        QTest::newRow("end record, then anything") << header() + record(0, 0) + "junk" << true;
        QTest::newRow("an end needs both words 0")
            << header() + record(7, 0) + record(0, 2, "ab") + record(1, 9) << false;
        QTest::newRow("header cut short") << header().left(19) << false;
        QTest::newRow("stops mid-record-header") << header() + record(1, 4, "item") + record(0, 0).left(7) << false;
        QTest::newRow("payload one byte past the end") << header() + record(1, 10, QByteArray(9, 'p')) << false;
        // In 32 bits, 20 + 8 + L would come round to 8, inside the data.
        QTest::newRow("length that wraps round") << header() + record(1, 0xFFFFFFEC, QByteArray(64, 'p')) << false;
    }

    void recordWalk() {
        QFETCH(QByteArray, data);
        QFETCH(bool, sound);
        QCOMPARE(lv::isSoundWdb(data), sound);
    }

    void onlyListedWdbFilesAreCheckedUpToTheFirstCorruptOne() {
        Account account({});
        const QByteArray corrupt = header() + record(1, 100, "short");
        // Corrupt as they are, entries not ending exactly in ".wdb" are passed over, even one that
        // does once the account is put in; missing and empty cache files pass.
        const QStringList names{"missing.wdb", "empty.wdb",      "sound.wdb",   "a.WDB",    "a.wdb.gz",
                                "a_wdb",       "%account_name%", "corrupt.wdb", "later.wdb"};
        QStringList entries;
        for (const QString &name : names) {
            entries << "%WoW%/Cache/WDB/%locale%/" + name;
            if (name != "missing.wdb")
                account.folder.writeFile("Cache/WDB/enUS/" + QString(name).replace("%account_name%", "A.wdb"),
                                         name == "empty.wdb"   ? ""
                                         : name == "sound.wdb" ? header() + record(0, 0)
                                                               : corrupt);
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
