#include "entry/InputDialog.h"

#include "core/Format.h"
#include "core/RosterFile.h"
#include "core/ScoreFile.h"
#include "entry/EntryWidgets.h"
#include "entry/SaveChecks.h"
#include "maintenance/OtherTes.h"
#include "shell/KModeDialog.h"
#include "shell/MainFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>

using namespace GridEntry;

namespace {
const QString NewTestName = QStringLiteral("新規テスト");
const QString NoViewpoint = QStringLiteral("（な　し）");
}  // namespace

// Looks at every Alt+letter typed inside the screen before the main window's
// menus do: the screen's own buttons and menus share some of their letters.
class InputDialog::MnemonicFilter : public QObject {
public:
    explicit MnemonicFilter(InputDialog* screen) : QObject(screen), screen(screen) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::ShortcutOverride && type != QEvent::KeyPress) || !watched->isWidgetType()
            || !screen->isAncestorOf(static_cast<QWidget*>(watched)))
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (type == QEvent::KeyPress)
            return screen->ownMnemonic(key, true);
        if (!screen->ownMnemonic(key, false))
            return false;
        event->accept();
        return true;
    }

private:
    InputDialog* screen;
};

InputDialog::InputDialog(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("InputDialog"));
    setWindowTitle(QStringLiteral("点数入力"));
    buildMenus();
    buildTestInfo();
    buildGridAndButtons();
    connectControls();
    setTabOrder();
    // Alt+letter of this screen's buttons and menus is looked at before the main
    // window's menus, which use some of the same letters.
    qApp->installEventFilter(new MnemonicFilter(this));
}

InputDialog::~InputDialog() = default;

QSize InputDialog::sizeHint() const
{
    // Wide enough for the four viewpoint lists, tall enough for a dozen pupils.
    return QSize(720, 740);
}

// ---- opening and closing ---------------------------------------------------------

bool InputDialog::Form_Load()
{
    ClassData& data = ctx.data;
    Bt_Tname->setEnabled(data.SenkaMode);
    // The screen starts from the files. A roster or score file that cannot be read
    // keeps the screen closed: saving would otherwise write another unit's tests.
    if (!ctx.check(LoadRoster(data), this) || !ctx.check(LoadScores(data), this))
        return false;
    if (data.PupilCount <= 0) {
        ctx.ui.message(this, QStringLiteral("クラス人数が0のままです.「ﾌｧｲﾙ－設定」氏名を入力してください."));
        return false;
    }
    Grid1->setRowCount(data.PupilCount);
    const QColor fixedBack = palette().color(QPalette::Button);
    const QColor fixedText = palette().color(QPalette::ButtonText);
    for (int r = 0; r < data.PupilCount; ++r)
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem;
            if (c == NumberColumn) {
                // The fixed column: the cursor never enters it.
                item->setFlags(Qt::NoItemFlags);
                item->setBackground(fixedBack);
                item->setForeground(fixedText);
                item->setTextAlignment(Qt::AlignCenter);
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                item->setTextAlignment(c == NameColumn ? Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter)
                                                       : Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
            }
            Grid1->setItem(r, c, item);
        }
    Lb_Numbers->setText(Format::hashes(data.CurrentTest));
    for (QComboBox* list : Cb_Ryoiki) {
        list->clear();
        list->addItem(NoViewpoint);
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            list->addItem(data.ViewpointName[data.KyokaNumber][v]);
    }
    ClearGrid();
    ResetTestInfo();
    if (data.TestSet.StoredTestCount != 0) {
        data.CurrentTest = data.TestSet.StoredTestCount;
        ShowTest();
    } else {
        data.CurrentTest = 1;
        TxTitle->setText(NewTestName);
        Lb_Numbers->setText(QStringLiteral("1"));
        data.TestSet.StoredTestCount = 1;
        ResetTestInfo();
        ClearGrid();
    }
    // What the screen holds now is what the files hold.
    loaded = std::make_unique<TestSetRecord>(data.TestSet);
    storeInto(*loaded, data.CurrentTest);
    return true;
}

void InputDialog::Form_Activate()
{
    if (ctx.frame) {
        ctx.frame->DisableAllCommands();
        ctx.frame->DisablePrint();
    }
}

bool InputDialog::Form_QueryUnload()
{
    if (closingByCommand || !loaded)
        return true;
    // Closing by the frame drops what was typed; ask before marks are lost.
    auto now = std::make_unique<TestSetRecord>(ctx.data.TestSet);
    storeInto(*now, ctx.data.CurrentTest);
    if (SaveChecks::sameTests(*loaded, *now, ctx.data.PupilCount))
        return true;
    return ctx.ui.message(this, QStringLiteral("入力した点数はまだ保存されていません。保存しないで閉じますか？"),
                          Ui::Buttons::OkCancel, Ui::Icon::Question)
        == Ui::Answer::Ok;
}

