#pragma once
// The other windows open beside a window in the main window's frame. Roster and
// test maintenance rewrite files that those windows hold in memory, so they ask
// for the windows to be closed first.

#include <QStringList>

#include <functional>

class ChildWindow;

namespace OpenWindows {
// Captions of the open windows other than `self` for which `counts` holds.
QStringList captions(const ChildWindow* self, const std::function<bool(const ChildWindow&)>& counts);
}
