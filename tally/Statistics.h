#pragma once
// The statistics of the free tally: every score of the unit in one table, one row
// per pupil and one column per test column, and the figures of any block of it:
// the average converted to 100 points, the average on the columns' own full marks,
// the highest and the lowest score. Both averages are cut (not rounded) to one
// decimal.

#include "model/ClassData.h"

#include <QString>
#include <QStringList>
#include <vector>

struct StatisticsColumn {
    int test = 0;       // 1..count
    int kind = 0;       // viewpoint measured, 0 = none
    int fullMarks = 0;
    bool firstOfTest = false;  // the test's first column carries its number as heading
    std::array<int, Limits::Pupils + 1> score{};  // -1 = absent
};

struct StatisticsTable {
    int pupils = 0;
    int tests = 0;
    std::array<QString, Limits::Pupils + 1> names;
    std::vector<StatisticsColumn> columns;  // data column n is columns[n - 1]
    std::array<QString, Limits::Tests + 1> testNames;
    QString viewpointNames[Limits::Viewpoints + 1];  // of the subject; index 0 empty
};

// A block of data cells: pupils top..bottom, data columns left..right (1-based),
// corners in either order.
struct StatisticsBlock {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
};

struct StatisticsResult {
    int count = 0;               // scores taken (absent cells are skipped)
    double convertedAverage = 0; // on 100 points, cut to one decimal; -1 when no column has full marks
    double rawAverage = 0;       // on the columns' own full marks, cut to one decimal
    int maximum = 0;
    int minimum = 0;
    bool singleColumn = false;
};

namespace StatisticsText {
// Results as the window shows them, each with a leading blank; the raw average only
// for a single column. All four empty when no score was taken.
struct Texts {
    QString converted, raw, maximum, minimum;
};
Texts results(const StatisticsResult& result);
// The current column's labels: "【3】 漢字テスト", the viewpoint name, "満点: 50".
QString testTitle(const StatisticsTable& table, int column);
QString viewpointName(const StatisticsTable& table, int column);
QString fullMarks(const StatisticsTable& table, int column);
// " 12 ": the test count as the window shows it.
QString testCount(const StatisticsTable& table);
// A score cell: "欠" or the number.
QString cell(int score);
}

// Every score of data.tests, with the viewpoint names of `subject`.
StatisticsTable buildStatisticsTable(const ClassData& data, int subject);

// The figures of a block; the block is clipped to the table.
StatisticsResult computeStatistics(const StatisticsTable& table, StatisticsBlock block);
// Cuts a value to one decimal, as the averages are shown (66.66 gives 66.6).
double cutToTenth(double value);
