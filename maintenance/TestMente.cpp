#include "maintenance/TestMente.h"

#include "core/ScoreFile.h"
#include "core/TestList.h"
#include "maintenance/MenteSheet.h"
#include "maintenance/OpenWindows.h"
#include "shell/MainFrame.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

TestMente::TestMente(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("TestMente"));
    setWindowTitle(QStringLiteral("テストのメンテナンス"));

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    layout->setMenuBar(bar);
    menuFile = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    menuPrint[0] = menuFile->addAction(QStringLiteral("テスト一覧印刷(&P)"));
    menuPrint[1] = menuFile->addAction(QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&O)"));
    menuCsv = menuFile->addAction(QStringLiteral("CSV保存"));
    menuFile->addSeparator();
    menuEnd = menuFile->addAction(QStringLiteral("テストメンテナンス終了(&X)"));
    menuEditTop = bar->addMenu(QStringLiteral("編集(&E)"));
    menuEdit[0] = menuEditTop->addAction(QStringLiteral("テスト名変更(&C)"));
    menuEdit[1] = menuEditTop->addAction(QStringLiteral("テスト挿入(&I)"));
    menuEdit[2] = menuEditTop->addAction(QStringLiteral("テスト削除(&D)"));
    menuHelp = bar->addAction(QStringLiteral("ﾍﾙﾌﾟ(&H)"));

    auto* body = new QHBoxLayout;
    layout->addLayout(body);
    Lt_Test = new QListWidget(this);
    Lt_Test->setObjectName(QStringLiteral("Lt_Test"));
    Lt_Test->setSelectionMode(QAbstractItemView::SingleSelection);
    Lt_Test->setMinimumSize(260, 360);
    body->addWidget(Lt_Test, 1);

    auto* side = new QVBoxLayout;
    body->addLayout(side);
    auto* countRow = new QHBoxLayout;
    Label1 = new QLabel(QStringLiteral("総ﾃｽﾄ数"), this);
    Lb_Numbers = new QLabel(this);
    Lb_Numbers->setObjectName(QStringLiteral("Lb_Numbers"));
    Lb_Numbers->setFrameShape(QFrame::Panel);
    Lb_Numbers->setFrameShadow(QFrame::Sunken);
    Lb_Numbers->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Lb_Numbers->setMinimumWidth(36);
    countRow->addWidget(Label1);
    countRow->addWidget(Lb_Numbers);
    countRow->addStretch();
    side->addLayout(countRow);
    Lb_DataInput = new QLabel(QStringLiteral("入力欄"), this);
    Tx_DataInput = new QLineEdit(this);
    Tx_DataInput->setObjectName(QStringLiteral("Tx_DataInput"));
    Tx_DataInput->installEventFilter(this);
    side->addWidget(Lb_DataInput);
    side->addWidget(Tx_DataInput);
    side->addSpacing(8);

    const QString editCaptions[3] = {QStringLiteral("ﾃｽﾄ名変更(&C)"), QStringLiteral("ﾃｽﾄ挿入(&I)"), QStringLiteral("ﾃｽﾄ削除(&D)")};
    for (int i = 0; i < 3; ++i) {
        cmdEdit[i] = new QPushButton(editCaptions[i], this);
        cmdEdit[i]->setObjectName(QStringLiteral("cmdEdit%1").arg(i));
        side->addWidget(cmdEdit[i]);
        connect(cmdEdit[i], &QPushButton::clicked, this, [this, i] { cmdEdit_Click(i); });
        connect(menuEdit[i], &QAction::triggered, this, [this, i] { menuEdit_Click(i); });
    }
    side->addSpacing(8);
    const QString printCaptions[2] = {QStringLiteral("ﾃｽﾄ名印刷(&P)"), QStringLiteral("ﾌﾟﾚﾋﾞｭｰ(&O)")};
    for (int i = 0; i < 2; ++i) {
        cmdPrint[i] = new QPushButton(printCaptions[i], this);
        cmdPrint[i]->setObjectName(QStringLiteral("cmdPrint%1").arg(i));
        side->addWidget(cmdPrint[i]);
        connect(cmdPrint[i], &QPushButton::clicked, this, [this, i] { cmdPrint_Click(i); });
        connect(menuPrint[i], &QAction::triggered, this, [this, i] { menuPrint_Click(i); });
    }
    cmdCsv = new QPushButton(QStringLiteral("CSV保存"), this);
    cmdCsv->setObjectName(QStringLiteral("cmdCsv"));
    side->addWidget(cmdCsv);
    connect(cmdCsv, &QPushButton::clicked, this, [this] { menuPrint_Click(2); });
    connect(menuCsv, &QAction::triggered, this, [this] { menuPrint_Click(2); });
    side->addStretch();
    cmdEnd = new QPushButton(QStringLiteral("閉じる"), this);
    cmdEnd->setObjectName(QStringLiteral("cmdEnd"));
    side->addWidget(cmdEnd);
    connect(cmdEnd, &QPushButton::clicked, this, [this] { cmdEnd_Click(); });
    connect(menuEnd, &QAction::triggered, this, [this] { menuEnd_Click(); });
    connect(menuHelp, &QAction::triggered, this, [this] { menuHelp_Click(); });

    setRenameBox(false);
    resize(500, 440);
}

