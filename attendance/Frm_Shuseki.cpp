#include "attendance/Frm_Shuseki.h"

#include "attendance/DayCount.h"
#include "attendance/FrmValue.h"
#include "core/AttendanceFile.h"
#include "shell/MainFrame.h"

#include <QAction>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace AttendanceTally;

namespace {
const QString NoLessonDays = QStringLiteral("授業数を指定してください。未定の場合０を入力してください.");
constexpr int Columns = 10;

// Column widths as shares of the grid's width: number, name, then each count.
constexpr double NumberShare = 0.05;
constexpr double CountShare = 0.09;
}  // namespace

Frm_Shuseki::Frm_Shuseki(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("Frm_Shuseki"));
    setWindowTitle(QStringLiteral("出席状況入力"));
    buildMenus();
    buildControls();
}

// Wide enough for the name and every count column without scrolling sideways.
QSize Frm_Shuseki::sizeHint() const
{
    const int em = fontMetrics().horizontalAdvance(QStringLiteral("必"));
    return {qMax(900, em * 64), qMax(640, fontMetrics().height() * 36)};
}

void Frm_Shuseki::buildMenus()
{
    menuBar = new QMenuBar(this);
    const auto named = [this](QAction* action, const char* name, const QKeySequence& shortcut = {}) {
        action->setObjectName(QLatin1String(name));
        if (!shortcut.isEmpty()) {
            // The shortcut belongs to this window only, not to the whole frame.
            action->setShortcut(shortcut);
            action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            addAction(action);
        }
        return action;
    };
    menuFile = menuBar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    menuFile->setObjectName(QStringLiteral("menuFile"));
    menuPrint = named(menuFile->addAction(QStringLiteral("印刷(&P)")), "menuPrint", QKeySequence(Qt::CTRL | Qt::Key_P));
    menuPreview = named(menuFile->addAction(QStringLiteral("印刷プレビュー(&O)")), "menuPreview");
    separater = menuFile->addSeparator();
    menuSave = named(menuFile->addAction(QStringLiteral("終了(&X)")), "menuSave", QKeySequence(Qt::CTRL | Qt::Key_F4));
    connect(menuPrint, &QAction::triggered, this, [this] { cmdPrint_Click(0); });
    connect(menuPreview, &QAction::triggered, this, [this] { cmdPrint_Click(1); });
    connect(menuSave, &QAction::triggered, this, [this] { cmdEnd_Click(); });

    menuInputTop = menuBar->addMenu(QStringLiteral("入力(&I)"));
    menuInputTop->setObjectName(QStringLiteral("menuInputTop"));
    Mn_Input = named(menuInputTop->addAction(QStringLiteral("各月入力(&I)")), "Mn_Input");
    menuSet = named(menuInputTop->addAction(QStringLiteral("必要日数揃え(&S)")), "menuSet");
    connect(Mn_Input, &QAction::triggered, this, [this] { cmdInput_Click(); });
    connect(menuSet, &QAction::triggered, this, [this] { cmdSet_Click(); });

    menuShukei = menuBar->addMenu(QStringLiteral("集計(&S)"));
    menuShukei->setObjectName(QStringLiteral("menuShukei"));
    const QStringList tallyCaptions{QStringLiteral("１学期集計(&1)"), QStringLiteral("２学期集計(&2)"),
                                    QStringLiteral("３学期集計(&3)"), QStringLiteral("年度末集計(&N)")};
    for (int i = 0; i < 4; ++i) {
        Mn_gShu[i] = menuShukei->addAction(tallyCaptions[i]);
        Mn_gShu[i]->setObjectName(QStringLiteral("Mn_gShu%1").arg(i));
        connect(Mn_gShu[i], &QAction::triggered, this, [this, i] { cmdShukei_Click(i); });
    }

    menuHelp = named(menuBar->addAction(QStringLiteral("ﾍﾙﾌﾟ(&H)")), "menuHelp");
    connect(menuHelp, &QAction::triggered, this, [this] { menuHelp_Click(); });
}

