#include "platform/LVLinuxSystemEvents.h"

#include <QDBusConnection>
#include <QNetworkInformation>

namespace {

bool isOnline(QNetworkInformation::Reachability reachability) {
    return reachability == QNetworkInformation::Reachability::Online;
}

} // namespace

LVLinuxSystemEvents::LVLinuxSystemEvents(QObject *parent)
    : LVSystemEvents(parent) {
    followNetwork();
    followSleep();
}

void LVLinuxSystemEvents::followNetwork() {
    // Without a backend the network coming back goes unnoticed, and the back-off alone brings the next try.
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return;
    QNetworkInformation *information = QNetworkInformation::instance();
    mOnline = isOnline(information->reachability());
    connect(information, &QNetworkInformation::reachabilityChanged, this,
            [this](QNetworkInformation::Reachability reachability) {
                const bool wasOnline = std::exchange(mOnline, isOnline(reachability));
                if (mOnline && !wasOnline)
                    emit networkReachable();
            });
}

// Without logind (or a system bus) waking goes unnoticed, and the back-off alone brings the next try.
void LVLinuxSystemEvents::followSleep() {
    QDBusConnection::systemBus().connect(QStringLiteral("org.freedesktop.login1"),
                                         QStringLiteral("/org/freedesktop/login1"),
                                         QStringLiteral("org.freedesktop.login1.Manager"),
                                         QStringLiteral("PrepareForSleep"), this, SLOT(prepareForSleep(bool)));
}

void LVLinuxSystemEvents::prepareForSleep(bool goingToSleep) {
    if (!goingToSleep)
        emit resumed();
}
