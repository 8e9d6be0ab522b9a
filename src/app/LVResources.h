#pragma once

#include <QString>

namespace lv {

// The folder of the program's resources: next to an installed program, else the source tree's.
QString defaultResourceFolder();

// The file that lets one upload run at a time among the user's processes, in the user's runtime folder.
QString defaultRunLockPath();

} // namespace lv
