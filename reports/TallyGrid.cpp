#include "reports/TallyGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace {

// Resizes the columns of a grid in fixed proportions whenever the grid changes size.
class ProportionalWidths : public QObject {
public:
    ProportionalWidths(QTableWidget* grid, QList<double> weights, double total)
        : QObject(grid), grid(grid), weights(std::move(weights)), total(total)
    {
        grid->installEventFilter(this);
        apply();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == grid && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
            apply();
        return false;
    }

private:
    void apply()
    {
        const int width = grid->viewport()->width();
        if (width <= 0)
            return;
        for (int c = 0; c < weights.size() && c < grid->columnCount(); ++c)
            grid->setColumnWidth(c, int(width * weights[c] / total));
    }

    QTableWidget* grid;
    QList<double> weights;
    double total;
};

// Draws the cells of chosen columns with a fixed alignment.
class AlignedColumns : public QStyledItemDelegate {
public:
    AlignedColumns(QObject* parent, QList<int> columns, Qt::Alignment alignment)
        : QStyledItemDelegate(parent), columns(std::move(columns)), alignment(alignment)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (columns.contains(index.column()))
            option->displayAlignment = alignment;
    }

private:
    QList<int> columns;
    Qt::Alignment alignment;
};

QTableWidgetItem* itemAt(QTableWidget* grid, int row, int column)
{
    QTableWidgetItem* item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid->setItem(row, column, item);
    }
    return item;
}

}  // namespace

QTableWidget* TallyGrid::make(QWidget* parent, const QString& objectName, const QStringList& headings)
{
    auto* grid = new QTableWidget(0, int(headings.size()), parent);
    grid->setObjectName(objectName);
    grid->setHorizontalHeaderLabels(headings);
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setWordWrap(false);
    grid->setTabKeyNavigation(false);
    return grid;
}

void TallyGrid::setRow(QTableWidget* grid, int row, const QStringList& texts)
{
    for (int c = 0; c < grid->columnCount(); ++c) {
        const QString text = c < texts.size() ? texts[c] : QString();
        QTableWidgetItem* item = grid->item(row, c);
        if (!item && text.isEmpty())
            continue;
        itemAt(grid, row, c)->setText(text);
    }
}

void TallyGrid::setRows(QTableWidget* grid, const QList<QStringList>& rows)
{
    grid->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        setRow(grid, r, rows[r]);
}

QString TallyGrid::text(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

QStringList TallyGrid::rowTexts(const QTableWidget* grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid->columnCount(); ++c)
        texts.append(text(grid, row, c));
    return texts;
}

QStringList TallyGrid::headings(const QTableWidget* grid)
{
    QStringList texts;
    for (int c = 0; c < grid->columnCount(); ++c) {
        const QTableWidgetItem* item = grid->horizontalHeaderItem(c);
        texts.append(item ? item->text() : QString());
    }
    return texts;
}

void TallyGrid::keepProportionalWidths(QTableWidget* grid, const QList<double>& weights, double total)
{
    new ProportionalWidths(grid, weights, total);
}

void TallyGrid::alignColumns(QTableWidget* grid, const QList<int>& columns, Qt::Alignment alignment)
{
    grid->setItemDelegate(new AlignedColumns(grid, columns, alignment));
}
