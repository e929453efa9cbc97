#include "frame/TallyWindow.h"

#include "frame/MainFrame.h"

TallyWindow::TallyWindow(AppContext& ctx, bool prints, QWidget* parent) : ChildWindow(ctx, parent)
{
    if (prints)
        makeReportActions(QStringLiteral("印 刷(&P)"), QStringLiteral("ﾌﾟﾚﾋﾞｭｰ(&O)"));
}

void TallyWindow::activated()
{
    if (!ctx.frame)
        return;
    ctx.frame->updatePrintCommands();
    ctx.frame->lockForTally();
}

void TallyWindow::closed()
{
    if (!ctx.frame)
        return;
    ctx.frame->disablePrint();
    ctx.frame->unlockAfterTally();
}
