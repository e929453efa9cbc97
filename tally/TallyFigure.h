#pragma once
// What the tallies over several tests share: one pupil's figure in one group
// (average, rank, evaluation) and the weighted mean percentage of a pupil's scores.

#include "model/ClassData.h"
#include "tally/Evaluation.h"
#include "tally/TallyNumber.h"

#include <QString>

struct TallyFigure {
    TallyNumber average;  // NoValue: no score counts
    TallyNumber rank;     // NoValue with the average
    // The grade shown: "3" "2" "1" or "A" "B" "C"; empty without a value. The
    // teacher's grade where one is given (overruled), the computed one otherwise.
    QString evaluation;
    QString computed;        // the grade as computed
    bool overruled = false;  // evaluation is the teacher's grade (shown with "＊")
    bool hasValue() const { return average.hasValue(); }
};

namespace Tally {
// A test's weight in averages over several tests; a weight that is no positive
// number (a damaged class file) counts as 1.
inline double weightOf(const TestSet& set, int t)
{
    const double weight = set.weight[size_t(t)];
    return weight > 0 && weight <= 100 ? weight : 1.0;
}

// Whether every test 1..count weighs 1: the averages are then plain means.
inline bool weightsAllOne(const TestSet& set)
{
    for (int t = 1; t <= qBound(0, set.count, Limits::Tests); ++t)
        if (weightOf(set, t) != 1.0)
            return false;
    return true;
}

// A score cell as a number: the score, Absent (欠) or NotEntered (未).
inline TallyNumber scoreNumber(int score)
{
    return score >= 0 ? TallyNumber::of(score) : score == NotEntered ? TallyNumber::notEntered() : TallyNumber::absent();
}

// The pupil's mean percentage over the columns (t, c) of tests 1..count
// that `take(t, c)` accepts: each entered score as a percentage of its column's
// full marks, weighted by its test's weight (Σ weight × percent ÷ Σ weight). Absent
// and not-entered cells, and scores of a column with full marks 0 (no percentage),
// are left out of both sums. -1 when no score counts. With every weight 1 the sums
// are exactly those of a plain mean (1 × percent is percent, and the count is a
// whole number), so the figures stay the same to the last bit.
template <typename Take>
float meanPercent(const TestSet& set, int pupil, Take take)
{
    double sum = 0;
    double weights = 0;
    const int tests = qBound(0, set.count, Limits::Tests);
    for (int t = 1; t <= tests; ++t) {
        const int columns = qBound(0, set.columnCount[t], Limits::Columns);
        const double weight = weightOf(set, t);
        for (int c = 1; c <= columns; ++c) {
            const int score = set.score[t][c][pupil];
            const int full = set.fullMarks[t][c];
            if (score < 0 || full <= 0 || !take(t, c))
                continue;
            sum += weight * (100.0 / full * score);
            weights += weight;
        }
    }
    return weights == 0 ? -1.0f : float(sum / weights);
}

// Ranks the pupils 1..n on their values (negative = no value) into figures[1..n]:
// average, rank and `evaluate(average, rank)` for each pupil with a value; when
// `order` is given, order[1..n] gets the score order. Returns the class average of
// the values, NoValue when no pupil has one.
template <typename Evaluate>
TallyNumber rankFigures(const std::vector<float>& values, TallyFigure* figures, int* order, Evaluate evaluate)
{
    const Ranking ranking = rank(values);
    double sum = 0;
    int count = 0;
    for (int p = 1; p <= ranking.pupils(); ++p) {
        TallyFigure& figure = figures[p];
        figure = TallyFigure{};
        if (order)
            order[p] = ranking.pupilAt(p);
        const float value = values[size_t(p - 1)];
        if (value < 0)
            continue;
        const int rank = ranking.rankOf(p);
        figure.average = TallyNumber::of(value);
        figure.rank = TallyNumber::of(rank);
        figure.evaluation = evaluate(value, rank);
        figure.computed = figure.evaluation;
        sum += value;
        ++count;
    }
    return count == 0 ? TallyNumber::none() : TallyNumber::of(float(sum / count));
}

// The viewpoint a column measures, 1..4; 0 for none (or a kind outside 1..4).
inline int viewpointOf(const TestSet& set, int t, int c)
{
    const int kind = set.viewpoint[t][c];
    return (kind >= 1 && kind <= Limits::Viewpoints) ? kind : 0;
}
}  // namespace Tally