void Frm_Shuseki::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    CbMonth = new QComboBox(Frame1);
    CbMonth->setObjectName(QStringLiteral("CbMonth"));
    CbMonth->setToolTip(QStringLiteral("入力月または集計学期をを選んでください。"));
    CbMonth->setMinimumContentsLength(7);
    Label1 = new QLabel(QStringLiteral("授業日数"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    TxJugyoSu = new QLineEdit(QStringLiteral("20"), Frame1);
    TxJugyoSu->setObjectName(QStringLiteral("TxJugyoSu"));
    TxJugyoSu->setToolTip(QStringLiteral("今月の授業日数を入力してください"));
    TxJugyoSu->setValidator(new DayCountValidator(TxJugyoSu));
    TxJugyoSu->setMaxLength(3);
    TxJugyoSu->setFixedWidth(TxJugyoSu->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
    Label1->setBuddy(TxJugyoSu);
    auto* frame1Layout = new QHBoxLayout(Frame1);
    frame1Layout->addWidget(CbMonth);
    frame1Layout->addSpacing(12);
    frame1Layout->addWidget(Label1);
    frame1Layout->addWidget(TxJugyoSu);

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    OpMode[0] = new QRadioButton(QStringLiteral("詳細表示"), Frame2);
    OpMode[1] = new QRadioButton(QStringLiteral("指導要録用"), Frame2);
    OpMode[0]->setChecked(true);
    auto* frame2Layout = new QHBoxLayout(Frame2);
    for (int i = 0; i < 2; ++i) {
        OpMode[i]->setObjectName(QStringLiteral("OpMode%1").arg(i));
        frame2Layout->addWidget(OpMode[i]);
        connect(OpMode[i], &QRadioButton::clicked, this, [this, i] { OpMode_Click(i); });
    }

    auto* top = new QHBoxLayout;
    top->addWidget(Frame1);
    top->addWidget(Frame2);
    top->addStretch(1);
    layout->addLayout(top);

    Label2 = new QLabel(QStringLiteral("セルを DblClick or Shift+Return で値を直接入力できます"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(Label2);

    // Shape2 frames the grid: a thick border while the grid has the focus. The
    // margin makes up the difference so that the grid itself never moves.
    Shape2 = new QFrame(this);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape2->setLineWidth(1);
    auto* shapeLayout = new QVBoxLayout(Shape2);
    shapeLayout->setContentsMargins(2, 2, 2, 2);
    Grid1 = new QTableWidget(0, Columns, Shape2);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setFrameShape(QFrame::NoFrame);
    Grid1->verticalHeader()->hide();
    Grid1->verticalHeader()->setDefaultSectionSize(Grid1->fontMetrics().height() + 8);
    Grid1->horizontalHeader()->setSectionsClickable(false);
    Grid1->horizontalHeader()->setHighlightSections(false);
    Grid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    Grid1->setTabKeyNavigation(true);
    Grid1->setWordWrap(false);
    shapeLayout->addWidget(Grid1);
    Grid1->installEventFilter(this);
    Grid1->viewport()->installEventFilter(this);
    TxJugyoSu->installEventFilter(this);
    connect(Grid1, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) { Grid1_DblClick(row + 1, column); });

    cmdInput = new QPushButton(QStringLiteral("各月入力(&I)"), this);
    cmdSet = new QPushButton(QStringLiteral("必要日揃え(&S)"), this);
    cmdEnd = new QPushButton(QStringLiteral("閉じる"), this);
    cmdInput->setObjectName(QStringLiteral("cmdInput"));
    cmdSet->setObjectName(QStringLiteral("cmdSet"));
    cmdEnd->setObjectName(QStringLiteral("cmdEnd"));
    const QStringList tallyCaptions{QStringLiteral("１学期集計(&1)"), QStringLiteral("２学期集計(&2)"),
                                    QStringLiteral("３学期集計(&3)"), QStringLiteral("年度末集計(&N)")};
    const QStringList printCaptions{QStringLiteral("印刷(&P)"), QStringLiteral("プレビュー(&O)")};
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdInput);
    buttons->addWidget(cmdSet);
    buttons->addSpacing(16);
    for (int i = 0; i < 4; ++i) {
        cmdShukei[i] = new QPushButton(tallyCaptions[i], this);
        cmdShukei[i]->setObjectName(QStringLiteral("cmdShukei%1").arg(i));
        buttons->addWidget(cmdShukei[i]);
        connect(cmdShukei[i], &QPushButton::clicked, this, [this, i] { cmdShukei_Click(i); });
    }
    buttons->addSpacing(16);
    for (int i = 0; i < 2; ++i) {
        cmdPrint[i] = new QPushButton(printCaptions[i], this);
        cmdPrint[i]->setObjectName(QStringLiteral("cmdPrint%1").arg(i));
        buttons->addWidget(cmdPrint[i]);
        connect(cmdPrint[i], &QPushButton::clicked, this, [this, i] { cmdPrint_Click(i); });
    }
    buttons->addStretch(1);
    buttons->addWidget(cmdEnd);
    connect(cmdInput, &QPushButton::clicked, this, [this] { cmdInput_Click(); });
    connect(cmdSet, &QPushButton::clicked, this, [this] { cmdSet_Click(); });
    connect(cmdEnd, &QPushButton::clicked, this, [this] { cmdEnd_Click(); });
    connect(CbMonth, &QComboBox::activated, this, [this] { CbMonth_Click(); });

    auto* body = new QHBoxLayout;
    body->addWidget(Shape2, 1);
    body->addLayout(buttons);
    layout->addLayout(body, 1);

    setTabOrder(CbMonth, TxJugyoSu);
    setTabOrder(TxJugyoSu, Grid1);
}

// ---- opening, activation, closing -------------------------------------------------

bool Frm_Shuseki::Form_Load()
{
    ShowingTally = false;
    NameSet();
    SetCbMonth();
    CurrentMonth = 99;
    chooseTodaysMonth();
    setGridCell(1, 2);
    setTallyControls(false);
    Grid1->setFocus();
    return true;
}

void Frm_Shuseki::Form_Activate()
{
    if (ctx.frame) {
        ctx.frame->DisableAllCommands();
        if (ShowingTally)
            ctx.frame->EnablePrint();
        else
            ctx.frame->DisablePrint();
    }
    menuPrint->setEnabled(ShowingTally);
    menuPreview->setEnabled(ShowingTally);
    OpMode[0]->setEnabled(ShowingTally);
    OpMode[1]->setEnabled(ShowingTally);
    cmdSet->setEnabled(!ShowingTally);
    claimCloseShortcut();
}

// The frame's own "Close" entry answers Ctrl+F4 as well; in this window Ctrl+F4 is
// 終了(&X), which checks the lesson days before closing, so the frame gives it up.
void Frm_Shuseki::claimCloseShortcut()
{
    QMdiSubWindow* frame = subWindow();
    if (!frame || !frame->systemMenu())
        return;
    for (QAction* action : frame->systemMenu()->actions()) {
        QList<QKeySequence> keys = action->shortcuts();
        if (keys.removeAll(menuSave->shortcut()) > 0)
            action->setShortcuts(keys);
    }
}

// Every close stores the month shown and writes the attendance file; when the file
// cannot be written the window stays open with everything still in it.
bool Frm_Shuseki::Form_QueryUnload()
{
    if (programEnded)
        return true;
    if (!ShowingTally)
        Grid2Value();
    return saveAttendance();
}

void Frm_Shuseki::Form_Unload()
{
    closeValuePrompt();
    if (ctx.frame) {
        ctx.frame->EnableAllCommands();
        ctx.frame->DisablePrint();
    }
}

// Ending the program keeps what closing the window keeps.
void Frm_Shuseki::Form_ProgramEnd()
{
    if (programEnded || isUnloaded())
        return;
    programEnded = true;
    closeValuePrompt();
    if (!ShowingTally)
        Grid2Value();
    saveAttendance();
}

bool Frm_Shuseki::saveAttendance()
{
    const Status saved = SaveAttendance(ctx.data);
    if (saved)
        return true;
    ctx.ui.message(this, QStringLiteral("出席データを保存できませんでした。\n") + saved.message, Ui::Buttons::Ok,
                   Ui::Icon::Warning);
    return false;
}

void Frm_Shuseki::cmdEnd_Click()
{
    if (lessonDaysMissing()) {
        ctx.ui.message(this, NoLessonDays);
        return;
    }
    closeWindow();
}

void Frm_Shuseki::menuHelp_Click()
{
    ctx.ui.showHelp(this, 11);
}

// ---- grid texts ---------------------------------------------------------------------

QString Frm_Shuseki::cellText(int row, int column) const
{
    if (row == 0) {
        const QTableWidgetItem* heading = Grid1->horizontalHeaderItem(column);
        return heading ? heading->text() : QString();
    }
    const QTableWidgetItem* item = Grid1->item(row - 1, column);
    return item ? item->text() : QString();
}

void Frm_Shuseki::setCell(int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = Grid1->item(row - 1, column))
        item->setText(text);
}

int Frm_Shuseki::gridRow() const
{
    return Grid1->currentRow() + 1;
}

int Frm_Shuseki::gridColumn() const
{
    return Grid1->currentColumn();
}

void Frm_Shuseki::setGridCell(int row, int column)
{
    if (row >= 1 && row <= Grid1->rowCount())
        Grid1->setCurrentCell(row - 1, column);
}

int Frm_Shuseki::lessonDaysShown() const
{
    return DayCount::parse(TxJugyoSu->text()).value_or(0);
}

bool Frm_Shuseki::lessonDaysMissing() const
{
    return TxJugyoSu->text().trimmed().isEmpty();
}

void Frm_Shuseki::NameSet()
{
    const int pupils = qBound(0, ctx.data.PupilCount, Limits::Pupils);
    const QStringList headings = ShowingTally ? tallyHeadings(View::Detailed) : inputHeadings();
    const QBrush fixedBackground = palette().brush(QPalette::Window);
    const QBrush fixedText = palette().brush(QPalette::WindowText);
    Grid1->setUpdatesEnabled(false);
    Grid1->clear();
    Grid1->setRowCount(pupils);
    for (int c = 0; c < Columns; ++c)
        Grid1->setHorizontalHeaderItem(c, new QTableWidgetItem(c < headings.size() ? headings[c] : QString()));
    for (int p = 1; p <= pupils; ++p) {
        for (int c = 0; c < Columns; ++c) {
            auto* item = new QTableWidgetItem;
            if (c < 2) {
                // The number and name columns are fixed: the current cell never lands there.
                item->setText(c == 0 ? numberText(p) : ctx.data.PupilName[p]);
                item->setFlags(Qt::NoItemFlags);
                item->setBackground(fixedBackground);
                item->setForeground(fixedText);
                item->setTextAlignment(c == 0 ? Qt::Alignment(Qt::AlignCenter) : (Qt::AlignLeft | Qt::AlignVCenter));
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            }
            Grid1->setItem(p - 1, c, item);
        }
    }
    Grid1->setColumnHidden(9, !ShowingTally);
    layoutColumns();
    Grid1->setUpdatesEnabled(true);
}

void Frm_Shuseki::layoutColumns()
{
    const int width = Grid1->viewport()->width();
    const QFontMetrics metrics = Grid1->horizontalHeader()->fontMetrics();
    const int countWidth = qMax(int(width * CountShare), metrics.horizontalAdvance(QStringLiteral("必要日数")) + 14);
    const int numberWidth = qMax(int(width * NumberShare), metrics.horizontalAdvance(QStringLiteral("番号")) + 14);
    const int counts = ShowingTally ? 8 : 7;
    const int nameWidth = qMax(width - numberWidth - counts * countWidth, metrics.horizontalAdvance(QStringLiteral("氏名")) * 4);
    Grid1->setColumnWidth(0, numberWidth);
    Grid1->setColumnWidth(1, nameWidth);
    for (int c = 2; c < Columns; ++c)
        Grid1->setColumnWidth(c, countWidth);
}

void Frm_Shuseki::SetCbMonth()
{
    CbMonth->clear();
    CbMonth->addItems(monthNames());
}

void Frm_Shuseki::SetCbGakki()
{
    CbMonth->clear();
    CbMonth->addItems(tallyNames());
}

void Frm_Shuseki::chooseTodaysMonth()
{
    CbMonth->setCurrentIndex(monthItem(ctx.today()));
    CbMonth_Click();
}

// ---- monthly input ------------------------------------------------------------------

void Frm_Shuseki::Grid2Value()
{
    if (CurrentMonth < 1 || CurrentMonth > Limits::Months)
        return;
    ClassData& data = ctx.data;
    data.LessonDays[CurrentMonth] = lessonDaysShown();
    // The grid was laid for the class as it was at opening; should the roster have
    // changed meanwhile, its rows no longer match the pupils and are not stored.
    if (Grid1->rowCount() != data.PupilCount)
        return;
    for (int p = 1; p <= data.PupilCount; ++p)
        for (int k = 1; k <= Limits::Categories; ++k)
            data.Attendance[CurrentMonth][p][k] = cellValue(cellText(p, k + 1));
}

void Frm_Shuseki::Value2Grid()
{
    const int m = CbMonth->currentIndex() + 1;
    if (m < 1 || m > Limits::Months)
        return;
    const ClassData& data = ctx.data;
    TxJugyoSu->setText(QString::number(data.LessonDays[m]));
    Grid1->setUpdatesEnabled(false);
    const int pupils = qMin(Grid1->rowCount(), data.PupilCount);
    for (int p = 1; p <= pupils; ++p)
        for (int k = 1; k <= Limits::Categories; ++k)
            setCell(p, k + 1, countText(data.Attendance[m][p][k]));
    Grid1->setUpdatesEnabled(true);
}

void Frm_Shuseki::CbMonth_Click()
{
    if (ShowingTally) {
        BusyCursor busy(ctx.ui);
        SetShukei(CbMonth->currentIndex());
        return;
    }
    if (CurrentMonth != 99 && lessonDaysMissing()) {
        ctx.ui.message(this, NoLessonDays);
        CbMonth->setCurrentIndex(CurrentMonth - 1);
        return;
    }
    BusyCursor busy(ctx.ui);
    closeValuePrompt();
    Grid2Value();
    CurrentMonth = CbMonth->currentIndex() + 1;
    Value2Grid();
}

void Frm_Shuseki::Grid1_KeyPress(QChar key)
{
    if (ShowingTally) {
        // A tally shows sums of the stored months; it is not typed over.
        ctx.ui.beep();
        return;
    }
    const int row = gridRow();
    const int column = gridColumn();
    if (row < 1 || column < 2 || column == 4)
        return;
    const int digit = DayCount::digitOf(key);
    if (digit < 0) {
        ctx.ui.beep();
        return;
    }
    setCell(row, column, digit == 0 ? QString() : QString::number(digit));
    RecalcRow();
}

void Frm_Shuseki::RecalcRow()
{
    const int row = gridRow();
    const int column = gridColumn();
    if (row < 1)
        return;
    if (column == 2 || column == 3) {
        setCell(row, 4, requiredDaysText(lessonDaysShown(), cellValue(cellText(row, 2)), cellValue(cellText(row, 3))));
    } else if (column >= 8 && row != ctx.data.PupilCount && row > 11) {
        // At the end of a row, bring the next rows into view, keeping this one shown.
        QScrollBar* bar = Grid1->verticalScrollBar();
        bar->setValue(bar->value() + 1);
        if (Grid1->rowAt(0) > row - 1)
            bar->setValue(bar->value() - 1);
    }
}

void Frm_Shuseki::cmdSet_Click()
{
    if (ShowingTally)
        return;
    const int lessonDays = lessonDaysShown();
    Grid1->setUpdatesEnabled(false);
    for (int p = 1; p <= Grid1->rowCount(); ++p)
        setCell(p, 4, requiredDaysText(lessonDays, cellValue(cellText(p, 2)), cellValue(cellText(p, 3))));
    Grid1->setUpdatesEnabled(true);
}

void Frm_Shuseki::TxJugyoSu_LostFocus()
{
    if (!ShowingTally && !programEnded && !isUnloaded())
        cmdSet_Click();
}

void Frm_Shuseki::Grid1_DblClick(int row, int column)
{
    if (row >= 1 && column >= 2 && column != 3)
        openValuePrompt(row, column);
}

void Frm_Shuseki::openValuePrompt(int row, int column)
{
    if (ShowingTally) {
        ctx.ui.beep();
        return;
    }
    if (row < 1 || row > Grid1->rowCount() || column < 2 || column > 8)
        return;
    closeValuePrompt();
    prompt = new FrmValue(ctx, *this, row, column);
    // Just under the cell it is for, so the teacher sees which cell takes the value.
    prompt->adjustSize();
    const QRect cell = Grid1->visualItemRect(Grid1->item(row - 1, column));
    QPoint at = Grid1->viewport()->mapToGlobal(cell.bottomLeft() + QPoint(0, 4));
    if (const QScreen* shownOn = screen()) {
        const QRect area = shownOn->availableGeometry();
        if (at.y() + prompt->height() > area.bottom())
            at.setY(Grid1->viewport()->mapToGlobal(cell.topLeft()).y() - prompt->height() - 4);
        at.setX(qBound(area.left(), at.x(), qMax(area.left(), area.right() - prompt->width())));
        at.setY(qMax(area.top(), at.y()));
    }
    prompt->move(at);
    prompt->show();
    prompt->raise();
    prompt->activateWindow();
}

void Frm_Shuseki::closeValuePrompt()
{
    if (prompt) {
        FrmValue* open = prompt;
        prompt.clear();
        open->reject();
    }
}

void Frm_Shuseki::FrmValue_Ok(int row, int column, const QString& text)
{
    if (ShowingTally || row < 1 || row > Grid1->rowCount() || column < 2 || column > 8)
        return;
    setCell(row, column, text);
    if (column == 2 || column == 3) {
        const int required = lessonDaysShown() - (cellValue(cellText(row, 2)) + cellValue(cellText(row, 3)));
        setCell(row, 4, QString::number(required));
    }
    setGridCell(row, column);
}

void Frm_Shuseki::cmdInput_Click()
{
    if (!ShowingTally) {
        // Already in monthly input: keep the month shown before the selector moves.
        if (lessonDaysMissing()) {
            ctx.ui.message(this, NoLessonDays);
            return;
        }
        Grid2Value();
    }
    closeValuePrompt();
    ShowingTally = false;
    if (ctx.frame)
        ctx.frame->DisablePrint();
    setTallyControls(false);
    NameSet();
    SetCbMonth();
    CurrentMonth = 99;
    chooseTodaysMonth();
    setGridCell(1, 2);
}

void Frm_Shuseki::setTallyControls(bool tally)
{
    for (QAction* action : {menuPrint, menuPreview})
        action->setEnabled(tally);
    for (QWidget* control : {static_cast<QWidget*>(cmdPrint[0]), static_cast<QWidget*>(cmdPrint[1]),
                             static_cast<QWidget*>(OpMode[0]), static_cast<QWidget*>(OpMode[1])})
        control->setEnabled(tally);
    cmdSet->setEnabled(!tally);
    menuSet->setEnabled(!tally);
    TxJugyoSu->setEnabled(!tally);
    Label2->setEnabled(!tally);  // a tally takes no values
}

// ---- tallies ------------------------------------------------------------------------

View Frm_Shuseki::chosenView() const
{
    return OpMode[1]->isChecked() ? View::RecordBook : View::Detailed;
}

void Frm_Shuseki::cmdShukei_Click(int Index)
{
    if (range(Index).EndMonth < range(Index).StartMonth)
        return;
    // The month being typed is stored first, so the tally counts it. An empty
    // lesson-days box stores 0 days, as the teacher is told to do for an undecided month.
    if (!ShowingTally)
        Grid2Value();
    closeValuePrompt();
    ShowingTally = true;
    if (ctx.frame)
        ctx.frame->EnablePrint();
    setTallyControls(true);
    SetCbGakki();
    SetShukei(Index);
}

void Frm_Shuseki::SetShukei(int Index)
{
    const Range months = range(Index);
    if (months.EndMonth < months.StartMonth)
        return;
    StartMonth = months.StartMonth;
    EndMonth = months.EndMonth;
    Shukei();
    CbMonth->setCurrentIndex(Index);
}

void Frm_Shuseki::Shukei()
{
    NameSet();
    const Sums sums = sum(ctx.data, {StartMonth, EndMonth});
    TxJugyoSu->setText(QString::number(sums.LessonDays));
    const View view = chosenView();
    Grid1->setUpdatesEnabled(false);
    Grid1->setHorizontalHeaderLabels(tallyHeadings(view));
    for (int p = 1; p <= Grid1->rowCount(); ++p) {
        const QStringList row = tallyRow(ctx.data, sums, p, view);
        for (int c = 2; c < Columns; ++c)
            setCell(p, c, row[c]);
    }
    Grid1->setUpdatesEnabled(true);
}

void Frm_Shuseki::OpMode_Click(int)
{
    if (ShowingTally)
        Shukei();
}

void Frm_Shuseki::cmdPrint_Click(int Index)
{
    if (!ShowingTally)
        return;
    BusyCursor busy(ctx.ui);
    ReportSheet sheet = MakeDB();
    TitleSet(sheet, reportTitle(), CbMonth->currentText(), TxJugyoSu->text());
    for (int r = 0; r <= Grid1->rowCount(); ++r) {
        QStringList texts;
        for (int c = 0; c < Columns; ++c)
            texts << cellText(r, c);
        Dataset(sheet, texts);
    }
    const ReportDestination destination = Index == 0 ? ReportDestination::Printer : ReportDestination::Preview;
    ctx.check(ctx.reports.run(this, sheet, destination, previewTitle(CbMonth->currentText())), this);
}

// ---- keys and focus -----------------------------------------------------------------

bool Frm_Shuseki::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Grid1) {
        if (event->type() == QEvent::KeyPress)
            return Grid1_KeyDown(static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            Grid1_FocusChange(event->type() == QEvent::FocusIn, static_cast<QFocusEvent*>(event)->reason());
    } else if (watched == Grid1->viewport() && event->type() == QEvent::Resize) {
        layoutColumns();
    } else if (watched == TxJugyoSu && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving the box for another control, not for another window or a pop-up.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            TxJugyoSu_LostFocus();
    }
    return ChildWindow::eventFilter(watched, event);
}

bool Frm_Shuseki::Grid1_KeyDown(QKeyEvent* event)
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
        Grid1_KeyPress(QLatin1Char('0'));  // empties the cell, as '0' does
        return true;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint()) {
        Grid1_KeyPress(text.at(0));
        return true;
    }
    return false;
}

void Frm_Shuseki::Grid1_FocusChange(bool gotFocus, Qt::FocusReason reason)
{
    const int margin = gotFocus ? 0 : 2;
    Shape2->layout()->setContentsMargins(margin, margin, margin, margin);
    Shape2->setLineWidth(gotFocus ? 3 : 1);
    // Coming to the grid from another control starts at the first pupil's first
    // count; coming back from another window (the value prompt, a message) or by a
    // click keeps the cell the teacher was on or clicked.
    if (gotFocus && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
        && reason != Qt::MouseFocusReason) {
        setGridCell(1, 2);
        Grid1->scrollToTop();
    }
}
