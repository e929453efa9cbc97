// The grid of the attendance window: its cells with the heading as row 0, the
// column widths, the keys and the focus frame, and the value prompt opened on a cell.

#include "attendance/AttendanceWindow.h"

#include "attendance/CountPrompt.h"

#include <QFocusEvent>
#include <QFrame>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QTableWidget>

using namespace AttendanceTally;

namespace {
// Column widths as shares of the grid's width: number, name, then each count.
constexpr double NumberShare = 0.05;
constexpr double CountShare = 0.09;
}  // namespace

// ---- grid texts ---------------------------------------------------------------------

QString AttendanceWindow::cellText(int row, int column) const
{
    if (row == 0) {
        const QTableWidgetItem* heading = attendanceGrid->horizontalHeaderItem(column);
        return heading ? heading->text() : QString();
    }
    const QTableWidgetItem* item = attendanceGrid->item(row - 1, column);
    return item ? item->text() : QString();
}

void AttendanceWindow::setCell(int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = attendanceGrid->item(row - 1, column))
        item->setText(text);
}

int AttendanceWindow::gridRow() const
{
    return attendanceGrid->currentRow() + 1;
}

int AttendanceWindow::gridColumn() const
{
    return attendanceGrid->currentColumn();
}

void AttendanceWindow::setGridCell(int row, int column)
{
    if (row >= 1 && row <= attendanceGrid->rowCount())
        attendanceGrid->setCurrentCell(row - 1, column);
}

void AttendanceWindow::resetGrid()
{
    const int pupils = qBound(0, ctx.data.pupilCount, Limits::Pupils);
    const QStringList headings = tallyShown ? tallyHeadings(View::Detailed) : inputHeadings();
    const QBrush fixedBackground = palette().brush(QPalette::Window);
    const QBrush fixedText = palette().brush(QPalette::WindowText);
    attendanceGrid->setUpdatesEnabled(false);
    attendanceGrid->clear();
    attendanceGrid->setRowCount(pupils);
    for (int c = 0; c < Columns; ++c)
        attendanceGrid->setHorizontalHeaderItem(c, new QTableWidgetItem(c < headings.size() ? headings[c] : QString()));
    for (int p = 1; p <= pupils; ++p) {
        for (int c = 0; c < Columns; ++c) {
            auto* item = new QTableWidgetItem;
            if (c < 2) {
                // The number and name columns are fixed: the current cell never lands there.
                item->setText(c == 0 ? numberText(p) : ctx.data.pupilName[p]);
                item->setFlags(Qt::NoItemFlags);
                item->setBackground(fixedBackground);
                item->setForeground(fixedText);
                item->setTextAlignment(c == 0 ? Qt::Alignment(Qt::AlignCenter) : (Qt::AlignLeft | Qt::AlignVCenter));
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            }
            attendanceGrid->setItem(p - 1, c, item);
        }
    }
    attendanceGrid->setColumnHidden(9, !tallyShown);
    layoutColumns();
    attendanceGrid->setUpdatesEnabled(true);
}

void AttendanceWindow::layoutColumns()
{
    const int width = attendanceGrid->viewport()->width();
    const QFontMetrics metrics = attendanceGrid->horizontalHeader()->fontMetrics();
    const int countWidth = qMax(int(width * CountShare), metrics.horizontalAdvance(QStringLiteral("必要日数")) + 14);
    const int numberWidth = qMax(int(width * NumberShare), metrics.horizontalAdvance(QStringLiteral("番号")) + 14);
    const int counts = tallyShown ? 8 : 7;
    const int nameWidth = qMax(width - numberWidth - counts * countWidth, metrics.horizontalAdvance(QStringLiteral("氏名")) * 4);
    attendanceGrid->setColumnWidth(0, numberWidth);
    attendanceGrid->setColumnWidth(1, nameWidth);
    for (int c = 2; c < Columns; ++c)
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
    if (row < 1 || row > attendanceGrid->rowCount() || column < 2 || column > 8)
        return;
    closeValuePrompt();
    prompt = new CountPrompt(ctx, this, row, column);
    connect(prompt, &CountPrompt::countEntered, this, &AttendanceWindow::setCountFromPrompt);
    // Just under the cell it is for, so the teacher sees which cell takes the value.
    prompt->adjustSize();
    const QRect cell = attendanceGrid->visualItemRect(attendanceGrid->item(row - 1, column));
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

void AttendanceWindow::setCountFromPrompt(int row, int column, const QString& text)
{
    if (tallyShown || row < 1 || row > attendanceGrid->rowCount() || column < 2 || column > 8)
        return;
    setCell(row, column, text);
    if (column == 2 || column == 3) {
        const int required = lessonDaysShown() - (cellValue(cellText(row, 2)) + cellValue(cellText(row, 3)));
        setCell(row, 4, QString::number(required));
    }
    setGridCell(row, column);
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
