#include "LVTestWorld.h"
#include "common/TimeText.h"
#include "status/LVStatusBus.h"
#include "status/LVStatusLabel.h"

#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

Q_DECLARE_METATYPE(lv::TimeDetail)

// The status line and its log, driven through the status bus. The display timer's firing is
// simulated by calling displayMessage(), so the pace is checked without waiting for it.
class TestStatusLabel : public QObject {
    Q_OBJECT

    std::unique_ptr<LVTestWorld> mWorld;
    LVStatusLabel *mLabel = nullptr;
    QTextEdit *mLog = nullptr;
    const QDateTime mSent = QDateTime(QDate(2010, 11, 5), QTime(15, 7, 9));
    QDateTime mNow;

    QColor logColour(int line) const {
        QTextCursor cursor(mLog->document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::NextCharacter);
        return cursor.charFormat().foreground().color();
    }
    QString logLine(const QString &message) const {
        return lv::formatLogTime(mSent, QLocale::system()) + QStringLiteral(":  ") + message + QLatin1Char('\n');
    }

private slots:
    void init() {
        mWorld = std::make_unique<LVTestWorld>();
        mWorld->makeDelegateWithWindow();
        mLabel = mWorld->find<LVStatusLabel>("statusLabel");
        mLog = mWorld->find<QTextEdit>("statusText");
        mNow = mSent;
        mLabel->setClock([this] { return mNow; });
    }

    void cleanup() { mWorld.reset(); }

    // An empty message is dropped, an error stands out without its colour (a warning sign before it, in
    // the line and the log), and each message is logged with the time it was sent, one per tick.
    void messagesAreShownOneAtATimeInTheOrderSent() {
        const QTimer *timer = mLabel->findChild<QTimer *>(QStringLiteral("displayTimer"));
        QCOMPARE(timer->interval(), 660);
        LVStatusBus::sendStatusMessage(QString());
        LVStatusBus::sendStatusMessage(QStringLiteral("first"));
        LVStatusBus::sendErrorMessage(QStringLiteral("second <b>"));
        LVStatusBus::sendStatusMessage(QStringLiteral(""));
        QVERIFY(timer->isActive() && mLabel->text().isEmpty());
        mNow = mNow.addSecs(3600);
        for (const auto &[text, colour] : {std::pair{"first", LVStatusLabel::kStatusColor},
                                           {"\u26A0 second <b>", LVStatusLabel::kErrorColor},
                                           {"", LVStatusLabel::kStatusColor}}) {
            QVERIFY(timer->isActive());
            mLabel->displayMessage();
            QCOMPARE(mLabel->text(), QString::fromUtf8(text));
            QCOMPARE(mLabel->palette().color(QPalette::WindowText), colour);
        }
        QVERIFY(!timer->isActive());
        QCOMPARE(mLog->toPlainText(), logLine("first") + logLine("\u26A0 second <b>"));
        QCOMPARE(logColour(0), LVStatusLabel::kStatusColor);
        QCOMPARE(logColour(1), LVStatusLabel::kErrorColor);
    }

