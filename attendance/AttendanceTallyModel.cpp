#include "attendance/AttendanceTallyModel.h"

using namespace AttendanceTally;

void AttendanceTallyModel::show(const Table& table)
{
    beginResetModel();
    shown = table;
    endResetModel();
}

int AttendanceTallyModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(shown.rows.size());
}

QString AttendanceTallyModel::cellText(int row, int column) const
{
    const Row& pupil = shown.rows[row];
    if (column == 0)
        return numberText(pupil.pupil);
    if (column == 1)
        return pupil.name;
    return figureText(pupil.figures[size_t(column - FirstFigureColumn)]);
}

QVariant AttendanceTallyModel::cellNumber(int row, int column) const
{
    const int figure = column - FirstFigureColumn;
    if (figure < 0 || figure >= FigureCount)
        return {};
    const Figure value = shown.rows[row].figures[size_t(figure)];
    return value ? QVariant(*value) : QVariant();
}

QStringList AttendanceTallyModel::headings() const
{
    return shown.headings;
}
