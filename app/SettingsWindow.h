#pragma once
// The environment settings window "環境設定": the working mode and the subjects, the
// terms of the year, the data folder, the evaluation criteria and the viewpoint names of every subject
// and, for a new class, the list of pupil names. Nothing reaches the settings store
// before 終了; closing writes the settings, hands them to the model, has the main
// window follow them and reopens the data folder. While the class has no names, a line at the top says
// what to do first.
//
// The names of a new class are typed one by one or pasted as a list (one name per
// line, or a column copied from a spreadsheet); the list shows them with their
// attendance numbers, and a name can be corrected or removed before 入力終了.

#include "frame/ChildWindow.h"
#include "platform/HelpTopics.h"

#include <QStringList>
#include <array>

class CriteriaEditor;
class QAction;
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

    // Whether the window is in the name entry of a new class.
    bool enteringNames() const { return nameEntry; }
    // The subject whose criteria and viewpoint names the window shows.
    int editedSubject() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildModeGroup();
    void buildDataFolderGroup();
    void buildNameGroup();
    // 学期 (SettingsWindowTerms.cpp): three terms or two (前期・後期), and the month
    // each term after the first begins.
    void buildTermGroup();
    void showTermPlan(const TermPlan& plan);
    TermPlan chosenTermPlan() const;
    void termCountChosen();
    void setModeFrames(bool specialist);
    void browseDataFolder();

    // A new class (SettingsWindowNames.cpp): empties the class's files after
    // copying them, then takes names.
    void startNewClass();
    void addTypedName();
    // A list pasted into the name box: every name added, or none.
    void nameInputChanged(const QString& text);
    void takePastedList();
    void correctSelectedName();
    void removeSelectedName();
    // The names of a roster file (RosterImportWindow) join the list after its names.
    void importNames();
    void endCorrection();
    void showNames(int selectedRow = -1);
    void endNameEntry();
    void setNameEntry(bool entering);
    void showEndOfNameEntry();
    bool folderChangedSinceOpening() const;
    Status saveNames();
    bool mayReplaceStoredNames();
    bool choicesChanged(const ClassData& chosen) const;
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
    QPushButton* importNamesButton = nullptr;
    QPushButton* endNameEntryButton = nullptr;
    QGroupBox* termGroup = nullptr;  // "学期"
    QRadioButton* threeTermsOption = nullptr;
    QRadioButton* twoTermsOption = nullptr;
    std::array<QLabel*, 2> termStartLabels{};
    std::array<QComboBox*, 2> termStartBoxes{};  // the school month terms 2 and 3 (後期) begin
    TermPlan shownTermPlan;
    CriteriaEditor* criteriaEditor = nullptr;  // "評定基準", with the viewpoint names
    QPushButton* closeButton = nullptr;
    QAction* closeAction = nullptr;
    QPushButton* helpButton = nullptr;

    QStringList enteredNames;  // the new class's names, in attendance-number order
    int correctedRow = -1;     // the name being corrected (0-based), or -1
    QString nameInputText;     // the name box's text before a list was pasted into it
    bool pasteWaiting = false;
    int subjectInCharge = 1;   // the subject chosen under "担当教科"
    bool nameEntry = false;
};
