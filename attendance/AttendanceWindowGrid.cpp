// The grid of the attendance window: the model it shows, its fixed columns and
// their widths, the keys and the focus frame, and the value prompt opened on a cell.

#include "attendance/AttendanceWindow.h"

#include "attendance/AttendanceMonthModel.h"
#include "attendance/AttendanceTallyModel.h"
#include "attendance/CountPrompt.h"

#include <QFocusEvent>
#include <QFrame>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableView>

using namespace AttendanceTally;

namespace {
// Column widths as shares of the grid's width: number, name, then each count.
constexpr double NumberShare = 0.05;
constexpr double CountShare = 0.09;

// The number and name columns are drawn as fixed cells, in the window's colours.
class FixedColumnsDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() >= AttendanceGridModel::FirstFigureColumn)
            return;
        // The cells are disabled (never current), but their text is not greyed.
        option->backgroundBrush = option->palette.brush(QPalette::Normal, QPalette::Window);
        option->palette.setBrush(QPalette::Text, option->palette.brush(QPalette::Normal, QPalette::WindowText));
    }
};

}  // namespace

// ---- the grid's models --------------------------------------------------------------

void AttendanceWindow::setUpGridModels()
{
    monthModel = new AttendanceMonthModel(this);
    tallyModel = new AttendanceTallyModel(this);
    attendanceGrid->setItemDelegate(new FixedColumnsDelegate(attendanceGrid));
    attendanceGrid->setModel(monthModel);
}

int AttendanceWindow::gridRow() const
{
    return attendanceGrid->currentIndex().row() + 1;
}

int AttendanceWindow::gridColumn() const
{
    return attendanceGrid->currentIndex().column();
}

void AttendanceWindow::setGridCell(int row, int column)
{
    if (row >= 1 && row <= attendanceGrid->model()->rowCount())
        attendanceGrid->setCurrentIndex(attendanceGrid->model()->index(row - 1, column));
}

void AttendanceWindow::showMonthGrid()
{
    monthModel->layOut(ctx.data);
    showGridModel(monthModel, false);
}

void AttendanceWindow::showTallyGrid()
{
    showGridModel(tallyModel, true);
}

// A model set anew or reset lays the header out afresh: the columns are sized and
// the tally's last column shown or hidden again each time. The 指導要録用 view has
// its 出席日数 among its figures and no last column.
void AttendanceWindow::showGridModel(QAbstractItemModel* model, bool tally)
{
    if (attendanceGrid->model() != model) {
        QItemSelectionModel* previous = attendanceGrid->selectionModel();
        attendanceGrid->setModel(model);
        delete previous;
    }
    attendanceGrid->setColumnHidden(AttendanceGridModel::Columns - 1, !tally || chosenView() == View::RecordBook);
    layoutColumns();
}

void AttendanceWindow::layoutColumns()
{
    const int width = attendanceGrid->viewport()->width();
    const QFontMetrics metrics = attendanceGrid->horizontalHeader()->fontMetrics();
    const int countWidth = qMax(int(width * CountShare), metrics.horizontalAdvance(QStringLiteral("必要日数")) + 14);
    const int numberWidth = qMax(int(width * NumberShare), metrics.horizontalAdvance(QStringLiteral("番号")) + 14);
    const int counts = attendanceGrid->isColumnHidden(AttendanceGridModel::Columns - 1) ? 7 : 8;
    const int nameWidth = qMax(width - numberWidth - counts * countWidth, metrics.horizontalAdvance(QStringLiteral("氏名")) * 4);
    attendanceGrid->setColumnWidth(0, numberWidth);
    attendanceGrid->setColumnWidth(1, nameWidth);
    for (int c = AttendanceGridModel::FirstFigureColumn; c < AttendanceGridModel::Columns; ++c)
        attendanceGrid->setColumnWidth(c, countWidth);
}

// ---- the value prompt ---------------------------------------------------------------

