#pragma once

#include <QPalette>

namespace lv {

// The colours of the window, its sheets and every other window of the client: light text on the night
// sky of the picture.
QPalette windowPalette();

// Gives the whole application the window's colours, and check boxes that stand out in them: the
// sheets, the History, dialogs and the tray's menu then look like the window whatever the desktop's
// theme. Harmless when called again.
void applyWindowLook();

} // namespace lv