void InputDialog::Form_Unload()
{
    if (kmode)
        kmode->close();
    if (ctx.frame) {
        ctx.frame->EnableAllCommands();
        ctx.frame->DisablePrint();
    }
}

// ---- test information -----------------------------------------------------------

void InputDialog::ResetTestInfo()
{
    Tx_RyoikiSu->setText(QStringLiteral("1"));
    for (int k = 0; k < 4; ++k) {
        Cb_Ryoiki[k]->setCurrentIndex(0);
        Cb_Ryoiki[k]->setEnabled(k == 0);
        Tx_Manten[k]->setText(k == 0 ? QStringLiteral("100") : QStringLiteral("0"));
        Tx_Manten[k]->setEnabled(k == 0);
    }
    setCursor(1, NameColumn);
}

void InputDialog::ClearGrid()
{
    static const char* const headings[ColumnCount] = {"番号", "氏名", "合計", "Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ"};
    QStringList labels;
    for (const char* heading : headings)
        labels << QString::fromUtf8(heading);
    Grid1->setHorizontalHeaderLabels(labels);
    const ClassData& data = ctx.data;
    for (int p = 1; p <= Grid1->rowCount(); ++p) {
        setCell(p, NumberColumn, QString::number(p));
        setCell(p, NameColumn, data.PupilName[p]);
        for (int c = TotalColumn; c <= LastScoreColumn; ++c)
            setCell(p, c, QString());
    }
    setCursor(1, NameColumn);
}

void InputDialog::applyViewpointCount(int n)
{
    for (int k = 0; k < 4; ++k) {
        const bool used = k < n;
        if (!used)
            Cb_Ryoiki[k]->setCurrentIndex(0);
        Cb_Ryoiki[k]->setEnabled(used);
        Tx_Manten[k]->setEnabled(used);
    }
}

void InputDialog::ShowTest()
{
    const ClassData& data = ctx.data;
    const TestSetRecord& set = data.TestSet;
    const int t = data.CurrentTest;
    Lb_Numbers->setText(Format::hashes(t));
    if (set.TestName[t].isEmpty() && t == freshTest) {
        // A test just appended: default columns; the title and lists stay as shown.
        Tx_RyoikiSu->setText(QStringLiteral("1"));
        for (int k = 0; k < 4; ++k)
            Tx_Manten[k]->setText(k == 0 ? QStringLiteral("100") : QStringLiteral("0"));
    } else {
        TxTitle->setText(set.TestName[t]);
        Tx_RyoikiSu->setText(QString::number(set.ViewpointCount[t]));
        for (int k = 0; k < 4; ++k) {
            Cb_Ryoiki[k]->setCurrentIndex(qBound(0, set.ViewpointKind[t][k + 1], Limits::Viewpoints));
            Tx_Manten[k]->setText(QString::number(set.FullMarks[t][k + 1]));
        }
    }
    applyViewpointCount(numberIn(Tx_RyoikiSu->text()));
    ClearGrid();
    const int columns = qBound(0, set.ViewpointCount[t], Limits::Columns);
    for (int p = 1; p <= data.PupilCount; ++p) {
        int sum = 0;
        for (int c = 1; c <= columns; ++c) {
            const int score = set.Score[t][c][p];
            setCell(p, c + 2, score < 0 ? absentText() : QString::number(score));
            if (score >= 0)
                sum += score;
        }
        setCell(p, TotalColumn, set.Score[t][1][p] < 0 ? absentText() : QString::number(sum));
    }
    TxTitle->selectAll();
    setCursor(1, FirstScoreColumn);
}

void InputDialog::StoreTest(int t)
{
    storeInto(ctx.data.TestSet, t);
    if (t == freshTest)
        freshTest = 0;
}

void InputDialog::storeInto(TestSetRecord& set, int t) const
{
    set.TestName[t] = TxTitle->text();
    set.ViewpointCount[t] = numberIn(Tx_RyoikiSu->text());
    for (int k = 0; k < 4; ++k) {
        set.ViewpointKind[t][k + 1] = Cb_Ryoiki[k]->currentIndex();
        set.FullMarks[t][k + 1] = numberIn(Tx_Manten[k]->text());
    }
    const int columns = qBound(0, set.ViewpointCount[t], Limits::Columns);
    for (int p = 1; p <= ctx.data.PupilCount; ++p)
        for (int c = 1; c <= columns; ++c) {
            const QString text = cellText(p, c + 2);
            set.Score[t][c][p] = text == absentText() ? Absent : numberIn(text);
        }
}

