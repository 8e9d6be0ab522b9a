#include "LVBusRecorder.h"
#include "LVFileSizeLimit.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "common/FileContents.h"
#include "upload/UploadedFlag.h"
#include "upload/WdbWalk.h"

#include <QDir>
#include <QtEndian>
#include <QtTest>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QList<ino_t> gSynced; // the files fsync() was asked to put on disk, in order
} // namespace

// Every fsync() of this program passes here, so that a test can tell which files reached the disk.
extern "C" int fsync(int descriptor) {
    struct stat status {};
    if (::fstat(descriptor, &status) == 0)
        gSynced << status.st_ino;
    static const auto systemFsync = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    return systemFsync(descriptor);
}

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

    // The site has the data: one byte turns "rvUploaded = 0" into "rvUploaded = 1", put on disk, and only
    // in the very file that was read and sent. A game that saved it meanwhile keeps its new data.
    void markingUploadedChangesOneByte_data() {
        QTest::addColumn<QString>("since"); // what became of the file after it was read
        QTest::addColumn<bool>("marked");
        QTest::newRow("nothing") << "" << true;
        QTest::newRow("other bytes of that size, the time put back") << "in place" << false;
        QTest::newRow("the same bytes a nanosecond later") << "touched" << false;
        QTest::newRow("the same bytes in a new file renamed over it") << "renamed" << false;
        QTest::newRow("grown") << "grown" << false;
    }
    void markingUploadedChangesOneByte() {
        QFETCH(QString, since);
        QFETCH(bool, marked);
        const QByteArray text("x = 1\nrvUploaded = 0\n");
        LVGameFolder folder;
        folder.writeFile("A.lua", text);
        const QByteArray path = QFile::encodeName(folder.filePath("A.lua"));
        const LVFileRead read = lv::readWholeFile(folder.filePath("A.lua"));
        const QByteArray now = since == "in place" ? "x = 2\nrvUploaded = 0\n" : since == "grown" ? text + "y" : text;
        folder.writeFile(since == "renamed" ? "B.lua" : "A.lua", now);
        const timespec then{time_t(read.stamp.modifiedSeconds), long(read.stamp.modifiedNanoseconds)};
        const timespec times[2] = {then,
                                   since == "touched" ? timespec{then.tv_sec, (then.tv_nsec + 1) % 1000000000} : then};
        QCOMPARE(utimensat(AT_FDCWD, path.constData(), times, 0), 0);
        QVERIFY(since != "renamed" ||
                ::rename(QFile::encodeName(folder.filePath("B.lua")).constData(), path.constData()) == 0);
        gSynced.clear();

        QString error;
        QCOMPARE(lv::markUploaded(folder.filePath("A.lua"), read.stamp, *read.contents, 6, &error),
                 marked ? LVMarkResult::Marked : LVMarkResult::FileChanged);
        QCOMPARE(folder.readFile("A.lua"), marked ? QByteArray("x = 1\nrvUploaded = 1\n") : now);
        QCOMPARE(gSynced, marked ? QList<ino_t>{ino_t(read.stamp.inode)} : QList<ino_t>());
        QVERIFY(error.isNull());
    }

    // What an older version left beside the saved variables while it uploaded them: its restore copy
    // (the flag set, no realm line) goes back with "rvUploaded = 0" while the file is what that version
    // left there, or missing; newer data the game saved since stays, and the stale copy goes. The file
    // is replaced in one step: there is never a moment without it.
    void unfinishedUploadIsUndone_data() {
        QTest::addColumn<QByteArray>("savedVariables"); // null: none
        QTest::addColumn<int>("sizeLimit");             // 0: none
        QTest::addColumn<QByteArray>("expected");
        const QByteArray restore = "data\nrvUploaded = 1\n", undone = "data\nrvUploaded = 0\n";
        const QByteArray left = restore + "\nrvRealm = \"x\";", newer = "data\nmore\nrvUploaded = 0\n";
        QTest::newRow("as that version left it") << left << 0 << undone;
        QTest::newRow("missing") << QByteArray() << 0 << undone;
        QTest::newRow("its write cut short") << restore.left(7) << 0 << undone;
        QTest::newRow("its realm line cut short") << restore + "\nrvRe" << 0 << undone;
        QTest::newRow("newer data since") << newer << 0 << newer;
        QTest::newRow("newer data after the realm line") << left + "\nmore" << 0 << left + "\nmore";
        // The disk is full: nothing changes, and the next start tries again.
        QTest::newRow("cannot be written") << left << 8 << left;
    }
    void unfinishedUploadIsUndone() {
        QFETCH(QByteArray, savedVariables);
        QFETCH(int, sizeLimit);
        QFETCH(QByteArray, expected);
        LVGameFolder folder;
        folder.writeFile("A.lua.rename", "data\nrvUploaded = 1\n");
        if (!savedVariables.isNull())
            folder.writeFile("A.lua", savedVariables);
        const int watch = inotify_init1(IN_NONBLOCK);
        inotify_add_watch(watch, QFile::encodeName(folder.path()).constData(), IN_DELETE);
        std::optional<LVFileSizeLimit> limit;
        if (sizeLimit > 0) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Unable to write .*A.lua"));
            limit.emplace(sizeLimit);
        }
        QString error;
        const QString done = lv::undoUnfinishedUpload(folder.filePath("A.lua"), &error);
        limit.reset();
        QCOMPARE(done.isNull(), sizeLimit > 0);
        QCOMPARE(error.isNull(), sizeLimit == 0);
        QCOMPARE(folder.readFile("A.lua"), expected);
        const QStringList deleted = deletedNames(watch);
        close(watch);
        QVERIFY(!deleted.contains("A.lua"));
        QCOMPARE(deleted.contains("A.lua.rename"), sizeLimit == 0);
        QCOMPARE(QFileInfo::exists(folder.filePath("A.lua.rename")), sizeLimit > 0);
    }

    // A restore copy that is no file is never read: a link there is removed, a named pipe refused.
    void restoreCopiesThatAreNoFilesAreNotRead() {
        LVGameFolder folder;
        folder.writeFile("A.lua", "rvUploaded = 1\n").writeFile("outside", "rvUploaded = 1\n");
        QVERIFY(QFile::link(folder.filePath("outside"), folder.filePath("A.lua.rename")));
        QVERIFY(!lv::undoUnfinishedUpload(folder.filePath("A.lua")).isNull());
        QVERIFY(!QFileInfo(folder.filePath("A.lua.rename")).isSymLink());
        QCOMPARE(mkfifo(QFile::encodeName(folder.filePath("A.lua.rename")).constData(), 0600), 0);
        QString error;
        QVERIFY(lv::undoUnfinishedUpload(folder.filePath("A.lua"), &error).isNull());
        QVERIFY2(error.endsWith("A.lua.rename: it is a named pipe, not a regular file"), qPrintable(error));
        QCOMPARE(folder.readFile("A.lua") + folder.readFile("outside"), "rvUploaded = 1\nrvUploaded = 1\n");
    }

    // A write cut short by a full disk keeps the whole old file, never a part of the new one, even when
    // the pieces are small enough to wait in a buffer.
    void atomicWriteCutShortKeepsTheOldFile() {
        LVGameFolder folder;
        folder.writeFile("A.lua", "old");
        const QByteArray piece(1000, 'n');
        std::optional<LVFileSizeLimit> limit(std::in_place, 2500);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Unable to write .*A.lua"));
        QVERIFY(!lv::writeFileAtomically(folder.filePath("A.lua"), {piece, piece, piece}));
        limit.reset();
        QCOMPARE(folder.readFile("A.lua"), "old");
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"A.lua", "Wow.exe"}));
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
