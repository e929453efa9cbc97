#include "maintenance/OpenWindows.h"

#include "frame/ChildWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>

QStringList OpenWindows::others(const ChildWindow* self, const QStringList& allowed, const QStringList& only)
{
    QStringList captions;
    QMdiSubWindow* frame = self->subWindow();
    QMdiArea* area = frame ? frame->mdiArea() : nullptr;
    if (!area)
        return captions;
    for (QMdiSubWindow* other : area->subWindowList()) {
        auto* window = qobject_cast<ChildWindow*>(other->widget());
        if (!window || window == self || window->isUnloaded())
            continue;
        const QString className = QString::fromLatin1(window->metaObject()->className());
        if (allowed.contains(className) || (!only.isEmpty() && !only.contains(className)))
            continue;
        captions.append(window->windowTitle());
    }
    return captions;
}
