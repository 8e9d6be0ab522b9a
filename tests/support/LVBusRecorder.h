#pragma once

#include "status/LVStatusBus.h"

#include <QStringList>

// Records what is said on the status bus, in order: status messages as they are, error messages
// prefixed with "error: ".
class LVBusRecorder : public QObject {
public:
    LVBusRecorder() {
        connect(&LVStatusBus::instance(), &LVStatusBus::statusMessageChanged, this,
                [this](const QString &message) { messages << message; });
        connect(&LVStatusBus::instance(), &LVStatusBus::errorMessageChanged, this,
                [this](const QString &message) { messages << QStringLiteral("error: ") + message; });
    }

    QStringList errors() const {
        QStringList found;
        for (const QString &message : messages)
            if (message.startsWith(QLatin1String("error: ")))
                found << message;
        return found;
    }

    QStringList messages;
};
