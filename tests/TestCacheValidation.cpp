#include "LVDelegateProbe.h"
#include "LVGameFolder.h"
#include "LVStatusBusSpy.h"
#include "LVTestWorld.h"
#include "upload/WdbWalk.h"

#include <QtEndian>
#include <QtTest>

// Cache file validation before an account's files are sent: the record walk's verdict, which
// listed files are cache files, and what the user is told.
class TestCacheValidation : public QObject {
    Q_OBJECT

    // The two words of a record header.
    static QByteArray words(quint32 first, quint32 length) {
        QByteArray bytes(8, Qt::Uninitialized);
        qToLittleEndian(first, bytes.data());
        qToLittleEndian(length, bytes.data() + 4);
        return bytes;
    }
    static QByteArray record(quint32 first, const QByteArray &payload) {
        return words(first, quint32(payload.size())) + payload;
    }
    static QByteArray header() { return QByteArray("WDBCheaderof20bytes!"); }
    static QByteArray soundCache() { return header() + record(1, "item") + record(2, "quest") + words(0, 0); }
    static QByteArray corruptCache() { return header() + words(1, 100) + "short"; }

    // A game with the locale enUS whose cache folder holds the given files, and a controller whose
    // upload list names the given entries.
    struct Game {
        Game(const QStringList &entries, const QHash<QString, QByteArray> &cacheFiles) {
            folder.addLocale(QStringLiteral("enUS"));
            for (auto it = cacheFiles.begin(); it != cacheFiles.end(); ++it)
                folder.writeFile(QStringLiteral("Cache/WDB/enUS/") + it.key(), it.value());
            world.settings.setValue(kWowApplicationPathKey, folder.applicationPath());
            world.settings.setValue(kFilesToUploadKey, entries);
            delegate.gatherLocales();
            LVDelegateProbe::setVerboseLogging(delegate, true);
        }
        LVGameFolder folder;
        LVTestWorld world;
        LVApplicationDelegate &delegate = world.makeDelegate();
    };

    static QString cacheEntry(const QString &name) { return QStringLiteral("%WoW%/Cache/WDB/%locale%/") + name; }
    static QString validating(const QString &name) { return QStringLiteral("Validating cache file: ") + name; }

private slots:
    void recordWalk_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("sound");

