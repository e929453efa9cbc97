#pragma once
// The statistics of the free tally as numbers: every score of the unit in one
// table, one row per pupil and one column per test column, and the figures of any
// block of it: the average converted to 100 points, the average on the columns'
// own full marks, the highest and the lowest score. Both averages are rounded to
// one decimal, half away from zero, as every average of the program. The converted average weights each score's percentage
// by its test's weight (Σ weight × percent ÷ Σ weight); absent and not-entered
// cells are left out. Their texts are made by tally/StatisticsText.h.

#include "model/ClassData.h"
#include "tally/TallyNumber.h"

#include <QString>
#include <array>
#include <vector>

struct StatisticsColumn {
    int test = 0;       // 1..count
    int kind = 0;       // viewpoint measured, 0 = none
    int fullMarks = 0;
    bool firstOfTest = false;  // the test's first column carries its number as heading
    double weight = 1;         // the test's weight
    bool observation = false;  // A/B/C typed straight in (3/2/1 of 3)
    std::array<TallyNumber, Limits::Pupils + 1> score;  // Absent when absent, NotEntered when not typed yet
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

// Every figure is NoValue when the block holds no entered score (count 0).
struct StatisticsResult {
    int count = 0;                 // scores taken (absent cells are skipped)
    TallyNumber convertedAverage;  // on 100 points, rounded to one decimal; NoValue when no column has full marks
    bool weighted = false;         // a score taken weighs other than 1
    TallyNumber rawAverage;        // on the columns' own full marks, rounded to one decimal
    TallyNumber maximum;
    TallyNumber minimum;
    bool singleColumn = false;
};

// Every score of data.tests, with the viewpoint names of `subject`.
StatisticsTable buildStatisticsTable(const ClassData& data, int subject);

// The figures of a block; the block is clipped to the table.
StatisticsResult computeStatistics(const StatisticsTable& table, StatisticsBlock block);
// Rounds a value to one decimal, as every average is shown (66.66 gives 66.7, 0.05
// gives 0.1).
double roundToTenth(double value);
