#include "LVFakeClock.h"
#include "LVTestSite.h"
#include "net/LVRetrySchedule.h"
#include "net/LVSyncGet.h"
#include "net/UploadBody.h"
#include "platform/LVSystemEvents.h"

#include <QNetworkAccessManager>
#include <QtTest>

Q_DECLARE_METATYPE(LVNetworkTimeouts)

// What the client accepts from a site: answers within their limits of length and time, what its log
// may show of an address, and when it tries again after a failure that passes.
class TestNetwork : public QObject {
    Q_OBJECT

    std::unique_ptr<LVTestSite> mSite;
    QNetworkAccessManager mNetwork;

private slots:
    void init() { mSite = std::make_unique<LVTestSite>(); }

    void answersAreKeptWithinTheirLimits_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("status"); // of a canned page of `length` bytes; 0: the site's own fixture
        QTest::addColumn<int>("length");
        QTest::addColumn<LVNetworkTimeouts>("timeouts");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("error"); // null: the page arrives whole
        const LVNetworkTimeouts patient{5000, 5000, 5000};
        const QString server = QStringLiteral("The server at 127.0.0.1 ");
        QTest::newRow("exactly the limit") << "/page" << 200 << 1024 << patient << 1024 << QString();
        QTest::newRow("one byte more") << "/page" << 200 << 1025 << patient << 1024
                                       << server + "sent more than 1024 bytes.";
        // Without a length announced, reading stops one byte past the limit.
        QTest::newRow("no end announced")
            << "/endless" << 0 << 0 << patient << 10 << server + "sent more than 10 bytes.";
        QTest::newRow("an error page is an error, whatever its length")
            << "/page" << 404 << 4096 << patient << 1024 << "The server answered 404 Not Found.";
        QTest::newRow("no answer") << "/stall" << 0 << 0 << LVNetworkTimeouts{300, 5000, 5000} << 1024
                                   << server + "did not answer within 0.3 seconds.";
        QTest::newRow("a pause in the answer") << "/pause" << 0 << 0 << LVNetworkTimeouts{5000, 300, 5000} << 1024
                                               << server + "stopped sending for 0.3 seconds.";
        // A byte every 20 ms never pauses long enough, and never ends either.
        QTest::newRow("an answer without end") << "/endless" << 0 << 0 << LVNetworkTimeouts{5000, 5000, 300} << 1024
                                               << server + "did not finish its answer within 0.3 seconds.";
    }

    void answersAreKeptWithinTheirLimits() {
        QFETCH(QString, path);
        QFETCH(int, status);
        QFETCH(int, length);
        QFETCH(LVNetworkTimeouts, timeouts);
        QFETCH(int, limit);
        QFETCH(QString, error);
        const QByteArray page(length, '0');
        if (status != 0)
            mSite->server().setResponse("GET", path.toStdString(), status, page.toStdString());

        const LVGetResult result = lv::synchronousGet(mNetwork, QUrl(mSite->url(path)), timeouts, limit);

        QCOMPARE(result.errorText, error);
        // A page that is too long is dropped; an error page is kept up to the limit.
        QCOMPARE(result.tooLong, error.contains(QLatin1String("sent more than")));
        if (status != 0)
            QCOMPARE(result.body, result.tooLong ? QByteArray() : page.left(limit));
    }

    void logsShowNoPasswordHash_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("shown");
        QTest::newRow("upload address")
            << "http://example.org/upload?username=bob&password=0aff12&mac&ignorecharacterdata"
            << "http://example.org/upload?username=bob&password=********&mac&ignorecharacterdata";
        QTest::newRow("the whole query") << "password=0aff12"
                                         << "password=********";
        QTest::newRow("before a fragment") << "http://h/a?password=0aff#top"
                                           << "http://h/a?password=********#top";
        QTest::newRow("an item that only ends like it") << "http://h/a?oldpassword=1&password=2"
                                                        << "http://h/a?oldpassword=1&password=********";
        QTest::newRow("no password") << "http://h/a?username=password"
                                     << "http://h/a?username=password";
        QTest::newRow("an address in a message")
            << "\"u=b&password=0aff\" is not valid; see http://h/a?password=1 too"
            << "\"u=b&password=********\" is not valid; see http://h/a?password=******** too";
    }

    void logsShowNoPasswordHash() {
        QFETCH(QString, url);
        QTEST(lv::redactedUrl(url), "shown");
    }

    // After 30 s, 1, 2, 4, 8 minutes, then every 15 minutes, each a tenth longer or shorter at most.
    void triesAgainLaterAndLater() {
        LVFakeClock clock;
        LVSystemEvents events;
        LVRetrySchedule schedule(clock, events);
        QSignalSpy due(&schedule, &LVRetrySchedule::due);
        for (const qint64 wait : {30, 60, 120, 240, 480, 900, 900}) {
            schedule.failed();
            const qint64 seconds = clock.now().secsTo(schedule.nextTry());
            QVERIFY2(seconds >= wait * 9 / 10 && seconds <= wait * 11 / 10, qPrintable(QString::number(seconds)));
            const qsizetype before = due.size();
            clock.advance(seconds - 1);
            QCOMPARE(due.size(), before);
            clock.advance(1);
            QCOMPARE(due.size(), before + 1);
            QVERIFY(!schedule.isWaiting());
        }
        schedule.reset();
        schedule.failed();
        QVERIFY(clock.now().secsTo(schedule.nextTry()) <= 33);
    }

    // The network back or a wake-up makes a try due at once, except one whose time the site gave: that
    // one comes when the site said, an hour at most, and never sooner than the first wait.
    void triesAgainWhenTheNetworkIsBackOrWhenTheSiteSaid() {
        LVFakeClock clock;
        LVSystemEvents events;
        LVRetrySchedule schedule(clock, events);
        QSignalSpy due(&schedule, &LVRetrySchedule::due);
        for (const auto event : {&LVSystemEvents::networkReachable, &LVSystemEvents::resumed}) {
            schedule.failed();
            emit(events.*event)();
            QVERIFY(!schedule.isWaiting());
        }
        QCOMPARE(due.size(), 2);
        for (const auto &[asked, wait] : {std::pair{600, 600}, {7200, 3600}, {0, 30}}) {
            schedule.failed(asked);
            QCOMPARE(clock.now().secsTo(schedule.nextTry()), wait);
            emit events.resumed();
            QVERIFY(schedule.isWaiting());
            schedule.reset();
        }
    }

    void retryAfterIsSecondsOrADate_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<qint64>("seconds"); // -1: no wait asked for
        QTest::newRow("seconds") << QByteArray(" 120 ") << qint64(120);
        QTest::newRow("a date a minute away") << QByteArray("Wed, 21 Oct 2026 07:29:00 GMT") << qint64(60);
        QTest::newRow("a date gone by") << QByteArray("Wed, 21 Oct 2026 07:00:00 GMT") << qint64(0);
        QTest::newRow("negative") << QByteArray("-5") << qint64(-1);
        QTest::newRow("words") << QByteArray("soon") << qint64(-1);
        QTest::newRow("absent") << QByteArray() << qint64(-1);
    }
    void retryAfterIsSecondsOrADate() {
        QFETCH(QByteArray, value);
        QFETCH(qint64, seconds);
        const QDateTime now(QDate(2026, 10, 21), QTime(7, 28), Qt::UTC);
        QCOMPARE(lv::retryAfterSeconds(value, now).value_or(-1), seconds);
    }
};
QTEST_GUILESS_MAIN(TestNetwork)
#include "TestNetwork.moc"
