#pragma once
// A push button that shows a QAction: a click triggers the action, and the button
// is enabled with it. Its caption is its own when given (a button may be
// captioned more briefly than the menu entry of the same command), else the
// action's, and follows the action's text.

#include <QPushButton>

class QAction;

class ActionButton : public QPushButton {
    Q_OBJECT
public:
    ActionButton(QAction* action, const QString& objectName, QWidget* parent, const QString& caption = {});

    QAction* action() const { return shown; }

private:
    void follow();

    QAction* shown;
    bool ownCaption;
};
