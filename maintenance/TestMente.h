#pragma once
// テストのメンテナンス: the tests of the current unit in file order. The teacher
// renames a test, inserts a blank test before a chosen one, deletes a test, and
// prints or previews the list of test names. Each change rewrites the score file
// at once, after its ".Bak" backup (core/TestList.h).

#include "shell/ChildWindow.h"

#include <array>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

class TestMente : public ChildWindow {
    Q_OBJECT
public:
    explicit TestMente(AppContext& ctx, QWidget* parent = nullptr);

    bool Form_Load() override;
    void Form_Activate() override;
    void Form_Unload() override;
    void Form_ProgramEnd() override;

    // 0 rename, 1 insert before, 2 delete the selected test.
    void menuEdit_Click(int index);
    void cmdEdit_Click(int index) { menuEdit_Click(index); }
    // 0 print, 1 preview the test list.
    void menuPrint_Click(int index);
    void cmdPrint_Click(int index) { menuPrint_Click(index); }
    void menuEnd_Click() { closeWindow(); }
    void cmdEnd_Click() { closeWindow(); }
    void menuHelp_Click();
    void menuEnabled(bool flag);

    void Tx_DataInput_GotFocus();
    void Tx_DataInput_KeyPress(int key);
    void Tx_DataInput_LostFocus();

    // Write the score file with a new test before test n / without test n.
    void TestInsert(int n);
    void TestDelete(int n);

    // The selected line (0-based), or -1.
    int selectedRow() const;

    int EditMode = 0;

    QListWidget* Lt_Test = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Lb_Numbers = nullptr;
    QLabel* Lb_DataInput = nullptr;
    QLineEdit* Tx_DataInput = nullptr;
    std::array<QPushButton*, 3> cmdEdit{};
    std::array<QPushButton*, 2> cmdPrint{};
    QPushButton* cmdCsv = nullptr;  // CSV保存: the list as a spreadsheet table
    QAction* menuCsv = nullptr;
    QPushButton* cmdEnd = nullptr;
    QMenu* menuFile = nullptr;
    std::array<QAction*, 2> menuPrint{};
    QAction* menuEnd = nullptr;
    QMenu* menuEditTop = nullptr;
    std::array<QAction*, 3> menuEdit{};
    QAction* menuHelp = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Loads the score file of the current unit and fills the list; `tell` shows
    // why it cannot.
    bool loadUnit(bool tell);
    void fillList();
    void setRenameBox(bool enabled);
    // Ends a rename: stores the typed test name and rewrites the score file; `tell`
    // shows why it cannot.
    void finishRename(bool tell);
    // False (after loading the unit now current) when the list shows another unit.
    bool showsOpenUnit(bool tell);
    bool scoreEntryClosed();

    bool renaming = false;
    int renameRow = -1;
    // The unit the list shows: the mode, the data folder and the subject or class.
    bool shownSenka = false;
    int shownUnit = 0;
    QString shownFolder;
};
