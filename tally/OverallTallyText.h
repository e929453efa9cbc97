#pragma once
// The texts of the overall tally: what OverallTallyWindow shows and the "aryoiki"
// sheet, both written from the same numbers (tally/OverallTally.h).
//
// A shown average is "###.0", a rank "##", an evaluation its grade (followed by
// "＊" where the teacher gave it); a group
// without a value shows dashes, " -" or "  -  " as the order places them. A figure
// not shown is an empty cell on screen; the sheet never leaves a cell empty and
// prints "-" there (and for an empty name or grade).

#include "tally/OverallTally.h"
#include "tally/ReportSheet.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace OverallTallyText {
constexpr int Columns = 17;
// Headings of the 17 columns: "番号", "氏名", "総平均", "総順位", "総評定", "平均1" .. "評定4".
QStringList headings();
// "総合成績順" followed by the viewpoint names: the items of the order chooser.
QStringList orderItems(const OverallTally& tally);
// "出席番号順", "総合成績順" or the viewpoint's name followed by "成績順".
QString orderText(const OverallTally& tally, OverallOrder order);
// The class's overall average "###.0", or "-" when no pupil has one.
QString overallAverage(const OverallTally& tally);
// The tests counted, for the printed sheet: "集計したテスト（3）：漢字1、漢字2、計算".
// A list too long for one printed line gives the test numbers instead, runs of
// numbers shortened ("テスト番号 1～12、15、20～31"); no test: "集計したテスト：なし".
// With weights other than 1: "集計したテスト（3）・重み付きの平均：漢字1（重み2）、
// 漢字2、計算（重み0.5）"; a list too long gives the numbers and then the tests that
// weigh other than 1 ("3（重み2）").
QString countedTests(const OverallTally& tally);
// That weighted list, or empty when every chosen test weighs 1 (the window's line).
QString weightedTests(const OverallTally& tally);
// Row v (1..4) of the viewpoint summary: number, name, class average, test count.
QStringList viewpointRow(const OverallTally& tally, int v);
}

// "総合集計一覧表-" + the unit name: the window's caption once it is open (and the
// caption the sheet's title and the preview's title are made from).
QString overallTallyCaption(const ClassData& data);
// The 17 cell texts of each pupil row as the window shows them, top to bottom.
QList<QStringList> overallGridRows(const OverallTally& tally, OverallOrder order, ShownFigures shown);
// The "aryoiki" sheet: the title row from the caption, the order text, the class
// overall average and the viewpoint figures; the heading row, then the pupil rows
// as the window shows them.
ReportSheet aryoikiSheet(const OverallTally& tally, const QString& caption, OverallOrder order, ShownFigures shown);
// The preview window's title: caption + "-" + order text.
QString aryoikiPreviewTitle(const OverallTally& tally, const QString& caption, OverallOrder order);
