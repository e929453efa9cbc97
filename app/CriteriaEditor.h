#pragma once
// The frame "評定基準" of 環境設定: the subject box, the editors of the overall
// grade and of the four viewpoints, and the names of the viewpoints. It keeps the
// criteria and the viewpoint names of all nine subjects as edited: taken from
// ClassData when the window opens, handed over only when it closes with 終了, so
// that switching between subjects keeps every edit. A subject is left, and the
// window closed, only while its boxes hold sensible numbers and usable names.
// 目標に準拠の評価にする sets every subject to grading against goals at once.

#include "model/ClassData.h"

#include <QGroupBox>
#include <array>

class GroupCriteriaEditor;
class QComboBox;
class QLineEdit;
class QPushButton;
class Ui;

class CriteriaEditor : public QGroupBox {
    Q_OBJECT
public:
    using CriteriaTable = std::array<SubjectCriteria, Limits::Units + 1>;

    CriteriaEditor(Ui& ui, QWidget* parent);

    // Takes the criteria and names of every subject and shows the current subject.
    void load(const ClassData& data);
    // Every subject checked, the shown one read from its boxes first. False (after
    // the message, with the subject and the box shown) when one makes no sense.
    bool checkAll();
    const CriteriaTable& criteria() const { return edited; }
    const ViewpointNameTable& viewpointNames() const { return editedNames; }
    int shownSubject() const { return shown; }

private:
    QGroupBox* buildViewpointNamesGroup();
    void showSubject(int subject);
    // The shown boxes read into the edited criteria and names; false (after the
    // message, with the focus on the box) when one holds no sensible value.
    bool storeShownSubject();
    // The subject chosen in the subject box: shown once the one before is stored.
    void subjectChosen();
    void switchToSubject(int subject);
    // 目標に準拠の評価にする, after asking.
    void gradeAgainstGoals();
    void showViewpointNames(int subject);
    // The frames of the viewpoints carry the names as they are typed.
    void showViewpointCaptions();
    void focusViewpointName(int subject, int viewpoint);
    // Every subject's names: today's three viewpoints, or the older table.
    void fillViewpointNames(const ViewpointNameTable& names, const QString& question);

    Ui& ui;
    QComboBox* subjectBox = nullptr;                  // "教科"
    std::array<GroupCriteriaEditor*, 5> groupEditors{};  // as SubjectCriteria::groups: 総合, 観点Ⅰ..Ⅳ
    QGroupBox* viewpointNamesGroup = nullptr;         // the shown subject's "観点名"
    std::array<QLineEdit*, Limits::Viewpoints + 1> viewpointNameInputs{};  // viewpoints 1..4
    QPushButton* goalsButton = nullptr;
    QPushButton* currentCurriculumButton = nullptr;
    QPushButton* olderNamesButton = nullptr;

    CriteriaTable edited;
    ViewpointNameTable editedNames;
    int shown = 1;  // the subject whose criteria the boxes show
};
