#include "maintenance/OpenWindows.h"

#include "frame/ChildWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>

QStringList OpenWindows::captions(const ChildWindow* self, const std::function<bool(const ChildWindow&)>& counts)
{
    QStringList captions;
    QMdiSubWindow* frame = self->subWindow();
    QMdiArea* area = frame ? frame->mdiArea() : nullptr;
    if (!area)
        return captions;
    for (QMdiSubWindow* other : area->subWindowList()) {
        const auto* window = qobject_cast<const ChildWindow*>(other->widget());
        if (window && window != self && !window->isUnloaded() && counts(*window))
            captions.append(window->windowTitle());
    }
    return captions;
}
