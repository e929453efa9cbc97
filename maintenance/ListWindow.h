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
#include "platform/HelpTopics.h"

#include <array>

class QAction;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QVBoxLayout;

class ListWindow : public ChildWindow {
    Q_OBJECT
public:
    // The captions and the report that differ from one window to the other.
    struct Captions {
        QString printEntry;                   // ﾌｧｲﾙ: print the list
        QString closeEntry;                   // ﾌｧｲﾙ: close the window
        std::array<QString, 3> editEntries;   // 編集: rename, insert, remove
        std::array<QString, 3> editButtons;   // the same three as buttons
        QString printButton;
        QString countCaption;                 // before the count of lines
        int helpTopic = 0;
        QString reportTitle;                  // the title of print and preview
        // The report of the list's lines under the current unit's name.
        ReportSheet (*sheet)(const QString& unitName, const QStringList& lines) = nullptr;
    };

    void activated() override;
    QString helpPage() const override { return HelpTopics::pageOf(helpTopic); }
    void closed() override;
    bool programEnding() override;

    // Prints, previews or saves the list shown.
    void output(ReportDestination destination) override;

protected:
    // `listName` is the object name of the list: what its lines are.
    ListWindow(AppContext& ctx, const Captions& captions, const QString& listName, QWidget* parent);

    bool eventFilter(QObject* watched, QEvent* event) override;

    // Refills the list and the count from the data in memory (through showLines).
    virtual void fillList() = 0;
    // Shows the lines in the list and their number beside it; they are what prints.
    void showLines(const QStringList& lines);
    // The lines shown, as given to showLines.
    const QStringList& lines() const { return shownLines; }
    // How line `number` (1-based) reads in the list; the line itself unless a
    // window adds to it (the roster adds the attendance number).
    virtual QString listText(int number, const QString& line) const;
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
    // The menu entries (and the main toolbar's printing) are off while a rename is
    // under way.
    void setCommandsEnabled(bool enabled);

    // The selected line (0-based) when an edit command may act on it, otherwise -1
    // (after the window's message, if any, or a beep when no line is selected).
    // Ends a rename under way first.
    int lineToEdit();

    QListWidget* list = nullptr;
    QLabel* countLabel = nullptr;     // the number of lines
    QHBoxLayout* countRow = nullptr;  // the count's caption, the count, then a stretch
    QVBoxLayout* extras = nullptr;    // below the edit buttons: a window's own controls

private:
    void buildMenus(const Captions& captions);
    void buildSide(const Captions& captions);
    // The edit commands, on the selected line.
    void startRename();
    void insertAtSelection();
    void removeSelection();
    // Enter in the name box; leaving the name box.
    void nameInputConfirmed();
    void nameInputLeft();
    // Ends a rename: stores the typed text and refills the list; `tell` shows why
    // the text cannot be stored.
    void finishRename(bool tell);
    void setRenameBox(bool enabled);
    void showHelp();

    QMenu* fileMenu = nullptr;
    QAction* closeAction = nullptr;
    QMenu* editMenu = nullptr;
    QAction* renameAction = nullptr;
    QAction* insertAction = nullptr;
    QAction* removeAction = nullptr;
    QAction* helpAction = nullptr;

    QLabel* countCaption = nullptr;
    QLabel* nameInputCaption = nullptr;
    QLineEdit* nameInput = nullptr;
    QPushButton* renameButton = nullptr;
    QPushButton* insertButton = nullptr;
    QPushButton* removeButton = nullptr;
    QPushButton* closeButton = nullptr;

    const int helpTopic;
    const QString reportTitle;
    QStringList shownLines;
    ReportSheet (*const sheetOf)(const QString& unitName, const QStringList& lines);
    bool renaming = false;
    int renameRow = -1;
};
