#include "model/Format.h"

#include <cmath>

QString Format::pattern(double value, const QString& pattern)
{
    // Split the pattern into literal prefix, number part and literal suffix.
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('#') || c == QLatin1Char('0') || c == QLatin1Char('.')) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return pattern;
    const QString prefix = pattern.left(first);
    const QString suffix = pattern.mid(last + 1);
    const QString number = pattern.mid(first, last - first + 1);
    const qsizetype dot = number.indexOf(QLatin1Char('.'));
    const QString integerPart = dot < 0 ? number : number.left(dot);
    const QString fractionPart = dot < 0 ? QString() : number.mid(dot + 1);
    const int decimals = int(fractionPart.size());
    const int requiredFractionDigits = int(fractionPart.count(QLatin1Char('0')));
    const int requiredIntegerDigits = int(integerPart.count(QLatin1Char('0')));

    const double scale = std::pow(10.0, decimals);
    // Round half away from zero, with a small guard against binary representation.
    const double scaled = std::fabs(value) * scale;
    const double rounded = std::floor(scaled + 0.5 + 1e-9);
    const bool negative = value < 0 && rounded != 0;
    const long long whole = static_cast<long long>(rounded / scale + 1e-9);
    const long long fraction = static_cast<long long>(rounded - double(whole) * scale + 0.5);

    QString integerText = whole == 0 ? QString() : QString::number(whole);
    while (integerText.size() < requiredIntegerDigits)
        integerText.prepend(QLatin1Char('0'));
    QString fractionText;
    if (decimals > 0) {
        fractionText = QString::number(fraction).rightJustified(decimals, QLatin1Char('0'));
        // Optional (#) fraction digits drop trailing zeros.
        while (fractionText.size() > requiredFractionDigits && fractionText.endsWith(QLatin1Char('0')))
            fractionText.chop(1);
    }
    QString text = integerText;
    if (dot >= 0)
        text += QLatin1Char('.') + fractionText;
    if (negative)
        text.prepend(QLatin1Char('-'));
    return prefix + text + suffix;
}

QString Format::textPattern(const QString& text, const QString& patternText)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? pattern(value, patternText) : text;
}

QString Format::shortest(float value)
{
    return QString::number(double(value), 'g', 7);
}

QString Format::halfWidthDigits(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        if (c.unicode() >= u'０' && c.unicode() <= u'９')
            c = QChar(u'0' + (c.unicode() - u'０'));
    return result;
}
