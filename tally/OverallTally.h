#pragma once
// The overall tally of one subject over the tests chosen for it:
// per pupil the overall average of every chosen column with its rank and
// evaluation "3"/"2"/"1", and per viewpoint the average of the columns measuring
// it with its rank and evaluation "A"/"B"/"C"; per viewpoint the class average and
// the number of chosen columns; the class's overall average. Then the texts of the
// pupil grid for each order and each choice of shown figures, and the "aryoiki"
// sheet.
//
// Averages are means of percentages of the columns' full marks, every column
// weighing the same; a column with full marks 0 gives no percentage and is left
// out; a column measuring no viewpoint counts in the overall average only.
// The tally is made once; the orders and the shown figures only change the texts.

#include "model/ClassData.h"
#include "tally/ReportSheet.h"
#include "tally/TallyFigure.h"

#include <QList>
#include <QString>
#include <QStringList>

struct OverallTally {
    int pupils = 0;
    QList<int> chosenTests;  // the tests of the set it covers, ascending
    QStringList chosenTestNames;  // their names, in the same order
    std::array<QString, Limits::Pupils + 1> names;
    QString viewpointNames[Limits::Viewpoints + 1];  // of the subject, index 1..4
    TallyFigure overall[Limits::Pupils + 1];
    TallyFigure viewpoint[Limits::Viewpoints + 1][Limits::Pupils + 1];
    float classAverage[Limits::Viewpoints + 1]{};  // mean of the pupils' averages; -1 = none
    int testCount[Limits::Viewpoints + 1]{};       // chosen columns measuring the viewpoint
    float overallClassAverage = -1;                // mean of the overall averages; -1 = none
    // Position 1..pupils to attendance number: best first, ties by number, pupils
    // without a value last. Index 0 of viewpointOrder is the overall order.
    int order[Limits::Viewpoints + 1][Limits::Pupils + 1]{};
};

// How the grid is listed: by attendance number, or by score of the overall average
// (viewpoint 0) or of viewpoint 1..4 — the order choice and Cb_RyoikiName's item.
struct OverallOrder {
    bool byScore = false;
    int viewpoint = 0;
};

// Which figures of each group are shown (lstDisplay's three ticks).
struct ShownFigures {
    bool average = true;
    bool rank = true;
    bool evaluation = true;
};

namespace OverallTallyText {
constexpr int Columns = 17;
// Headings of the 17 columns: "番号", "氏名", "総平均", "総順位", "総評定", "平均1" .. "評定4".
QStringList headings();
// "総合成績順" followed by the viewpoint names: the items of Cb_RyoikiName.
QStringList orderItems(const OverallTally& tally);
// "出席番号順", "総合成績順" or the viewpoint's name followed by "成績順".
QString orderText(const OverallTally& tally, OverallOrder order);
// The class's overall average "###.0", or "-" when no pupil has one.
QString overallAverage(const OverallTally& tally);
// The tests counted, for the printed sheet: "集計したテスト（3）：漢字1、漢字2、計算".
// A list too long for one printed line gives the test numbers instead, runs of
// numbers shortened ("テスト番号 1～12、15、20～31"); no test: "集計したテスト：なし".
QString countedTests(const OverallTally& tally);
// Row v (1..4) of the viewpoint summary: number, name, class average, test count.
QStringList viewpointRow(const OverallTally& tally, int v);
}

// "総合集計一覧表-" + the unit name: the window's caption once it is open (and the
// caption the sheet's title and the preview's title are made from).
QString overallTallyCaption(const ClassData& data);

// Tallies data.tests over the chosen tests (numbers outside the set are left
// out), with the viewpoint names and the criteria of `subject` (1..9).
OverallTally computeOverallTally(const ClassData& data, int subject, const QList<int>& chosenTests);

// Position 1..pupils to attendance number for the order.
int pupilAt(const OverallTally& tally, OverallOrder order, int position);
// The 17 cell texts of each pupil row, top to bottom.
QList<QStringList> overallGridRows(const OverallTally& tally, OverallOrder order, ShownFigures shown);

// The "aryoiki" sheet: the title row from the caption, the order text, the class
// overall average text and the viewpoint figures; the heading row, then the grid
// rows as shown.
ReportSheet aryoikiSheet(const OverallTally& tally, const QString& caption, OverallOrder order,
                         const QString& overallAverageText, const QList<QStringList>& gridRows);
ReportSheet aryoikiSheet(const OverallTally& tally, const QString& caption, OverallOrder order, ShownFigures shown);
// The preview window's title: caption + "-" + order text.
QString aryoikiPreviewTitle(const OverallTally& tally, const QString& caption, OverallOrder order);
