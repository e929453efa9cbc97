#pragma once
// A toolbar button that shows a command's QAction as the button QToolBar::addAction
// makes does (a click triggers the action; the button is enabled, captioned with the
// action's icon text and tipped with it), under a picture of its own. The action
// carries no picture: the menu bar shows an action's picture in place of its
// caption, and a command such as 点数入力(&I) stands on the menu bar as well.

#include <QIcon>
#include <QToolButton>

class QToolBar;

class ToolbarButton : public QToolButton {
    Q_OBJECT
public:
    // Adds a button named `objectName` for `action` to the end of `bar`.
    static ToolbarButton* add(QToolBar& bar, QAction* action, const QIcon& picture, const QString& objectName);

protected:
    void actionEvent(QActionEvent* event) override;

private:
    ToolbarButton(QToolBar& bar, QAction* action, const QIcon& picture);

    QIcon picture;
};
