#pragma once
// The individual results: every test of the unit seen from one pupil, and the
// pupil's overall and per-viewpoint averages over all tests with their ranks in
// the class and their evaluations.
//
// The whole class is tallied once (computePupilTally); switching to another pupil
// only reads the tally. The tally keeps its own copy of the tests and names, so
// what a window shows does not change when another window reloads the model.
//
// Rules:
// - A test's total is the sum of the pupil's entered columns (no entered column:
//   no total); its rank is on the percentage of the test's full marks.
// - The overall average is the mean, over every entered score of every test, of
//   the score as a percentage of its column's full marks; every column weighs the
//   same. A viewpoint average takes only the columns that measure that viewpoint.
// - A column with full marks 0 gives no percentage: its scores are left out of
//   every average. A column measuring no viewpoint (kind 0) counts in the overall
//   average only, and shows under no viewpoint in the pupil's row.

#include "model/ClassData.h"
#include "tally/ReportSheet.h"
#include "tally/TallyFigure.h"

#include <QList>
#include <QString>
#include <QStringList>

struct PupilTally {
    int pupils = 0;
    TestSet set;  // the tests as loaded when the tally was made
    std::array<QString, Limits::Pupils + 1> names;
    QString viewpointLabel[Limits::Viewpoints + 1];  // "1:関心,意欲,態度", index 1..4
    int testTotal[Limits::Tests + 1][Limits::Pupils + 1]{};  // -1 = no total
    int testRank[Limits::Tests + 1][Limits::Pupils + 1]{};   // -1 = no rank
    TallyFigure overall[Limits::Pupils + 1];
    TallyFigure viewpoint[Limits::Viewpoints + 1][Limits::Pupils + 1];
};

// The texts of the summary lines of one pupil: index 0 the overall line
// (average, rank, "3"/"2"/"1"), 1..4 the viewpoint lines (average, rank, "A"/"B"/"C").
struct PupilSummary {
    QString average[Limits::Viewpoints + 1];
    QString rank[Limits::Viewpoints + 1];
    QString evaluation[Limits::Viewpoints + 1];
};

namespace PupilTallyText {
// Headings of the per-test grid, columns 0..7.
QStringList headings();
// The chooser's line for a pupil: " 3 上田".
QString pupilItem(const PupilTally& tally, int pupil);
}

// "個人別成績集計-" + the unit name: the window's caption.
QString kojinCaption(const ClassData& data);
// The preview window's title: caption followed by the chooser's text (" 3 上田").
QString kojinPreviewTitle(const PupilTally& tally, int pupil, const QString& caption);

// Tallies every pupil over every test of data.tests, with the viewpoint names and
// the criteria of `subject` (1..9).
PupilTally computePupilTally(const ClassData& data, int subject);

// One grid row per test for the pupil: number, name, total, the four viewpoint
// cells and the rank, as the window shows them.
QList<QStringList> pupilTestRows(const PupilTally& tally, int pupil);
PupilSummary pupilSummary(const PupilTally& tally, int pupil);

// The "kojin" sheet of one pupil, built from what the window shows: its caption,
// the chooser's text, the summary texts and the grid rows.
ReportSheet kojinSheet(const QString& caption, const QString& nameText, const QString (&viewpointLabels)[5],
                       const PupilSummary& summary, const QList<QStringList>& rows);
// The same sheet straight from the tally.
ReportSheet kojinSheet(const PupilTally& tally, int pupil, const QString& caption);
// Every pupil's "kojin" sheet in attendance-number order, for one document.
QList<ReportSheet> kojinSheets(const PupilTally& tally, const QString& caption);
// The caption followed by "-全員": the title of that document's preview and PDF file.
QString kojinAllPreviewTitle(const QString& caption);
