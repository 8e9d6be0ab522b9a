#pragma once

#include <QString>

class LVApplicationDelegate;
class LVSettings;
class LVWorkspace;

namespace lv {

// Prints every install the Options sheet would list, where each came from, whether it is checked
// and the command Launch would run for it: a few lines each, or JSON for scripts. 0.
int printInstalls(LVApplicationDelegate &delegate, LVSettings &settings, LVWorkspace &workspace, bool json);

// Starts the first checked install, or the install of that game program, as Launch does, and waits
// until its game runs: 0 then, or when it runs already; 1 when it could not be started or did not
// start the game, the message saying why.
int runHeadlessLaunch(LVApplicationDelegate &delegate, const QString &program = QString());

} // namespace lv
