#pragma once
// One month of the class's attendance as the monthly input grid shows and edits it:
// the month's lesson days and each pupil's seven counts, as numbers. A count cell is
// empty (it counts as 0) or holds a number: a month read from the class shows its
// zeros as empty cells, the digit 0 empties a cell, and the count prompt may write
// an explicit 0. The rows are the pupils as they were when the grid was laid out;
// the last column belongs to a tally and stays empty here.

#include "attendance/AttendanceGridModel.h"
#include "model/ClassData.h"
#include "tally/AttendanceTally.h"

#include <optional>
#include <vector>

class AttendanceMonthModel : public AttendanceGridModel {
    Q_OBJECT
public:
    using Category = AttendanceTally::Category;
    using Count = std::optional<int>;  // an empty cell has no number

    using AttendanceGridModel::AttendanceGridModel;

    // Lays out a row for every pupil of `data`, every count empty, no month shown.
    void layOut(const ClassData& data);
    // Shows month 1..12 of `data`: its lesson days and the pupils' counts.
    void load(const ClassData& data, int month);
    // Puts the month shown back into `data`: the lesson days (0 when none are given)
    // and, while the rows still are the class's pupils, every count.
    void store(ClassData& data) const;
    // The month shown, 1..12; 0 while none is.
    int month() const { return shownMonth; }

    // The lesson days as typed; nothing while the box is empty.
    std::optional<int> lessonDays() const { return days; }
    void setLessonDays(std::optional<int> lessonDays) { days = lessonDays; }
    // The lesson days the required days were last filled in from (or loaded with).
    int requiredDaysBasis() const { return basis; }

    int pupils() const { return int(names.size()); }
    Count count(int pupil, Category category) const;
    int countValue(int pupil, Category category) const { return count(pupil, category).value_or(0); }

    // A digit typed into a cell replaces it (0 empties it); in 忌引 and 出停 the
    // row's 必要日数 follows, shown empty when it comes to 0. Counts that cannot be
    // (AttendanceTally::countsProblem) are refused: the row stays as it was, and the
    // refusal, naming the month, the pupil and the figures, is returned.
    QString typeDigit(int pupil, Category category, int digit);
    // A count from the prompt (empty or a number) replaces the cell; in 忌引 and
    // 出停 the row's 必要日数 follows as a number, 0 included. Refused as typeDigit.
    QString enterCount(int pupil, Category category, Count count);
    // 必要日揃え: every pupil's 必要日数 from the lesson days, 0 shown empty. A pupil
    // who had not joined the class yet that month keeps no 必要日数, and his 出停
    // follows the lesson days (AttendanceTally::beforeJoining).
    void fillRequiredDays();
    // Whether the pupil's row is of a month before he joined the class, as loaded
    // and not typed over since.
    bool beforeJoining(int pupil) const;

    // The category of grid column 2..8; nothing for any other column.
    static std::optional<Category> categoryAt(int column);
    static int columnOf(Category category);

    int rowCount(const QModelIndex& parent = {}) const override;

protected:
    QString cellText(int row, int column) const override;
    QVariant cellNumber(int row, int column) const override;
    QStringList headings() const override;

private:
    using Counts = std::array<Count, Limits::Categories + 1>;  // by categoryNumber(category)

    Count& cell(int pupil, Category category);
    void setCell(int pupil, Category category, Count count);
    // The row's 必要日数 from the lesson days and its 忌引 and 出停.
    int requiredDaysOf(int pupil) const;
    // Puts a count into the row (and 必要日数 after 忌引 and 出停) unless the row
    // could then not be; returns the refusal.
    QString replace(int pupil, Category category, Count count, bool requiredShownAsZero);

    QStringList names;  // pupils 1..n at items 0..n-1
    std::vector<Counts> counts;
    std::vector<bool> notJoined;  // by pupil - 1: the month is before the pupil joined
    int shownMonth = 0;
    std::optional<int> days;
    int basis = -1;
};
