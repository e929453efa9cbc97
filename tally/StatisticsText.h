#pragma once
// The texts of the free tally's window (StatisticsWindow), written from the numbers
// of tally/Statistics.h.

#include "tally/Statistics.h"

#include <QString>
#include <QStringList>

namespace StatisticsText {
// Results as the window shows them, each with a leading blank; the raw average only
// for a single column; " -" for a converted average without full marks. All four
// empty when no score was taken. The note says "重み付きの平均" when a score taken
// weighs other than 1, else it is empty.
struct Texts {
    QString converted, raw, maximum, minimum, note;
};
Texts results(const StatisticsResult& result);
// The grid's headings for `columnCount` grid columns: "番号", "氏名", then the test's
// number (" 3") over the first column of each test, empty elsewhere.
QStringList headings(const StatisticsTable& table, int columnCount);
// The number column's cell: " 3".
QString pupilNumber(int pupil);
// The current column's labels: "【3】 漢字テスト" (followed by "（重み2）" for a test
// that weighs other than 1), the viewpoint name, "満点: 50".
QString testTitle(const StatisticsTable& table, int column);
QString viewpointName(const StatisticsTable& table, int column);
QString fullMarks(const StatisticsTable& table, int column);
// " 12 ": the test count as the window shows it.
QString testCount(const StatisticsTable& table);
// A score cell of the pupil: "欠", "未" or the number (the letter A/B/C in an
// observation test).
QString cell(const StatisticsColumn& column, int pupil);
}
