#pragma once
// The per-test tally as figures and texts, without a window: for one test of the
// current unit, the grid's headings and cell texts in attendance-number or score
// order, the viewpoint names, column averages and full marks, the class average,
// and the "testdisp" sheet built from them. The window TestTallyWindow shows these
// texts; an export can print the same sheet.
//
// Cell texts: a total is "欠" when the pupil has no entered column, "0" for a total
// of 0, else the number; a score is empty beyond the test's columns, "欠" when not
// entered, else the number; a rank is "##" of the rank, or "- " (attendance order)
// or "  -  " (score order) for a pupil without a total. Averages are "###.0"
// (".0" for 0); a column of the test without any entered score, and a test where
// no pupil has a percentage, show "-" instead.

#include "model/ClassData.h"
#include "tally/ReportSheet.h"
#include "tally/ScoreDistribution.h"

#include <QString>
#include <QStringList>
#include <array>

enum class TallyOrder { AttendanceNumber, Score };  // Op_Mode (0) "出席番号順", (1) "成績順"

struct TestTally {
    int test = 0;
    TallyOrder order = TallyOrder::AttendanceNumber;
    QString testName;        // Cb_TestTitle
    QString testNumberText;  // L_Title: "3個目のテスト"
    QString classAverage;    // Lb_Avrg: mean percentage of the pupils with a total
    QString fullMarks;       // full marks of the test, "###"
    std::array<QString, 4> viewpointNames;  // RyoikiMei (0..3)
    std::array<QString, 4> columnAverages;  // lbAvarage (0..3)
    std::array<QString, 4> columnFullMarks; // lbAvarage (4..7)
    QStringList headings;                   // the grid's 8 headings
    QList<QStringList> rows;                // one row of 8 cell texts per pupil, in order
    std::array<int, Limits::Pupils + 1> pupilOfRow{};  // attendance number shown in row r (1-based)
    // The spread of the percentages; drawn best first in score order. The class
    // average above is its average.
    ScoreDistribution distribution;
};

namespace TestTallyText {
const QString Absent = QStringLiteral("欠");
const QString NoAverage = QStringLiteral("-");
}

// The tally of test `test` (1..count) of the loaded test set, with the viewpoint
// names of `subject`; a test outside the set gives a tally without rows.
TestTally computeTestTally(const ClassData& data, int subject, int test, TallyOrder order);

// "テスト別成績集計-" + the unit name: the window's caption.
QString testDisplayCaption(const ClassData& data);
// The "testdisp" sheet of a tally: "Titles" and one "Datas" row per grid row, and
// the chart of the distribution for the printed page.
ReportSheet testdispSheet(const TestTally& tally, const QString& caption);
// "テスト別集計-" + the test name: the preview window's title.
QString testdispPreviewTitle(const TestTally& tally);
