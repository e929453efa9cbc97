#pragma once
// Helpers for the read-only grids of the tally windows. The heading row of a grid
// is its horizontal header, so it stays in view while the rows scroll; grid row r
// (1-based, one pupil or one test) is table row r - 1.

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTableWidget>

class QTableView;

// A grid whose first columns (number and name) stay in view while the others
// scroll sideways. They remain ordinary cells of the grid: the fixed part is a view
// laid over them that shares the grid's model and selection.
class FrozenColumnsTable : public QTableWidget {
    Q_OBJECT
public:
    explicit FrozenColumnsTable(QWidget* parent = nullptr);
    ~FrozenColumnsTable() override;
    void setFrozenColumns(int count);
    int frozenColumns() const { return frozenCount; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

private:
    void updateFrozenGeometry();
    void hideScrollingColumns();
    int frozenWidth() const;

    QPointer<QTableView> frozen;
    int frozenCount = 0;
};

namespace TallyGrid {
// A read-only grid with the headings, no row header, whole cells selected; the
// first `frozenColumns` columns stay in view when it scrolls sideways.
FrozenColumnsTable* make(QWidget* parent, const QString& objectName, const QStringList& headings, int frozenColumns = 0);
// Writes the texts of a row (missing texts clear the cell).
void setRow(QTableWidget* grid, int row, const QStringList& texts);
// Writes every row; the grid takes as many rows as there are.
void setRows(QTableWidget* grid, const QList<QStringList>& rows);
// Keeps the column widths in the given proportions of the grid's visible width,
// also when the grid is resized. Columns beyond the list keep their widths.
void keepProportionalWidths(QTableWidget* grid, const QList<double>& weights, double total);
// The size a tally window asks for when the main window arranges its windows,
// kept inside the screen (less room for the main window's menus and toolbars).
QSize fitOnScreen(const QWidget* window, QSize wanted);
// Aligns the cells of the given columns (existing and future items).
void alignColumns(QTableWidget* grid, const QList<int>& columns, Qt::Alignment alignment);
}
