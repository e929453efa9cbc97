#include "frame/ActionButton.h"

#include <QAction>

ActionButton::ActionButton(QAction* action, const QString& objectName, QWidget* parent, const QString& caption)
    : QPushButton(caption, parent), shown(action), ownCaption(!caption.isEmpty())
{
    setObjectName(objectName);
    follow();
    connect(action, &QAction::changed, this, &ActionButton::follow);
    connect(this, &QPushButton::clicked, action, &QAction::trigger);
}

void ActionButton::follow()
{
    if (!ownCaption)
        setText(shown->text());
    setEnabled(shown->isEnabled());
}
