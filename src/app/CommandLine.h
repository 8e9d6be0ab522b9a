#pragma once

#include <QStringList>

namespace lv {

// The command line's options, by their long names.
inline const QString kUploadOption = QStringLiteral("upload");
inline const QString kSignInOption = QStringLiteral("sign-in");
inline const QString kWaitOption = QStringLiteral("wait");
inline const QString kMinimizedOption = QStringLiteral("minimized");
inline const QString kHistoryOption = QStringLiteral("history");
inline const QString kJsonOption = QStringLiteral("json");
inline const QString kInstallsOption = QStringLiteral("installs");
inline const QString kLaunchOption = QStringLiteral("launch");

// Why the options given, in the order given, and the arguments cannot go together: two things to do at
// once, an option without the one it goes with, an argument where none is taken. Null when they can.
QString optionsProblem(const QStringList &options, const QStringList &arguments);

} // namespace lv
