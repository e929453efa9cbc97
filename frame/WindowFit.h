#pragma once
// Child windows that fit the main window's work area. A window opens at the size
// its contents ask for; on a small screen (a 1366 × 768 laptop with a taskbar) that
// can reach past the bottom of the area, hiding the window's buttons. keepInside
// shrinks such a window to the area, never below the smallest size its layout
// allows (its grids and lists scroll inside instead), and moves it back so that
// none of it lies past the right or bottom edge.

class QMdiArea;
class QMdiSubWindow;
class QRect;

namespace WindowFit {
// The part of the area child windows may take: its viewport without scroll bars.
QRect workArea(const QMdiArea& area);
// Fits one child window; a maximised or minimised window is left as it is.
void keepInside(QMdiSubWindow& frame);
// Fits every child window of the area (after cascading, which gives each window the
// size its contents ask for).
void keepAllInside(QMdiArea& area);
}  // namespace WindowFit
