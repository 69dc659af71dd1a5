// The windows are built with their Chinese captions; in English, each window
// has its captions looked up once it exists and again whenever it is shown,
// so a window created on demand is translated as well. Texts the program
// composes while it runs (results, hints, messages) are translated where they
// are composed (uiText in core/translation.h).
#pragma once

class QApplication;
class QWidget;

namespace tpworm {

// Every caption, title, button text, tooltip, menu and header of the window
// and its children, in the language in force.
void translateWindow(QWidget* window);

// Translates every window as it is shown, from now on.
void translateWindowsAsShown(QApplication& app);

} // namespace tpworm
