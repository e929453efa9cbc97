#include "reports/TallyGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>

namespace {

// Resizes the columns of a grid in fixed proportions whenever the grid changes size.
class ProportionalWidths : public QObject {
public:
    ProportionalWidths(QTableWidget* grid, QList<double> weights, double total)
        : QObject(grid), grid(grid), view(grid->viewport()), weights(std::move(weights)), total(total)
    {
        // The viewport's own resize comes after the grid has laid out its scroll bars.
        view->installEventFilter(this);
        apply();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == view && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
            apply();
        return false;
    }

private:
    void apply()
    {
        const int width = view->width();
        if (width <= 0)
            return;
        for (int c = 0; c < weights.size() && c < grid->columnCount(); ++c)
            grid->setColumnWidth(c, int(width * weights[c] / total));
    }

    QTableWidget* grid;
    QWidget* view;
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

FrozenColumnsTable::FrozenColumnsTable(QWidget* parent) : QTableWidget(parent) {}

// The model outlives the fixed view while the grid's children are deleted: it must
// not call back into a half-destroyed grid.
FrozenColumnsTable::~FrozenColumnsTable()
{
    if (QAbstractItemModel* items = model())
        disconnect(items, nullptr, this, nullptr);
    delete frozen;
}

void FrozenColumnsTable::setFrozenColumns(int count)
{
    frozenCount = count;
    if (count <= 0 || frozen)
        return;
    frozen = new QTableView(this);
    frozen->setObjectName(objectName() + QStringLiteral("_fixed"));
    frozen->setModel(model());
    frozen->setSelectionModel(selectionModel());
    frozen->setItemDelegate(itemDelegate());
    frozen->setFocusPolicy(Qt::NoFocus);
    frozen->setEditTriggers(editTriggers());
    frozen->setSelectionMode(selectionMode());
    frozen->setWordWrap(false);
    frozen->verticalHeader()->hide();
    frozen->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    frozen->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen->horizontalHeader()->setHighlightSections(false);
    frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen->setVerticalScrollMode(ScrollPerPixel);
    frozen->setFrameShape(QFrame::NoFrame);
    frozen->setStyleSheet(QStringLiteral("QTableView { border-right: 1px solid palette(mid); }"));
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerPixel);
    viewport()->stackUnder(frozen);

    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (column < frozenCount) {
            frozen->setColumnWidth(column, size);
            updateFrozenGeometry();
        }
    });
    connect(verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int size) { frozen->setRowHeight(row, size); });
    connect(frozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(), &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen->verticalScrollBar(), &QAbstractSlider::setValue);
    connect(model(), &QAbstractItemModel::columnsInserted, this, [this] { hideScrollingColumns(); });
    connect(model(), &QAbstractItemModel::modelReset, this, [this] { hideScrollingColumns(); });
    hideScrollingColumns();
    frozen->show();
}

void FrozenColumnsTable::hideScrollingColumns()
{
    if (!frozen)
        return;
    for (int c = 0; c < columnCount(); ++c) {
        frozen->setColumnHidden(c, c >= frozenCount);
        if (c < frozenCount)
            frozen->setColumnWidth(c, columnWidth(c));
    }
    updateFrozenGeometry();
}

int FrozenColumnsTable::frozenWidth() const
{
    int width = 0;
    for (int c = 0; c < frozenCount && c < columnCount(); ++c)
        width += columnWidth(c);
    return width;
}

void FrozenColumnsTable::updateFrozenGeometry()
{
    if (!frozen)
        return;
    frozen->setGeometry(frameWidth() + (verticalHeader()->isVisible() ? verticalHeader()->width() : 0), frameWidth(),
                        frozenWidth(), viewport()->height() + horizontalHeader()->height());
}

void FrozenColumnsTable::resizeEvent(QResizeEvent* event)
{
    QTableWidget::resizeEvent(event);
    updateFrozenGeometry();
}

// Moving left keeps the cell out from under the fixed columns.
QModelIndex FrozenColumnsTable::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = QTableWidget::moveCursor(cursorAction, modifiers);
    if (frozen && cursorAction == MoveLeft && current.column() >= frozenCount
        && visualRect(current).topLeft().x() < frozenWidth()) {
        const int newValue = horizontalScrollBar()->value() + visualRect(current).topLeft().x() - frozenWidth();
        horizontalScrollBar()->setValue(newValue);
    }
    return current;
}

void FrozenColumnsTable::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!frozen || index.column() >= frozenCount) {
        QTableWidget::scrollTo(index, hint);
        if (frozen && index.isValid() && index.column() >= frozenCount) {
            const int left = visualRect(index).left();
            if (left < frozenWidth())
                horizontalScrollBar()->setValue(horizontalScrollBar()->value() + left - frozenWidth());
        }
    } else {
        // A fixed column is always in view: only scroll to its row.
        QTableWidget::scrollTo(model()->index(index.row(), frozenCount < columnCount() ? frozenCount : 0), hint);
    }
}

FrozenColumnsTable* TallyGrid::make(QWidget* parent, const QString& objectName, const QStringList& headings, int frozenColumns)
{
    auto* grid = new FrozenColumnsTable(parent);
    grid->setColumnCount(int(headings.size()));
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
    grid->setFrozenColumns(frozenColumns);
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

void TallyGrid::keepProportionalWidths(QTableWidget* grid, const QList<double>& weights, double total)
{
    new ProportionalWidths(grid, weights, total);
}

void TallyGrid::alignColumns(QTableWidget* grid, const QList<int>& columns, Qt::Alignment alignment)
{
    auto* delegate = new AlignedColumns(grid, columns, alignment);
    grid->setItemDelegate(delegate);
    if (auto* fixed = grid->findChild<QTableView*>(grid->objectName() + QStringLiteral("_fixed")))
        fixed->setItemDelegate(delegate);
}

QSize TallyGrid::fitOnScreen(const QWidget* window, QSize wanted)
{
    if (const QScreen* screen = window->screen()) {
        const QSize room = screen->availableGeometry().size() - QSize(40, 200);
        wanted = wanted.boundedTo(room.expandedTo(QSize(320, 240)));
    }
    return wanted;
}