bool TestMente::Form_Load()
{
    // A missing or unreadable score file: the message, and the window stays shut
    // rather than list the tests of another unit.
    if (!loadUnit(true))
        return false;
    if (Lt_Test->count() > 0)
        Lt_Test->setCurrentRow(0);
    return true;
}

bool TestMente::loadUnit(bool tell)
{
    const Status loaded = LoadScores(ctx.data);
    if (!loaded.ok) {
        if (tell)
            ctx.check(loaded, this);
        return false;
    }
    shownSenka = ctx.data.SenkaMode;
    shownUnit = ctx.data.currentUnit();
    shownFolder = ctx.data.DataPath;
    fillList();
    return true;
}

void TestMente::Form_Activate()
{
    showsOpenUnit(false);
    if (ctx.frame) {
        ctx.frame->DisableAllCommands();
        ctx.frame->EnablePrint();
    }
}

// The program ends in the middle of a rename: the name typed is kept without asking.
void TestMente::Form_ProgramEnd()
{
    if (renaming)
        finishRename(false);
}

void TestMente::Form_Unload()
{
    if (renaming)
        Tx_DataInput_LostFocus();
    if (ctx.frame) {
        ctx.frame->EnableAllCommands();
        ctx.frame->DisablePrint();
    }
}

void TestMente::fillList()
{
    Lt_Test->clear();
    for (int t = 1; t <= ctx.data.TestSet.StoredTestCount; ++t)
        Lt_Test->addItem(ctx.data.TestSet.TestName[t]);
    Lb_Numbers->setText(QString::number(ctx.data.TestSet.StoredTestCount));
}

void TestMente::setRenameBox(bool enabled)
{
    Tx_DataInput->setEnabled(enabled);
    Lb_DataInput->setEnabled(enabled);
}

int TestMente::selectedRow() const
{
    const QList<QListWidgetItem*> items = Lt_Test->selectedItems();
    return items.isEmpty() ? -1 : Lt_Test->row(items.first());
}

bool TestMente::showsOpenUnit(bool tell)
{
    const ClassData& data = ctx.data;
    if (shownSenka == data.SenkaMode && shownUnit == data.currentUnit() && shownFolder == data.DataPath)
        return true;
    // Another subject or class was chosen while the window was open: list its tests
    // instead of changing a file the list does not show. When its file cannot be
    // read the list stays empty, so that no command acts on it. A rename under way
    // belonged to the old list and is dropped.
    if (renaming) {
        renaming = false;
        setRenameBox(false);
        Tx_DataInput->clear();
        menuEnabled(true);
    }
    if (!loadUnit(tell)) {
        shownSenka = data.SenkaMode;
        shownUnit = data.currentUnit();
        shownFolder = data.DataPath;
        Lt_Test->clear();
        Lb_Numbers->setText(QStringLiteral("0"));
        return false;
    }
    if (tell)
        ctx.ui.message(this, QStringLiteral("教科またはクラスが切り替わったので、%1のテスト一覧を読み直しました。もう一度、テストを選んでください。")
                                 .arg(data.unitName()),
                       Ui::Buttons::Ok, Ui::Icon::Information);
    return false;
}

bool TestMente::scoreEntryClosed()
{
    // Score entry holds the test set in memory and would write it back over the change.
    const QStringList open = OpenWindows::others(this, {}, {QStringLiteral("InputDialog")});
    if (open.isEmpty())
        return true;
    ctx.ui.message(this, QStringLiteral("テストの名前の変更・挿入・削除の前に、次の画面を閉じてください。\n\n") + open.join(QLatin1Char('\n')),
                   Ui::Buttons::Ok, Ui::Icon::Information);
    return false;
}

