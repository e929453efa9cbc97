#pragma once
// Number patterns as the sheets and grids show them: "##" and "###" (no digit for
// zero: 0 gives an empty text), "###.0" (one decimal, no leading zero: 0.5 gives
// ".5"), "0", and literal characters around them ("【##】" gives "【3】", " ###" gives
// " 85"). Halves are rounded away from zero.

#include <QString>

namespace Format {
QString pattern(double value, const QString& pattern);
inline QString hashes(double value) { return pattern(value, QStringLiteral("##")); }
inline QString oneDecimal(double value) { return pattern(value, QStringLiteral("###.0")); }
// A text that reads as a number is formatted; any other text is returned unchanged.
QString textPattern(const QString& text, const QString& pattern);
// The shortest decimal form of a single-precision value (90 for 90.0, 85.5, 66.66667).
QString shortest(float value);
// The text with full-width digits "０".."９" turned into "0".."9", as typed or pasted
// numbers are read.
QString halfWidthDigits(const QString& text);
}
