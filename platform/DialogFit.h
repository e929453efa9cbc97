#pragma once
// Dialogs that fit a laptop's screen and show their whole title. A window manager
// cuts a title that is wider than the window; and a dialog that asks for more than
// the screen (the print preview wants a page at full height) reaches past the
// taskbar with its buttons.

#include <QRect>

class QWidget;

namespace DialogFit {
// The room a title bar takes beside the title: the window's icon and its buttons.
constexpr int TitleBarButtons = 140;
// The height of the title bar above a dialog.
constexpr int TitleBarHeight = 32;

// The geometry (without the frame) of a dialog that wants `wanted` on a screen
// whose free part is `free`: as large as wanted where it fits, else as large as the
// free part allows below a title bar, centred in it.
QRect placeWithin(const QSize& wanted, const QRect& free);
// The free part of the screen the dialog opens on (that of its owner).
QRect freeScreen(const QWidget& dialog);
// Widens the dialog, where needed, so that its title is shown whole.
void showWholeTitle(QWidget& dialog);
}  // namespace DialogFit
