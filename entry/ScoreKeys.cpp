#include "entry/ScoreKeys.h"

namespace ScoreKeys {

namespace {
KeyResult result(KeyAction action, int value = 0, bool check = false, PendingDigit pending = PendingDigit::none())
{
    KeyResult r;
    r.action = action;
    r.value = value;
    r.check = check;
    r.pending = pending;
    return r;
}
}  // namespace

KeyResult interpretKey(QChar key, InputMode mode, PendingDigit pending, const std::array<int, 4>& fixedValues)
{
    // Full-width digits and signs count as the keys they stand for.
    if (key.unicode() >= 0xFF01 && key.unicode() <= 0xFF5E)
        key = QChar(char16_t(key.unicode() - 0xFF01 + 0x21));
    // Enter confirms a lone first digit as the score, as moving on would.
    if ((key == QLatin1Char('\r') || key == QLatin1Char('\n')) && pending.waiting)
        return result(KeyAction::Show, pending.digit, true);
    if (key == QLatin1Char('/'))
        return result(KeyAction::Absent);
    if (mode == InputMode::Fixed) {
        int index = 0;
        if (key == QLatin1Char('*') || key == QLatin1Char('3'))
            index = 3;
        else if (key == QLatin1Char('1'))
            index = 1;
        else if (key == QLatin1Char('2'))
            index = 2;
        if (index == 0)
            return result(KeyAction::Beep);
        return result(KeyAction::Show, fixedValues[size_t(index)], true);
    }
    if (key == QLatin1Char('*'))
        return result(KeyAction::Show, 100, true);
    if (key == QLatin1Char('+'))
        return result(KeyAction::FullMarks);
    if (key < QLatin1Char('0') || key > QLatin1Char('9'))
        return result(KeyAction::Beep);
    const int digit = key.unicode() - '0';
    if (!pending.waiting)
        return result(KeyAction::Show, digit, false, PendingDigit::of(digit));
    return result(KeyAction::Show, pending.digit * 10 + digit, true);
}

KeyResult interpretObservationKey(QChar key)
{
    if (key.unicode() >= 0xFF01 && key.unicode() <= 0xFF5E)
        key = QChar(char16_t(key.unicode() - 0xFF01 + 0x21));
    if (key == QLatin1Char('/'))
        return result(KeyAction::Absent);
    if (key == QLatin1Char('+'))
        return result(KeyAction::FullMarks);
    const char16_t letter = key.toUpper().unicode();
    if (letter >= u'A' && letter <= u'C')
        return result(KeyAction::Show, 'D' - letter, true);
    if (key >= QLatin1Char('1') && key <= QLatin1Char('3'))
        return result(KeyAction::Show, key.unicode() - '0', true);
    return result(KeyAction::Beep);
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
