#pragma once
// The evaluation criteria (評定基準) of one subject: how the overall grade "3"/"2"/"1"
// and each viewpoint's grade "A"/"B"/"C" are given. A group of criteria is the
// overall grade or one viewpoint; it grades by rank in the class, by average score,
// by share of the class or against goals, and keeps the two thresholds of each basis.
//
// The settings store numbers the thresholds 1..6 in the order of the fields (the
// digit k of the keys "sHyotei" + s + k); threshold() and setThreshold() translate
// that number to the named field. Everything else names the field. The thresholds
// against goals are 7 and 8, kept by model/AppSettings only where they were set.

#include <QString>

#include <array>
#include <optional>

// The basis of a group's grades, as stored ("0" .. "3"). A stored number outside
// these four is kept as it is and gives no grade.
enum class GradeBasis : int {
    Rank = 0,   // 順位で
    Score = 1,  // 点数で
    Share = 2,  // ％で
    // Against goals (目標に準拠): a viewpoint by its attainment (到達率で), the
    // overall grade from the viewpoints' A/B/C (観点から).
    Goals = 3,
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
    // A viewpoint against goals (到達率で): an average, as shown with one decimal,
    // of attainedFromPercent or more is "A", one below lowestBelowPercent is "C".
    // Stored as thresholds 7 and 8 of the viewpoint; the overall group keeps its
    // own pair in SubjectCriteria.
    int attainedFromPercent = 80;
    int lowestBelowPercent = 50;

    // Threshold k = 1..6 in the order above; 0 for any other k.
    int threshold(int k) const;
    void setThreshold(int k, int value);

    bool operator==(const GroupCriteria& other) const;
    bool operator!=(const GroupCriteria& other) const { return !(*this == other); }
};

// The overall grade from the viewpoints (観点から): each counted viewpoint's "A",
// "B", "C" gives 3, 2, 1 points; the mean over the viewpoints that have a grade is
// "3" from bestFromPoints on, "1" up to lowestUpToPoints, else "2". The points are
// kept in hundredths ("2.5" is 250), so every comparison is exact.
struct ViewpointPointsCriteria {
    int bestFromPoints = 250;
    int lowestUpToPoints = 150;
    std::array<bool, 5> counted{false, true, true, true, true};  // viewpoints 1..4; index 0 unused

    bool operator==(const ViewpointPointsCriteria& other) const
    {
        return bestFromPoints == other.bestFromPoints && lowestUpToPoints == other.lowestUpToPoints &&
               counted == other.counted;
    }
};

struct SubjectCriteria {
    static constexpr int Overall = 0;
    // Group 0 is the overall grade, groups 1..4 are 観点Ⅰ..Ⅳ.
    std::array<GroupCriteria, 5> groups;
    // The thresholds of the overall grade against goals.
    ViewpointPointsCriteria fromViewpoints;

    const GroupCriteria& overall() const { return groups[Overall]; }
    const GroupCriteria& viewpoint(int v) const { return groups[v]; }

    bool operator==(const SubjectCriteria& other) const
    {
        return groups == other.groups && fromViewpoints == other.fromViewpoints;
    }
    bool operator!=(const SubjectCriteria& other) const { return !(*this == other); }
};

namespace Points {
// Hundredths of a point as text in its shortest form: 250 is "2.5", 200 is "2",
// 225 is "2.25".
QString text(int hundredths);
// "2.5", "2", "2.25" (blanks and full-width digits allowed) as hundredths; nothing
// for anything else (more than two decimals, a sign, letters).
std::optional<int> parse(const QString& text);
}
