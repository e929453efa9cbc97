#include "frame/ChildWindow.h"

#include "frame/MainFrame.h"
#include "frame/ReportActions.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

ChildWindow::ChildWindow(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx(ctx) {}

QMdiSubWindow* ChildWindow::subWindow() const
{
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void ChildWindow::closeWindow()
{
    if (QMdiSubWindow* frame = subWindow())
        frame->close();
    else
        close();
}

void ChildWindow::closeEvent(QCloseEvent* event)
{
    if (!unloaded && !mayClose()) {
        event->ignore();
        return;
    }
    if (!unloaded) {
        unloaded = true;
        closed();
    }
    event->accept();
}

ReportActions* ChildWindow::makeReportActions(const QString& printCaption, const QString& previewCaption)
{
    outputs = new ReportActions(*this, printCaption, previewCaption);
    connect(outputs, &ReportActions::enabledChanged, this, [this] {
        if (ctx.frame)
            ctx.frame->updatePrintCommands();
    });
    return outputs;
}

bool ChildWindow::printsNow() const
{
    return outputs && outputs->isEnabled() && !unloaded;
}
