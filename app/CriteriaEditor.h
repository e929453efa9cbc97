#pragma once
// The evaluation criteria of all nine subjects as the environment settings dialog
// edits them: taken from ClassData when the dialog opens, handed back only when it
// closes with 終了, so that switching between subjects keeps every edit. Also the
// reading and checking of one threshold box.
//
// A group is the overall evaluation (group 0, "総合") or one viewpoint (1..4). Its
// basis m (0 "順位で", 1 "点数で", 2 "％で") uses thresholds 2m + 1 and 2m + 2.

#include "model/ClassData.h"

#include <QString>
#include <array>
#include <optional>

class CriteriaEditor {
public:
    void copyFrom(const ClassData& data);
    void copyTo(ClassData& data) const;

    SubjectCriteria& subject(int s) { return subjects[s]; }
    const SubjectCriteria& subject(int s) const { return subjects[s]; }

    struct Problem {
        int subject = 0;
        int group = 0;
        int threshold = 0;
        QString message;
    };
    // The first threshold of any subject that makes no sense, in subject, group and
    // threshold order.
    std::optional<Problem> firstProblem() const;

private:
    std::array<SubjectCriteria, Limits::Units + 1> subjects;
};

namespace CriteriaText {
// "総合", "観点Ⅰ" .. "観点Ⅳ".
QString groupName(int group);
// The caption beside threshold box k: "位以内が３" ... "％が１" for the overall
// group, "位以内がＡ" ... "％がＣ" for a viewpoint.
QString thresholdLabel(int group, int threshold);
// The whole number typed into a box (full-width digits and blanks around it are
// accepted); nothing when it holds none or one that cannot be stored.
std::optional<int> parse(const QString& text);
// Reads box k of a group of subject s; on success `value` is set and the result is
// empty, otherwise it is the message for the teacher naming the subject and the box.
QString read(int subject, int group, int threshold, const QString& text, int& value);
// Why a value of threshold k makes no sense (a rank or share below 0, a score above
// 100, a share above 100); empty when it is fine.
QString rangeProblem(int threshold, int value);
}
