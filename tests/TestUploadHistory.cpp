#include "LVFileSizeLimit.h"
#include "LVLogRecorder.h"
#include "app/LVHistoryWindow.h"
#include "common/FileContents.h"
#include "upload/HistoryText.h"
#include "upload/LVUploadHistoryModel.h"

#include <QClipboard>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

// The upload history: what is recorded comes back, newest first; a history file that cannot be read
// is set aside rather than lost; its text forms, its table model and its window.
class TestUploadHistory : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> mDir;
    const QDateTime mStart = QDateTime(QDate(2024, 3, 1), QTime(10, 0, 0, 250), Qt::UTC);

    QString historyPath() const { return mDir->filePath(QStringLiteral("history.sqlite")); }

    LVUploadRecord sample(const QString &account, int minutesAfterStart, bool succeeded) const {
        return LVUploadRecord{mStart.addSecs(60 * minutesAfterStart),
                              QStringLiteral("/games/wow"),
                              account,
                              {"+Lorvane_Harvex.lua.gz", "creaturecache.wdb.gz"},
                              1536,
                              512 + minutesAfterStart,
                              870,
                              succeeded ? 200 : 500,
                              succeeded ? QStringLiteral("OK") : QStringLiteral("<html>Internal Server Error</html>"),
                              succeeded,
                              succeeded ? QString() : QStringLiteral("the site answered 500"),
                              false,
                              {}};
    }

    void openAndRecord(LVUploadHistory &history, const QList<LVUploadRecord> &records) {
        QString problem;
        QVERIFY(history.open(&problem));
        QVERIFY2(problem.isNull(), qPrintable(problem));
        for (const LVUploadRecord &record : records)
            QVERIFY(history.record(record));
    }

    // A connection of its own to the file, as another program would have.
    static constexpr QLatin1StringView kDirectConnection{"direct"};
    QSqlQuery connectDirectly(const QString &path) {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kDirectConnection);
        database.setDatabaseName(path);
        database.open();
        return QSqlQuery(database);
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QLocale::setDefault(QLocale::c());
        qputenv("TZ", "UTC");
    }

    void init() {
        mDir = std::make_unique<QTemporaryDir>();
        QVERIFY(mDir->isValid());
    }

    void recordsComeBackNewestFirstWithTheirFigures() {
        LVUploadHistory history(mDir->filePath(QStringLiteral("new folder/history.sqlite")));
        openAndRecord(history, {});
        QVERIFY(!history.lastRecord());

        QSignalSpy recorded(&history, &LVUploadHistory::recorded);
        const LVUploadRecord first = sample("ACCOUNT1", 0, true);
        const LVUploadRecord latest = sample("ACCOUNT2", 120, false);
        const LVUploadRecord middle = sample("ACCOUNT3", 60, true);
        for (const LVUploadRecord &record : {first, latest, middle})
            QVERIFY(history.record(record));
        QCOMPARE(recorded.count(), 3);
        QCOMPARE(history.records(), (QList<LVUploadRecord>{latest, middle, first}));
        QCOMPARE(history.records(2), (QList<LVUploadRecord>{latest, middle}));
        QCOMPARE(history.lastRecord(), std::optional(latest));

        // A second client on the same file: each sees the other's records, and closing one leaves the other.
        auto other = std::make_unique<LVUploadHistory>(history.path());
        QVERIFY(other->open());
        QCOMPARE(other->records().size(), 3);
        QVERIFY(other->record(sample("ACCOUNT4", 180, true)));
        other.reset();
        QCOMPARE(history.lastRecord()->account, QStringLiteral("ACCOUNT4"));
        QVERIFY(history.record(sample("ACCOUNT5", 240, true)));
        QCOMPARE(history.records().size(), 5);
    }

    // A history an earlier version wrote is brought up to this one's table, its records kept; those
    // have no run, and each counts as one. A run's records are found by its id, whenever they were sent.
    void anOlderHistoryIsBroughtUpToDate() {
        QSqlQuery query = connectDirectly(historyPath());
        QVERIFY(query.exec("CREATE TABLE uploads (id INTEGER PRIMARY KEY AUTOINCREMENT, time TEXT NOT NULL, install "
                           "TEXT, account TEXT, file_count INTEGER NOT NULL, files TEXT NOT NULL, bytes_before INTEGER "
                           "NOT NULL, bytes_after INTEGER NOT NULL, duration_ms INTEGER NOT NULL, http_status INTEGER "
                           "NOT NULL, reply TEXT, succeeded INTEGER NOT NULL, reason TEXT)"));
        QVERIFY(query.exec("INSERT INTO uploads VALUES (1, '2024-03-01T09:00:00.000Z', '/g', 'OLD', 0, '[]', 1, 1, 1, "
                           "200, 'OK', 1, NULL), (2, '2024-03-01T09:00:01.000Z', '/g', 'OLD2', 0, '[]', 1, 1, 1, "
                           "200, 'OK', 1, NULL)") &&
                query.exec("PRAGMA user_version = 1"));
        query = QSqlQuery();
        QSqlDatabase::removeDatabase(kDirectConnection);
        LVUploadHistory history(historyPath());
        openAndRecord(history, {});
        QCOMPARE(history.lastRun().size(), 1);
        QCOMPARE(history.lastRun().first().account, QStringLiteral("OLD2"));

        QList<LVUploadRecord> runs;
        for (const int minute : {0, 0, 1, 1}) {
            runs << sample(QStringLiteral("ACCOUNT%1").arg(runs.size() % 2 + 1), minute, true);
            runs.last().runId = QStringLiteral("run %1").arg(minute);
        }
        runs[2].gameSavedMeanwhile = true;
        for (const LVUploadRecord &record : runs)
            QVERIFY(history.record(record));
        QCOMPARE(history.records().size(), 6);
        QCOMPARE(history.lastRun(), (QList<LVUploadRecord>{runs[3], runs[2]}));
        QCOMPARE(history.records().last().account, QStringLiteral("OLD"));
        QVERIFY(!history.records().last().gameSavedMeanwhile);
    }

    void theReplyIsCutAt200Characters_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("kept");
        const QString twoHundred = QString(190, QLatin1Char('a')) + QStringLiteral("0123456789");
        QTest::newRow("long") << twoHundred + QString(800, QLatin1Char('z')) << twoHundred;
        QTest::newRow("pair at the cut") << QString(199, QLatin1Char('a')) + QStringLiteral("\U0001F600 more")
                                         << QString(199, QLatin1Char('a'));
    }

    void theReplyIsCutAt200Characters() {
        QFETCH(QString, reply);
        LVUploadHistory history(historyPath());
        LVUploadRecord record = sample("ACCOUNT1", 0, false);
        record.reply = reply;
        openAndRecord(history, {record});
        QTEST(history.lastRecord()->reply, "kept");
    }

    void aFailedRecordStopsNothing() {
        LVUploadHistory history(historyPath());
        QString error;
        QVERIFY(!history.record(sample("ACCOUNT1", 0, true), &error));
        QVERIFY(!error.isEmpty());

        openAndRecord(history, {sample("ACCOUNT1", 0, true)});
        QSignalSpy recorded(&history, &LVUploadHistory::recorded);
        LVUploadRecord large = sample("ACCOUNT2", 1, true);
        large.install = QString(20'000, QLatin1Char('x'));
        {
            LVFileSizeLimit diskFull(QFileInfo(historyPath()).size());
            error.clear();
            QVERIFY(!history.record(large, &error));
            QVERIFY(!error.isEmpty());
        }
        QCOMPARE(recorded.count(), 0);
        LVUploadRecord undated = sample("ACCOUNT3", 0, true);
        undated.time = QDateTime();
        const QDateTime before = QDateTime::currentDateTimeUtc();
        QVERIFY(history.record(undated));
        QCOMPARE(history.records().size(), 2);
        QVERIFY(history.lastRecord()->time >= before); // recorded as now
        QCOMPARE(history.lastRecord()->account, QStringLiteral("ACCOUNT3"));
    }

    void theTextFormsHoldEveryRecord() {
        LVUploadRecord failed = sample("ACCOUNT2", 5, false);
        failed.httpStatus = 0;
        failed.reason = QStringLiteral("no answer\nfrom the site");
        failed.files = QStringList{"a.gz"};
        failed.runId = QStringLiteral("run 2");
        const QList<LVUploadRecord> records{failed, sample("A1", 0, true)};

        QCOMPARE(lv::historyTable(records),
                 "Time                 Install     Account   Files   Before      After  Duration  Status  Outcome\n"
                 "2024.03.01 10:05 AM  /games/wow  ACCOUNT2      1  1.5 KiB  517 bytes    870 ms       -  failed: no "
                 "answer from the site\n"
                 "2024.03.01 10:00 AM  /games/wow  A1            2  1.5 KiB  512 bytes    870 ms     200  succeeded\n");
        QCOMPARE(lv::historyTable({}), "Time  Install  Account  Files  Before  After  Duration  Status  Outcome\n");

        const QJsonArray json = QJsonDocument::fromJson(lv::historyJson(records)).array();
        QCOMPARE(json.size(), 2);
        QCOMPARE(json.at(0).toObject(), QJsonDocument::fromJson(R"({"time": "2024-03-01T10:05:00.250Z",
            "install": "/games/wow", "account": "ACCOUNT2", "files": ["a.gz"], "bytesBefore": 1536, "bytesAfter": 517,
            "durationMs": 870, "httpStatus": 0, "reply": "<html>Internal Server Error</html>", "succeeded": false,
            "reason": "no answer\nfrom the site", "gameSavedMeanwhile": false, "runId": "run 2"})")
                                            .object());
        QCOMPARE(json.at(1)["succeeded"], QJsonValue(true));
        QCOMPARE(QJsonDocument::fromJson(lv::historyJson({})).array(), QJsonArray());

        // As RFC 4180 quotes; what a spreadsheet would run as a formula starts with an apostrophe.
        failed.reply = QStringLiteral("=HYPERLINK(\"http://x\", \"y\")");
        QCOMPARE(
            lv::historyCsv({failed, records.last()}),
            "time,install,account,files,bytesBefore,bytesAfter,durationMs,httpStatus,reply,succeeded,reason,"
            "gameSavedMeanwhile,runId\r\n"
            "2024-03-01T10:05:00.250Z,/games/wow,ACCOUNT2,a.gz,1536,517,870,0,\"'=HYPERLINK(\"\"http://x\"\", "
            "\"\"y\"\")\",false,\"no answer\nfrom the site\",false,run 2\r\n"
            "2024-03-01T10:00:00.250Z,/games/wow,A1,'+Lorvane_Harvex.lua.gz; creaturecache.wdb.gz,1536,512,870,200,"
            "OK,true,,false,\r\n");
    }

    void anUnreadableHistoryIsSetAside_data() {
        QTest::addColumn<QByteArray>("contents"); // a folder when empty
        QTest::addColumn<QString>("statement");   // makes an SQLite file when set
        QTest::newRow("not a database, and a stale journal")
            << QByteArray("lvclient history\nnot a database\n") << "journal";
        QTest::newRow("other columns") << QByteArray() << "CREATE TABLE uploads (id INTEGER PRIMARY KEY, time TEXT)";
        QTest::newRow("folder in its place") << QByteArray() << QString();
    }
    void anUnreadableHistoryIsSetAside() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, statement);
        if (statement.startsWith(QLatin1String("CREATE"))) {
            QSqlQuery query = connectDirectly(historyPath());
            QVERIFY(query.exec(statement) && query.exec(QStringLiteral("PRAGMA user_version = 1")));
        } else if (contents.isEmpty())
            QVERIFY(QDir().mkpath(historyPath()));
        else
            QVERIFY(lv::writeFileAtomically(historyPath(), {contents}));
        if (statement == QLatin1String("journal"))
            QVERIFY(lv::writeFileAtomically(historyPath() + "-journal", {"stale journal"}));
        QSqlDatabase::removeDatabase(kDirectConnection);
        const std::optional<QByteArray> original = lv::contentsOfFile(historyPath());

        QString problem;
        {
            LVUploadHistory history(historyPath());
            LVLogRecorder log(QStringLiteral("lorvane.upload.history"));
            QVERIFY(history.open(&problem));
            QCOMPARE(log.messages(), QStringList{problem});
            QVERIFY(problem.contains(QLatin1String("could not be read")) && !history.isInMemory());
            QVERIFY(history.record(sample("ACCOUNT1", 0, true)));
        }
        const QStringList aside = QDir(mDir->path()).entryList({"history.sqlite.broken-*"}, QDir::AllEntries);
        QCOMPARE(aside.size(), 1);
        const QString asidePath = mDir->filePath(aside.first());
        QVERIFY2(problem.contains(asidePath), qPrintable(problem));
        QCOMPARE(lv::contentsOfFile(asidePath), original);
        QCOMPARE(QFileInfo(asidePath).isDir(), !original);
        QVERIFY(!QFileInfo::exists(historyPath() + "-journal")); // it would be played back into the new history

        LVUploadHistory reopened(historyPath());
        openAndRecord(reopened, {});
        QCOMPARE(reopened.records().size(), 1);
    }

    void aHistoryItCannotWriteIsKeptInMemory_data() {
        QTest::addColumn<bool>("inUse");
        QTest::newRow("a file where its folder should be") << false;
        QTest::newRow("the file held by another program") << true;
    }

    void aHistoryItCannotWriteIsKeptInMemory() {
        QFETCH(bool, inUse);
        QString path = mDir->filePath(QStringLiteral("data/history.sqlite"));
        if (inUse) {
            LVUploadHistory earlier(path);
            openAndRecord(earlier, {sample("EARLIER", 0, true)});
            QVERIFY(connectDirectly(path).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        } else {
            QVERIFY(
                lv::writeFileAtomically(mDir->filePath(QStringLiteral("data")), {"a file where the folder should be"}));
        }
        {
            LVUploadHistory history(path);
            LVLogRecorder log(QStringLiteral("lorvane.upload.history"));
            QString problem;
            QVERIFY(history.open(&problem));
            QVERIFY(history.isInMemory() && problem.contains(QLatin1String("in memory")));
            QVERIFY(history.record(sample("ACCOUNT1", 0, true)));
            QVERIFY(history.open());
            QCOMPARE(history.records().size(), 1);
            QCOMPARE(log.messages(), QStringList{problem});
        }
        QSqlDatabase::removeDatabase(kDirectConnection);
        if (!inUse)
            return;
        LVUploadHistory later(path); // as it was: not set aside
        openAndRecord(later, {});
        QCOMPARE(later.records().size(), 1);
        QCOMPARE(later.lastRecord()->account, QStringLiteral("EARLIER"));
    }

    void theModelShowsTheRecordsAndMarksFailures() {
        LVUploadHistory history(historyPath());
        openAndRecord(history, {sample("ACCOUNT1", 0, true), sample("ACCOUNT2", 1, false)});
        LVUploadHistoryModel model(&history);
        QCOMPARE(model.rowCount(), 2);

        auto cell = [&](int row, int column, int role = Qt::DisplayRole) {
            return model.index(row, column).data(role).toString();
        };
        QCOMPARE(cell(0, lv::HistoryAccountColumn), QStringLiteral("ACCOUNT2"));
        QCOMPARE(cell(0, lv::HistoryOutcomeColumn), QStringLiteral("✗ failed: the site answered 500"));
        QCOMPARE(cell(1, lv::HistoryOutcomeColumn), QStringLiteral("succeeded"));
        // Tooltips wrap between words rather than run off the screen, and show markup as text.
        QCOMPARE(cell(0, lv::HistoryTimeColumn, Qt::ToolTipRole),
                 QStringLiteral("<p style='white-space:pre-wrap'>&lt;html&gt;Internal Server Error&lt;/html&gt;</p>"));
        QCOMPARE(cell(0, lv::HistoryFilesColumn, Qt::ToolTipRole),
                 QStringLiteral("<p style='white-space:pre-wrap'>+Lorvane_Harvex.lua.gz\ncreaturecache.wdb.gz</p>"));
        QVERIFY(model.index(0, lv::HistoryAccountColumn).data(Qt::ForegroundRole).isValid());
        QVERIFY(!model.index(1, lv::HistoryAccountColumn).data(Qt::ForegroundRole).isValid());
    }

    // The window: newest first, the outcome beside the time, the chosen upload whole below the table,
    // rows copied as shown, the whole history exported as CSV.
    void theWindowListsTheNewestFirstAndCloses() {
        LVUploadHistory history(historyPath());
        LVUploadRecord longReply = sample("ACCOUNT2", 90, false);
        longReply.reply = QStringLiteral("The upload was refused because ").repeated(5);
        openAndRecord(history, {sample("ACCOUNT1", 0, true), longReply, sample("ACCOUNT3", 30, true)});
        LVHistoryWindow window(&history);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *table = window.findChild<QTableView *>(QStringLiteral("historyTable"));
        QVERIFY(table);
        auto accounts = [table] {
            QStringList shown;
            for (int row = 0; row < table->model()->rowCount(); ++row)
                shown << table->model()->index(row, lv::HistoryAccountColumn).data().toString();
            return shown;
        };
        QCOMPARE(accounts(), (QStringList{"ACCOUNT2", "ACCOUNT3", "ACCOUNT1"}));
        QCOMPARE(table->horizontalHeader()->logicalIndex(1), int(lv::HistoryOutcomeColumn));
        for (int column = 0; column < lv::HistoryColumnCount - 1; ++column)
            QVERIFY(table->columnWidth(column) > 0 && table->columnWidth(column) <= LVHistoryWindow::kMaxColumnWidth);

        table->selectRow(0);
        QVERIFY(window.findChild<QPlainTextEdit *>("historyDetails")->toPlainText().contains(longReply.reply));
        table->setFocus();
        QTest::keySequence(table, QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), "2024.03.01 11:30 AM\t✗ failed: the site answered 500\t"
                                                       "/games/wow\tACCOUNT2\t2\t1.5 KiB\t602 bytes\t870 ms\t500\n");
        QVERIFY(window.exportTo(mDir->filePath("history.csv")));
        QCOMPARE(lv::contentsOfFile(mDir->filePath("history.csv")), lv::historyCsv(history.records()));
        QString error;
        QVERIFY(!window.exportTo(mDir->filePath("no such folder/history.csv"), &error) && !error.isEmpty());

        table->sortByColumn(lv::HistoryBytesAfterColumn, Qt::AscendingOrder);
        QCOMPARE(accounts(), (QStringList{"ACCOUNT1", "ACCOUNT3", "ACCOUNT2"}));
        table->sortByColumn(lv::HistoryTimeColumn, Qt::DescendingOrder);
        QVERIFY(history.record(sample("ACCOUNT4", 60, true)));
        QCOMPARE(accounts(), (QStringList{"ACCOUNT2", "ACCOUNT4", "ACCOUNT3", "ACCOUNT1"}));

        window.findChild<QPushButton *>(QStringLiteral("closeButton"))->click();
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestUploadHistory)
#include "TestUploadHistory.moc"
