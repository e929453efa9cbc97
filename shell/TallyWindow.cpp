#include "shell/TallyWindow.h"

#include "shell/MainFrame.h"

TallyWindow::TallyWindow(AppContext& ctx, bool prints, QWidget* parent) : ChildWindow(ctx, parent), prints(prints) {}

void TallyWindow::Form_Activate()
{
    if (!ctx.frame)
        return;
    if (prints)
        ctx.frame->EnablePrint();
    else
        ctx.frame->DisablePrint();
    ctx.frame->LockForTally();
}

void TallyWindow::Form_Unload()
{
    if (!ctx.frame)
        return;
    ctx.frame->DisablePrint();
    ctx.frame->UnlockAfterTally();
}
