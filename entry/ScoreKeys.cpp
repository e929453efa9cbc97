#include "entry/ScoreKeys.h"

namespace ScoreKeys {

KeyResult interpretKey(QChar key, InputMode mode, bool& entryPending, int& entryValue,
                       const std::array<int, 4>& fixedValues)
{
    // Full-width digits and signs count as the keys they stand for.
    if (key.unicode() >= 0xFF01 && key.unicode() <= 0xFF5E)
        key = QChar(char16_t(key.unicode() - 0xFF01 + 0x21));
    KeyResult result;
    // Enter confirms a lone first digit as the score, as moving on would.
    if ((key == QLatin1Char('\r') || key == QLatin1Char('\n')) && entryPending) {
        entryPending = false;
        return {KeyAction::Show, entryValue, true};
    }
    if (key == QLatin1Char('/')) {
        entryPending = false;
        result.action = KeyAction::Absent;
        return result;
    }
    if (mode == InputMode::Fixed) {
        entryPending = false;
        int index = 0;
        if (key == QLatin1Char('*') || key == QLatin1Char('3'))
            index = 3;
        else if (key == QLatin1Char('1'))
            index = 1;
        else if (key == QLatin1Char('2'))
            index = 2;
        if (index == 0)
            return result;  // Beep
        entryValue = fixedValues[index];
        return {KeyAction::Show, entryValue, true};
    }
    if (key == QLatin1Char('*')) {
        entryPending = false;
        return {KeyAction::Show, 100, true};
    }
    if (key == QLatin1Char('+')) {
        entryPending = false;
        result.action = KeyAction::FullMarks;
        return result;
    }
    if (key < QLatin1Char('0') || key > QLatin1Char('9')) {
        entryPending = false;
        return result;  // Beep
    }
    const int digit = key.unicode() - '0';
    if (!entryPending) {
        entryPending = true;
        entryValue = digit;
        return {KeyAction::Show, digit, false};
    }
    entryPending = false;
    entryValue = entryValue * 10 + digit;
    return {KeyAction::Show, entryValue, true};
}

int numberIn(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

Advance nextCell(int row, int col, int chosen, int pupilCount, int viewpointCount)
{
    Advance next{row, col, false};
    if (chosen == 1) {
        if (row < pupilCount) {
            next.row = row + 1;
            next.scrollDown = viewpointCount == 1 && next.row >= ScrollFromRow;
        }
        return next;
    }
    if (col < chosen + 2) {
        next.col = col + 1;
    } else if (row < pupilCount) {
        next.row = row + 1;
        next.col = FirstScoreColumn;
        next.scrollDown = viewpointCount == chosen && next.row >= ScrollFromRow;
    }
    return next;
}

}  // namespace ScoreKeys
