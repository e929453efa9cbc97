#include "tally/Evaluation.h"

#include <cmath>

namespace {
constexpr int HighestKey = 1000;  // the counting table holds keys 0..1000 (values 0..100)

std::vector<int> keysOf(const std::vector<float>& values)
{
    std::vector<int> keys;
    keys.reserve(values.size());
    for (float value : values)
        keys.push_back(rankKey(value));
    return keys;
}

RankTable countKeys(const std::vector<int>& keys)
{
    RankTable table{};
    for (int key : keys)
        if (key >= 0)
            ++table[key];
    // Running total from the highest key down: afterwards entry j, j >= 1, is 1 +
    // the number of keys that are j or more.
    int total = 1;
    for (int key = HighestKey; key >= 0; --key) {
        total += table[key + 1];
        table[key + 1] = total;
    }
    return table;
}

}  // namespace

int Ranking::rankOf(int pupil) const
{
    return (pupil >= 1 && pupil <= pupils()) ? ranks[pupil] : 0;
}

int Ranking::pupilAt(int position) const
{
    return (position >= 1 && position <= pupils()) ? order[position] : 0;
}

int rankKey(float value)
{
    if (!(value >= 0.0f))  // negative or NaN: the pupil has no value
        return -1;
    // The product is taken in double precision: in single precision 85.35 * 10
    // comes to 853.5 and would round to 854 instead of 853.
    const double tenths = double(value) * 10.0;
    if (tenths >= HighestKey)
        return HighestKey;
    // nearbyint rounds exact halves to the even neighbour in the default mode.
    return static_cast<int>(std::nearbyint(tenths));
}

RankTable rankTable(const std::vector<float>& values)
{
    return countKeys(keysOf(values));
}

Ranking rank(const std::vector<float>& values)
{
    const int n = int(values.size());
    const std::vector<int> keys = keysOf(values);
    const RankTable table = countKeys(keys);
    Ranking ranking;
    ranking.ranks.assign(size_t(n) + 1, 0);
    ranking.order.assign(size_t(n) + 1, 0);
    // Pupils with a value take the first free position from their rank on (ties in
    // attendance-number order); the others fill the list from the end.
    std::vector<int> tiesPlaced(size_t(n) + 2, 0);
    int withoutValue = 0;
    for (int p = 1; p <= n; ++p) {
        const int key = keys[size_t(p - 1)];
        if (key >= 0) {
            const int r = table[size_t(key + 1)];
            ranking.order[size_t(r + tiesPlaced[size_t(r)])] = p;
            ++tiesPlaced[size_t(r)];
            ranking.ranks[size_t(p)] = r;
        } else {
            ranking.order[size_t(n - withoutValue)] = p;
            ++withoutValue;
        }
    }
    return ranking;
}

const SubjectCriteria& criteriaOf(const ClassData& data, int subject)
{
    return data.criteria[size_t(qBound(1, subject, Limits::Units))];
}

namespace {

// 0 for the best grade, 1 for the middle, 2 for the lowest, -1 for an unknown basis.
int grade(const GroupCriteria& criteria, int pupils, float average, int rank)
{
    switch (criteria.basis) {
    case GradeBasis::Rank:
        if (rank <= criteria.bestUpToRank)
            return 0;
        return rank < criteria.lowestFromRank ? 1 : 2;
    case GradeBasis::Score:
        if (average >= float(criteria.bestFromScore))
            return 0;
        return average > float(criteria.lowestUpToScore) ? 1 : 2;
    case GradeBasis::Share: {
        // The shares are whole-number products divided by 100 and cut to their
        // integer part: 31 % of 30 pupils is 9.3, so ranks 1 to 9 get the top grade.
        // The product is taken in 64 bits, so a threshold above 100 cannot overflow.
        const auto share = [pupils](int percent) {
            const long long product = static_cast<long long>(percent) * pupils;
            return static_cast<int>(product >= 0 ? product / 100 : -((-product + 99) / 100));
        };
        const int top = share(criteria.bestSharePercent);
        const int bottom = pupils - share(criteria.lowestSharePercent);
        if (rank <= top)
            return 0;
        return rank > bottom ? 2 : 1;
    }
    case GradeBasis::Goals: {
        // Compared as shown: in tenths, so 49.95 (shown 50.0) is not below 50.
        const int tenths = shownTenths(average);
        if (tenths >= criteria.attainedFromPercent * 10)
            return 0;
        return tenths < criteria.lowestBelowPercent * 10 ? 2 : 1;
    }
    }
    return -1;
}

}  // namespace

QString overallGrade(const GroupCriteria& criteria, int classSize, float average, int rank)
{
    if (average < 0)
        return QStringLiteral(" -");
    if (criteria.basis == GradeBasis::Goals)
        return {};  // from the viewpoints: gradeFromViewpoints
    static const QString marks[] = {QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")};
    const int g = grade(criteria, classSize, average, rank);
    return g < 0 ? QString() : marks[g];
}

QString viewpointGrade(const GroupCriteria& criteria, int classSize, float average, int rank)
{
    static const QString marks[] = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    const int g = grade(criteria, classSize, average, rank);
    return g < 0 ? QString() : marks[g];
}

int shownTenths(double average)
{
    // The rounding of Format::pattern: half away from zero, with its guard.
    const double tenths = std::floor(std::fabs(average) * 10.0 + 0.5 + 1e-9);
    return average < 0 ? -int(tenths) : int(tenths);
}

QString gradeFromViewpoints(const ViewpointPointsCriteria& criteria, const std::array<QString, 5>& viewpointGrades)
{
    int points = 0;
    int graded = 0;
    for (int v = 1; v <= Limits::Viewpoints; ++v) {
        if (!criteria.counted[size_t(v)])
            continue;
        const QString& grade = viewpointGrades[size_t(v)];
        const int value = grade == QLatin1String("A") ? 3 : grade == QLatin1String("B") ? 2 : grade == QLatin1String("C") ? 1 : 0;
        if (value == 0)
            continue;
        points += value;
        ++graded;
    }
    if (graded == 0)
        return {};
    // The mean points / graded against thresholds in hundredths, compared exactly:
    // points * 100 >= threshold * graded.
    if (points * 100 >= criteria.bestFromPoints * graded)
        return QStringLiteral("3");
    return points * 100 <= criteria.lowestUpToPoints * graded ? QStringLiteral("1") : QStringLiteral("2");
}
