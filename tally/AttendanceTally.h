#pragma once
// The attendance figures, apart from any window: the month and tally names of the
// selector, the cell texts of the monthly input, the term and year sums with the
// days that follow from them in the detailed and the record-book (指導要録) view,
// and the "Shuseki" sheet. Months are the school year's: 1 = April .. 12 = March;
// categories 1..7 = 忌引, 出停, 必要日数, 病欠, 事欠, 遅刻, 早退.

#include "model/ClassData.h"
#include "tally/ReportSheet.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace AttendanceTally {

enum class View { Detailed, RecordBook };  // 詳細表示, 指導要録用

struct Range {
    int StartMonth = 0;
    int EndMonth = -1;  // an empty range unless set
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
Range range(int index);

// Headings of the grid: columns 0..8 in monthly input, 0..9 in a tally view.
QStringList inputHeadings();
QStringList tallyHeadings(View view);

// Cell texts of the monthly input.
QString numberText(int pupil);     // attendance number, "##"
QString countText(int value);      // a count; empty below 1
// Required days of a row after single-digit typing or 必要日揃え: lesson days minus
// mourning and suspension days, "##" (0 empty, a negative result with its sign).
QString requiredDaysText(int lessonDays, int mourning, int suspension);
// The whole number a cell holds; an empty cell (or any text that is no number) is 0.
int cellValue(const QString& text);

// The sums of a range of months.
struct Sums {
    int lessonDays = 0;
    int S[Limits::Pupils + 1][Limits::Categories + 1]{};

    int leaveDays(int p) const { return S[p][1] + S[p][2]; }       // 忌引出停
    int absenceDays(int p) const { return S[p][4] + S[p][5]; }     // 欠席日数
    int attendanceDays(int p) const { return S[p][3] - (S[p][5] + S[p][4]); }  // 出席日数
};
Sums sum(const ClassData& data, Range months);

// Columns 0..9 of a pupil's row in a tally view, every figure a plain number.
QStringList tallyRow(const ClassData& data, const Sums& sums, int pupil, View view);

// The "Shuseki" sheet: an empty sheet with its fields, its title row, and one data
// row from the ten texts of a grid row ("Number" formatted "##", empty texts " ").
ReportSheet MakeDB();
void TitleSet(ReportSheet& sheet, const QString& Title, const QString& Mode, const QString& JugyoSu);
void Dataset(ReportSheet& sheet, const QStringList& columns);
QString reportTitle();  // "【出欠集計一覧表】"
QString previewTitle(const QString& tallyName);  // "出欠集計-" + name

// Tally `index` in a view as the attendance window shows and prints it: its name,
// the lesson days, the heading row and one row per pupil (tallyRow).
struct Table {
    QString name;
    int lessonDays = 0;
    QStringList headings;
    QList<QStringList> rows;
};
Table table(const ClassData& data, int index, View view);

// The "Shuseki" sheet of a tally table: the heading row, then the pupils' rows.
ReportSheet sheet(const Table& table);
ReportSheet sheet(const ClassData& data, int index, View view);

}  // namespace AttendanceTally
