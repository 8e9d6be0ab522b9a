#include "LVBusRecorder.h"
#include "LVDelegateProbe.h"
#include "LVGameFolder.h"
#include "LVTestWorld.h"
#include "upload/WdbWalk.h"

#include <QtEndian>
#include <QtTest>

// Which listed files are cache files, the record walk's verdict on them, and what the user is told.
class TestCacheValidation : public QObject {
    Q_OBJECT

    // A record header's two words.
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
    static QByteArray sound() { return header() + record(1, "item") + words(0, 0); }
    static QByteArray corrupt() { return header() + words(1, 100) + "short"; }

    // A game whose locale enUS holds the cache files; the upload list names the entries.
    struct Game {
        Game(const QStringList &entries, const QList<std::pair<QString, QByteArray>> &files) {
            folder.addLocale(QStringLiteral("enUS"));
            for (const auto &[name, contents] : files)
                folder.writeFile(QStringLiteral("Cache/WDB/enUS/") + name, contents);
            world.settings.setValue(kWowApplicationPathKey, folder.applicationPath());
            world.settings.setValue(kFilesToUploadKey, entries);
            delegate.gatherLocales();
        }
        LVGameFolder folder;
        LVTestWorld world;
        LVApplicationDelegate &delegate = world.makeDelegate();
    };

    static QString entry(const QString &name) { return QStringLiteral("%WoW%/Cache/WDB/%locale%/") + name; }

private slots:
    void recordWalk_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("sound");

        QTest::newRow("header only") << header() << true;
        QTest::newRow("records to the last byte")
            << header() + record(1, "item") + record(0, "ab") + record(7, "") << true;
        QTest::newRow("end record, then anything") << header() + words(0, 0) + "junk" << true;
        QTest::newRow("empty record is no end") << header() + record(7, "") + words(1, 100) << false;
        QTest::newRow("zero first word is no end") << header() + record(0, "ab") + words(1, 100) << false;
        QTest::newRow("header cut short") << header().left(19) << false;
        QTest::newRow("stops mid-record-header") << header() + record(1, "item") + words(0, 0).left(7) << false;
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

    void onlyEntriesEndingInWdbAreCacheFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("validated");

        QTest::newRow("wdb") << "itemcache.wdb" << true;
        QTest::newRow("upper case") << "itemcache.WDB" << false;
        QTest::newRow("compressed copy") << "itemcache.wdb.gz" << false;
        QTest::newRow("longer extension") << "itemcache.wdbx" << false;
        QTest::newRow("no full stop") << "itemcache_wdb" << false;
        QTest::newRow("wdb only once expanded") << "%account_name%" << false;
    }

    void onlyEntriesEndingInWdbAreCacheFiles() {
        QFETCH(QString, name);
        QFETCH(bool, validated);
        const QString account = QStringLiteral("itemcache.wdb"); // names the file only once expanded
        const QString fileName = QString(name).replace(QStringLiteral("%account_name%"), account);
        Game game({entry(name)}, {{fileName, corrupt()}});
        LVBusRecorder bus;

        QCOMPARE(game.delegate.validateCacheFilesForAccount(account), !validated);
        QCOMPARE(bus.errorMessages(), validated ? QStringList{"Invalid cache file: " + fileName} : QStringList());
    }

    void theFirstCorruptFileStopsTheCheck_data() {
        QTest::addColumn<bool>("verbose");
        QTest::newRow("quiet") << false;
        QTest::newRow("verbose") << true;
    }

    void theFirstCorruptFileStopsTheCheck() {
        QFETCH(bool, verbose);
        const QStringList names{"missing.wdb", "empty.wdb", "sound.wdb", "corrupt.wdb", "later.wdb"};
        QStringList entries{QStringLiteral("%WoW%/WTF/Account/%account_name%/SavedVariables/+Lorvane_Harvex.lua")};
        for (const QString &name : names)
            entries << entry(name);
        Game game(entries,
                  {{"empty.wdb", ""}, {"sound.wdb", sound()}, {"corrupt.wdb", corrupt()}, {"later.wdb", corrupt()}});
        LVDelegateProbe::setVerboseLogging(game.delegate, verbose);
        LVBusRecorder bus;

        QVERIFY(!game.delegate.validateCacheFilesForAccount(QStringLiteral("ALPHA")));

        // Missing and empty cache files do not hold the upload back.
        const QStringList validated{"Validating cache file: missing.wdb", "Validating cache file: empty.wdb",
                                    "Validating cache file: sound.wdb"};
        QCOMPARE(bus.statusMessages(), verbose ? validated : QStringList());
        QCOMPARE(bus.errorMessages(), QStringList{"Invalid cache file: corrupt.wdb"});
        game.world.settings.setValue(kFilesToUploadKey, entries.mid(0, 4));
        QVERIFY(game.delegate.validateCacheFilesForAccount(QStringLiteral("ALPHA")));
    }
};

QTEST_GUILESS_MAIN(TestCacheValidation)
#include "TestCacheValidation.moc"
