#include "entry/ScoreGridController.h"

#include "entry/EditedTest.h"
#include "entry/EntryWidgets.h"
#include "frame/ChildWindow.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

using namespace ScoreKeys;

namespace {

// The focus left or came back for a menu, a message or another program.
bool isPassingFocus(const QFocusEvent* event)
{
    const Qt::FocusReason reason = event->reason();
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason;
}

}  // namespace

ScoreGridController::ScoreGridController(AppContext& ctx, ChildWindow& screen, EditedTest& test)
    : QObject(&screen), ctx(ctx), screen(screen), test(test)
{
    auto* holder = new QWidget(&screen);
    holder->setObjectName(QStringLiteral("scoreGridHolder"));
    auto* holderLayout = new QVBoxLayout(holder);
    holderLayout->setContentsMargins(3, 3, 3, 3);
    grid = new QTableView(holder);
    grid->setObjectName(QStringLiteral("scoreGrid"));
    grid->setModel(&test.scores());
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A block of cells is selected for copying and clearing; keys go to the cursor's cell.
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setTabKeyNavigation(false);
    // Scores are read key by key: the input method must not compose them first.
    grid->setAttribute(Qt::WA_InputMethodEnabled, false);
    grid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setWordWrap(false);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 10);
    grid->horizontalHeader()->setSectionsClickable(false);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setMinimumHeight(160);
    holderLayout->addWidget(grid);
    focusFrame = new FocusFrame(holder);
    focusFrame->setObjectName(QStringLiteral("gridFocusFrame"));
    focusFrame->hide();
    // Any move of the cursor ends an entry of one digit in the cell it leaves.
    connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex&, const QModelIndex& previous) { endPendingEntry(previous.row() + 1, previous.column()); });
    grid->installEventFilter(this);
    holder->installEventFilter(this);
}

QWidget* ScoreGridController::holder() const { return grid->parentWidget(); }

// ---- the cursor -----------------------------------------------------------------

int ScoreGridController::cursorRow() const { return grid->currentIndex().row() + 1; }
int ScoreGridController::cursorCol() const { return grid->currentIndex().column(); }

void ScoreGridController::setCursor(int row, int col)
{
    ScoreTableModel& scores = test.scores();
    if (row < 1 || row > scores.pupilCount())
        return;
    if (pending.waiting) {
        pending = PendingDigit::none();
        scores.updateTotal(cursorRow());
    }
    // The selection shrinks to the cursor whatever modifier keys are held: "*" and
    // "+" are typed with Shift, which would otherwise stretch it.
    grid->selectionModel()->setCurrentIndex(scores.index(row - 1, col), QItemSelectionModel::ClearAndSelect);
}

void ScoreGridController::finishEntry()
{
    if (!pending.waiting)
        return;
    pending = PendingDigit::none();
    test.scores().updateTotal(cursorRow());
}

// The teacher moved the cursor (arrow keys, a click, leaving the grid) while a first
// digit waited for its second: that digit is the pupil's score, checked against the
// full marks like any other, and the next digit starts a new entry wherever it is
// typed.
void ScoreGridController::endPendingEntry(int row, int col)
{
    if (!pending.waiting)
        return;
    const int value = pending.digit;
    pending = PendingDigit::none();
    if (withinFullMarks(col, value)) {
        test.scores().updateTotal(row);
        return;
    }
    // Refused as any score above the full marks is: the cursor goes back to the cell
    // and the teacher is told, once the move that ended the entry is over.
    QTimer::singleShot(0, this, [this, row, col, value] {
        if (screen.isUnloaded())
            return;
        setCursor(row, col);
        grid->setFocus(Qt::OtherFocusReason);
        checkFullMarks(value);
    });
}

void ScoreGridController::scrollToTop()
{
    grid->verticalScrollBar()->setValue(0);
    // The cell under the cursor stays in sight: the teacher types into it next.
    if (grid->currentIndex().isValid())
        grid->scrollTo(grid->currentIndex());
}

void ScoreGridController::focusIn(bool shrinkSelection)
{
    if (shrinkSelection && grid->currentIndex().isValid())
        grid->selectionModel()->setCurrentIndex(grid->currentIndex(), QItemSelectionModel::ClearAndSelect);
    focusFrame->fit();
    focusFrame->show();
}

// Tabbing or Enter from the test's boxes into the grid lands on a cell that takes
// scores, never on the number or the name, where digits would go nowhere.
void ScoreGridController::enterScoreColumns()
{
    const QModelIndex current = grid->currentIndex();
    if (current.isValid() && current.row() >= 1 && current.column() >= FirstScoreColumn)
        return;
    setCursor(current.isValid() ? qMax(1, current.row()) : 1, FirstScoreColumn);
}

