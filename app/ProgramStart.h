#pragma once
// What the program sets on Qt before its first window: its names, its font and
// window icon, and Qt's own texts in Japanese. The start-up benchmark starts the
// same way.

class QApplication;
class QFont;

namespace ProgramStart {
// The font of every window: IPAex Gothic, and where it has no glyph for a character
// (one outside code page 932) Noto Sans CJK.
QFont screenFont();
void prepare(QApplication& app);
}
