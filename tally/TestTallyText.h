#pragma once
// The texts of the per-test tally: what TestTallyWindow shows and the "testdisp"
// sheet, both written from the same numbers (tally/TestTally.h).
//
// A total is "欠" without an entered column ("未" when every cell is not entered
// yet), "0" for 0, else the number, followed by "/" and the full marks of the
// columns sat when the pupil missed some ("25/50"); a score is "欠" when absent,
// "未" when not entered yet, else the number (the letter A/B/C in an observation
// test), and beyond the test's columns empty on screen and "-" on the sheet; a rank is "##" of the rank, or "- " (attendance
// order) or "  -  " (score order) for a pupil without a total. Averages are
// "###.0" (".0" for 0); a column beyond the test's own, a column of the test
// without any entered score, and a test where no pupil has a percentage show "-"
// instead (" -" on the sheet's title, as its other missing values).

#include "tally/ReportSheet.h"
#include "tally/TestTally.h"

#include <QString>
#include <QStringList>

namespace TestTallyText {
const QString Absent = QStringLiteral("欠");
const QString NoAverage = QStringLiteral("-");
// "3個目のテスト"
QString testNumber(const TestTally& tally);
// The grid's 8 headings: 番号 or 順位 first, as the order puts them.
QStringList headings(const TestTally& tally);
QString classAverage(const TestTally& tally);
QString fullMarks(const TestTally& tally);
// Of column k = 0..3.
QString columnAverage(const TestTally& tally, int k);
QString columnFullMarks(const TestTally& tally, int k);
// The 8 cells of every row as the window's grid shows them.
QList<QStringList> gridRows(const TestTally& tally);
}

// The texts of the chart of a test's distribution (the window's chart and its
// tip, the printed chart).
namespace DistributionText {
// "0～9", "10～19", …, "90～100".
QString binLabel(int bin);
// The text above the average line: "平均 64.4", or empty without an average.
QString average(const ScoreDistribution& distribution);
// The line under the chart: "人数 11人　欠席 1人", followed by "　未入力 3人" when
// pupils have cells not entered yet.
QString counts(const ScoreDistribution& distribution);
// Every bin's count ("90～100点：3人"), in the order the chart draws them, then the
// average (when there is one) and the counts: the lines of the chart's tip.
QStringList lines(const ScoreDistribution& distribution);
}

// "テスト別成績集計-" + the unit name: the window's caption.
QString testDisplayCaption(const ClassData& data);
// The "testdisp" sheet of a tally: "Titles" and one "Datas" row per pupil, and the
// chart of the distribution for the printed page.
ReportSheet testdispSheet(const TestTally& tally, const QString& caption);
// "テスト別集計-" + the test name: the preview window's title.
QString testdispPreviewTitle(const TestTally& tally);
