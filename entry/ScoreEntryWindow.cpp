#include "entry/ScoreEntryWindow.h"

#include "model/Format.h"
#include "model/RosterFile.h"
#include "model/ScoreFile.h"
#include "entry/EntryWidgets.h"
#include "model/TestChecks.h"
#include "entry/OtherClassTestPicker.h"
#include "entry/FixedValuesDialog.h"
#include "frame/MainFrame.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

using namespace ScoreKeys;

namespace {
const QString NewTestName = QStringLiteral("新規テスト");
const QString NoViewpoint = QStringLiteral("（な　し）");
}  // namespace

ScoreEntryWindow::ScoreEntryWindow(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("ScoreEntryWindow"));
    setWindowTitle(QStringLiteral("点数入力"));
    buildMenus();
    buildTestInfo();
    buildGridAndButtons();
    connectControls();
    setTabOrder();
}

ScoreEntryWindow::~ScoreEntryWindow() = default;

QSize ScoreEntryWindow::sizeHint() const
{
    // Wide enough for the four viewpoint lists, tall enough for a dozen pupils.
    return QSize(720, 740);
}

// ---- opening and closing ---------------------------------------------------------

bool ScoreEntryWindow::prepare()
{
    ClassData& data = ctx.data;
    Bt_Tname->setEnabled(data.specialistMode);
    // The screen starts from the files. A roster or score file that cannot be read
    // keeps the screen closed: saving would otherwise write another unit's tests.
    if (!ctx.check(RosterFile::load(data), this) || !ctx.check(ScoreFile::load(data), this))
        return false;
    if (data.pupilCount <= 0) {
        ctx.ui.message(this, QStringLiteral("クラス人数が0のままです.「ﾌｧｲﾙ－設定」氏名を入力してください."));
        return false;
    }
    Grid1->setRowCount(data.pupilCount);
    const QColor fixedBack = palette().color(QPalette::Button);
    const QColor fixedText = palette().color(QPalette::ButtonText);
    for (int r = 0; r < data.pupilCount; ++r)
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
    Lb_Numbers->setText(Format::hashes(data.currentTest));
    for (QComboBox* list : Cb_Ryoiki) {
        list->clear();
        list->addItem(NoViewpoint);
        for (int v = 1; v <= Limits::Viewpoints; ++v)
            list->addItem(data.viewpointName[data.subject][v]);
    }
    ClearGrid();
    ResetTestInfo();
    if (data.tests.count != 0) {
        data.currentTest = data.tests.count;
        ShowTest();
    } else {
        data.currentTest = 1;
        TxTitle->setText(NewTestName);
        Lb_Numbers->setText(QStringLiteral("1"));
        data.tests.count = 1;
        ResetTestInfo();
        ClearGrid();
    }
    // What the screen holds now is what the files hold.
    loaded = std::make_unique<TestSet>(data.tests);
    storeInto(*loaded, data.currentTest);
    return true;
}

void ScoreEntryWindow::activated()
{
    if (ctx.frame) {
        ctx.frame->disableAllCommands();
        ctx.frame->disablePrint();
    }
}

bool ScoreEntryWindow::holdsUnsavedChanges() const
{
    if (!loaded)
        return false;
    auto now = std::make_unique<TestSet>(ctx.data.tests);
    storeInto(*now, ctx.data.currentTest);
    return !TestChecks::sameTests(*loaded, *now, ctx.data.pupilCount);
}

// Closing by the frame (close box, Ctrl+F4) would drop what was typed: ask first.
bool ScoreEntryWindow::mayClose()
{
    if (closingByCommand)
        return true;
    return mayLeave(Leaving::Close);
}

// Ending the program while scores are typed but not saved asks the same question.
bool ScoreEntryWindow::mayEndProgram()
{
    if (closingByCommand || isUnloaded())
        return true;
    if (!mayLeave(Leaving::ProgramEnd))
        return false;
    closingByCommand = true;  // answered: the window goes without asking again
    return true;
}

