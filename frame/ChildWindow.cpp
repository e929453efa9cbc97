#include "frame/ChildWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

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

namespace {
bool hasMnemonic(const QString& caption, QChar key)
{
    const int at = caption.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < caption.size() && caption.at(at + 1).toUpper() == key.toUpper();
}
}  // namespace

bool ChildWindow::triggerMnemonic(QChar key)
{
    const auto buttons = findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons)
        if (button->isVisible() && button->isEnabled() && hasMnemonic(button->text(), key)) {
            button->click();
            return true;
        }
    const auto menus = findChildren<QMenu*>();
    for (QMenu* menu : menus)
        for (QAction* action : menu->actions())
            if (action->isEnabled() && !action->menu() && hasMnemonic(action->text(), key)) {
                action->trigger();
                return true;
            }
    return false;
}
