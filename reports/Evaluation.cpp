#include "reports/Evaluation.h"

#include <cfenv>
#include <cmath>
#include <cstring>

int RankKey(float value)
{
    const float tenths = value * 10.0f;
    if (tenths < -0.5f)
        return -1;
    // Round to the nearest integer, exact halves to the even neighbour.
    const int key = static_cast<int>(std::nearbyint(tenths));
    // Values above 100 would leave the counting table: they rank as 100.
    return key > 1000 ? 1000 : key;
}

void ComputeRanks(ClassData& data)
{
    const int n = qBound(0, data.PupilCount, Limits::Pupils);
    std::memset(data.RankCount, 0, sizeof data.RankCount);
    std::memset(data.RankOrder, 0, sizeof data.RankOrder);
    int keys[Limits::Pupils + 1];
    for (int p = 1; p <= n; ++p) {
        data.RankOf[p] = 0;
        keys[p] = RankKey(data.RankValue[p]);
        if (keys[p] >= 0)
            ++data.RankCount[keys[p]];
    }
    // Afterwards RankCount(j), j >= 1, is 1 + the number of pupils whose key is j or more.
    int total = 1;
    for (int key = 1000; key >= 0; --key) {
        total += data.RankCount[key + 1];
        data.RankCount[key + 1] = total;
    }
    int tiesPlaced[Limits::Pupils + 2] = {};
    int withoutValue = 0;
    for (int p = 1; p <= n; ++p) {
        if (keys[p] >= 0) {
            const int rank = data.RankCount[keys[p] + 1];
            data.RankOrder[rank + tiesPlaced[rank]] = p;
            ++tiesPlaced[rank];
        } else {
            data.RankOrder[n - withoutValue] = p;
            ++withoutValue;
        }
    }
    for (int p = 1; p <= n; ++p)
        if (keys[p] >= 0)
            data.RankOf[p] = data.RankCount[keys[p] + 1];
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
        const int top = int(std::floor(double(t[5] * pupils) / 100.0));
        const int bottom = pupils - int(std::floor(double(t[6] * pupils) / 100.0));
        if (rank <= top)
            return 0;
        return rank > bottom ? 2 : 1;
    }
    default:
        return -1;
    }
}

}  // namespace

QString setsHyotei(const ClassData& data, float average, int rank)
{
    if (average < 0)
        return QStringLiteral(" -");
    const int s = data.KyokaNumber;
    static const QString marks[] = {QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")};
    const int g = grade(data.sHyoteiMode[s], data.sHyotei[s], data.PupilCount, average, rank);
    return g < 0 ? QString() : marks[g];
}

QString setrHyotei(const ClassData& data, int viewpoint, float average, int rank)
{
    const int s = data.KyokaNumber;
    const int v = qBound(1, viewpoint, Limits::Viewpoints);
    static const QString marks[] = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    const int g = grade(data.rHyoteiMode[s][v], data.rHyotei[s][v], data.PupilCount, average, rank);
    return g < 0 ? QString() : marks[g];
}
