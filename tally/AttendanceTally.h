#pragma once
// The attendance figures, apart from any window: the month and tally names of the
// selector, the seven categories a month counts, the term and year sums with the
// days that follow from them in the detailed and the record-book (指導要録) view, and
// the "Shuseki" sheet, which formats those numbers. Months are the school year's:
// 1 = April .. 12 = March.

#include "model/ClassData.h"
#include "tally/ReportSheet.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace AttendanceTally {

// What a month counts for each pupil, in the order of the grid and of the file:
// ClassData::attendance[month][pupil][categoryNumber(category)].
enum class Category {
    Mourning = 1,  // 忌引
    Suspension,    // 出停
    RequiredDays,  // 必要日数
    AbsentIll,     // 病欠
    AbsentOther,   // 事欠
    Late,          // 遅刻
    LeftEarly,     // 早退
};
constexpr std::array<Category, Limits::Categories> categories{
    Category::Mourning,    Category::Suspension, Category::RequiredDays, Category::AbsentIll,
    Category::AbsentOther, Category::Late,       Category::LeftEarly};
// 1..7: the category's place in a pupil's line of the file.
constexpr int categoryNumber(Category category) { return int(category); }

enum class View { Detailed, RecordBook };  // 詳細表示, 指導要録用

// The months a tally sums, first..last; empty unless set.
struct MonthRange {
    int first = 0;
    int last = -1;
    bool isEmpty() const { return last < first; }
};

constexpr int TallyCount = 4;

// "４月" .. "３月": item i is month index i + 1.
QStringList monthNames();
// The selector item of a date's calendar month (April item 0 .. March item 11).
int monthItem(const QDate& date);

// "１学期集計", "２学期集計", "３学期集計", "年度末集計".
QStringList tallyNames();
QString tallyName(int index);
// Months of tally 0..3: April-July, August-December, January-March, the whole year.
// Any other index gives an empty range.
MonthRange range(int index);
// The same for the class's terms (model/Terms.h): tally t - 1 is term t, tally 3 the
// whole year. With two terms, "前期集計" and "後期集計" are tallies 0 and 1, and tally 2
// has no name and an empty range.
QString tallyName(const TermPlan& plan, int index);
MonthRange range(const TermPlan& plan, int index);
// The tallies the plan has, in order: 0, 1, (2,) 3.
QList<int> tallies(const TermPlan& plan);

// Headings of the grid: columns 0..8 in monthly input, 0..9 in a tally view.
QStringList inputHeadings();
QStringList tallyHeadings(View view);

// A pupil's required days: the lesson days less the mourning and suspension days
// (below zero when those are more than the lesson days).
int requiredDays(int lessonDays, int mourning, int suspension);

// A pupil's seven counts of a month, by categoryNumber(); item 0 unused.
using Counts = std::array<int, Limits::Categories + 1>;
Counts countsOf(const ClassData& data, int month, int pupil);

// ---- the months a pupil was in the class ----------------------------------------
// A pupil who transfers in (Transfer::insertIntoAttendance) has, in each month
// before the transfer, 出停 equal to that month's lesson days and every other count
// 0: the file keeps its form, and those months hold no 必要日数. Such months at the
// start of the year, with months without lesson days between them, are the months
// before the pupil joined; the tallies and the 指導要録 leave them out. (A pupil of
// the class from April who missed every lesson day of April, and of each month after
// it, by 出停 alone, with nothing else counted, looks the same: that month then
// counts as before joining.)
bool beforeJoining(const ClassData& data, int month, int pupil);

// ---- counts that cannot be ------------------------------------------------------
// Why a pupil's counts of a month with `lessonDays` cannot be, with the figures
// ("病欠 25日と事欠 0日で計 25日となり、必要日数 20日を超えます"); empty when they can.
// In a month with lesson days: 忌引 + 出停 above them, a count below zero, 忌引 +
// 出停 + 必要日数 above the lesson days, 病欠 + 事欠 above 必要日数. A month
// without lesson days (0: not known yet) is not checked.
QString countsProblem(int lessonDays, const Counts& counts);
// 「12月　3番 佐藤　蓮：…」: the problem with the month and the pupil.
QString problemText(int month, int pupil, const QString& name, const QString& problem);
struct Problem {
    int month = 0;
    int pupil = 0;
    QString text;  // problemText()
};
// The first month and pupil of the class whose counts cannot be.
std::optional<Problem> firstProblem(const ClassData& data);

// One pupil's counts summed over a range of months, and the days that follow.
struct PupilSums {
    std::array<int, Limits::Categories + 1> counts{};  // by categoryNumber(); item 0 unused
    int lessonDays = 0;  // of the months summed in which the pupil was in the class

    int operator[](Category category) const { return counts[size_t(categoryNumber(category))]; }
    int leaveDays() const;       // 忌引出停: mourning and suspension
    int absenceDays() const;     // 欠席日数: absent ill and absent otherwise
    int attendanceDays() const;  // 出席日数: required days less the days absent
};

// The sums of a range of months: the lesson days and each pupil's counts (1..45),
// of the months in which the pupil was in the class.
struct Sums {
    int lessonDays = 0;
    std::array<PupilSums, Limits::Pupils + 1> pupils{};
};
Sums sum(const ClassData& data, MonthRange months);

// A figure of a tally row: a number of days, or none where the view has no figure
// (the record-book view leaves its last column empty).
using Figure = std::optional<int>;
constexpr int FigureCount = 8;  // columns 2..9 of the grid and the sheet

// A pupil's row of a tally in a view: attendance number, name and figures.
struct Row {
    int pupil = 0;
    QString name;
    std::array<Figure, FigureCount> figures{};
};
Row row(const ClassData& data, const Sums& sums, int pupil, View view);

// Tally `index` in a view as the attendance window shows and prints it: its name,
// the lesson days, the heading row and one row per pupil.
struct Table {
    QString name;
    int lessonDays = 0;
    QStringList headings;
    QList<Row> rows;
};
Table table(const ClassData& data, int index, View view);

// ---- texts: how the grid and the sheet write the numbers ----------------------------

QString numberText(int pupil);       // attendance number, "##"
QString figureText(Figure figure);   // the number, 0 included; empty for none
// The ten texts of a tally row: number, name and the figures.
QStringList rowTexts(const Row& row);

// The "Shuseki" sheet of a tally table: the title (report title, tally name and
// lesson days), the heading row, then the pupils' rows; an empty text is stored as " ".
ReportSheet sheet(const Table& table);
ReportSheet sheet(const ClassData& data, int index, View view);
QString reportTitle();  // "【出欠集計一覧表】"
QString previewTitle(const QString& tallyName);  // "出欠集計-" + name

}  // namespace AttendanceTally
