// The window's menu "三维模型": the worm, the wheel rim or the pair in mesh
// as a STEP file (model/occt), through the save dialog seam. Enabled while a
// calculated design is on the screen, as the drawing menu is.
#pragma once

#include <QObject>

namespace tpworm {

class TForm1;

// Creates the menu on the window (called once from its menu step).
QObject* createModelCommands(TForm1& form);

} // namespace tpworm
