#pragma once
// 氏名メンテナンス: the pupils of the open class in attendance-number order. The
// teacher renames a pupil, takes a pupil in after a chosen one (転入) or lets one go
// (転出), and prints or previews the list of names. Every change is written at once:
// a rename rewrites the roster; a transfer rewrites every score file of the class,
// the attendance file and the roster in one all-or-nothing step (core/Transfer.h).

#include "core/Transfer.h"
#include "shell/ChildWindow.h"

#include <array>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

class NameDialog : public ChildWindow {
    Q_OBJECT
public:
    explicit NameDialog(AppContext& ctx, QWidget* parent = nullptr);

    bool Form_Load() override;
    void Form_Activate() override;
    void Form_Unload() override;
    void Form_ProgramEnd() override;

    // 0 rename, 1 transfer in, 2 transfer out of the selected pupil.
    void menuEdit_Click(int index);
    void cmdEdit_Click(int index) { menuEdit_Click(index); }
    // 0 print, 1 preview the name list.
    void menuPrint_Click(int index);
    void cmdPrint_Click(int index) { menuPrint_Click(index); }
    void menuEnd_Click() { closeWindow(); }
    void cmdEnd_Click() { closeWindow(); }
    void menuHelp_Click();
    void menuEnabled(bool flag);

    void Tx_DataInput_GotFocus();
    void Tx_DataInput_KeyPress(int key);
    void Tx_DataInput_LostFocus();

    // Transfer in after pupil n / out of pupil n, after the confirmation.
    void TenNyu(int n);
    void TenShutu(int n);

    // The selected line (0-based), or -1.
    int selectedRow() const;

    // How the transfers write each file; tests put in one that fails.
    Transfer::Writer fileWriter = Transfer::defaultWriter();

    int EditMode = 0;

    QListWidget* Lt_Name = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Lb_Numbers = nullptr;
    QLabel* Label3 = nullptr;
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
    void fillList();
    void setCaption();
    // Ends a rename: stores the typed name and rewrites the roster; `tell` shows
    // why a name cannot be stored.
    void finishRename(bool tell);
    void setRenameBox(bool enabled);
    // False (after refilling the list) when the class shown is no longer the open one.
    bool showsOpenClass(bool tell);
    bool otherWindowsClosed(const QString& command);

    bool renaming = false;
    int renameRow = -1;
    // The class the list shows: the mode, the data folder, and the class in specialist mode.
    bool shownSenka = false;
    int shownClass = 0;
    QString shownFolder;
};
