#pragma once
// The environment settings window "環境設定": the working mode and the subjects, the
// data folder, the evaluation criteria of every subject and, for a new class, the
// list of pupil names. Nothing reaches the settings store before 終了; closing writes
// the settings, reloads them into the main window and reopens the data folder.

#include "frame/ChildWindow.h"
#include "app/CriteriaEditor.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class SettingsWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit SettingsWindow(AppContext& ctx, QWidget* parent = nullptr);

    bool prepare() override;
    void activated() override;
    bool mayClose() override;
    void closed() override;
    bool programEnding() override;

    void Op_Mode_Click(int index);
    void Op_Subject_Click(int index);
    void cmdRef_Click();
    void CbKyoka_Click();
    void OpSouMode_Click(int index);
    void Bt_Mente_Click();
    void Tx_DataInput_Enter();
    void BtInputEnd_Click();
    void Bt_End_Click();
    void Command1_Click();

    // Whether the window is in the name entry of a new class.
    bool enteringNames() const { return nameEntry; }
    int editedSubject() const { return shownSubject; }

    // Controls, named as the program names them.
    QGroupBox* Fr_Mode = nullptr;  // "プログラム動作"
    QRadioButton* Op_Mode[2] = {};
    QGroupBox* Fr_Tanto = nullptr;
    QRadioButton* Op_Subject[9] = {};
    QGroupBox* Fr_Subject = nullptr;
    QCheckBox* Ch_Subject[9] = {};
    QLabel* Lb_ModeNote = nullptr;
    QGroupBox* Fr_Holder = nullptr;  // "データ保存フォルダ"
    QLineEdit* Tx_Holder = nullptr;
    QPushButton* cmdRef = nullptr;
    QGroupBox* Fr_Hyotei = nullptr;  // "評定基準"
    QComboBox* CbKyoka = nullptr;
    QGroupBox* Fr_Sougou = nullptr;       // "総合"
    QGroupBox* Fr_Kanten[4] = {};         // 観点Ⅰ..Ⅳ
    QRadioButton* OpSouMode[15] = {};     // 0..2 overall, 3 + 3(v-1) + m viewpoints
    QLineEdit* Text1[6] = {};             // overall thresholds 1..6
    QLineEdit* Text2[24] = {};            // viewpoint v threshold k: 6(v-1) + k - 1
    QGroupBox* Fr_Name = nullptr;  // "氏名データ"
    QPushButton* Bt_Mente = nullptr;
    QLabel* Lb_Numbers = nullptr;
    QListWidget* Lt_Name = nullptr;
    QLabel* Lb_DataInput = nullptr;
    QLineEdit* Tx_DataInput = nullptr;
    QPushButton* BtInputEnd = nullptr;
    QPushButton* Bt_End = nullptr;
    QAction* menuEnd = nullptr;
    QPushButton* Command1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QGroupBox* buildCriteriaGroup(int group);
    void buildNameFrame();
    void setModeFrames(bool specialist);
    // The threshold box k (1..6) of a group (0 overall, 1..4 viewpoints).
    QLineEdit* thresholdBox(int group, int k) const;
    QRadioButton* modeOption(int group, int mode) const;
    void enableModeBoxes(int group, int mode);
    // Shows the criteria of a subject: captions, modes and thresholds.
    void showSubject(int subject);
    // Reads the shown boxes into the working copy of the edited subject; false
    // (after the message, with the focus on the box) when a box holds no sensible
    // whole number.
    bool storeShownSubject();
    void focusThreshold(int subject, int group, int k);
    void setNameEntry(bool entering);
    bool folderChangedSinceOpening() const;
    Status saveNames();

    CriteriaEditor criteria;
    int shownSubject = 1;      // the edited subject
    int subjectInCharge = 1;   // the subject chosen under "担当教科"
    int groupMode[5] = {};     // chosen mode of the overall group and of each viewpoint
    bool nameEntry = false;
};
