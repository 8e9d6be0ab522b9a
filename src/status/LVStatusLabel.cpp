#include "status/LVStatusLabel.h"

#include "status/LVStatusBus.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

const QColor LVStatusLabel::kStatusColor = QColor(255, 255, 255);
const QColor LVStatusLabel::kErrorColor = QColor(255, 0, 0);

LVStatusLabel::LVStatusLabel(QWidget *parent)
    : QLabel(parent)
    , mTimer(this)
    , mClock([] { return QDateTime::currentDateTime(); }) {
    // Messages are plain text: a sender's "<" must never turn into markup.
    setTextFormat(Qt::PlainText);
    mTimer.setObjectName(QStringLiteral("displayTimer"));
    mTimer.setSingleShot(true);
    mTimer.setInterval(kDisplayIntervalMs);
    connect(&mTimer, &QTimer::timeout, this, &LVStatusLabel::displayMessage);
}

void LVStatusLabel::awakeFromNib(QTextEdit *statusText) {
    mStatusText = statusText;
    mDisplayMessages = true;
    mMessages.clear();
    const LVStatusBus &bus = LVStatusBus::instance();
    connect(&bus, &LVStatusBus::statusMessageChanged, this, &LVStatusLabel::statusMessageChangedNotification,
            Qt::UniqueConnection);
    connect(&bus, &LVStatusBus::errorMessageChanged, this, &LVStatusLabel::errorMessageChangedNotification,
            Qt::UniqueConnection);
    connect(&bus, &LVStatusBus::messageDisplayOptionsChanged, this,
            &LVStatusLabel::messageDisplayOptionsChangedNotification, Qt::UniqueConnection);
    mStatusDateLocale = QLocale::system();
}

void LVStatusLabel::statusMessageChangedNotification(const QString &message) {
    enqueue(message, false);
}

void LVStatusLabel::errorMessageChangedNotification(const QString &message) {
    enqueue(message, true);
}

void LVStatusLabel::enqueue(const QString &message, bool isError) {
    mMessages.append(LVStatusItem(message, isError, mClock()));
    if (!mTimer.isActive())
        mTimer.start();
}

void LVStatusLabel::displayMessage() {
    mTimer.stop();
    if (!mMessages.isEmpty()) {
        const LVStatusItem item = mMessages.takeFirst();
        if (mDisplayMessages)
            show(item);
        if (!item.message().isEmpty())
            appendToLog(item);
    }
    if (!mMessages.isEmpty())
        mTimer.start();
}

void LVStatusLabel::show(const LVStatusItem &item) {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, item.isError() ? kErrorColor : kStatusColor);
    setPalette(colours);
    setText(item.message());
}

void LVStatusLabel::appendToLog(const LVStatusItem &item) {
    if (!mStatusText)
        return;
    QScrollBar *scrollBar = mStatusText->verticalScrollBar();
    const bool followEnd = scrollBar->value() == scrollBar->maximum();
    QTextCharFormat format;
    format.setForeground(item.isError() ? kErrorColor : kStatusColor);
    QTextCursor cursor(mStatusText->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(lv::formatLogLine(item, mStatusDateLocale), format);
    if (followEnd)
        scrollBar->setValue(scrollBar->maximum());
}

void LVStatusLabel::messageDisplayOptionsChangedNotification(bool displayMessages) {
    mDisplayMessages = displayMessages;
    if (!displayMessages)
        setText(QString());
}
