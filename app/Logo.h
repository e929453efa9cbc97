#pragma once
// The program's logo: three waves under the character 風, for the title window and
// the window icon.

#include <QPixmap>

namespace Logo {
QPixmap pixmap();
}
