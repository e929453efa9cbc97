#pragma once
// The report card's sheets, made from the cards (tally/ReportCard.h): each pupil's
// 通知表 for a term, each pupil's year's record for 指導要録, and the class's
// year's record as one table for a spreadsheet. The layouts name the fields below
// (docs/LAYOUTS.md lists them with an example).
//
// A sheet's "Titles" fields: Title, SchoolYear, Term, School, ClassName, Teacher,
// Number, Name, GradeHeading (「評定」, empty when the class hides it), LessonDays,
// LeaveDays, RequiredDays, AbsenceDays, AttendanceDays, Comment. Its "Datas" rows,
// one per viewpoint of every subject: Subject (on the subject's first row only),
// Viewpoint, Grade (A/B/C), Hyotei (評定, on the subject's first row only).

#include "tally/ReportCard.h"
#include "tally/ReportSheet.h"

#include <QDate>
#include <QList>

namespace ReportCardSheet {

// The paper a term's card is printed on: A4 portrait, or A3 folded (two A4 pages
// side by side). The year's record is on A4.
enum class Paper { A4, A3Folded };

// The layout stems: "tsuchihyo", "tsuchihyo_a3", "yoroku".
QString stem(int term, Paper paper);
// "2026年度": the school year (April to March) of a day.
QString schoolYear(const QDate& day);

struct Heading {
    ReportCard::Texts texts;
    QString schoolYear;
    Paper paper = Paper::A4;
};

// The sheet of one card.
ReportSheet sheet(const ReportCard::Card& card, const Heading& heading);
QList<ReportSheet> sheets(const QList<ReportCard::Card>& cards, const Heading& heading);

// The class's year's record (or a term's cards) as one table (a CSV file): a row
// per pupil with the number, the name, every subject's viewpoint grades and 評定,
// the five attendance figures and the comments.
ReportSheet classRecord(const QList<ReportCard::Card>& cards, const Heading& heading);

// The file name of a pupil's sheet: "通知表_１学期_01_青木　一郎.pdf",
// "指導要録_01_青木　一郎.pdf"; of every pupil in one file: "通知表_１学期.pdf",
// "指導要録.pdf"; of the class's record: "指導要録.csv". Characters a file name
// cannot hold become "_".
QString pupilFileName(const ReportCard::Card& card);
// The class's file names follow any of the class's cards (their term).
QString classFileName(const ReportCard::Card& card, const QString& extension);

}  // namespace ReportCardSheet