void ScoreGridController::fitColumns()
{
    static const double fractions[ColumnCount] = {0.06, 0.27, 0.15, 0.11, 0.11, 0.11, 0.11};
    const int width = grid->width();
    for (int c = 0; c < ColumnCount; ++c)
        grid->setColumnWidth(c, qRound(fractions[c] * width));
}

// ---- typing scores ----------------------------------------------------------------

bool ScoreGridController::withinFullMarks(int col, int score) const
{
    if (col < FirstScoreColumn || col > LastScoreColumn)
        return true;
    return test.definition().column(col - FirstScoreColumn + 1).fullMarks >= score;
}

void ScoreGridController::typeKey(QChar key)
{
    const int row = cursorRow();
    const int col = cursorCol();
    if (row < 1 || col < FirstScoreColumn)
        return;
    const TestDefinition& definition = test.definition();
    const int chosen = definition.chosenViewpoints();
    if (chosen == 0) {
        ctx.ui.message(&screen, QStringLiteral("観点を一つは選んでください"));
        return;
    }
    if (chosen < col - 2)
        return;
    // A key that does not complete a pending first digit starts an entry of its own.
    if (!pending.waiting)
        ++entrySerial;
    const KeyResult result = definition.kind == TestKind::Observation
        ? interpretObservationKey(key)
        : interpretKey(key, inputMode, pending, ctx.data.fixedValues);
    pending = result.pending;
    ScoreTableModel& scores = test.scores();
    const int column = col - FirstScoreColumn + 1;
    switch (result.action) {
    case KeyAction::Beep:
        ctx.ui.beep();
        break;
    case KeyAction::Absent:
        changeScore(scores, row, column, ScoreCell::absent(), typed);
        commitScore(chosen);
        break;
    case KeyAction::Show:
        changeScore(scores, row, column, ScoreCell::points(result.value), typed);
        if (result.check && checkFullMarks(result.value))
            commitScore(chosen);
        break;
    case KeyAction::FullMarks:
        // Every column of the test takes its full marks.
        for (int c = 1; c <= qBound(0, definition.columnCount, Limits::Columns); ++c) {
            setCursor(row, c + FirstScoreColumn - 1);
            changeScore(scores, row, c, ScoreCell::points(definition.column(c).fullMarks), typed);
        }
        commitScore(chosen);
        break;
    }
    // Whatever the key changed is one step, even when the full marks refuse it.
    if (!typed.isEmpty())
        emit scoresTyped(std::exchange(typed, {}), entrySerial, pending.waiting);
}

bool ScoreGridController::checkFullMarks(int score)
{
    if (withinFullMarks(cursorCol(), score))
        return true;
    ctx.ui.message(&screen, QStringLiteral("満点を超えた点数です"), Ui::Buttons::Ok, Ui::Icon::Critical);
    grid->setFocus(Qt::OtherFocusReason);
    scrollToTop();
    return false;
}

void ScoreGridController::commitScore(int chosen)
{
    const int row = cursorRow();
    const int col = cursorCol();
    ScoreTableModel& scores = test.scores();
    scores.updateTotal(row);
    const Advance next = nextCell(row, col, chosen, scores.pupilCount(), test.definition().columnCount);
    setCursor(next.row, next.col);
    if (next.scrollDown) {
        QScrollBar* bar = grid->verticalScrollBar();
        bar->setValue(bar->value() + 1);
    }
}

// ---- keys and focus -------------------------------------------------------------

bool ScoreGridController::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == holder()) {
        if (type == QEvent::Resize)
            focusFrame->fit();
        return false;
    }
    if (watched != grid)
        return false;
    if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        const bool focusKey = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (!command && (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace)) {
            emit clearRequested();
            return true;
        }
        // Esc is no score: it reaches the window, which closes.
        const bool escape = key->key() == Qt::Key_Escape;
        if (!command && !focusKey && !escape && key->text().size() == 1) {
            typeKey(key->text().at(0));
            return true;
        }
    } else if (type == QEvent::FocusIn) {
        // Back from a menu, a message or another program, the selection stays.
        const auto* focus = static_cast<QFocusEvent*>(event);
        if (focus->reason() == Qt::TabFocusReason || focus->reason() == Qt::BacktabFocusReason)
            enterScoreColumns();
        focusIn(!isPassingFocus(focus));
    } else if (type == QEvent::FocusOut) {
        // Leaving the grid for another control ends a one-digit entry; a message
        // box, a menu or another program taking the focus does not.
        if (!isPassingFocus(static_cast<QFocusEvent*>(event)))
            endPendingEntry(cursorRow(), cursorCol());
        focusFrame->hide();
    } else if (type == QEvent::Resize) {
        fitColumns();
    }
    return false;
}