    // One format for the log, the history and the line under the buttons: the log's own under the C
    // and English locales, which scripts read, and the locale's date and time under any other.
    void timesFollowTheLocale_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<lv::TimeDetail>("detail");
        QTest::addColumn<int>("daysLater"); // when the text is made
        QTest::addColumn<QString>("text");
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("C, log") << QLocale::c() << lv::TimeDetail::Seconds << 0 << "2010.11.05 03:07:09 PM";
        QTest::newRow("US, log") << QLocale(QLocale::English, QLocale::UnitedStates) << lv::TimeDetail::Seconds << 0
                                 << "2010.11.05 03:07:09 PM";
        QTest::newRow("British, history") << QLocale(QLocale::English, QLocale::UnitedKingdom)
                                          << lv::TimeDetail::Minutes << 0 << "2010.11.05 03:07 PM";
        QTest::newRow("C, today") << QLocale::c() << lv::TimeDetail::Recent << 0 << "03:07 PM";
        QTest::newRow("C, yesterday") << QLocale::c() << lv::TimeDetail::Recent << 1 << "2010.11.05 03:07 PM";
        QTest::newRow("German, log: four-digit year")
            << german << lv::TimeDetail::Seconds << 0 << "05.11.2010 15:07:09";
        QTest::newRow("German, today") << german << lv::TimeDetail::Recent << 0 << "15:07";
        QTest::newRow("French, history") << QLocale(QLocale::French, QLocale::France) << lv::TimeDetail::Minutes << 0
                                         << "05/11/2010 15:07";
        QTest::newRow("Japanese, log") << QLocale(QLocale::Japanese, QLocale::Japan) << lv::TimeDetail::Seconds << 3
                                       << "2010/11/05 15時07分09秒";
    }
    void timesFollowTheLocale() {
        QFETCH(QLocale, locale);
        QFETCH(lv::TimeDetail, detail);
        QFETCH(int, daysLater);
        QTEST(lv::timeText(mSent, detail, locale, mSent.addDays(daysLater).addSecs(3600)), "text");
    }

    void theRealTimerDrainsTheQueue() {
        mLabel->setClock([] { return QDateTime::currentDateTime(); });
        LVStatusBus::sendStatusMessage(QStringLiteral("one"));
        LVStatusBus::sendStatusMessage(QStringLiteral("two\nlines"));
        QTRY_COMPARE(mLabel->text(), QStringLiteral("two\nlines"));
        QVERIFY(mLog->toPlainText().endsWith(QLatin1String(":  two\nlines\n")));
    }

    void hiddenStatusLineStillLogs() {
        LVStatusBus::sendStatusMessage(QStringLiteral("before"));
        mLabel->displayMessage();
        LVStatusBus::sendStatusMessage(QStringLiteral("waiting"));
        LVStatusBus::sendMessageDisplayOptions(false);
        QCOMPARE(mLabel->text(), QString());
        mLabel->displayMessage();
        QCOMPARE(mLabel->text(), QString());
        QCOMPARE(mLog->toPlainText(), logLine("before") + logLine("waiting"));
        LVStatusBus::sendMessageDisplayOptions(true);
        QCOMPARE(mLabel->text(), QString());
        LVStatusBus::sendErrorMessage(QStringLiteral("after"));
        mLabel->displayMessage();
        QCOMPARE(mLabel->text(), QStringLiteral("\u26A0 after"));
    }

    // In a window 480 wide a long line is cut to fit, whole in its tooltip; made wide enough, the
    // window shows it whole again, and narrowed, cut again.
    void longMessagesAreCutWithTheWholeInTheTooltip_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("cut");
        QTest::newRow("short") << "Validating data…" << false;
        QTest::newRow("two lines, the second long")
            << "----------\n" + QStringLiteral("Uploading the saved variables of account ").repeated(3) << true;
    }

    void longMessagesAreCutWithTheWholeInTheTooltip() {
        QFETCH(QString, message);
        QFETCH(bool, cut);
        QWidget *window = mWorld->window.get();
        window->resize(480, window->height());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        LVStatusBus::sendStatusMessage(message);
        mLabel->displayMessage();
        QCOMPARE(mLabel->message(), message);
        const auto fits = [&] {
            for (const QString &line : mLabel->text().split(QLatin1Char('\n')))
                if (mLabel->fontMetrics().horizontalAdvance(line) > mLabel->contentsRect().width())
                    return false;
            return true;
        };
        QVERIFY(fits());
        QCOMPARE(mLabel->text() != message, cut);
        QVERIFY(mLabel->text().endsWith(QChar(0x2026)));
        QVERIFY(mLabel->text().startsWith(message.left(8)));
        QCOMPARE(mLabel->toolTip(), cut ? message : QString());
        QCOMPARE(mLabel->accessibleName(), message);
        window->resize(2400, window->height());
        QTRY_COMPARE(mLabel->text(), message);
        QVERIFY(mLabel->toolTip().isEmpty());
        window->resize(480, window->height());
        QTRY_COMPARE(mLabel->toolTip(), cut ? message : QString());
        QVERIFY(fits());
    }
};

QTEST_MAIN(TestStatusLabel)
#include "TestStatusLabel.moc"
