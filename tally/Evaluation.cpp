#include "tally/Evaluation.h"

#include <cmath>
#include <cstring>

namespace {
constexpr int HighestKey = 1000;  // the counting table holds keys 0..1000 (values 0..100)
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

void computeRanks(ClassData& data)
{
    const int n = qBound(0, data.pupilCount, Limits::Pupils);
    std::memset(data.RankCount, 0, sizeof data.RankCount);
    std::memset(data.RankOrder, 0, sizeof data.RankOrder);
    int keys[Limits::Pupils + 1];
    for (int p = 1; p <= n; ++p) {
        data.RankOf[p] = 0;
        keys[p] = rankKey(data.RankValue[p]);
        if (keys[p] >= 0)
            ++data.RankCount[keys[p]];
    }
    // Running total from the highest key down: afterwards RankCount(j), j >= 1, is 1
    // + the number of pupils whose key is j or more, so RankCount(key + 1) is the
    // rank of a key: 1 + the number of pupils with a strictly greater key.
    int total = 1;
    for (int key = HighestKey; key >= 0; --key) {
        total += data.RankCount[key + 1];
        data.RankCount[key + 1] = total;
    }
    // Pupils with a value take the first free position from their rank on (ties in
    // attendance-number order); the others fill the list from the end.
    int tiesPlaced[Limits::Pupils + 2] = {};
    int withoutValue = 0;
    for (int p = 1; p <= n; ++p) {
        if (keys[p] >= 0) {
            const int rank = data.RankCount[keys[p] + 1];
            data.RankOrder[rank + tiesPlaced[rank]] = p;
            ++tiesPlaced[rank];
            data.RankOf[p] = rank;
        } else {
            data.RankOrder[n - withoutValue] = p;
            ++withoutValue;
        }
    }
}

namespace {

// 0 for the best grade, 1 for the middle, 2 for the lowest, -1 for an unknown mode.
int grade(int mode, const int* t, int pupils, float average, int rank)
{
    switch (mode) {
    case 0:
        if (rank <= t[1])
            return 0;
        return rank < t[2] ? 1 : 2;
    case 1:
        if (average >= float(t[3]))
            return 0;
        return average > float(t[4]) ? 1 : 2;
    case 2: {
        // The shares are whole-number products divided by 100 and cut to their
        // integer part: 31 % of 30 pupils is 9.3, so ranks 1 to 9 get the top grade.
        // The product is taken in 32 bits, so a threshold above 100 cannot overflow.
        const auto share = [pupils](int percent) {
            const long long product = static_cast<long long>(percent) * pupils;
            return static_cast<int>(product >= 0 ? product / 100 : -((-product + 99) / 100));
        };
        const int top = share(t[5]);
        const int bottom = pupils - share(t[6]);
        if (rank <= top)
            return 0;
        return rank > bottom ? 2 : 1;
    }
    default:
        return -1;
    }
}

}  // namespace

QString overallGrade(const ClassData& data, float average, int rank)
{
    if (average < 0)
        return QStringLiteral(" -");
    const int s = qBound(1, data.subject, Limits::Units);
    static const QString marks[] = {QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")};
    const int g = grade(data.sHyoteiMode[s], data.sHyotei[s], data.pupilCount, average, rank);
    return g < 0 ? QString() : marks[g];
}

QString viewpointGrade(const ClassData& data, int viewpoint, float average, int rank)
{
    const int s = qBound(1, data.subject, Limits::Units);
    const int v = qBound(1, viewpoint, Limits::Viewpoints);
    static const QString marks[] = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    const int g = grade(data.rHyoteiMode[s][v], data.rHyotei[s][v], data.pupilCount, average, rank);
    return g < 0 ? QString() : marks[g];
}