void InputDialog::focusTitle()
{
    TxTitle->setFocus(Qt::OtherFocusReason);
    TxTitle->selectAll();
}

void InputDialog::goToTest(int t)
{
    StoreTest(ctx.data.CurrentTest);
    ctx.data.CurrentTest = t;
    ShowTest();
    focusTitle();
}

void InputDialog::menuNext_Click()
{
    if (ctx.data.CurrentTest >= ctx.data.TestSet.StoredTestCount) {
        ctx.ui.beep();
        return;
    }
    goToTest(ctx.data.CurrentTest + 1);
}

void InputDialog::menuBefore_Click()
{
    if (ctx.data.CurrentTest <= 1) {
        ctx.ui.beep();
        return;
    }
    goToTest(ctx.data.CurrentTest - 1);
}

void InputDialog::UpDown1_UpClick() { menuNext_Click(); }
void InputDialog::UpDown1_DownClick() { menuBefore_Click(); }

void InputDialog::cmdNext_Click(int index)
{
    if (index == 1)
        menuNext_Click();
    else
        menuBefore_Click();
    scrollGridToTop();
}

void InputDialog::menuJump_Click(int index)
{
    goToTest(index == 0 ? 1 : ctx.data.TestSet.StoredTestCount);
    scrollGridToTop();
}

void InputDialog::cmdJump_Click(int index) { menuJump_Click(index); }

void InputDialog::menuNewTest_Click()
{
    ClassData& data = ctx.data;
    TestSetRecord& set = data.TestSet;
    if (set.StoredTestCount >= Limits::Tests) {
        ctx.ui.beep();
        return;
    }
    StoreTest(data.CurrentTest);
    TxTitle->setText(NewTestName);
    const int t = ++set.StoredTestCount;
    // The new slot starts empty whatever an earlier use of the set left in it.
    set.TestName[t].clear();
    set.ViewpointCount[t] = 0;
    for (int c = 0; c <= Limits::Columns + 1; ++c) {
        set.ViewpointKind[t][c] = 0;
        set.FullMarks[t][c] = 0;
        for (int p = 0; p <= Limits::Pupils; ++p)
            set.Score[t][c][p] = 0;
    }
    data.CurrentTest = t;
    freshTest = t;
    ResetTestInfo();
    ClearGrid();
    ShowTest();
    focusTitle();
    scrollGridToTop();
}

void InputDialog::cmdNew_Click() { menuNewTest_Click(); }

void InputDialog::Bt_Tname_Click()
{
    if (TxTitle->text() != NewTestName) {
        ctx.ui.beep();
        return;
    }
    OtherTes other(ctx, *this, this);
    other.Form_Load();
    if (ctx.ui.runModal(other) == QDialog::Accepted) {
        // The copied column count governs the lists at once, so that no score can be
        // typed into a column the test does not keep.
        const int n = numberIn(Tx_RyoikiSu->text());
        if (n >= 1 && n <= Limits::Columns)
            applyViewpointCount(n);
    }
    Grid1->setFocus(Qt::OtherFocusReason);
    setCursor(1, FirstScoreColumn);
    scrollGridToTop();
}

void InputDialog::Tx_RyoikiSu_LostFocus()
{
    bool numeric = false;
    const int n = Tx_RyoikiSu->text().trimmed().toInt(&numeric);
    if (!numeric)
        return;
    if (n < 1 || n > Limits::Columns) {
        ctx.ui.beep();
        QTimer::singleShot(0, Tx_RyoikiSu, [this] { Tx_RyoikiSu->setFocus(Qt::OtherFocusReason); });
        return;
    }
    applyViewpointCount(n);
}

void InputDialog::Tx_Manten_KeyUp(int index, int key)
{
    QLineEdit* box = Tx_Manten[index];
    const QString text = box->text();
    if (key == Qt::Key_Up) {
        if (text == QLatin1String("0"))
            box->setText(QStringLiteral("50"));
        else if (text == QLatin1String("50"))
            box->setText(QStringLiteral("100"));
    } else if (key == Qt::Key_Down && text == QLatin1String("100")) {
        box->setText(QStringLiteral("50"));
    }
}

void InputDialog::menuHelp_Click()
{
    ctx.ui.showHelp(this, 5);
}