void AttendanceWindow::cellDoubleClicked(int row, int column)
{
    if (row >= 1 && column >= 2 && column != 3)
        openValuePrompt(row, column);
}

void AttendanceWindow::openValuePrompt(int row, int column)
{
    if (tallyShown) {
        ctx.ui.beep();
        return;
    }
    if (row < 1 || row > monthModel->pupils() || !AttendanceMonthModel::categoryAt(column))
        return;
    closeValuePrompt();
    prompt = new CountPrompt(ctx, this, row, column);
    connect(prompt, &CountPrompt::countEntered, this, &AttendanceWindow::setCountFromPrompt);
    // Just under the cell it is for, so the teacher sees which cell takes the value.
    prompt->adjustSize();
    const QRect cell = attendanceGrid->visualRect(monthModel->index(row - 1, column));
    QPoint at = attendanceGrid->viewport()->mapToGlobal(cell.bottomLeft() + QPoint(0, 4));
    if (const QScreen* shownOn = screen()) {
        const QRect area = shownOn->availableGeometry();
        if (at.y() + prompt->height() > area.bottom())
            at.setY(attendanceGrid->viewport()->mapToGlobal(cell.topLeft()).y() - prompt->height() - 4);
        at.setX(qBound(area.left(), at.x(), qMax(area.left(), area.right() - prompt->width())));
        at.setY(qMax(area.top(), at.y()));
    }
    prompt->move(at);
    prompt->show();
    prompt->raise();
    prompt->activateWindow();
}

void AttendanceWindow::closeValuePrompt()
{
    if (prompt) {
        CountPrompt* open = prompt;
        prompt.clear();
        open->reject();
    }
}

void AttendanceWindow::setCountFromPrompt(int row, int column, std::optional<int> count)
{
    const std::optional<Category> category = AttendanceMonthModel::categoryAt(column);
    if (tallyShown || row < 1 || row > monthModel->pupils() || !category)
        return;
    const QString refusal = monthModel->enterCount(row, *category, count);
    setGridCell(row, column);
    if (!refusal.isEmpty())
        refuseCount(refusal);
}

// ---- keys and focus -----------------------------------------------------------------

bool AttendanceWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == attendanceGrid) {
        if (event->type() == QEvent::KeyPress)
            return gridKeyPressed(static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::InputMethod) {
            // With the input method on, each committed character counts as a key press.
            const QString committed = static_cast<QInputMethodEvent*>(event)->commitString();
            for (QChar key : committed)
                typeKey(key);
            return true;
        }
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            gridFocusChanged(event->type() == QEvent::FocusIn, static_cast<QFocusEvent*>(event)->reason());
    } else if (watched == attendanceGrid->viewport() && event->type() == QEvent::Resize) {
        layoutColumns();
    } else if (watched == lessonDaysInput && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving the box for another control, not for another window or a pop-up.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            lessonDaysLeft();
    }
    return ChildWindow::eventFilter(watched, event);
}

bool AttendanceWindow::gridKeyPressed(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (modifiers & Qt::ShiftModifier)) {
        openValuePrompt(gridRow(), gridColumn());
        return true;
    }
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        typeKey(QLatin1Char('0'));  // empties the cell, as '0' does
        return true;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint()) {
        typeKey(text.at(0));
        return true;
    }
    return false;
}

void AttendanceWindow::gridFocusChanged(bool gotFocus, Qt::FocusReason reason)
{
    const int margin = gotFocus ? 0 : 2;
    gridFrame->layout()->setContentsMargins(margin, margin, margin, margin);
    gridFrame->setLineWidth(gotFocus ? 3 : 1);
    // Coming to the grid from another control starts at the first pupil's first
    // count; coming back from another window (the value prompt, a message) or by a
    // click keeps the cell the teacher was on or clicked.
    if (gotFocus && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
        && reason != Qt::MouseFocusReason) {
        setGridCell(1, 2);
        attendanceGrid->scrollToTop();
    }
}
