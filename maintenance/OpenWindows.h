#pragma once
// The other windows open beside a window in the main window's frame. Roster and
// test maintenance rewrite files that those windows hold in memory, so they ask
// for the windows to be closed first.

#include <QStringList>

class ChildWindow;

namespace OpenWindows {
// Captions of the open windows other than `self` whose class is not in `allowed`
// (class names such as "TestMente") and, when `only` is not empty, is in `only`.
QStringList others(const ChildWindow* self, const QStringList& allowed, const QStringList& only = {});
}