// ---- the score grid --------------------------------------------------------------

QString InputDialog::cellText(int row, int col) const
{
    const QTableWidgetItem* item = Grid1->item(row - 1, col);
    return item ? item->text() : QString();
}

void InputDialog::setCell(int row, int col, const QString& text)
{
    if (QTableWidgetItem* item = Grid1->item(row - 1, col))
        item->setText(text);
}

int InputDialog::cursorRow() const { return Grid1->currentRow() + 1; }
int InputDialog::cursorCol() const { return Grid1->currentColumn(); }

void InputDialog::setCursor(int row, int col)
{
    if (row >= 1 && row <= Grid1->rowCount())
        Grid1->setCurrentCell(row - 1, col);
}

int InputDialog::topRow() const
{
    return Grid1->verticalScrollBar()->value() + 1;
}

void InputDialog::scrollGridToTop()
{
    Grid1->verticalScrollBar()->setValue(0);
    // The cell under the cursor stays in sight: the teacher types into it next.
    if (Grid1->currentIndex().isValid())
        Grid1->scrollTo(Grid1->currentIndex());
}

void InputDialog::scrollGridDown()
{
    QScrollBar* bar = Grid1->verticalScrollBar();
    bar->setValue(bar->value() + 1);
}

void InputDialog::countChosenViewpoints()
{
    ChosenViewpoints = 0;
    for (QComboBox* list : Cb_Ryoiki)
        if (list->currentIndex() > 0)
            ++ChosenViewpoints;
}

void InputDialog::Grid1_KeyPress(QChar key)
{
    const int row = cursorRow();
    const int col = cursorCol();
    if (row < 1 || col < FirstScoreColumn)
        return;
    countChosenViewpoints();
    if (ChosenViewpoints == 0) {
        ctx.ui.message(this, QStringLiteral("観点を一つは選んでください"));
        return;
    }
    if (ChosenViewpoints < col - 2)
        return;
    const KeyResult result = interpretKey(key, InputMode, EntryPending, EntryValue, ctx.data.Kotei);
    switch (result.action) {
    case KeyAction::Beep:
        ctx.ui.beep();
        break;
    case KeyAction::Absent:
        setCell(row, col, absentText());
        CommitCell();
        break;
    case KeyAction::Show:
        setCell(row, col, QString::number(result.value));
        if (result.check && CheckMax(result.value))
            CommitCell();
        break;
    case KeyAction::FullMarks: {
        const int n = qBound(0, numberIn(Tx_RyoikiSu->text()), Limits::Columns);
        for (int i = 1; i <= n; ++i) {
            setCursor(row, i + 2);
            setCell(row, i + 2, Tx_Manten[i - 1]->text());
        }
        CommitCell();
        break;
    }
    }
}

bool InputDialog::CheckMax(int score)
{
    const int col = cursorCol();
    if (col < FirstScoreColumn)
        return true;
    if (numberIn(Tx_Manten[col - FirstScoreColumn]->text()) >= score)
        return true;
    ctx.ui.message(this, QStringLiteral("満点を超えた点数です"), Ui::Buttons::Ok, Ui::Icon::Critical);
    Grid1->setFocus(Qt::OtherFocusReason);
    scrollGridToTop();
    return false;
}

void InputDialog::CommitCell()
{
    const int row = cursorRow();
    const int col = cursorCol();
    std::array<QString, 4> cells;
    for (int i = 0; i < 4; ++i)
        cells[size_t(i)] = cellText(row, FirstScoreColumn + i);
    setCell(row, TotalColumn, QString::number(rowTotal(cells)));
    const Advance next = nextCell(row, col, ChosenViewpoints, ctx.data.PupilCount, numberIn(Tx_RyoikiSu->text()));
    setCursor(next.row, next.col);
    if (next.scrollDown)
        scrollGridDown();
}

void InputDialog::writeCaption()
{
    const bool fixed = InputMode == InputMode::Fixed;
    setWindowTitle(QStringLiteral("成績入力-") + ctx.data.unitName()
                   + (fixed ? QStringLiteral("-固定入力") : QStringLiteral("-通常入力")));
}

void InputDialog::menuInputMode_Click(int index)
{
    menuInputMode[0]->setChecked(index == 0);
    menuInputMode[1]->setChecked(index == 1);
    opMode[index]->setChecked(true);
    InputMode = index == 1 ? InputMode::Fixed : InputMode::Normal;
    writeCaption();
    Grid1->setFocus(Qt::OtherFocusReason);
    scrollGridToTop();
}

void InputDialog::opMode_Click(int index) { menuInputMode_Click(index); }

