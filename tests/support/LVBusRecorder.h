#pragma once

#include "status/LVStatusBus.h"

#include <QStringList>

// Records what is said on the status bus while it lives, in order: `messages` holds both kinds,
// errors prefixed with "error: ".
class LVBusRecorder : public QObject {
public:
    LVBusRecorder() {
        connect(&LVStatusBus::instance(), &LVStatusBus::statusMessageChanged, this,
                [this](const QString &message) { messages << message; });
        connect(&LVStatusBus::instance(), &LVStatusBus::errorMessageChanged, this,
                [this](const QString &message) { messages << kErrorPrefix + message; });
    }

    QStringList statusMessages() const { return only(false); }
    QStringList errorMessages() const { return only(true); }

    QStringList messages;

private:
    static constexpr QLatin1StringView kErrorPrefix{"error: "};

    QStringList only(bool errors) const {
        QStringList found;
        for (const QString &message : messages)
            if (message.startsWith(kErrorPrefix) == errors)
                found << (errors ? message.mid(kErrorPrefix.size()) : message);
        return found;
    }
};
