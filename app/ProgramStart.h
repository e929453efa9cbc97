#pragma once
// What the program sets on Qt before its first window: its names, its font and
// window icon, and Qt's own texts in Japanese. The start-up benchmark starts the
// same way.

class QApplication;

namespace ProgramStart {
void prepare(QApplication& app);
}
