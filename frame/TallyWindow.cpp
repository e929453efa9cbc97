#include "frame/TallyWindow.h"

#include "frame/MainFrame.h"

TallyWindow::TallyWindow(AppContext& ctx, bool prints, QWidget* parent) : ChildWindow(ctx, parent), prints(prints) {}

void TallyWindow::activated()
{
    if (!ctx.frame)
        return;
    if (prints)
        ctx.frame->enablePrint();
    else
        ctx.frame->disablePrint();
    ctx.frame->lockForTally();
}

void TallyWindow::closed()
{
    if (!ctx.frame)
        return;
    ctx.frame->disablePrint();
    ctx.frame->unlockAfterTally();
}
