#pragma once

#include "status/LVStatusItem.h"

#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QTimer>

#include <functional>

class QTextEdit;

// The status line. Messages from the status bus wait in a queue and are shown one every 0.66 s in
// the order sent, errors in red behind a warning sign and the rest in white; every non-empty one is
// also appended to the log view with the time it was sent. A message wider than the line is cut
// with an ellipsis, the whole of it in the tooltip.
class LVStatusLabel : public QLabel {
    Q_OBJECT
public:
    static constexpr int kDisplayIntervalMs = 660;
    static const QColor kStatusColor;
    static const QColor kErrorColor;

    explicit LVStatusLabel(QWidget *parent = nullptr);

    // Takes the log view (none: messages are only shown) and starts listening to the status bus.
    void awakeFromNib(QTextEdit *statusText);
    // Where the time stamps come from; the system clock unless a test sets another.
    void setClock(std::function<QDateTime()> clock) { mClock = std::move(clock); }

    bool displaysMessages() const { return mDisplayMessages; }
    qsizetype queuedMessageCount() const { return mMessages.size(); }
    bool isDisplayPending() const { return mTimer.isActive(); }
    // The message shown, whole: the text shown may be cut to fit.
    const QString &message() const { return mMessage; }

public slots:
    void displayMessage();
    void messageDisplayOptionsChangedNotification(bool displayMessages);
    void statusMessageChangedNotification(const QString &message);
    void errorMessageChangedNotification(const QString &message);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void enqueue(const QString &message, bool isError);
    void show(const LVStatusItem &item);
    void setMessage(const QString &message);
    void fitMessage();
    void appendToLog(const LVStatusItem &item);

    QList<LVStatusItem> mMessages;
    QString mMessage;
    bool mDisplayMessages = true;
    QPointer<QTextEdit> mStatusText;
    QLocale mStatusDateLocale;
    QTimer mTimer;
    std::function<QDateTime()> mClock;
};