bool ScoreEntryWindow::mayLeave(Leaving how)
{
    if (!holdsUnsavedChanges())
        return true;
    const QString text = how == Leaving::ProgramEnd
        ? QStringLiteral("入力した点数はまだ保存されていません。\n保存してから、かざねを終了しますか？")
        : QStringLiteral("入力した点数はまだ保存されていません。\n保存してから、点数入力を終了しますか？");
    enum { Save, DontSave, Cancel };
    // 中止 means to leave without saving, so Enter keeps that meaning there; every
    // other way out defaults to saving.
    const int chosen = ctx.ui.ask(this, text,
                                  {QStringLiteral("保存して終了"), QStringLiteral("保存しないで終了"), QStringLiteral("キャンセル")},
                                  how == Leaving::Discard ? DontSave : Save, Cancel, Ui::Icon::Question);
    if (chosen == Save)
        return saveTests();
    return chosen == DontSave;
}

void ScoreEntryWindow::closed()
{
    if (kmode)
        kmode->close();
    if (ctx.frame) {
        ctx.frame->enableAllCommands();
        ctx.frame->disablePrint();
    }
}

// ---- test information -----------------------------------------------------------

void ScoreEntryWindow::ResetTestInfo()
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

void ScoreEntryWindow::ClearGrid()
{
    EntryPending = false;  // the cell it was typed into is emptied
    static const char* const headings[ColumnCount] = {"番号", "氏名", "合計", "Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ"};
    QStringList labels;
    for (const char* heading : headings)
        labels << QString::fromUtf8(heading);
    Grid1->setHorizontalHeaderLabels(labels);
    const ClassData& data = ctx.data;
    for (int p = 1; p <= Grid1->rowCount(); ++p) {
        setCell(p, NumberColumn, QString::number(p));
        setCell(p, NameColumn, data.pupilName[p]);
        for (int c = TotalColumn; c <= LastScoreColumn; ++c)
            setCell(p, c, QString());
    }
    setCursor(1, NameColumn);
}

void ScoreEntryWindow::applyViewpointCount(int n)
{
    for (int k = 0; k < 4; ++k) {
        const bool used = k < n;
        if (!used)
            Cb_Ryoiki[k]->setCurrentIndex(0);
        Cb_Ryoiki[k]->setEnabled(used);
        Tx_Manten[k]->setEnabled(used);
    }
}

void ScoreEntryWindow::ShowTest()
{
    const ClassData& data = ctx.data;
    const TestSet& set = data.tests;
    const int t = data.currentTest;
    Lb_Numbers->setText(Format::hashes(t));
    if (set.name[t].isEmpty() && t == freshTest) {
        // A test just appended: default columns; the title and lists stay as shown.
        Tx_RyoikiSu->setText(QStringLiteral("1"));
        for (int k = 0; k < 4; ++k)
            Tx_Manten[k]->setText(k == 0 ? QStringLiteral("100") : QStringLiteral("0"));
    } else {
        TxTitle->setText(set.name[t]);
        Tx_RyoikiSu->setText(QString::number(set.columnCount[t]));
        for (int k = 0; k < 4; ++k) {
            Cb_Ryoiki[k]->setCurrentIndex(qBound(0, set.viewpoint[t][k + 1], Limits::Viewpoints));
            Tx_Manten[k]->setText(QString::number(set.fullMarks[t][k + 1]));
        }
    }
    applyViewpointCount(numberIn(Tx_RyoikiSu->text()));
    ClearGrid();
    const int columns = qBound(0, set.columnCount[t], Limits::Columns);
    for (int p = 1; p <= data.pupilCount; ++p) {
        int sum = 0;
        for (int c = 1; c <= columns; ++c) {
            const int score = set.score[t][c][p];
            setCell(p, c + 2, score < 0 ? absentText() : QString::number(score));
            if (score >= 0)
                sum += score;
        }
        setCell(p, TotalColumn, set.score[t][1][p] < 0 ? absentText() : QString::number(sum));
    }
    TxTitle->selectAll();
    setCursor(1, FirstScoreColumn);
}

