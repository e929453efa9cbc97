#include "attendance/DayCount.h"

#include "model/Format.h"

namespace {
constexpr char16_t FullWidthZero = u'０';
constexpr char16_t FullWidthNine = u'９';
}  // namespace

QString DayCount::halfWidth(const QString& text)
{
    return Format::halfWidthDigits(text);
}

int DayCount::digitOf(QChar key)
{
    if (key >= QLatin1Char('0') && key <= QLatin1Char('9'))
        return key.unicode() - u'0';
    if (key.unicode() >= FullWidthZero && key.unicode() <= FullWidthNine)
        return key.unicode() - FullWidthZero;
    return -1;
}

std::optional<int> DayCount::parse(const QString& text)
{
    const QString digits = halfWidth(text).trimmed();
    if (digits.isEmpty() || digits.size() > 6)
        return std::nullopt;
    int value = 0;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > Maximum)
        return std::nullopt;
    return value;
}

QValidator::State DayCountValidator::validate(QString& input, int&) const
{
    input = DayCount::halfWidth(input);
    if (input.isEmpty())
        return Intermediate;
    if (input.size() > 3)
        return Invalid;
    for (QChar c : input)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return Invalid;
    return Acceptable;
}
