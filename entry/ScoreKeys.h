#pragma once
// How score entry reads the keys typed into the score grid and where the cursor
// goes after a score is accepted. Plain functions: the window applies what they
// decide to the scores of its grid.

#include <QChar>
#include <array>

namespace ScoreKeys {

// Grid columns: 0 number, 1 name, 2 row total, 3..6 score columns Ⅰ..Ⅳ.
constexpr int NumberColumn = 0;
constexpr int NameColumn = 1;
constexpr int TotalColumn = 2;
constexpr int FirstScoreColumn = 3;
constexpr int LastScoreColumn = 6;
constexpr int ColumnCount = 7;
// From this pupil row on, an advance to the next row also scrolls the grid by one row.
constexpr int ScrollFromRow = 12;

enum class InputMode { Normal, Fixed };

enum class KeyAction {
    Beep,      // refused key; the pending digit is forgotten
    Absent,    // the pupil is absent (欠席) and the entry is committed
    Show,      // the cell holds `value`; committed after the full-marks check when `check` is set
    FullMarks, // every column of the row takes its full marks ("+")
};

// A first digit typed in normal mode that waits for its second one.
struct PendingDigit {
    bool waiting = false;
    int digit = 0;

    static PendingDigit none() { return {}; }
    static PendingDigit of(int digit) { return {true, digit}; }
    bool operator==(const PendingDigit& other) const { return waiting == other.waiting && digit == other.digit; }
};

struct KeyResult {
    KeyAction action = KeyAction::Beep;
    int value = 0;
    bool check = false;
    // What waits for the next key: a first digit after it, nothing after any other key.
    PendingDigit pending;
};

// Interprets one character typed into a score column while `pending` waits.
// `fixedValues` holds the fixed values of the keys 1..3 at indexes 1..3. Enter after
// a lone first digit confirms that digit as the score; otherwise it is refused like
// any other key.
KeyResult interpretKey(QChar key, InputMode mode, PendingDigit pending, const std::array<int, 4>& fixedValues);

// Interprets one character typed into a column of an observation (Ａ・Ｂ・Ｃ), in
// either input mode: A, B, C (either case, half- or full-width) and 3, 2, 1 give the
// points 3, 2, 1 at once; "/" is absent and "+" gives every column A (its full
// marks); any other key is refused.
KeyResult interpretObservationKey(QChar key);

// Where the cursor goes after an accepted score in (row, col), and whether the grid
// then scrolls down by one row. `chosen` is the number of chosen viewpoints,
// `viewpointCount` the number shown in the 観点数 box.
struct Advance {
    int row = 1;
    int col = FirstScoreColumn;
    bool scrollDown = false;
};
Advance nextCell(int row, int col, int chosen, int pupilCount, int viewpointCount);

}  // namespace ScoreKeys
