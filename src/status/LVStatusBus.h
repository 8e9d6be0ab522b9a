#pragma once

#include <QObject>

// The process-wide channel of status and error messages. Delivery is synchronous: when a send
// returns, every listener has already taken the message.
class LVStatusBus : public QObject {
    Q_OBJECT
public:
    static LVStatusBus &instance();

    // A null message is dropped; an empty one is delivered (it blanks the status line).
    static void sendStatusMessage(const QString &message);
    static void sendErrorMessage(const QString &message);
    // Whether the status line shows messages; the log is written either way.
    static void sendMessageDisplayOptions(bool displayMessages);

    // The extra progress messages of verbose mode, read from the settings once at start-up: a
    // verbose message is a status message sent only while verbose mode is on.
    static void setVerboseLogging(bool verbose) { instance().mVerboseLogging = verbose; }
    static bool isVerboseLogging() { return instance().mVerboseLogging; }
    static void sendVerboseMessage(const QString &message);

signals:
    void statusMessageChanged(const QString &message);
    void errorMessageChanged(const QString &message);
    void messageDisplayOptionsChanged(bool displayMessages);

private:
    LVStatusBus() = default;

    bool mVerboseLogging = false;
};
