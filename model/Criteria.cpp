#include "model/Criteria.h"

namespace {

// The fields of thresholds 1..6 (index 0 unused).
constexpr int GroupCriteria::*const Fields[GroupCriteria::Thresholds + 1] = {
    nullptr,
    &GroupCriteria::bestUpToRank,
    &GroupCriteria::lowestFromRank,
    &GroupCriteria::bestFromScore,
    &GroupCriteria::lowestUpToScore,
    &GroupCriteria::bestSharePercent,
    &GroupCriteria::lowestSharePercent,
};

}  // namespace

int GroupCriteria::threshold(int k) const
{
    return (k >= 1 && k <= Thresholds) ? this->*Fields[k] : 0;
}

void GroupCriteria::setThreshold(int k, int value)
{
    if (k >= 1 && k <= Thresholds)
        this->*Fields[k] = value;
}

bool GroupCriteria::operator==(const GroupCriteria& other) const
{
    if (basis != other.basis)
        return false;
    for (int k = 1; k <= Thresholds; ++k)
        if (threshold(k) != other.threshold(k))
            return false;
    return true;
}
