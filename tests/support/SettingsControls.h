#pragma once
// The controls of the environment settings window (環境設定), found by their
// object names.

#include "Controls.h"
#include "app/SettingsWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace SettingsControls {

inline QGroupBox* modeGroup(const SettingsWindow* w) { return Controls::child<QGroupBox>(w, "modeGroup"); }
inline QRadioButton* homeroomModeOption(const SettingsWindow* w) { return Controls::child<QRadioButton>(w, "homeroomModeOption"); }
inline QRadioButton* specialistModeOption(const SettingsWindow* w) { return Controls::child<QRadioButton>(w, "specialistModeOption"); }
inline QGroupBox* subjectInChargeGroup(const SettingsWindow* w) { return Controls::child<QGroupBox>(w, "subjectInChargeGroup"); }
// Subject 1..9 under "担当教科" and under "使用する教科".
inline QRadioButton* subjectInChargeOption(const SettingsWindow* w, int subject)
{
    return Controls::child<QRadioButton>(w, QStringLiteral("subjectInChargeOption%1").arg(subject));
}
inline QGroupBox* subjectsInUseGroup(const SettingsWindow* w) { return Controls::child<QGroupBox>(w, "subjectsInUseGroup"); }
inline QCheckBox* subjectInUseBox(const SettingsWindow* w, int subject)
{
    return Controls::child<QCheckBox>(w, QStringLiteral("subjectInUseBox%1").arg(subject));
}
inline QGroupBox* dataFolderGroup(const SettingsWindow* w) { return Controls::child<QGroupBox>(w, "dataFolderGroup"); }
inline QLineEdit* dataFolderInput(const SettingsWindow* w) { return Controls::child<QLineEdit>(w, "dataFolderInput"); }
inline QPushButton* browseButton(const SettingsWindow* w) { return Controls::child<QPushButton>(w, "browseButton"); }
inline QPushButton* newClassButton(const SettingsWindow* w) { return Controls::child<QPushButton>(w, "newClassButton"); }
inline QLabel* pupilCountLabel(const SettingsWindow* w) { return Controls::child<QLabel>(w, "pupilCountLabel"); }
inline QListWidget* nameList(const SettingsWindow* w) { return Controls::child<QListWidget>(w, "nameList"); }
inline QLabel* nameInputCaption(const SettingsWindow* w) { return Controls::child<QLabel>(w, "nameInputCaption"); }
inline QLineEdit* nameInput(const SettingsWindow* w) { return Controls::child<QLineEdit>(w, "nameInput"); }
inline QPushButton* endNameEntryButton(const SettingsWindow* w) { return Controls::child<QPushButton>(w, "endNameEntryButton"); }
inline QPushButton* correctNameButton(const SettingsWindow* w) { return Controls::child<QPushButton>(w, "correctNameButton"); }
inline QPushButton* removeNameButton(const SettingsWindow* w) { return Controls::child<QPushButton>(w, "removeNameButton"); }
inline QLabel* firstStartGuide(const SettingsWindow* w) { return Controls::child<QLabel>(w, "firstStartGuide"); }
// The edited subject's names of viewpoints 1..4, and the buttons that set every subject's.
inline QGroupBox* viewpointNamesGroup(const SettingsWindow* w) { return Controls::child<QGroupBox>(w, "viewpointNamesGroup"); }
inline QLineEdit* viewpointNameInput(const SettingsWindow* w, int v)
{
    return Controls::child<QLineEdit>(w, QStringLiteral("viewpointNameInput%1").arg(v));
}
inline QPushButton* currentCurriculumButton(const SettingsWindow* w) { return Controls::child<QPushButton>(w, "currentCurriculumButton"); }
inline QPushButton* olderNamesButton(const SettingsWindow* w) { return Controls::child<QPushButton>(w, "olderNamesButton"); }
inline QPushButton* closeButton(const SettingsWindow* w) { return Controls::child<QPushButton>(w, "closeButton"); }
inline QAction* closeAction(const SettingsWindow* w) { return Controls::child<QAction>(w, "closeAction"); }
inline QPushButton* helpButton(const SettingsWindow* w) { return Controls::child<QPushButton>(w, "helpButton"); }

// 評定基準: the subject box; the frame of group 0 (総合) or 1..4 (観点Ⅰ..Ⅳ); in it,
// the options of the basis ("rankOption", "scoreOption", "shareOption") and the
// threshold boxes named for the thresholds ("bestUpToRankBox", "lowestFromRankBox",
// "bestFromScoreBox", "lowestUpToScoreBox", "bestSharePercentBox",
// "lowestSharePercentBox").
inline QComboBox* criteriaSubjectBox(const SettingsWindow* w) { return Controls::child<QComboBox>(w, "criteriaSubjectBox"); }
inline QGroupBox* criteriaGroup(const SettingsWindow* w, int group)
{
    return Controls::child<QGroupBox>(w, group == 0 ? QStringLiteral("overallCriteria") : QStringLiteral("viewpointCriteria%1").arg(group));
}
inline QRadioButton* basisOption(const SettingsWindow* w, int group, const char* name)
{
    return Controls::child<QRadioButton>(criteriaGroup(w, group), QLatin1String(name));
}
inline QLineEdit* thresholdBox(const SettingsWindow* w, int group, const char* name)
{
    return Controls::child<QLineEdit>(criteriaGroup(w, group), QLatin1String(name));
}

// Moves the criteria's subject box (教科) to `subject` with the arrow keys, as a
// teacher would; stops where the window refuses to leave the shown subject.
inline void chooseSubject(SettingsWindow* dialog, int subject)
{
    QComboBox* box = criteriaSubjectBox(dialog);
    while (box->currentIndex() + 1 != subject) {
        const int before = box->currentIndex();
        QTest::keyClick(box, before + 1 < subject ? Qt::Key_Down : Qt::Key_Up);
        if (box->currentIndex() == before)
            return;  // refused
    }
}

}  // namespace SettingsControls
