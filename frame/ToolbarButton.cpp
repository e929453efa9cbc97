#include "frame/ToolbarButton.h"

#include <QActionEvent>
#include <QToolBar>

ToolbarButton::ToolbarButton(QToolBar& bar, QAction* action, const QIcon& picture)
    : QToolButton(&bar), picture(picture)
{
    // As QToolBar sets up the buttons of its own actions.
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setIconSize(bar.iconSize());
    setToolButtonStyle(bar.toolButtonStyle());
    connect(&bar, &QToolBar::iconSizeChanged, this, &QToolButton::setIconSize);
    connect(&bar, &QToolBar::toolButtonStyleChanged, this, &QToolButton::setToolButtonStyle);
    setDefaultAction(action);
    setIcon(picture);
}

ToolbarButton* ToolbarButton::add(QToolBar& bar, QAction* action, const QIcon& picture, const QString& objectName)
{
    auto* button = new ToolbarButton(bar, action, picture);
    button->setObjectName(objectName);
    bar.addWidget(button);
    return button;
}

// A change of the action sets the button anew from it, its empty picture included.
void ToolbarButton::actionEvent(QActionEvent* event)
{
    QToolButton::actionEvent(event);
    if (event->type() == QEvent::ActionChanged && event->action() == defaultAction())
        setIcon(picture);
}