void InputDialog::menuModeSet_Click()
{
    if (kmode) {
        kmode->raise();
        kmode->activateWindow();
        return;
    }
    kmode = new KModeDialog(ctx, this);
    kmode->setAttribute(Qt::WA_DeleteOnClose);
    kmode->Form_Load();
    kmode->show();
}

void InputDialog::cmdMode_Click() { menuModeSet_Click(); }

bool InputDialog::ValidateTest(int t)
{
    const QString problem = SaveChecks::ValidateTest(ctx.data.TestSet, t, ctx.data.PupilCount);
    if (problem.isEmpty())
        return true;
    ctx.ui.message(this, problem);
    return false;
}

void InputDialog::menuSave_Click(int index)
{
    ClassData& data = ctx.data;
    if (index != 0) {
        closingByCommand = true;
        closeWindow();
        return;
    }
    const int shown = data.CurrentTest;
    int failing = 0;
    Status saved;
    {
        BusyCursor busy(ctx.ui);
        StoreTest(shown);
        for (int t = 1; t <= data.TestSet.StoredTestCount && failing == 0; ++t)
            if (!SaveChecks::ValidateTest(data.TestSet, t, data.PupilCount).isEmpty())
                failing = t;
        if (failing == 0)
            saved = SaveScores(data);
    }
    if (failing != 0) {
        data.CurrentTest = failing;
        ValidateTest(failing);
        ShowTest();
        return;
    }
    if (!ctx.check(saved, this, Ui::Icon::Critical))
        return;  // the screen stays as it is: nothing typed is lost
    data.CurrentTest = data.TestSet.StoredTestCount;
    closingByCommand = true;
    closeWindow();
}

void InputDialog::cmdEnd_Click(int index) { menuSave_Click(index); }

void InputDialog::Grid1_GotFocus()
{
    if (Grid1->currentIndex().isValid())
        Grid1->setCurrentIndex(Grid1->currentIndex());
    Shape2->fit();
    Shape2->show();
}

void InputDialog::Grid1_LostFocus()
{
    Shape2->hide();
}

// ---- keys and focus -------------------------------------------------------------

namespace {
bool hasMnemonic(const QString& caption, QChar letter)
{
    const int at = caption.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < caption.size() && caption.at(at + 1).toUpper() == letter;
}
}  // namespace

bool InputDialog::ownMnemonic(const QKeyEvent* key, bool trigger)
{
    if (key->modifiers() != Qt::AltModifier || key->key() < Qt::Key_A || key->key() > Qt::Key_Z)
        return false;
    const QChar letter(char16_t(u'A' + (key->key() - Qt::Key_A)));
    const auto buttons = findChildren<QPushButton*>();
    for (QPushButton* button : buttons)
        if (button->isVisible() && button->isEnabled() && hasMnemonic(button->text(), letter)) {
            if (trigger)
                button->click();
            return true;
        }
    const auto actions = MenuBar->actions();
    for (QAction* action : actions)
        if (action->isVisible() && action->isEnabled() && hasMnemonic(action->text(), letter)) {
            if (trigger) {
                if (action->menu())
                    MenuBar->setActiveAction(action);
                else
                    action->trigger();
            }
            return true;
        }
    return false;
}

bool InputDialog::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == Grid1) {
        if (type == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            const bool focusKey = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (!command && !focusKey && key->text().size() == 1) {
                Grid1_KeyPress(key->text().at(0));
                return true;
            }
        } else if (type == QEvent::FocusIn) {
            Grid1_GotFocus();
        } else if (type == QEvent::FocusOut) {
            Grid1_LostFocus();
        } else if (type == QEvent::Resize) {
            fitColumns();
        }
        return ChildWindow::eventFilter(watched, event);
    }
    if (watched == Grid1->parentWidget()) {
        if (type == QEvent::Resize)
            Shape2->fit();
        return ChildWindow::eventFilter(watched, event);
    }
    if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Enter moves on as Tab does.
            focusNextChild();
            return true;
        }
    }
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && type == QEvent::FocusIn) {
        edit->selectAll();
        // A click places the caret after the focus arrives; select once it has.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
    }
    if (watched == Tx_RyoikiSu && type == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Tx_RyoikiSu_LostFocus();
    }
    if (type == QEvent::KeyRelease)
        for (int k = 0; k < 4; ++k)
            if (watched == Tx_Manten[k])
                Tx_Manten_KeyUp(k, static_cast<QKeyEvent*>(event)->key());
    return ChildWindow::eventFilter(watched, event);
}
