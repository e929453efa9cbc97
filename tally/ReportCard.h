#pragma once
// The report card (通知表) of each pupil for a term, and the year's record for
// 指導要録, as values: for every subject in use its viewpoints with their names and
// A/B/C and its 評定, the attendance, the comment and the school's texts. A pure
// function of the class (roster, attendance, criteria, viewpoint names) and of
// every subject's tests (model/UnitSets), which the windows and kazane-export print
// from through tally/ReportCardSheet.h.
//
// Rules:
// - A term's grades are those of the overall tally over the subject's tests of
//   that term (tally/OverallTally.h: weights, cells not entered left out, the
//   teacher's grades kept for exactly those tests applied). The year's are over
//   every test of the subject. A subject without a test in the term has no grades.
// - The viewpoints listed are those of the subject that have a name.
// - 評定 is left out everywhere when the class hides it (grades 1 and 2).
// - The attendance is the record-book view of the attendance tally over the term's
//   months (the year's for the record): 授業日数, 出席停止・忌引等の日数,
//   出席しなければならない日数, 欠席日数, 出席日数, of the months the pupil was in
//   the class.
// - The comment is the term's (model/Comments.h); the year's record gathers the
//   comments of every term, one paragraph each, for the teacher to shorten.

#include "model/ClassData.h"
#include "model/UnitSets.h"

#include <QList>
#include <QString>

namespace ReportCard {

constexpr int Year = 0;  // the year's record instead of a term
constexpr int Terms = 3;

// What the class and the school put on every card (the settings).
struct Texts {
    QString school;     // 学校名
    QString className;  // 「第２学年１組」
    QString teacher;    // 担任の氏名
    bool hideGrades = false;  // no 評定 (grades 1 and 2)
};

struct Viewpoint {
    int number = 0;  // 1..4
    QString name;
    QString grade;   // "A" "B" "C", empty without one
    bool overruled = false;
};

struct Subject {
    int number = 0;  // 1..9
    QString name;    // 国語
    QList<Viewpoint> viewpoints;
    QString grade;   // 評定 "3" "2" "1"; empty without one or when hidden
    bool overruled = false;
    int tests = 0;   // the tests counted
};

struct Attendance {
    int lessonDays = 0;      // 授業日数
    int leaveDays = 0;       // 出席停止・忌引等の日数
    int requiredDays = 0;    // 出席しなければならない日数
    int absenceDays = 0;     // 欠席日数
    int attendanceDays = 0;  // 出席日数
};

struct Card {
    int pupil = 0;
    QString name;
    int term = 0;  // 1..3, or Year
    QString termName;  // 「１学期」, 「年間」 (termName())
    QList<Subject> subjects;
    Attendance attendance;
    QString comment;
};

// The tests of a unit counted for a term (1..3), or every test for Year.
QList<int> testsOf(const TestSet& set, int term);
// Every pupil's card (pupils 1..pupilCount, in order) for term 1..3 or Year.
QList<Card> compute(const ClassData& data, const QList<UnitSets::Unit>& units, int term, const Texts& texts);

// The terms the class's year has, and each one's name: "１学期" .. "３学期",
// "年間" for the year.
int termCount(const ClassData& data);
QString termName(const ClassData& data, int term);

}  // namespace ReportCard
