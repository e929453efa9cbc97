#pragma once
// Tool-bar pictures of one size. A style's standard pictures come in different
// sizes (some only at 16 × 16); a tool button draws a smaller one smaller and puts
// its caption higher, so the captions of a bar no longer stand on one line. An icon
// made here has its picture at exactly the bar's size.

#include <QIcon>
#include <QSize>
#include <QStyle>

namespace ToolbarIcon {
// `icon`'s picture scaled, where it is smaller or larger, to fill `size` (its shape
// kept, centred).
QIcon sized(const QIcon& icon, const QSize& size);

// The picture Qt's own styles draw for `which`, at `size`. Where Qt keeps that
// picture as a file of its own it is read from there directly: asking the
// style first looks the picture up in the desktop's icon theme, which reads the
// theme's folders (about 3 ms at start-up, before the window can appear) and gives
// other pictures on every desktop than the ones the manual shows. The others come
// from `style`.
QIcon standard(QStyle::StandardPixmap which, const QStyle& style, const QSize& size);

// The pictures of printing and of the preview, from Qt's print support (the
// pictures of its preview window's own buttons): a printer, and a page under a
// magnifying glass. Null when Qt's print support has no such picture.
QIcon printer(const QSize& size);
QIcon preview(const QSize& size);
}