void TestMente::menuEnabled(bool flag)
{
    for (QAction* action : menuEdit)
        action->setEnabled(flag);
    menuEnd->setEnabled(flag);
    for (QAction* action : menuPrint)
        action->setEnabled(flag);
    menuCsv->setEnabled(flag);
    if (ctx.frame) {
        if (flag)
            ctx.frame->EnablePrint();
        else
            ctx.frame->DisablePrint();
    }
}

void TestMente::menuEdit_Click(int index)
{
    if (renaming)
        Tx_DataInput_LostFocus();
    if (!showsOpenUnit(true))
        return;
    const int row = selectedRow();
    if (Lt_Test->count() == 0 || row < 0)
        return;
    if (!scoreEntryClosed())
        return;
    const int n = row + 1;
    const QString name = Lt_Test->item(row)->text();
    EditMode = index;
    if (index == 0) {
        renaming = true;
        renameRow = row;
        menuEnabled(false);
        setRenameBox(true);
        Tx_DataInput->setText(name);
        Tx_DataInput->setFocus(Qt::OtherFocusReason);
        Tx_DataInput->selectAll();
        return;
    }
    if (index == 1) {
        if (Lt_Test->count() >= Limits::Tests) {
            ctx.ui.message(this, TestList::fullMessage(), Ui::Buttons::Ok, Ui::Icon::Warning, QStringLiteral("テストの挿入"));
            return;
        }
        if (ctx.ui.message(this, name + QStringLiteral("の前に新しいテストを挿入します"), Ui::Buttons::OkCancel,
                           Ui::Icon::Question, QStringLiteral("テストの挿入"))
            == Ui::Answer::Ok)
            TestInsert(n);
        return;
    }
    if (ctx.ui.message(this, name + QStringLiteral("を削除します."), Ui::Buttons::OkCancel, Ui::Icon::Question,
                       QStringLiteral("テストの削除"))
        == Ui::Answer::Ok)
        TestDelete(n);
}

void TestMente::TestInsert(int n)
{
    if (!ctx.check(TestList::insertBefore(ctx.data, n), this, Ui::Icon::Warning))
        return;
    fillList();
    Lt_Test->setCurrentRow(n - 1);
    ctx.ui.message(this, QStringLiteral("点数入力で新規テストを選び、入力してください"));
    menuEnabled(true);
}

void TestMente::TestDelete(int n)
{
    if (!ctx.check(TestList::remove(ctx.data, n), this, Ui::Icon::Warning))
        return;
    fillList();
    menuEnabled(true);
}

bool TestMente::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Tx_DataInput) {
        switch (event->type()) {
        case QEvent::FocusIn:
            Tx_DataInput_GotFocus();
            break;
        case QEvent::FocusOut: {
            // Opening a menu or switching to another program does not end a rename.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                Tx_DataInput_LostFocus();
            break;
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                Tx_DataInput_KeyPress(key);
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return ChildWindow::eventFilter(watched, event);
}

void TestMente::Tx_DataInput_GotFocus()
{
    Tx_DataInput->selectAll();
}

void TestMente::Tx_DataInput_KeyPress(int key)
{
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || EditMode != 0)
        return;
    Lt_Test->setFocus(Qt::OtherFocusReason);
    if (renaming)
        Tx_DataInput_LostFocus();
}

void TestMente::Tx_DataInput_LostFocus()
{
    if (renaming && EditMode == 0)
        finishRename(true);
}

void TestMente::finishRename(bool tell)
{
    renaming = false;
    const QString text = Tx_DataInput->text();
    setRenameBox(false);
    if (showsOpenUnit(tell)) {
        // An empty name is accepted here; saving in score entry asks for one.
        const Status renamed = TestList::rename(ctx.data, renameRow + 1, text);
        if (tell)
            ctx.check(renamed, this, Ui::Icon::Warning);
        fillList();
        // The refilled list selects the renamed line again, so the commands have it.
        if (renameRow < Lt_Test->count())
            Lt_Test->setCurrentRow(renameRow);
    }
    Tx_DataInput->clear();
    menuEnabled(true);
}

void TestMente::menuPrint_Click(int index)
{
    if (renaming)
        Tx_DataInput_LostFocus();
    showsOpenUnit(false);
    QStringList lines;
    for (int i = 0; i < Lt_Test->count(); ++i)
        lines.append(Lt_Test->item(i)->text());
    const ReportSheet sheet = MenteSheet::tests(ctx.data.unitName(), lines);
    ctx.check(ctx.reports.run(this, sheet, destinationOf(index),
                              QStringLiteral("テスト名一覧")),
              this, Ui::Icon::Warning);
}

void TestMente::menuHelp_Click()
{
    ctx.ui.showHelp(this, 7);
}
