#pragma once
// A pupil's figures of one term, shown beside the 所見 while the teacher writes it:
// the current unit's viewpoints A/B/C and 評定 over the unit's tests of that term
// (weights, 未入力 and the teacher's own grades over exactly those tests applied, as
// in 総合集計), and, in homeroom mode, the term's attendance as the 指導要録 view
// sums it.

#include "model/ClassData.h"

#include <QList>
#include <QString>
#include <optional>

struct TermFigures {
    struct Viewpoint {
        QString name;   // the subject's name of the viewpoint
        QString grade;  // "A" "B" "C", or empty when no score of the pupil counts
    };
    QString subjectName;   // 国語, or the subject taught in specialist mode
    int testCount = 0;     // the unit's tests of the term
    QList<Viewpoint> viewpoints;  // those the term's tests measure, in order
    QString grade;         // 評定 "3" "2" "1"; empty without a value
    struct Attendance {
        int lessonDays = 0;   // 授業日数
        int leaveDays = 0;    // 出席停止・忌引等の日数
        int requiredDays = 0; // 出席しなければならない日数
        int absentDays = 0;   // 欠席日数
        int presentDays = 0;  // 出席日数
    };
    std::optional<Attendance> attendance;  // homeroom mode only
};

namespace TermFiguresTally {
// The tests of the current unit in term t, ascending.
QList<int> testsOf(const TestSet& set, int term);
TermFigures of(const ClassData& data, int term, int pupil);
}
