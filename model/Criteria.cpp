#include "model/Criteria.h"

#include <QRegularExpression>

namespace {

// The fields of thresholds 1..6 (index 0 unused).
constexpr int GroupCriteria::*const Fields[GroupCriteria::Thresholds + 1] = {
    nullptr,
    &GroupCriteria::bestUpToRank,
    &GroupCriteria::lowestFromRank,
    &GroupCriteria::bestFromScore,
    &GroupCriteria::lowestUpToScore,
    &GroupCriteria::bestSharePercent,
    &GroupCriteria::lowestSharePercent,
};

}  // namespace

int GroupCriteria::threshold(int k) const
{
    return (k >= 1 && k <= Thresholds) ? this->*Fields[k] : 0;
}

void GroupCriteria::setThreshold(int k, int value)
{
    if (k >= 1 && k <= Thresholds)
        this->*Fields[k] = value;
}

bool GroupCriteria::operator==(const GroupCriteria& other) const
{
    if (basis != other.basis)
        return false;
    for (int k = 1; k <= Thresholds; ++k)
        if (threshold(k) != other.threshold(k))
            return false;
    return attainedFromPercent == other.attainedFromPercent && lowestBelowPercent == other.lowestBelowPercent;
}

QString Points::text(int hundredths)
{
    // Never negative: parse() gives none.
    const int value = qMax(0, hundredths);
    const QString whole = QString::number(value / 100);
    const int part = value % 100;
    if (part == 0)
        return whole;
    if (part % 10 == 0)
        return whole + QStringLiteral(".%1").arg(part / 10);
    return whole + QStringLiteral(".%1").arg(part, 2, 10, QLatin1Char('0'));
}

std::optional<int> Points::parse(const QString& text)
{
    static const QRegularExpression decimal(QStringLiteral("^([0-9]{1,3})(?:\\.([0-9]{1,2}))?$"));
    const QString plain = text.normalized(QString::NormalizationForm_KC).trimmed();
    const QRegularExpressionMatch match = decimal.match(plain);
    if (!match.hasMatch())
        return std::nullopt;
    QString part = match.captured(2);
    while (part.size() < 2)
        part += QLatin1Char('0');
    return match.captured(1).toInt() * 100 + part.toInt();
}
