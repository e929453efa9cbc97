#pragma once
// The terms of the school year: three (1学期, 2学期, 3学期) or two (前期, 後期), with
// the month each term begins. Months are the school year's (1 = April .. 12 =
// March), as everywhere in attendance. The first term always begins in April; a
// term ends where the next begins, the last in March.
//
// Kept in the settings (group UseMode): "TermCount" ("3" or "2"), "ThreeTermStarts"
// (the calendar months 2学期 and 3学期 begin, "8,1") and "TwoTermStart" (the calendar
// month 後期 begins, "10"), each written only once it differs from its default or
// is already stored, so that older settings files stay as they were.

#include <QString>
#include <QStringList>
#include <array>

struct TermPlan {
    int count = 3;                          // 3 or 2
    std::array<int, 3> threeStarts{1, 5, 10};  // school months terms 1..3 begin (April, August, January)
    std::array<int, 2> twoStarts{1, 7};        // school months 前期 and 後期 begin (April, October)

    int firstMonth(int term) const;  // 0 for a term the plan does not have
    int lastMonth(int term) const;
    bool operator==(const TermPlan& other) const
    {
        return count == other.count && threeStarts == other.threeStarts && twoStarts == other.twoStarts;
    }
    bool operator!=(const TermPlan& other) const { return !(*this == other); }
};

namespace Terms {

// "1学期" .. "3学期", or "前期", "後期"; empty for 0 or a term the plan does not have.
QString name(const TermPlan& plan, int term);
// The names of the plan's terms, term 1 first.
QStringList names(const TermPlan& plan);
// "（なし）" then the names: the choices of a test's term, by index = term.
QStringList choices(const TermPlan& plan);
// The calendar month (1..12) of a school month (1..12), and back.
int calendarMonth(int schoolMonth);
int schoolMonth(int calendarMonth);
// Why the starts cannot be (each later than the one before, in the school year);
// empty when they can.
QString problem(const TermPlan& plan);
// "4月～7月": the months of a term.
QString monthsText(const TermPlan& plan, int term);

}  // namespace Terms
