#include "frame/WindowFit.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRect>

QRect WindowFit::workArea(const QMdiArea& area)
{
    return {QPoint(0, 0), area.maximumViewportSize()};
}

void WindowFit::keepInside(QMdiSubWindow& frame)
{
    if (frame.isMaximized() || frame.isMinimized() || !frame.mdiArea())
        return;
    const QRect area = workArea(*frame.mdiArea());
    const QSize size = frame.size().boundedTo(area.size()).expandedTo(frame.minimumSizeHint());
    const int x = qMax(0, qMin(frame.x(), area.width() - size.width()));
    const int y = qMax(0, qMin(frame.y(), area.height() - size.height()));
    frame.setGeometry(x, y, size.width(), size.height());
}

void WindowFit::keepAllInside(QMdiArea& area)
{
    const auto frames = area.subWindowList();
    for (QMdiSubWindow* frame : frames)
        keepInside(*frame);
}
