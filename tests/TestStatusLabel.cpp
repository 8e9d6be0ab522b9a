#include "LVTestWorld.h"
#include "status/LVStatusBus.h"
#include "status/LVStatusLabel.h"

#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

// The status line and its log, driven through the status bus. The display timer's firing is
// simulated by calling displayMessage(), so the pace is checked without waiting for it.
class TestStatusLabel : public QObject {
    Q_OBJECT

    std::unique_ptr<LVTestWorld> mWorld;
    LVStatusLabel *mLabel = nullptr;
    QTextEdit *mLog = nullptr;
    const QDateTime mSent = QDateTime(QDate(2010, 11, 5), QTime(15, 7, 9));
    QDateTime mNow;

    QColor labelColour() const { return mLabel->palette().color(QPalette::WindowText); }
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

    void messagesAreShownOneAtATimeInTheOrderSent() {
        const QTimer *timer = mLabel->findChild<QTimer *>(QStringLiteral("displayTimer"));
        QCOMPARE(timer->interval(), 660);
        LVStatusBus::sendStatusMessage(QString()); // dropped
        LVStatusBus::sendStatusMessage(QStringLiteral("first"));
        LVStatusBus::sendErrorMessage(QStringLiteral("second <b>"));
        LVStatusBus::sendStatusMessage(QStringLiteral(""));
        QVERIFY(timer->isActive() && mLabel->text().isEmpty());
        mNow = mNow.addSecs(3600); // shown later; logged with the time it was sent

        const QStringList shown{"first", "\u26A0 second <b>", ""};
        const QList<QColor> colours{LVStatusLabel::kStatusColor, LVStatusLabel::kErrorColor,
                                    LVStatusLabel::kStatusColor};
        for (int i = 0; i < shown.size(); ++i) {
            QVERIFY(timer->isActive());
            mLabel->displayMessage();
            QCOMPARE(mLabel->text(), shown.at(i));
            QCOMPARE(labelColour(), colours.at(i));
        }
        QVERIFY(!timer->isActive());
        // An error stands out without its colour: a warning sign before its message, in the line and the log.
        QCOMPARE(mLog->toPlainText(), logLine("first") + logLine("\u26A0 second <b>"));
        QCOMPARE(logColour(0), LVStatusLabel::kStatusColor);
        QCOMPARE(logColour(1), LVStatusLabel::kErrorColor);
        QCOMPARE(lv::formatLogTime(mSent, QLocale(QLocale::English)), QStringLiteral("2010.11.05 03:07:09 PM"));
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

    void longMessagesAreCutWithTheWholeInTheTooltip_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("isError");
        QTest::addColumn<QString>("shown"); // whole, as the line shows it when wide enough
        QTest::addColumn<bool>("cut");      // in a window 480 wide
        const QString longText = QStringLiteral("Uploading the saved variables of account ").repeated(3);
        QTest::newRow("short") << "Validating data…" << false << "Validating data…" << false;
        QTest::newRow("long error") << longText << true << "\u26A0 " + longText << true;
        QTest::newRow("two lines, the second long")
            << "----------\n" + longText << false << "----------\n" + longText << true;
    }

    void longMessagesAreCutWithTheWholeInTheTooltip() {
        QFETCH(QString, message);
        QFETCH(bool, isError);
        QFETCH(QString, shown);
        QFETCH(bool, cut);
        QWidget *window = mWorld->window.get();
        window->resize(480, window->height());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        isError ? LVStatusBus::sendErrorMessage(message) : LVStatusBus::sendStatusMessage(message);
        mLabel->displayMessage();
        QCOMPARE(mLabel->message(), shown);
        const QFontMetrics metrics = mLabel->fontMetrics();
        const auto fits = [&] {
            for (const QString &line : mLabel->text().split(QLatin1Char('\n')))
                if (metrics.horizontalAdvance(line) > mLabel->contentsRect().width())
                    return false;
            return true;
        };
        QVERIFY(fits());
        QCOMPARE(mLabel->text() != shown, cut);
        QCOMPARE(mLabel->text().endsWith(QChar(0x2026)), cut || shown.endsWith(QChar(0x2026)));
        QVERIFY(mLabel->text().startsWith(shown.left(8)));
        QCOMPARE(mLabel->toolTip(), cut ? shown : QString());
        QCOMPARE(mLabel->accessibleName(), shown);

        // Made wide enough, the window shows it whole again; narrowed, cut again.
        window->resize(2400, window->height());
        QTRY_COMPARE(mLabel->text(), shown);
        QVERIFY(mLabel->toolTip().isEmpty());
        window->resize(480, window->height());
        QTRY_COMPARE(mLabel->toolTip(), cut ? shown : QString());
        QVERIFY(fits());
    }
};

QTEST_MAIN(TestStatusLabel)
#include "TestStatusLabel.moc"
