#include "frame/ChildWindow.h"

#include "frame/MainFrame.h"
#include "frame/ReportActions.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QShortcut>

#include <algorithm>

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

QKeySequence ChildWindow::closeKey()
{
    return QKeySequence(Qt::CTRL | Qt::Key_F4);
}

// Ctrl+F4 is a shortcut of the window, so that no control inside it takes the key
// for itself (a combo box opens its list on F4), unless one of the window's own
// commands has it (出欠's 終了).
void ChildWindow::claimCloseKey()
{
    const auto actions = findChildren<QAction*>();
    const bool commandHasIt = std::any_of(actions.cbegin(), actions.cend(),
                                          [](const QAction* action) { return action->shortcuts().contains(closeKey()); });
    if (!commandHasIt && !findChild<QShortcut*>(QStringLiteral("closeKeyShortcut"))) {
        auto* shortcut = new QShortcut(closeKey(), this);
        shortcut->setObjectName(QStringLiteral("closeKeyShortcut"));
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, &ChildWindow::closeByKey);
    }
    QMdiSubWindow* frame = subWindow();
    if (!frame || !frame->systemMenu())
        return;
    for (QAction* action : frame->systemMenu()->actions()) {
        QList<QKeySequence> keys = action->shortcuts();
        if (keys.removeAll(closeKey()) > 0)
            action->setShortcuts(keys);
    }
}

// Reached only by a key no control of the window took for itself.
void ChildWindow::keyPressEvent(QKeyEvent* event)
{
    const QKeyCombination key = event->keyCombination();
    const bool escape = key == QKeyCombination(Qt::Key_Escape) || key == QKeyCombination(Qt::KeypadModifier, Qt::Key_Escape);
    if (escape || QKeySequence(key) == closeKey()) {
        event->accept();
        closeByKey();
        return;
    }
    QWidget::keyPressEvent(event);
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
