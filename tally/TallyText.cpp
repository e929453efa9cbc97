#include "tally/TallyText.h"

#include "model/Format.h"

#include <cmath>

QString TallyText::cell(const TallyNumber& number, const CellText& style)
{
    switch (number.state) {
    case TallyNumber::State::Value:
        if (number.value == 0 && !style.zero.isNull())
            return style.zero;
        return Format::pattern(number.value, style.pattern);
    case TallyNumber::State::Absent:
        return style.absent;
    case TallyNumber::State::NotEntered:
        return NotEntered;
    case TallyNumber::State::NoValue:
        return style.noValue;
    case TallyNumber::State::NotInTest:
        return style.notInTest;
    }
    return style.noValue;
}

QString TallyText::shortestTenth(double value)
{
    // The same rounding as Format::pattern: half away from zero, with its guard.
    const double tenths = std::floor(std::fabs(value) * 10.0 + 0.5 + 1e-9);
    const double rounded = tenths / 10.0;
    return Format::shortest(float(value < 0 && tenths != 0 ? -rounded : rounded));
}

QString TallyText::observation(const TallyNumber& number, const CellText& style)
{
    static const QString letters[] = {QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("A")};
    if (number.hasValue() && (number.value == 1 || number.value == 2 || number.value == 3))
        return letters[int(number.value) - 1];
    return cell(number, style);
}

QString TallyText::grade(const TallyFigure& figure, const QString& dash)
{
    if (figure.overruled)
        return figure.evaluation + Overruled;
    return figure.hasValue() ? figure.evaluation : dash;
}

QString TallyText::weight(double weight)
{
    return QStringLiteral("（重み%1）").arg(Format::shortest(float(weight)));
}
