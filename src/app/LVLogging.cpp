#include "app/LVLogging.h"

Q_LOGGING_CATEGORY(lcApp, "lorvane.app")
Q_LOGGING_CATEGORY(lcSettings, "lorvane.settings")
Q_LOGGING_CATEGORY(lcStatus, "lorvane.status")
Q_LOGGING_CATEGORY(lcAuth, "lorvane.auth")
Q_LOGGING_CATEGORY(lcGame, "lorvane.game")
Q_LOGGING_CATEGORY(lcUpload, "lorvane.upload")
Q_LOGGING_CATEGORY(lcNet, "lorvane.net")
Q_LOGGING_CATEGORY(lcPlatform, "lorvane.platform")
