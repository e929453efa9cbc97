#pragma once
// Alt with a letter or digit in a child window of the main window. Qt offers such
// a key to every control whose caption marks that letter, the main window's menus
// included; when two have it, neither acts (a button only takes the focus) or the
// main window's menu opens. So while a child window holds the focus its own
// captions win, in this order:
//   a button (or check box, option) is pressed;
//   a caption with a box beside it (a label's buddy) gives that box the focus;
//   a menu of the window's own menu bar opens (an entry of the bar itself runs).
// A letter the child window marks only on controls that are switched off beeps and
// does nothing; a letter it does not mark at all goes on to the main window's menus.
// Dialogs and open menus handle their own keys.

#include <QObject>

class QAction;
class QKeyEvent;
class QMdiArea;
class QMenuBar;
class QWidget;
class Ui;

class MnemonicRouter : public QObject {
    Q_OBJECT
public:
    // Watches the keys of the whole application for the child windows of `area`.
    MnemonicRouter(QMdiArea& area, Ui& ui, QObject* parent = nullptr);
    ~MnemonicRouter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The control of the active child window that answers the key, if any.
    struct Target {
        QWidget* widget = nullptr;       // a button, or a label whose buddy takes the focus
        QAction* menuEntry = nullptr;    // a top-level entry of the child's own menu bar
        QMenuBar* menuBar = nullptr;     // that menu bar
        bool found = false;              // some control marks the key, perhaps switched off
    };
    // The active child window when it holds the focus and no dialog or menu is open.
    QWidget* focusedChild() const;
    Target targetFor(QWidget* child, int key) const;
    void act(const Target& target) const;

    QMdiArea& area;
    Ui& ui;
};
