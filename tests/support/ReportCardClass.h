#pragma once
// A small homeroom class for the report card, every figure worked out by hand.
// Three pupils; 国語 and 算数 in use, graded against goals (A from 80 %, C below
// 50 %; 評定 from the viewpoints: 3 from 2.5 points, 1 up to 1.5). Viewpoints:
// 知識・技能, 思考・判断・表現, 主体的に学習に取り組む態度.
//
// 国語 (percent):
//   T1 漢字1  term 1, weight 2, 観点Ⅰ /100:   P1 90   P2 60   P3 40
//   T2 読解1  term 1, weight 1, 観点Ⅱ /50:    P1 80   P2 40   P3 欠
//                              観点Ⅰ /50:    P1 60   P2 100  P3 未入力
//   T3 漢字2  term 2,           観点Ⅰ /100:   P1 70   P2 85   P3 50
//   T4 発表   term 2, observation 観点Ⅲ:      P1 A    P2 B    P3 C
//   overrulings: P2 評定 over tests 1,2 → "2" (computed "1"); P3 観点Ⅲ over
//   tests 3,4 → "B" (computed "C"); P1 観点Ⅰ over test 1 alone → "C" (no term's
//   tests, so on no card).
//   Term 1: Ⅰ P1 (2·90+60)/3 = 80 A, P2 (120+100)/3 = 73.3 B, P3 80/2 = 40 C;
//           Ⅱ P1 80 A, P2 40 C, P3 none; 評定 P1 3, P2 1.5 → 1, overruled 2; P3 1.
//   Term 2: Ⅰ P1 70 B, P2 85 A, P3 50 B; Ⅲ P1 A, P2 B, P3 C overruled B;
//           評定 P1 2.5 → 3, P2 2.5 → 3, P3 (B, B) 2 → 2.
//   Year:   Ⅰ P1 310/4 = 77.5 B, P2 305/4 = 76.25 B, P3 130/3 = 43.3 C;
//           Ⅱ A, C, none; Ⅲ A, B, C; 評定 P1 8/3 → 3, P2 5/3 → 2, P3 1 → 1.
// 算数: T1 たし算 term 1, 観点Ⅰ /100: P1 100 A, P2 50 B, P3 80 A; 評定 3, 2, 3.
//   Term 2 has no test: no grades. The year is term 1's.
//
// Attendance (忌引, 出停, 必要日数, 病欠, 事欠, 遅刻, 早退), lesson days April 10,
// May 20, August 20:
//   P1 April 1,0,9,1,0   May 0,0,20,0,2,1   August 0,0,20
//   P2 April 10          May 20             August 20
//   P3 April 10          May 20             August 0,2,18,3
//   Term 1 (授業, 忌引等, 必要, 欠席, 出席): P1 30 1 29 3 26; P2 30 0 30 0 30; P3 30 0 30 0 30.
//   Term 2: P1 20 0 20 0 20; P2 the same; P3 20 2 18 3 15.
//   Year:   P1 50 1 49 3 46; P2 50 0 50 0 50; P3 50 2 48 3 45.

#include "DataFiles.h"
#include "TestEnv.h"
#include "model/AttendanceFile.h"
#include "model/ViewpointNames.h"

#include <QTest>

namespace ReportCardClass {

inline QStringList names()
{
    return {QStringLiteral("青木　一郎"), QStringLiteral("石田　花子"), QStringLiteral("上野　蓮")};
}

inline QByteArray classFile()
{
    return QByteArrayLiteral(R"({
  "subjects": {
    "国語": {
      "overrulings": [
        {"pupil": 2, "group": 0, "tests": [1, 2], "computed": "1", "given": "2", "reason": "提出物", "date": "2026-07-15"},
        {"pupil": 3, "group": 3, "tests": [3, 4], "computed": "C", "given": "B", "reason": "授業の様子", "date": "2026-12-15"},
        {"pupil": 1, "group": 1, "tests": [1], "computed": "A", "given": "C", "reason": "単元のみ", "date": "2026-05-01"}
      ],
      "tests": [
        {"term": 1, "weight": 2},
        {"term": 1, "notEntered": {"2": [3]}},
        {"term": 2},
        {"term": 2, "kind": "observation"}
      ]
    },
    "算数": {"tests": [{"term": 1}]}
  },
  "version": 1
}
)");
}

// Writes the class into env's data folder and loads roster, attendance and settings
// into env.data.
inline void write(TestEnv& env)
{
    using namespace DataFiles;
    env.makeClass(names());
    env.writeFile(QStringLiteral("国語.dat"),
                  scoreLines({{QStringLiteral("漢字1"), {{1, 100, {90, 60, 40}}}},
                              {QStringLiteral("読解1"), {{2, 50, {40, 20, -1}}, {1, 50, {30, 50, 0}}}},
                              {QStringLiteral("漢字2"), {{1, 100, {70, 85, 50}}}},
                              {QStringLiteral("発表"), {{3, 3, {3, 2, 1}}}}}));
    env.writeFile(QStringLiteral("算数.dat"), scoreLines({{QStringLiteral("たし算"), {{1, 100, {100, 50, 80}}}}}));
    env.writeBytes(QStringLiteral("assessment.json"), classFile());
    const QList<QList<int>> april{{1, 0, 9, 1, 0, 0, 0}, {0, 0, 10, 0, 0, 0, 0}, {0, 0, 10, 0, 0, 0, 0}};
    const QList<QList<int>> may{{0, 0, 20, 0, 2, 1, 0}, {0, 0, 20, 0, 0, 0, 0}, {0, 0, 20, 0, 0, 0, 0}};
    const QList<QList<int>> august{{0, 0, 20, 0, 0, 0, 0}, {0, 0, 20, 0, 0, 0, 0}, {0, 2, 18, 3, 0, 0, 0}};
    const Attendance year = attendanceYear(
        3, [](int month) { return month == 1 ? 10 : month == 2 || month == 5 ? 20 : 0; },
        [&](int month, int pupil) {
            const QList<QList<int>>* table = month == 1 ? &april : month == 2 ? &may : month == 5 ? &august : nullptr;
            return table ? (*table)[pupil - 1] : QList<int>{0, 0, 0, 0, 0, 0, 0};
        });
    env.writeFile(QStringLiteral("shuketu.dat"), attendanceLines(year));
    QVERIFY(AttendanceFile::load(env.data).ok);

    ClassData& data = env.data;
    data.subjectInUse = {0, 1, 0, 1, 0, 0, 0, 0, 0, 0};
    data.viewpointName = ViewpointNames::currentCurriculum();
    for (int s = 1; s <= Limits::Units; ++s) {
        SubjectCriteria& criteria = data.criteria[size_t(s)];
        for (GroupCriteria& group : criteria.groups) {
            group.basis = GradeBasis::Goals;
            group.attainedFromPercent = 80;
            group.lowestBelowPercent = 50;
        }
    }
}

}  // namespace ReportCardClass
