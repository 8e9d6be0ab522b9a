#pragma once

#include <QLoggingCategory>

// One category per subsystem, for what goes to the system log rather than to the status line. Each is
// defined in the file of the subsystem that logs most through it.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcAuth)
Q_DECLARE_LOGGING_CATEGORY(lcGame)
Q_DECLARE_LOGGING_CATEGORY(lcUpload)
Q_DECLARE_LOGGING_CATEGORY(lcFiles)
