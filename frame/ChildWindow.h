#pragma once
// Base of every window that lives inside the main window's frame. The main window
// calls activated when the window becomes the active child; closed runs
// once when the window closes, by any means. A window may refuse to close in
// mayClose. Before the program ends, mayEndProgram may keep it
// running; when it ends, programEnding lets a window keep what its own closing
// would keep, and a window that could not keep it (a full disk) may hold the
// program back, after asking the teacher.

#include "frame/AppContext.h"

#include <QWidget>

class QMdiSubWindow;

class ChildWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChildWindow(AppContext& ctx, QWidget* parent = nullptr);

    // Runs before the window is shown; false when it cannot open (it then shows
    // its own message and is discarded).
    virtual bool prepare() { return true; }
    virtual void activated() {}
    virtual bool mayClose() { return true; }
    virtual void closed() {}
    // False keeps the program running.
    virtual bool programEnding() { return true; }
    // Asked before the program ends, while everything is still open: false keeps the
    // program running (the window has said why, or the teacher chose to stay).
    virtual bool mayEndProgram() { return true; }
    // Whether the window holds the current unit's tests in memory and writes them
    // back to the score file (score entry): the file may not change under it.
    virtual bool writesTestsBack() const { return false; }

    // Closes the window (and its frame inside the main window).
    void closeWindow();
    // Alt+key sent from the main toolbar (印刷 = P, ﾌﾟﾚﾋﾞｭｰ = O): clicks the enabled
    // button or menu entry whose caption has that mnemonic. False when none has.
    bool triggerMnemonic(QChar key);
    // The frame inside the main window, when there is one.
    QMdiSubWindow* subWindow() const;
    bool isUnloaded() const { return unloaded; }

protected:
    void closeEvent(QCloseEvent* event) override;
    AppContext& ctx;

private:
    bool unloaded = false;
};
