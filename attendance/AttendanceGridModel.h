#pragma once
// What the two contents of the attendance grid share: the rows are the pupils, the
// columns the attendance number, the name, then the figures (the seven counts of a
// month, or the eight figures of a tally). The number and name columns are fixed
// cells the current cell never lands on; the view shows text, the models behind it
// hold numbers (Qt::EditRole gives a cell's number, or nothing for an empty cell).

#include <QAbstractTableModel>
#include <QStringList>

class AttendanceGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int Columns = 10;
    static constexpr int FirstFigureColumn = 2;

    using QAbstractTableModel::QAbstractTableModel;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    // Row `row` (0 = the first pupil) of column 0..9, as shown and as a number.
    virtual QString cellText(int row, int column) const = 0;
    virtual QVariant cellNumber(int row, int column) const = 0;
    virtual QStringList headings() const = 0;
};
