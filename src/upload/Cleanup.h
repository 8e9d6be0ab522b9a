#pragma once

#include <QStringList>

namespace lv {

// Puts every restore copy (a path ending in ".rename") back over its file in one rename and removes
// every other file, in the list's order, then empties the list. Failures go to the system log only.
void cleanupFiles(QStringList &files);

} // namespace lv
