#pragma once
// The texts of the free tally's window (StatisticsWindow), written from the numbers
// of tally/Statistics.h.

#include "tally/Statistics.h"

#include <QString>
#include <QStringList>

namespace StatisticsText {
// Results as the window shows them, each with a leading blank; the raw average only
// for a single column; " -" for a converted average without full marks. All four
// empty when no score was taken.
struct Texts {
    QString converted, raw, maximum, minimum;
};
Texts results(const StatisticsResult& result);
// The grid's headings for `columnCount` grid columns: "番号", "氏名", then the test's
// number (" 3") over the first column of each test, empty elsewhere.
QStringList headings(const StatisticsTable& table, int columnCount);
// The number column's cell: " 3".
QString pupilNumber(int pupil);
// The current column's labels: "【3】 漢字テスト", the viewpoint name, "満点: 50".
QString testTitle(const StatisticsTable& table, int column);
QString viewpointName(const StatisticsTable& table, int column);
QString fullMarks(const StatisticsTable& table, int column);
// " 12 ": the test count as the window shows it.
QString testCount(const StatisticsTable& table);
// A score cell: "欠" or the number.
QString cell(const TallyNumber& score);
}
