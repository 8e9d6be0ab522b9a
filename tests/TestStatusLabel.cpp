#include "LVTestWorld.h"
#include "app/LVMainWindow.h"
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
    std::unique_ptr<LVMainWindow> mWindow;
    LVStatusLabel *mLabel = nullptr;
    QTextEdit *mLog = nullptr;
    QDateTime mNow;

    QColor labelColour() const { return mLabel->palette().color(QPalette::WindowText); }
    QStringList logLines() const {
        QStringList lines = mLog->toPlainText().split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    QColor logColourOfLine(int line) const {
        QTextCursor cursor(mLog->document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::NextCharacter);
        return cursor.charFormat().foreground().color();
    }
    QString logLine(const QString &message) const {
        return formatLogTime(mNow, QLocale::system()) + QStringLiteral(":  ") + message;
    }

private slots:
    void init() {
        mWorld = std::make_unique<LVTestWorld>();
        mWindow = std::make_unique<LVMainWindow>();
        mWindow->connectTo(mWorld->makeDelegate());
        mLabel = mWindow->findChild<LVStatusLabel *>(QStringLiteral("statusLabel"));
        mLog = mWindow->findChild<QTextEdit *>(QStringLiteral("statusText"));
        mNow = QDateTime(QDate(2010, 11, 5), QTime(15, 7, 9));
        mLabel->setClock([this] { return mNow; });
    }

    void cleanup() {
        mWindow.reset();
        mWorld.reset();
    }

    void messagesAreShownOneAtATimeInTheOrderSent() {
        const QTimer *timer = mLabel->findChild<QTimer *>(QStringLiteral("displayTimer"));
        QVERIFY(timer && timer->isSingleShot());
        QCOMPARE(timer->interval(), 660);

        LVStatusBus::sendStatusMessage(QStringLiteral("first"));
        QVERIFY(timer->isActive());
        LVStatusBus::sendErrorMessage(QStringLiteral("second"));
        LVStatusBus::sendStatusMessage(QStringLiteral("third"));
        QCOMPARE(mLabel->text(), QString());
        QCOMPARE(mLabel->queuedMessageCount(), 3);

        const QStringList expected{QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")};
        const QList<QColor> colours{LVStatusLabel::kStatusColor, LVStatusLabel::kErrorColor,
                                    LVStatusLabel::kStatusColor};
        for (int i = 0; i < expected.size(); ++i) {
            mLabel->displayMessage();
            QCOMPARE(mLabel->text(), expected.at(i));
            QCOMPARE(labelColour(), colours.at(i));
            QCOMPARE(logColourOfLine(i), colours.at(i));
            QCOMPARE(timer->isActive(), i < expected.size() - 1);
        }
        QCOMPARE(logLines(), (QStringList{logLine("first"), logLine("second"), logLine("third")}));
    }

    void theRealTimerDrainsTheQueue() {
        LVStatusBus::sendStatusMessage(QStringLiteral("one"));
        LVStatusBus::sendStatusMessage(QStringLiteral("two"));
        QTRY_COMPARE(mLabel->text(), QStringLiteral("two"));
        QVERIFY(!mLabel->isDisplayPending());
    }

    void logLineCarriesTheTimeOfSending() {
        LVStatusBus::sendStatusMessage(QStringLiteral("sent at three"));
        mNow = mNow.addSecs(3600);
        mLabel->displayMessage();
        QCOMPARE(mLog->toPlainText(), formatLogTime(QDateTime(QDate(2010, 11, 5), QTime(15, 7, 9)), QLocale::system()) +
                                          QStringLiteral(":  sent at three\n"));
        QCOMPARE(formatLogTime(QDateTime(QDate(2010, 11, 5), QTime(15, 7, 9)), QLocale(QLocale::English)),
                 QStringLiteral("2010.11.05 03:07:09 PM"));
        QCOMPARE(formatLogTime(QDateTime(QDate(2010, 11, 5), QTime(0, 30, 0)), QLocale(QLocale::English)),
                 QStringLiteral("2010.11.05 12:30:00 AM"));
    }

    void emptyMessageBlanksTheLineWithoutALogLine() {
        LVStatusBus::sendErrorMessage(QStringLiteral("shown"));
        LVStatusBus::sendStatusMessage(QStringLiteral(""));
        mLabel->displayMessage();
        QCOMPARE(mLabel->text(), QStringLiteral("shown"));
        mLabel->displayMessage();
        QCOMPARE(mLabel->text(), QString());
        QCOMPARE(logLines(), QStringList{logLine("shown")});
    }

    void nullMessageIsDropped() {
        LVStatusBus::sendStatusMessage(QString());
        LVStatusBus::sendErrorMessage(QString());
        QCOMPARE(mLabel->queuedMessageCount(), 0);
        QVERIFY(!mLabel->isDisplayPending());
    }

    void multiLineAndMarkupPassThroughUnchanged() {
        const QString message = QStringLiteral("----------\nUsing account <b>ALPHA</b>");
        LVStatusBus::sendStatusMessage(message);
        mLabel->displayMessage();
        QCOMPARE(mLabel->text(), message);
        QCOMPARE(mLog->toPlainText(), logLine(message) + QLatin1Char('\n'));
    }

    void hiddenStatusLineStillLogs() {
        LVStatusBus::sendStatusMessage(QStringLiteral("before"));
        mLabel->displayMessage();
        LVStatusBus::sendStatusMessage(QStringLiteral("waiting"));

        LVStatusBus::sendMessageDisplayOptions(false);
        QCOMPARE(mLabel->text(), QString());
        mLabel->displayMessage();
        QCOMPARE(mLabel->text(), QString());
        QCOMPARE(logLines(), (QStringList{logLine("before"), logLine("waiting")}));

        LVStatusBus::sendMessageDisplayOptions(true);
        QCOMPARE(mLabel->text(), QString());
        LVStatusBus::sendErrorMessage(QStringLiteral("after"));
        mLabel->displayMessage();
        QCOMPARE(mLabel->text(), QStringLiteral("after"));
    }
};

QTEST_MAIN(TestStatusLabel)
#include "TestStatusLabel.moc"
