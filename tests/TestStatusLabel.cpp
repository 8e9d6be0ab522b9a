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

        const QStringList shown{"first", "second <b>", ""};
        const QList<QColor> colours{LVStatusLabel::kStatusColor, LVStatusLabel::kErrorColor,
                                    LVStatusLabel::kStatusColor};
        for (int i = 0; i < shown.size(); ++i) {
            QVERIFY(timer->isActive());
            mLabel->displayMessage();
            QCOMPARE(mLabel->text(), shown.at(i));
            QCOMPARE(labelColour(), colours.at(i));
        }
        QVERIFY(!timer->isActive());
        QCOMPARE(mLog->toPlainText(), logLine("first") + logLine("second <b>"));
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
        QCOMPARE(mLabel->text(), QStringLiteral("after"));
    }
};

QTEST_MAIN(TestStatusLabel)
#include "TestStatusLabel.moc"
