#pragma once
// Tool-bar pictures of one size. A style's standard pictures come in different
// sizes (some only at 16 × 16); a tool button draws a smaller one smaller and puts
// its caption higher, so the captions of a bar no longer stand on one line. An icon
// made here has its picture at exactly the bar's size.

#include <QIcon>
#include <QSize>

namespace ToolbarIcon {
// `icon`'s picture scaled, where it is smaller or larger, to fill `size` (its shape
// kept, centred).
QIcon sized(const QIcon& icon, const QSize& size);
}
