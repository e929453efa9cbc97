#pragma once
// What roster maintenance (RosterWindow) and test-list maintenance (TestListWindow) have
// in common: a list with its count beside it, the 入力欄 box in which the selected
// line is renamed, three edit commands (rename, insert, remove), and the output
// commands print, preview and CSV保存 of the list (one action each, shown as a
// button and as a menu entry; the sheet is made of the lines the list shows, as
// the window last filled it, never of the list widget's text). A rename starts
// from the first edit command and ends with Enter, Tab or a click elsewhere; the
// window stores the typed text. Loading the list, noticing that it changed in
// another window, inserting and removing belong to each window.

#include "tally/ReportSheet.h"
#include "frame/ChildWindow.h"

#include <array>

class QAction;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

class ListWindow : public ChildWindow {
    Q_OBJECT
public:
    // The captions and the report that differ from one window to the other.
    struct Captions {
        QString printMenu;                  // ﾌｧｲﾙ: print the list
        QString endMenu;                    // ﾌｧｲﾙ: close the window
        std::array<QString, 3> editMenu;    // 編集: rename, insert, remove
        std::array<QString, 3> editButtons; // the same three as buttons
        QString printButton;
        QString countLabel;                 // before the count of lines
        int helpTopic = 0;
        QString reportTitle;                // the title of print and preview
        // The report of the list's lines under the current unit's name.
        ReportSheet (*sheet)(const QString& unitName, const QStringList& lines) = nullptr;
    };

    void activated() override;
    void closed() override;
    bool programEnding() override;

    // 0 rename, 1 insert, 2 remove, acting on the selected line.
    void menuEdit_Click(int index);
    void cmdEdit_Click(int index) { menuEdit_Click(index); }
    // Prints, previews or saves the list shown.
    void output(ReportDestination destination) override;
    void menuEnd_Click() { closeWindow(); }
    void cmdEnd_Click() { closeWindow(); }
    void menuHelp_Click();
    void menuEnabled(bool flag);

    void Tx_DataInput_GotFocus();
    void Tx_DataInput_KeyPress(int key);
    void Tx_DataInput_LostFocus();

    // The selected line (0-based), or -1.
    int selectedRow() const;

    int EditMode = 0;

    QLabel* Label1 = nullptr;
    QLabel* Lb_Numbers = nullptr;
    QLabel* Lb_DataInput = nullptr;
    QLineEdit* Tx_DataInput = nullptr;
    std::array<QPushButton*, 3> cmdEdit{};
    QPushButton* cmdEnd = nullptr;
    QMenu* menuFile = nullptr;
    QAction* menuEnd = nullptr;
    QMenu* menuEditTop = nullptr;
    std::array<QAction*, 3> menuEdit{};
    QAction* menuHelp = nullptr;

protected:
    ListWindow(AppContext& ctx, const Captions& captions, QWidget* parent);

    bool eventFilter(QObject* watched, QEvent* event) override;

    // Refills the list and the count from the data in memory (through showLines).
    virtual void fillList() = 0;
    // Shows the lines in the list and their number beside it; they are what prints.
    void showLines(const QStringList& lines);
    // False (after reloading the list) when the list no longer shows the data now
    // open; `tell` says so to the teacher.
    virtual bool showsOpenData(bool tell) = 0;
    // Whether the edit commands may change the files now; the window says why not.
    virtual bool editAllowed() { return true; }
    // Stores `text` as the name of line n (1-based); `tell` shows why it cannot.
    virtual void storeName(int n, const QString& text, bool tell) = 0;
    // The insert and remove commands on line n (1-based), whose text is `name`:
    // the window's own checks and confirmation, then the change.
    virtual void insertCommand(int n, const QString& name) = 0;
    virtual void removeCommand(int n, const QString& name) = 0;

    // A rename under way belonged to a list that was just replaced: it ends
    // without storing anything.
    void dropRename();

    QListWidget* list = nullptr;
    QHBoxLayout* countRow = nullptr;  // the count label, the count, then a stretch

private:
    // Ends a rename: stores the typed text and refills the list; `tell` shows why
    // the text cannot be stored.
    void finishRename(bool tell);
    void setRenameBox(bool enabled);

    const int helpTopic;
    const QString reportTitle;
    QStringList shownLines;
    ReportSheet (*const sheetOf)(const QString& unitName, const QStringList& lines);
    bool renaming = false;
    int renameRow = -1;
};
