#include "app/LVApplicationDelegate.h"
#include "status/LVStatusBus.h"

void LVApplicationDelegate::sendStatusMessage(const QString &message) const {
    LVStatusBus::sendStatusMessage(message);
}

void LVApplicationDelegate::sendErrorMessage(const QString &message) const {
    LVStatusBus::sendErrorMessage(message);
}
