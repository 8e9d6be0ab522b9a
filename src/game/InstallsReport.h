#pragma once

#include "platform/GameInstallations.h"
#include "platform/LaunchCommand.h"

#include <QByteArray>
#include <QList>
#include <QString>

class LVGameInstalls;
class LVSettings;
class LVWorkspace;

// One install as a bug report needs it: where it came from, whether it is checked, and what Launch
// would run for it.
struct LVInstallReport {
    LVGameInstallation install;
    bool checked = false;
    LVLaunchCommand command; // an empty program when nothing can start it
    QString commandError;    // why, then

    bool operator==(const LVInstallReport &) const = default;
};

namespace lv {

// Every install the Options sheet lists, in its order.
QList<LVInstallReport> installReports(const LVSettings &settings, LVGameInstalls &installs,
                                      const LVWorkspace &workspace);

// The reports as a JSON array of objects, for scripts.
QByteArray installsJson(const QList<LVInstallReport> &reports);
// The reports as people read them, a few lines each.
QString installsText(const QList<LVInstallReport> &reports);

} // namespace lv
