#pragma once
// The texts of the individual results: what PupilResultsWindow shows and the
// "kojin" sheet, both written from the same numbers (tally/PupilTally.h).
//
// In the grid a total is "欠" without an entered column ("未" when none was typed
// yet), "0" for 0, else the number, with "/" and the full marks of the columns sat
// when some were missed ("25/50"); a viewpoint's cell is empty when no column of
// the test measures it, "欠" or "未" when none of its columns has a score, else the
// sum of its columns' scores (likewise "38/50" when some were missed), and in an
// observation test the letter A/B/C; a test that weighs other than 1 has its weight
// after its name ("漢字（重み2）"); a rank is "##", or "- " without one. The
// sheet prints the same with a blank before each number (" 25", " 0") and "-" for
// an empty cell. The summary lines show "###.0", the rank and the evaluation, or
// dashes for a group without a value.

#include "tally/PupilTally.h"
#include "tally/ReportSheet.h"

#include <QStringList>

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
// "1:関心,意欲,態度": viewpoint k's line label.
QString viewpointLabel(const PupilTally& tally, int k);
// One grid row per test for the pupil: number, name, total, the four viewpoint
// cells and the rank.
QList<QStringList> gridRows(const PupilTally& tally, int pupil);
PupilSummary summary(const PupilTally& tally, int pupil);
// "平均は重み付きの平均…" when a test weighs other than 1, else empty: the window's
// line and the sheet's printed note.
QString averageNote(const PupilTally& tally);
// "未入力のある児童：3人" when pupils have cells not entered yet, else empty.
QString notEnteredNote(const PupilTally& tally);
}

// "個人別成績集計-" + the unit name: the window's caption.
QString kojinCaption(const ClassData& data);
// The preview window's title: caption followed by the chooser's text (" 3 上田").
QString kojinPreviewTitle(const PupilTally& tally, int pupil, const QString& caption);
// The "kojin" sheet of one pupil.
ReportSheet kojinSheet(const PupilTally& tally, int pupil, const QString& caption);
// Every pupil's "kojin" sheet in attendance-number order, for one document.
QList<ReportSheet> kojinSheets(const PupilTally& tally, const QString& caption);
// The caption followed by "-全員": the title of that document's preview and PDF file.
QString kojinAllPreviewTitle(const QString& caption);
