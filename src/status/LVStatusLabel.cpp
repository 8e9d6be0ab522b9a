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
    setMessage(lv::displayedMessage(item));
}

void LVStatusLabel::setMessage(const QString &message) {
    mMessage = message;
    setAccessibleName(message);
    fitMessage();
}

// Each line of a message is cut to the width on its own.
void LVStatusLabel::fitMessage() {
    const QFontMetrics metrics = fontMetrics();
    const int width = contentsRect().width() - 2 * margin();
    QStringList lines = mMessage.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = metrics.elidedText(line, Qt::ElideRight, width);
    const QString shown = lines.join(QLatin1Char('\n'));
    setText(shown);
    setToolTip(shown == mMessage ? QString() : mMessage);
}

void LVStatusLabel::resizeEvent(QResizeEvent *event) {
    QLabel::resizeEvent(event);
    fitMessage();
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
    const LVStatusItem shown(lv::displayedMessage(item), item.isError(), item.timestamp());
    cursor.insertText(lv::formatLogLine(shown, mStatusDateLocale), format);
    if (followEnd)
        scrollBar->setValue(scrollBar->maximum());
}

void LVStatusLabel::messageDisplayOptionsChangedNotification(bool displayMessages) {
    mDisplayMessages = displayMessages;
    if (!displayMessages)
        setMessage(QString());
}
