#pragma once
// The editor of one group of evaluation criteria (評定基準) in 環境設定: the overall
// grade "総合" or one viewpoint "観点Ⅰ".."観点Ⅳ". Three options choose the basis
// (順位で, 点数で, ％で); each basis has its two threshold boxes, which are on only
// while their basis is chosen. A threshold is named by the field of GroupCriteria
// that holds it; each box is bound to its field.

#include "model/Criteria.h"

#include <QGroupBox>
#include <QString>
#include <array>
#include <optional>

class QButtonGroup;
class QLineEdit;
class QRadioButton;

class GroupCriteriaEditor : public QGroupBox {
    Q_OBJECT
public:
    // `group`: 0 the overall grade, 1..4 a viewpoint (SubjectCriteria::groups).
    GroupCriteriaEditor(int group, QWidget* parent);

    // A threshold that makes no sense: its field and the message for the teacher,
    // which names the subject, the group and the box.
    struct Problem {
        int GroupCriteria::*field = nullptr;
        QString message;
    };

    void showCriteria(const GroupCriteria& criteria);
    // The chosen basis and the boxes read into `into`; the first box (in the order
    // of the fields) that holds no sensible whole number is the problem.
    std::optional<Problem> readCriteria(int subject, GroupCriteria& into) const;
    // Gives the box of `field` the focus with its text selected, when it is on.
    void focusBox(int GroupCriteria::*field);

    // The first threshold of stored criteria that makes no sense.
    static std::optional<Problem> firstProblem(int subject, int group, const GroupCriteria& criteria);
    // "総合", "観点Ⅰ" .. "観点Ⅳ".
    static QString groupName(int group);

private:
    struct Threshold;
    static const std::array<Threshold, 6>& thresholds();
    static QString caption(const Threshold& threshold, int group);
    static QString problemWith(const Threshold& threshold, int subject, int group, const QString& why);
    void enableBoxesOf(GradeBasis basis);

    const int group;
    QButtonGroup* basisOptions = nullptr;  // ids: GradeBasis
    QRadioButton* rankOption = nullptr;    // 順位で
    QRadioButton* scoreOption = nullptr;   // 点数で
    QRadioButton* shareOption = nullptr;   // ％で
    QLineEdit* bestUpToRankBox = nullptr;
    QLineEdit* lowestFromRankBox = nullptr;
    QLineEdit* bestFromScoreBox = nullptr;
    QLineEdit* lowestUpToScoreBox = nullptr;
    QLineEdit* bestSharePercentBox = nullptr;
    QLineEdit* lowestSharePercentBox = nullptr;
};
