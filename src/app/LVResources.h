#pragma once

#include <QString>

// The folder of the program's resources: next to an installed program, else the source tree's.
QString defaultResourceFolder();
