#include "status/LVStatusBus.h"

LVStatusBus &LVStatusBus::instance() {
    static LVStatusBus bus;
    return bus;
}

void LVStatusBus::sendStatusMessage(const QString &message) {
    if (!message.isNull())
        emit instance().statusMessageChanged(message);
}

void LVStatusBus::sendErrorMessage(const QString &message) {
    if (!message.isNull())
        emit instance().errorMessageChanged(message);
}

void LVStatusBus::sendMessageDisplayOptions(bool displayMessages) {
    emit instance().messageDisplayOptionsChanged(displayMessages);
}

void LVStatusBus::sendVerboseMessage(const QString &message) {
    if (isVerboseLogging())
        sendStatusMessage(message);
}
