#pragma once
// Score entry's exchange with spreadsheets: a block of the grid as tab-separated
// text for the clipboard, and a tab-separated block from a spreadsheet read and
// checked cell by cell before any of it goes into the grid. Plain functions: the
// window puts what they plan into its scores.

#include "entry/ScoreTableModel.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace ScoreClipboard {

// Rows of cell texts as tab-separated lines, as spreadsheets read them. A cell
// holding a tab, a line end or a leading double quote is put in double quotes.
QString toText(const QList<QStringList>& rows);

// The rows and cells of tab-separated text as spreadsheets put it on the
// clipboard: lines end in LF or CR LF (the last line end starts no row of its
// own), and a cell in double quotes may hold tabs, line ends and doubled quotes.
QList<QStringList> parse(const QString& text);

// One pasted cell read as a score: half- or full-width digits are points; 欠, 欠席
// and "/" are absent; an empty cell is blank (未入力). In an observation the letters
// A, B, C (either case, half- or full-width) are 3, 2, 1 points as well. Nothing
// when it is none of these.
std::optional<ScoreCell> readScore(const QString& text, bool observation = false);

// Where a block goes and what the grid allows there.
struct Target {
    int pupil = 1;   // the cursor's pupil, 1..pupilNames.size()
    int column = 1;  // the cursor's score column, 1..4
    int columns = 0; // the score columns that take scores: 1..columns
    std::array<int, 4> fullMarks{};  // of columns 1..4 as the boxes show them
    QStringList pupilNames;          // pupils 1..n at 0..n-1
    bool observation = false;        // the test is an observation (Ａ・Ｂ・Ｃ)
};

struct PastedCell {
    int pupil = 0;
    int column = 0;  // 1..4
    ScoreCell cell = ScoreCell::blank();
};

struct Plan {
    QList<PastedCell> cells;
    // Why nothing may be pasted, naming the first cell refused; empty when every
    // cell may go in.
    QString refusal;
};

// Checks every cell of the block placed with its top left cell at the target,
// row by row from the left. An empty cell that falls outside the class or the
// columns is left out; any other cell there is refused, as is a cell that is not
// a score or is above its column's full marks. A refusal plans no cell at all.
Plan plan(const QList<QStringList>& rows, const Target& target);

}  // namespace ScoreClipboard
