#include "attendance/AttendanceMonthModel.h"

using namespace AttendanceTally;

namespace {
// A count as 必要日揃え and single-digit typing leave it: 0 as an empty cell.
AttendanceMonthModel::Count blankZero(int value)
{
    return value == 0 ? AttendanceMonthModel::Count() : AttendanceMonthModel::Count(value);
}
}  // namespace

void AttendanceMonthModel::layOut(const ClassData& data)
{
    beginResetModel();
    const int pupils = qBound(0, data.pupilCount, Limits::Pupils);
    names.clear();
    for (int p = 1; p <= pupils; ++p)
        names << data.pupilName[size_t(p)];
    counts.assign(size_t(pupils), Counts{});
    notJoined.assign(size_t(pupils), false);
    shownMonth = 0;
    endResetModel();
}

void AttendanceMonthModel::load(const ClassData& data, int month)
{
    if (month < 1 || month > Limits::Months)
        return;
    shownMonth = month;
    days = data.lessonDays[month];
    basis = data.lessonDays[month];
    for (int p = 1; p <= pupils(); ++p) {
        for (Category category : categories)
            cell(p, category) = p <= data.pupilCount ? blankZero(data.attendance[month][p][categoryNumber(category)]) : Count();
        notJoined[size_t(p - 1)] = p <= data.pupilCount && AttendanceTally::beforeJoining(data, month, p);
    }
    if (pupils() > 0)
        emit dataChanged(index(0, FirstFigureColumn), index(pupils() - 1, Columns - 1), {Qt::DisplayRole, Qt::EditRole});
}

void AttendanceMonthModel::store(ClassData& data) const
{
    if (shownMonth < 1 || shownMonth > Limits::Months)
        return;
    data.lessonDays[shownMonth] = days.value_or(0);
    // Should the roster have changed since the rows were laid out, they no longer
    // match the pupils and are not stored.
    if (pupils() != data.pupilCount)
        return;
    for (int p = 1; p <= pupils(); ++p)
        for (Category category : categories)
            data.attendance[shownMonth][p][categoryNumber(category)] = countValue(p, category);
}

AttendanceMonthModel::Count AttendanceMonthModel::count(int pupil, Category category) const
{
    if (pupil < 1 || pupil > pupils())
        return {};
    return counts[size_t(pupil - 1)][size_t(categoryNumber(category))];
}

QString AttendanceMonthModel::typeDigit(int pupil, Category category, int digit)
{
    if (pupil < 1 || pupil > pupils() || digit < 0 || digit > 9)
        return {};
    return replace(pupil, category, blankZero(digit), false);
}

QString AttendanceMonthModel::enterCount(int pupil, Category category, Count count)
{
    if (pupil < 1 || pupil > pupils())
        return {};
    return replace(pupil, category, count, true);
}

QString AttendanceMonthModel::replace(int pupil, Category category, Count count, bool requiredShownAsZero)
{
    Counts row = counts[size_t(pupil - 1)];
    row[size_t(categoryNumber(category))] = count;
    const bool requiredFollows = category == Category::Mourning || category == Category::Suspension;
    if (requiredFollows) {
        const auto value = [&row](Category c) { return row[size_t(categoryNumber(c))].value_or(0); };
        const int required = requiredDays(days.value_or(0), value(Category::Mourning), value(Category::Suspension));
        row[size_t(categoryNumber(Category::RequiredDays))] = requiredShownAsZero ? Count(required) : blankZero(required);
    }
    AttendanceTally::Counts values{};
    for (Category c : categories)
        values[size_t(categoryNumber(c))] = row[size_t(categoryNumber(c))].value_or(0);
    if (const QString problem = countsProblem(days.value_or(0), values); !problem.isEmpty())
        return problemText(shownMonth, pupil, names.value(pupil - 1), problem);
    notJoined[size_t(pupil - 1)] = false;
    setCell(pupil, category, count);
    if (requiredFollows)
        setCell(pupil, Category::RequiredDays, row[size_t(categoryNumber(Category::RequiredDays))]);
    return {};
}

void AttendanceMonthModel::fillRequiredDays()
{
    basis = days.value_or(0);
    for (int p = 1; p <= pupils(); ++p) {
        if (notJoined[size_t(p - 1)])
            cell(p, Category::Suspension) = blankZero(basis);
        cell(p, Category::RequiredDays) = notJoined[size_t(p - 1)] ? Count() : blankZero(requiredDaysOf(p));
    }
    if (pupils() > 0) {
        const int first = columnOf(Category::Suspension);
        const int last = columnOf(Category::RequiredDays);
        emit dataChanged(index(0, first), index(pupils() - 1, last), {Qt::DisplayRole, Qt::EditRole});
    }
}

bool AttendanceMonthModel::beforeJoining(int pupil) const
{
    return pupil >= 1 && pupil <= pupils() && notJoined[size_t(pupil - 1)];
}

std::optional<AttendanceMonthModel::Category> AttendanceMonthModel::categoryAt(int column)
{
    const int k = column - FirstFigureColumn + 1;
    if (k < 1 || k > Limits::Categories)
        return std::nullopt;
    return Category(k);
}

int AttendanceMonthModel::columnOf(Category category)
{
    return FirstFigureColumn + categoryNumber(category) - 1;
}

int AttendanceMonthModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : pupils();
}

QString AttendanceMonthModel::cellText(int row, int column) const
{
    if (column == 0)
        return numberText(row + 1);
    if (column == 1)
        return names.value(row);
    const std::optional<Category> category = categoryAt(column);
    const Count shown = category ? count(row + 1, *category) : Count();
    return shown ? QString::number(*shown) : QString();
}

QVariant AttendanceMonthModel::cellNumber(int row, int column) const
{
    const std::optional<Category> category = categoryAt(column);
    const Count shown = category ? count(row + 1, *category) : Count();
    return shown ? QVariant(*shown) : QVariant();
}

QStringList AttendanceMonthModel::headings() const
{
    return inputHeadings();
}

AttendanceMonthModel::Count& AttendanceMonthModel::cell(int pupil, Category category)
{
    return counts[size_t(pupil - 1)][size_t(categoryNumber(category))];
}

void AttendanceMonthModel::setCell(int pupil, Category category, Count count)
{
    cell(pupil, category) = count;
    const QModelIndex changed = index(pupil - 1, columnOf(category));
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

int AttendanceMonthModel::requiredDaysOf(int pupil) const
{
    return requiredDays(days.value_or(0), countValue(pupil, Category::Mourning), countValue(pupil, Category::Suspension));
}
