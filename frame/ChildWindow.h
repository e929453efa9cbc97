#pragma once
// Base of every window that lives inside the main window's frame. The main window
// calls activated when the window becomes the active child; closed runs
// once when the window closes, by any means. A window may refuse to close in
// mayClose. Before the program ends, mayEndProgram may keep it
// running; when it ends, programEnding lets a window keep what its own closing
// would keep, and a window that could not keep it (a full disk) may hold the
// program back, after asking the teacher.
//
// A window that prints makes its ReportActions (makeReportActions) and overrides
// output: the one way it prints, previews or saves its sheet, whether from its own
// buttons and menus or from the main toolbar's 印刷 and ﾌﾟﾚﾋﾞｭｰ, which are on
// exactly while the active window's actions are (printsNow).

#include "frame/AppContext.h"
#include "tally/ReportSheet.h"

#include <QWidget>

class QMdiSubWindow;
class ReportActions;

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
    // The page of the teacher's manual about this window ("entry.html", or with a
    // section, "overall-tally.html#choose-tests"), which F1 opens while the window is
    // active; empty opens the main window's page.
    virtual QString helpPage() const { return {}; }
    // Whether the window holds the current unit's tests in memory and writes them
    // back to the score file (score entry): the file may not change under it.
    virtual bool writesTestsBack() const { return false; }

    // Sends the window's sheet to the destination; nothing for a window that does
    // not print.
    virtual void output(ReportDestination /*destination*/) {}
    // The output commands, or none for a window that does not print.
    ReportActions* reportActions() const { return outputs; }
    // Whether the window has a sheet to print now.
    bool printsNow() const;

    // Closes the window (and its frame inside the main window).
    void closeWindow();
    // The frame inside the main window, when there is one.
    QMdiSubWindow* subWindow() const;
    bool isUnloaded() const { return unloaded; }
    // Makes Ctrl+F4 the window's own key, taken from the frame's menu, so that it
    // reaches the window (and its question about unsaved work) the same way on every
    // platform and from every control.
    void claimCloseKey();
    static QKeySequence closeKey();
    // What Ctrl+F4 and Esc do: close the window, or the window's own 終了.
    virtual void closeByKey() { closeWindow(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Makes the window's output commands with their menu captions; the main
    // window's print commands follow their state.
    ReportActions* makeReportActions(const QString& printCaption, const QString& previewCaption);
    AppContext& ctx;

private:
    bool unloaded = false;
    ReportActions* outputs = nullptr;
};
