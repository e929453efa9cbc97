#pragma once
// Counts of days as the attendance window takes them: whole numbers 0..999, typed
// with half-width or full-width digits (a Japanese input method often leaves the
// latter), surrounding blanks ignored.

#include <QString>
#include <QValidator>
#include <optional>

namespace DayCount {
constexpr int Maximum = 999;

// The text with full-width digits "０".."９" turned into "0".."9".
QString halfWidth(const QString& text);
// The digit a typed character stands for (half- or full-width), or -1.
int digitOf(QChar key);
// The whole number 0..999 of a text; nothing for an empty text or any other text.
std::optional<int> parse(const QString& text);
}

// Keeps the lesson-days box to at most three digits; full-width digits are turned
// into half-width ones as they are typed. An empty box is allowed while typing.
class DayCountValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
