#pragma once
// The environment settings window "環境設定": the working mode and the subjects, the
// data folder, the evaluation criteria and the viewpoint names of every subject
// and, for a new class, the list of pupil names. Nothing reaches the settings store
// before 終了; closing writes the settings, reloads them into the main window and
// reopens the data folder. While the class has no names, a line at the top says
// what to do first.
//
// The names of a new class are typed one by one or pasted as a list (one name per
// line, or a column copied from a spreadsheet); the list shows them with their
// attendance numbers, and a name can be corrected or removed before 入力終了.

#include "frame/ChildWindow.h"
#include "platform/HelpTopics.h"
#include "app/CriteriaEditor.h"

#include <QStringList>
#include <array>

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
class PathBox;

class SettingsWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit SettingsWindow(AppContext& ctx, QWidget* parent = nullptr);

    bool prepare() override;
    QString helpPage() const override { return HelpTopics::pageOf(4); }
    void activated() override;
    bool mayClose() override;
    void closed() override;
    bool programEnding() override;

    void CbKyoka_Click();
    void OpSouMode_Click(int index);

    // Whether the window is in the name entry of a new class.
    bool enteringNames() const { return nameEntry; }
    int editedSubject() const { return shownSubject; }

    // The controls of the evaluation criteria.
    QGroupBox* Fr_Hyotei = nullptr;  // "評定基準"
    QComboBox* CbKyoka = nullptr;
    QGroupBox* Fr_Sougou = nullptr;       // "総合"
    QGroupBox* Fr_Kanten[4] = {};         // 観点Ⅰ..Ⅳ
    QRadioButton* OpSouMode[15] = {};     // 0..2 overall, 3 + 3(v-1) + m viewpoints
    QLineEdit* Text1[6] = {};             // overall thresholds 1..6
    QLineEdit* Text2[24] = {};            // viewpoint v threshold k: 6(v-1) + k - 1

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildModeGroup();
    void buildDataFolderGroup();
    QGroupBox* buildCriteriaGroup(int group);
    void buildNameGroup();
    void setModeFrames(bool specialist);
    void browseDataFolder();
    // The threshold box k (1..6) of a group (0 overall, 1..4 viewpoints).
    QLineEdit* thresholdBox(int group, int k) const;
    QRadioButton* modeOption(int group, int mode) const;
    void enableModeBoxes(int group, int mode);
    // Shows the criteria and the viewpoint names of a subject.
    void showSubject(int subject);
    // Reads the shown boxes into the working copy of the edited subject; false
    // (after the message, with the focus on the box) when a threshold box holds no
    // sensible whole number or a viewpoint name cannot be used.
    bool storeShownSubject();
    void focusThreshold(int subject, int group, int k);
    void switchToSubject(int subject);

    // Viewpoint names (working copy in viewpointNames).
    QGroupBox* buildViewpointNamesGroup();
    void showViewpointNames(int subject);
    // The frames of the criteria carry the names as they are typed.
    void showViewpointCaptions();
    void focusViewpointName(int subject, int v);
    // Every subject's names: today's three viewpoints, or the older table.
    void fillViewpointNames(const ViewpointNameTable& names, const QString& question);

    // A new class (SettingsWindowNames.cpp): empties the class's files after
    // copying them, then takes names.
    void startNewClass();
    void addTypedName();
    // A list pasted into the name box: every name added, or none.
    void nameInputChanged(const QString& text);
    void takePastedList();
    void correctSelectedName();
    void removeSelectedName();
    void endCorrection();
    void showNames(int selectedRow = -1);
    void endNameEntry();
    void setNameEntry(bool entering);
    bool folderChangedSinceOpening() const;
    Status saveNames();
    // 終了: checks and stores every setting, then reopens the data folder.
    void saveAndClose();
    void showHelp();

    QGroupBox* modeGroup = nullptr;  // "プログラム動作"
    QRadioButton* homeroomModeOption = nullptr;
    QRadioButton* specialistModeOption = nullptr;
    QGroupBox* subjectInChargeGroup = nullptr;  // "担当教科"
    std::array<QRadioButton*, 9> subjectInChargeOptions{};
    QGroupBox* subjectsInUseGroup = nullptr;  // "使用する教科"
    std::array<QCheckBox*, 9> subjectInUseBoxes{};
    QLabel* modeNote = nullptr;
    QLabel* firstStartGuide = nullptr;
    QGroupBox* dataFolderGroup = nullptr;  // "データ保存フォルダ"
    PathBox* dataFolderInput = nullptr;
    QPushButton* browseButton = nullptr;
    QGroupBox* namesGroup = nullptr;  // "氏名データ"
    QPushButton* newClassButton = nullptr;
    QLabel* pupilCountLabel = nullptr;
    QListWidget* nameList = nullptr;
    QLabel* nameInputCaption = nullptr;
    QLineEdit* nameInput = nullptr;
    QPushButton* correctNameButton = nullptr;
    QPushButton* removeNameButton = nullptr;
    QPushButton* endNameEntryButton = nullptr;
    QGroupBox* viewpointNamesGroup = nullptr;  // the edited subject's "観点名"
    std::array<QLineEdit*, 4> viewpointNameInputs{};
    QPushButton* currentCurriculumButton = nullptr;
    QPushButton* olderNamesButton = nullptr;
    QPushButton* closeButton = nullptr;
    QAction* closeAction = nullptr;
    QPushButton* helpButton = nullptr;

    CriteriaEditor criteria;
    ViewpointNameTable viewpointNames;  // every subject's, as edited
    QStringList enteredNames;           // the new class's names, in attendance-number order
    int correctedRow = -1;              // the name being corrected (0-based), or -1
    QString nameInputText;              // the name box's text before a list was pasted into it
    bool pasteWaiting = false;
    int shownSubject = 1;      // the edited subject
    int subjectInCharge = 1;   // the subject chosen under "担当教科"
    int groupMode[5] = {};     // chosen mode of the overall group and of each viewpoint
    bool nameEntry = false;
};
