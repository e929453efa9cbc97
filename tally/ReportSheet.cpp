#include "tally/ReportSheet.h"

namespace {
std::optional<QString> valueIn(const QStringList& fields, const QStringList& values, const QString& field)
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].compare(field, Qt::CaseInsensitive) == 0)
            return i < values.size() ? values[i] : QString();
    return std::nullopt;
}
}  // namespace

std::optional<QString> ReportSheet::fieldValue(const QString& field) const
{
    if (auto value = valueIn(titleFields, titleValues, field))
        return value;
    return valueIn(pageFields, pageValues, field);
}
