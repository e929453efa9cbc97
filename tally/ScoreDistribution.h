#pragma once
// How one test's scores spread over the class: each pupil's total as a percentage
// of the full marks of the columns the pupil sat, counted in ten bins of ten points
// (0～9, 10～19, …, 80～89, and 90～100, which takes a full score too). A pupil
// without any entered column is left out of the bins and counted apart: as absent,
// or as not entered yet when every cell is 未入力. The pupils with a cell not
// entered yet are counted too. The class average is the mean percentage of the
// pupils in the bins, the figure the per-test tally shows as its class average.
//
// A pupil's bin is reckoned in whole numbers (total × 10 ÷ full marks), so a
// total of exactly 90 % lands in 90～100 whatever the rounding of its percentage.

#include "tally/TallyNumber.h"
#include "tally/TestTotals.h"

#include <array>

struct ScoreDistribution {
    static constexpr int Bins = 10;

    std::array<int, Bins> counts{};  // bin b: from 10b up to below 10b + 10 points (b = 9: 90～100)
    int absent = 0;                  // pupils without a total, not in the bins (not all 未入力)
    int notEntered = 0;              // pupils with a cell not entered yet
    int counted = 0;                 // pupils in the bins
    TallyNumber average;             // mean percentage of the pupils in the bins; NoValue when none
    // Read out from 90～100 down to 0～9, as the list runs in score order (the chart
    // keeps 0 at the left whatever the order).
    bool bestFirst = false;

    // The largest count of a bin (0 when the bins are empty).
    int largest() const;
};

// The distribution of a test's totals; a test whose full marks add up to 0 gives
// no percentage, so its pupils with a total are in no bin and not absent either.
ScoreDistribution scoreDistribution(const TestTotals& totals);