        QTest::newRow("header only") << header() << true;
        QTest::newRow("records to the last byte")
            << header() + record(1, "item") + record(0, "abc") + record(7, "") << true;
        QTest::newRow("end record, then anything") << header() + record(1, "item") + words(0, 0) + "junk" << true;
        QTest::newRow("end record alone") << header() + words(0, 0) << true;
        QTest::newRow("an empty record does not end the walk") << header() + record(7, "") + words(1, 100) << false;
        QTest::newRow("a zero first word does not end the walk")
            << header() + record(0, "abc") + words(1, 100) << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("header cut short") << header().left(19) << false;
        QTest::newRow("stops mid-record-header") << header() + record(1, "item") + words(2, 4).left(7) << false;
        QTest::newRow("end record cut short") << header() + words(0, 0).left(4) << false;
        QTest::newRow("payload one byte past the end") << header() + words(1, 10) + QByteArray(9, 'p') << false;
        QTest::newRow("huge length") << header() + words(1, 0xFFFFFFFF) + QByteArray(64, 'p') << false;
        // In 32 bits, 20 + 8 + L would come round to 8, inside the data.
        QTest::newRow("length that wraps round") << header() + words(1, 0xFFFFFFEC) + QByteArray(64, 'p') << false;
    }

    void recordWalk() {
        QFETCH(QByteArray, data);
        QFETCH(bool, sound);
        QCOMPARE(isSoundWdb(data), sound);
    }

    void fileVerdict_data() {
        QTest::addColumn<QByteArray>("contents"); // null: no file
        QTest::addColumn<bool>("valid");

        QTest::newRow("sound") << soundCache() << true;
        QTest::newRow("corrupt") << corruptCache() << false;
        QTest::newRow("empty") << QByteArray("") << true;
        QTest::newRow("missing") << QByteArray() << true;
    }

    void fileVerdict() {
        QFETCH(QByteArray, contents);
        QFETCH(bool, valid);
        LVGameFolder folder;
        if (!contents.isNull())
            folder.writeFile(QStringLiteral("itemcache.wdb"), contents);
        QCOMPARE(LVApplicationDelegate::validateWDBFile(folder.filePath(QStringLiteral("itemcache.wdb"))), valid);
        // A folder cannot be read as a file: it does not hold the upload back.
        QVERIFY(LVApplicationDelegate::validateWDBFile(folder.path()));
    }

    void onlyEntriesEndingInWdbAreValidated_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("account");
        QTest::addColumn<bool>("validated");

        QTest::newRow("wdb") << "itemcache.wdb"
                             << "ALPHA" << true;
        QTest::newRow("upper case") << "itemcache.WDB"
                                    << "ALPHA" << false;
        QTest::newRow("compressed copy") << "itemcache.wdb.gz"
                                         << "ALPHA" << false;
        QTest::newRow("longer extension") << "itemcache.wdbx"
                                          << "ALPHA" << false;
        QTest::newRow("no full stop") << "itemcache_wdb"
                                      << "ALPHA" << false;
        QTest::newRow("wdb only once expanded") << "%account_name%"
                                                << "itemcache.wdb" << false;
    }

    void onlyEntriesEndingInWdbAreValidated() {
        QFETCH(QString, name);
        QFETCH(QString, account);
        QFETCH(bool, validated);
        const QString fileName = QString(name).replace(QStringLiteral("%account_name%"), account);
        Game game({cacheEntry(name)}, {{fileName, corruptCache()}});
        LVStatusBusSpy bus;

        QCOMPARE(game.delegate.validateCacheFilesForAccount(account), !validated);

        QCOMPARE(bus.errorMessages(),
                 validated ? QStringList{QStringLiteral("Invalid cache file: ") + fileName} : QStringList());
        QVERIFY(bus.statusMessages().isEmpty());
    }

    void theFirstCorruptFileStopsTheCheck() {
        const QStringList entries{QStringLiteral("%WoW%/WTF/Account/%account_name%/SavedVariables/+Lorvane_Harvex.lua"),
                                  cacheEntry(QStringLiteral("itemcache.wdb")),
                                  cacheEntry(QStringLiteral("questcache.wdb")),
                                  cacheEntry(QStringLiteral("npccache.wdb"))};
        Game game(entries, {{QStringLiteral("itemcache.wdb"), soundCache()},
                            {QStringLiteral("questcache.wdb"), corruptCache()},
                            {QStringLiteral("npccache.wdb"), corruptCache()}});
        LVStatusBusSpy bus;

        QVERIFY(!game.delegate.validateCacheFilesForAccount(QStringLiteral("ALPHA")));

        QCOMPARE(bus.statusMessages(), QStringList{validating(QStringLiteral("itemcache.wdb"))});
        QCOMPARE(bus.errorMessages(), QStringList{QStringLiteral("Invalid cache file: questcache.wdb")});
    }

    void missingAndEmptyFilesPass_data() {
        QTest::addColumn<bool>("verbose");
        QTest::newRow("quiet") << false;
        QTest::newRow("verbose") << true;
    }

    void missingAndEmptyFilesPass() {
        QFETCH(bool, verbose);
        const QStringList names{QStringLiteral("missing.wdb"), QStringLiteral("empty.wdb"),
                                QStringLiteral("itemcache.wdb")};
        Game game({cacheEntry(names[0]), cacheEntry(names[1]), cacheEntry(names[2])},
                  {{names[1], QByteArray("")}, {names[2], soundCache()}});
        LVDelegateProbe::setVerboseLogging(game.delegate, verbose);
        LVStatusBusSpy bus;

        QVERIFY(game.delegate.validateCacheFilesForAccount(QStringLiteral("ALPHA")));

        const QStringList expected{validating(names[0]), validating(names[1]), validating(names[2])};
        QCOMPARE(bus.statusMessages(), verbose ? expected : QStringList());
        QVERIFY(bus.errorMessages().isEmpty());
    }

    void withoutAListNothingIsChecked() {
        Game game({}, {});
        game.world.settings.setValue(kFilesToUploadKey, QVariant());
        LVStatusBusSpy bus;
        QVERIFY(game.delegate.validateCacheFilesForAccount(QStringLiteral("ALPHA")));
        QVERIFY(bus.statusMessages().isEmpty());
        QVERIFY(bus.errorMessages().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCacheValidation)
#include "TestCacheValidation.moc"