void ScoreEntryWindow::StoreTest(int t)
{
    storeInto(ctx.data.tests, t);
    if (t == freshTest)
        freshTest = 0;
}

void ScoreEntryWindow::storeInto(TestSet& set, int t) const
{
    set.name[t] = TxTitle->text();
    set.columnCount[t] = numberIn(Tx_RyoikiSu->text());
    for (int k = 0; k < 4; ++k) {
        set.viewpoint[t][k + 1] = Cb_Ryoiki[k]->currentIndex();
        set.fullMarks[t][k + 1] = numberIn(Tx_Manten[k]->text());
    }
    const int columns = qBound(0, set.columnCount[t], Limits::Columns);
    for (int p = 1; p <= ctx.data.pupilCount; ++p)
        for (int c = 1; c <= columns; ++c) {
            const QString text = cellText(p, c + 2);
            set.score[t][c][p] = text == absentText() ? Absent : numberIn(text);
        }
}

void ScoreEntryWindow::focusTitle()
{
    TxTitle->setFocus(Qt::OtherFocusReason);
    TxTitle->selectAll();
}

void ScoreEntryWindow::goToTest(int t)
{
    StoreTest(ctx.data.currentTest);
    ctx.data.currentTest = t;
    ShowTest();
    focusTitle();
}

void ScoreEntryWindow::menuNext_Click()
{
    if (ctx.data.currentTest >= ctx.data.tests.count) {
        ctx.ui.beep();
        return;
    }
    goToTest(ctx.data.currentTest + 1);
}

void ScoreEntryWindow::menuBefore_Click()
{
    if (ctx.data.currentTest <= 1) {
        ctx.ui.beep();
        return;
    }
    goToTest(ctx.data.currentTest - 1);
}

void ScoreEntryWindow::UpDown1_UpClick() { menuNext_Click(); }
void ScoreEntryWindow::UpDown1_DownClick() { menuBefore_Click(); }

void ScoreEntryWindow::cmdNext_Click(int index)
{
    if (index == 1)
        menuNext_Click();
    else
        menuBefore_Click();
    scrollGridToTop();
}

void ScoreEntryWindow::menuJump_Click(int index)
{
    goToTest(index == 0 ? 1 : ctx.data.tests.count);
    scrollGridToTop();
}

void ScoreEntryWindow::cmdJump_Click(int index) { menuJump_Click(index); }

void ScoreEntryWindow::menuNewTest_Click()
{
    ClassData& data = ctx.data;
    TestSet& set = data.tests;
    if (set.count >= Limits::Tests) {
        ctx.ui.beep();
        return;
    }
    StoreTest(data.currentTest);
    TxTitle->setText(NewTestName);
    const int t = ++set.count;
    // The new slot starts empty whatever an earlier use of the set left in it.
    set.name[t].clear();
    set.columnCount[t] = 0;
    for (int c = 0; c <= Limits::Columns + 1; ++c) {
        set.viewpoint[t][c] = 0;
        set.fullMarks[t][c] = 0;
        for (int p = 0; p <= Limits::Pupils; ++p)
            set.score[t][c][p] = 0;
    }
    data.currentTest = t;
    freshTest = t;
    ResetTestInfo();
    ClearGrid();
    ShowTest();
    focusTitle();
    scrollGridToTop();
}

void ScoreEntryWindow::cmdNew_Click() { menuNewTest_Click(); }

void ScoreEntryWindow::Bt_Tname_Click()
{
    if (TxTitle->text() != NewTestName) {
        ctx.ui.beep();
        return;
    }
    OtherClassTestPicker other(ctx, *this, this);
    other.prepare();
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

void ScoreEntryWindow::Tx_RyoikiSu_LostFocus()
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

void ScoreEntryWindow::Tx_Manten_KeyUp(int index, int key)
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

void ScoreEntryWindow::menuHelp_Click()
{
    ctx.ui.showHelp(this, 5);
}
