#include "entry/ScoreTableModel.h"

#include "model/ClassData.h"

#include <QBrush>

using namespace ScoreKeys;

ScoreCell ScoreCell::stored(int value)
{
    if (value == NotEntered)
        return blank();
    return value < 0 ? absent() : points(value);
}

int ScoreCell::toStored() const
{
    switch (kind) {
    case Kind::Blank:
        return NotEntered;
    case Kind::Absent:
        return Absent;
    case Kind::Points:
        break;
    }
    return number;
}

QString ScoreCell::text(bool observation) const
{
    switch (kind) {
    case Kind::Blank:
        return QString();
    case Kind::Absent:
        return QStringLiteral("欠席");
    case Kind::Points:
        break;
    }
    if (observation && number >= 1 && number <= 3)
        return QString(QChar(u'D' - number));  // 3 A, 2 B, 1 C
    return QString::number(number);
}

ScoreTableModel::ScoreTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void ScoreTableModel::setPupils(const QStringList& names)
{
    beginResetModel();
    rows.assign(size_t(names.size()), Row());
    for (int p = 0; p < names.size(); ++p)
        rows[size_t(p)].name = names[p];
    endResetModel();
}

void ScoreTableModel::setNumberColumnColours(const QColor& background, const QColor& text)
{
    numberBackground = background;
    numberText = text;
    rowsChanged(1, pupilCount(), NumberColumn, NumberColumn);
}

void ScoreTableModel::clearScores()
{
    for (Row& row : rows) {
        row.total = ScoreCell::blank();
        for (ScoreCell& cell : row.scores)
            cell = ScoreCell::blank();
    }
    rowsChanged(1, pupilCount(), TotalColumn, LastScoreColumn);
}

void ScoreTableModel::showTest(const TestSet& set, int t)
{
    const int columns = qBound(0, set.columnCount[t], Limits::Columns);
    for (int p = 1; p <= pupilCount(); ++p) {
        Row& row = rows[size_t(p - 1)];
        for (int c = 1; c <= Limits::Columns; ++c)
            row.scores[c - 1] = c <= columns ? ScoreCell::stored(set.score[t][c][p]) : ScoreCell::blank();
        row.total = set.score[t][1][p] == Absent ? ScoreCell::absent() : rowTotal(row);
    }
    observation = set.kind[size_t(t)] == TestKind::Observation;
    rowsChanged(1, pupilCount(), TotalColumn, LastScoreColumn);
}

void ScoreTableModel::setObservation(bool shown)
{
    if (observation == shown)
        return;
    observation = shown;
    rowsChanged(1, pupilCount(), TotalColumn, LastScoreColumn);
}

void ScoreTableModel::storeScores(TestSet& set, int t, int columns) const
{
    for (int p = 1; p <= pupilCount(); ++p)
        for (int c = 1; c <= qBound(0, columns, Limits::Columns); ++c)
            set.score[t][c][p] = rows[size_t(p - 1)].scores[c - 1].toStored();
}

ScoreCell ScoreTableModel::score(int pupil, int column) const
{
    if (!holds(pupil) || column < 1 || column > Limits::Columns)
        return ScoreCell::blank();
    return rows[size_t(pupil - 1)].scores[column - 1];
}

void ScoreTableModel::setScore(int pupil, int column, const ScoreCell& cell)
{
    if (!holds(pupil) || column < 1 || column > Limits::Columns)
        return;
    rows[size_t(pupil - 1)].scores[column - 1] = cell;
    const int gridColumn = FirstScoreColumn + column - 1;
    rowsChanged(pupil, pupil, gridColumn, gridColumn);
}

void ScoreTableModel::updateTotal(int pupil)
{
    if (!holds(pupil))
        return;
    Row& row = rows[size_t(pupil - 1)];
    row.total = rowTotal(row);
    rowsChanged(pupil, pupil, TotalColumn, TotalColumn);
}

ScoreCell ScoreTableModel::total(int pupil) const
{
    return holds(pupil) ? rows[size_t(pupil - 1)].total : ScoreCell::blank();
}

void ScoreTableModel::setTotal(int pupil, const ScoreCell& total)
{
    if (!holds(pupil))
        return;
    rows[size_t(pupil - 1)].total = total;
    rowsChanged(pupil, pupil, TotalColumn, TotalColumn);
}

ScoreCell ScoreTableModel::rowTotal(const Row& row)
{
    int total = 0;
    bool anyPoints = false;
    bool anyAbsent = false;
    for (const ScoreCell& cell : row.scores) {
        total += cell.value();
        anyPoints = anyPoints || cell.isPoints();
        anyAbsent = anyAbsent || cell.isAbsent();
    }
    // As the tallies count it: the points when there are any, else 欠席 when the
    // pupil missed a column.
    if (anyPoints)
        return ScoreCell::points(total);
    return anyAbsent ? ScoreCell::absent() : ScoreCell::blank();
}

void ScoreTableModel::rowsChanged(int firstPupil, int lastPupil, int firstColumn, int lastColumn)
{
    if (firstPupil <= lastPupil)
        emit dataChanged(index(firstPupil - 1, firstColumn), index(lastPupil - 1, lastColumn));
}

int ScoreTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : pupilCount();
}

int ScoreTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ScoreTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= pupilCount())
        return QVariant();
    const Row& row = rows[size_t(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column == NumberColumn)
            return QString::number(index.row() + 1);
        if (column == NameColumn)
            return row.name;
        if (column == TotalColumn)
            return observation ? QString() : row.total.text();
        return row.scores[column - FirstScoreColumn].text(observation);
    case Qt::TextAlignmentRole:
        if (column == NumberColumn)
            return int(Qt::AlignCenter);
        return int(column == NameColumn ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (column == NumberColumn && numberBackground.isValid())
            return QBrush(numberBackground);
        break;
    case Qt::ForegroundRole:
        if (column == NumberColumn && numberText.isValid())
            return QBrush(numberText);
        break;
    default:
        break;
    }
    return QVariant();
}

Qt::ItemFlags ScoreTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.column() == NumberColumn)
        return Qt::NoItemFlags;  // the cursor never enters the number column
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QVariant ScoreTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const headings[ColumnCount] = {"番号", "氏名", "合計", "Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ"};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return QString::fromUtf8(headings[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}
