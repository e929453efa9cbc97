#pragma once
// The evaluation criteria (評定基準) of one subject: how the overall grade "3"/"2"/"1"
// and each viewpoint's grade "A"/"B"/"C" are given. A group of criteria is the
// overall grade or one viewpoint; it grades by rank in the class, by average score
// or by share of the class, and keeps the two thresholds of each basis.
//
// The settings store numbers the thresholds 1..6 in the order of the fields (the
// digit k of the keys "sHyotei" + s + k); threshold() and setThreshold() translate
// that number to the named field. Everything else names the field.

#include <array>

// The basis of a group's grades, as stored ("0", "1", "2"). A stored number
// outside these three is kept as it is and gives no grade.
enum class GradeBasis : int {
    Rank = 0,   // 順位で
    Score = 1,  // 点数で
    Share = 2,  // ％で
};

struct GroupCriteria {
    static constexpr int Thresholds = 6;

    GradeBasis basis = GradeBasis::Rank;
    // By rank: ranks 1..bestUpToRank get the best grade, ranks from lowestFromRank
    // on the lowest ("位以内が３", "位以下が１").
    int bestUpToRank = 10;
    int lowestFromRank = 30;
    // By score: an average of bestFromScore or more gets the best grade, one of
    // lowestUpToScore or less the lowest ("点以上が３", "点以下が１").
    int bestFromScore = 90;
    int lowestUpToScore = 30;
    // By share: the best bestSharePercent % of the class get the best grade, the
    // last lowestSharePercent % the lowest ("％が３", "％が１").
    int bestSharePercent = 31;
    int lowestSharePercent = 7;

    // Threshold k = 1..6 in the order above; 0 for any other k.
    int threshold(int k) const;
    void setThreshold(int k, int value);

    bool operator==(const GroupCriteria& other) const;
    bool operator!=(const GroupCriteria& other) const { return !(*this == other); }
};

struct SubjectCriteria {
    static constexpr int Overall = 0;
    // Group 0 is the overall grade, groups 1..4 are 観点Ⅰ..Ⅳ.
    std::array<GroupCriteria, 5> groups;

    const GroupCriteria& overall() const { return groups[Overall]; }
    const GroupCriteria& viewpoint(int v) const { return groups[v]; }

    bool operator==(const SubjectCriteria& other) const { return groups == other.groups; }
    bool operator!=(const SubjectCriteria& other) const { return !(*this == other); }
};
