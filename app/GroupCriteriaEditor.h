#pragma once
// The editor of one group of evaluation criteria (評定基準) in 環境設定: the overall
// grade "総合" or one viewpoint "観点Ⅰ".."観点Ⅳ". Four options choose the basis
// (順位で, 点数で, ％で, and against goals 到達率で for a viewpoint, 観点から for the
// overall grade); each basis has its two threshold boxes, which are on only while
// their basis is chosen. 観点から also has a tick per viewpoint: which count. A
// threshold of the first three is named by the field of GroupCriteria that holds it;
// each box is bound to its field.

#include "model/Criteria.h"

#include <QGroupBox>
#include <QString>
#include <array>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QLineEdit;
class QRadioButton;

class GroupCriteriaEditor : public QGroupBox {
    Q_OBJECT
public:
    // `group`: 0 the overall grade, 1..4 a viewpoint (SubjectCriteria::groups).
    GroupCriteriaEditor(int group, QWidget* parent);

    // A threshold that makes no sense: the object name of its box and the message
    // for the teacher, which names the subject, the group and the box.
    struct Problem {
        QString box;
        QString message;
    };

    // Shows the editor's group of the subject's criteria.
    void showCriteria(const SubjectCriteria& criteria);
    // The chosen basis and the boxes read into the editor's group of `into` (and,
    // for the overall grade, into its thresholds against goals); the first box (in
    // the order of the fields) that holds no sensible number is the problem.
    std::optional<Problem> readCriteria(int subject, SubjectCriteria& into) const;
    // Gives the box named `box` the focus with its text selected, when it is on.
    void focusBox(const QString& box);

    // The first threshold of stored criteria that makes no sense.
    static std::optional<Problem> firstProblem(int subject, int group, const SubjectCriteria& criteria);
    // "総合", "観点Ⅰ" .. "観点Ⅳ".
    static QString groupName(int group);

private:
    struct Threshold;
    static const std::array<Threshold, 6>& thresholds();
    static QString caption(const Threshold& threshold, int group);
    static QString problemWith(const Threshold& threshold, int subject, int group, const QString& why);
    static QString problemWith(const QString& caption, int subject, int group, const QString& why);
    // The thresholds against goals of the group: its pair, or the overall pair.
    static std::optional<Problem> goalProblem(int subject, int group, int best, int lowest);
    void buildGoalRow(QGridLayout* layout);
    void enableBoxesOf(GradeBasis basis);

    const int group;
    QButtonGroup* basisOptions = nullptr;  // ids: GradeBasis
    QRadioButton* rankOption = nullptr;    // 順位で
    QRadioButton* scoreOption = nullptr;   // 点数で
    QRadioButton* shareOption = nullptr;   // ％で
    QRadioButton* goalOption = nullptr;    // 到達率で / 観点から
    QLineEdit* bestUpToRankBox = nullptr;
    QLineEdit* lowestFromRankBox = nullptr;
    QLineEdit* bestFromScoreBox = nullptr;
    QLineEdit* lowestUpToScoreBox = nullptr;
    QLineEdit* bestSharePercentBox = nullptr;
    QLineEdit* lowestSharePercentBox = nullptr;
    // Against goals: "80" and "50" (％) for a viewpoint, "2.5" and "1.5" for the
    // overall grade.
    QLineEdit* goalBestBox = nullptr;
    QLineEdit* goalLowestBox = nullptr;
    std::array<QCheckBox*, 5> countedBoxes{};  // 観点から: viewpoints 1..4 counted
};
