// The look shared by every window of the program: the sky-blue background,
// the font, and placing a window in the middle of the screen.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

class QApplication;
class QWidget;

namespace tpworm {

// The windows' background colour (RGB 166, 202, 240).
inline const QColor kSkyBlue(166, 202, 240);

// MS Sans Serif 8 point where it is installed; otherwise the CJK fonts that
// carry the Chinese captions, so that no caption falls back to boxes. At 8
// point WenQuanYi Micro Hei is 13 pixels high, the height of the labels.
QFont programFont();

// Top-left corner of a window of this frame size centred in the available
// area of a screen. A window larger than the area keeps its title bar and
// left edge on the screen instead of being pushed off it.
QPoint centredTopLeft(const QSize& frame, const QRect& available);

// The program's font and the classic style, whose group boxes carry their
// caption on the frame line and keep the window's colour inside; a style
// named in QT_STYLE_OVERRIDE is left in place.
void applyProgramLook(QApplication& application);

// Moves a top-level window to the middle of its screen.
void centreOnScreen(QWidget& window);

// Gives a widget the sky-blue background.
void setSkyBlueBackground(QWidget& widget);

} // namespace tpworm
