#include "maintenance/NameDialog.h"

#include "core/Cp932.h"
#include "core/RosterFile.h"
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

NameDialog::NameDialog(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("NameDialog"));
    setWindowTitle(QStringLiteral("氏名メンテナンス"));

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    layout->setMenuBar(bar);
    menuFile = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    menuPrint[0] = menuFile->addAction(QStringLiteral("氏名一覧印刷(&P)"));
    menuPrint[1] = menuFile->addAction(QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&O)"));
    menuCsv = menuFile->addAction(QStringLiteral("CSV保存"));
    menuFile->addSeparator();
    menuEnd = menuFile->addAction(QStringLiteral("氏名メンテナンス終了(&X)"));
    menuEditTop = bar->addMenu(QStringLiteral("編集(&E)"));
    menuEdit[0] = menuEditTop->addAction(QStringLiteral("氏名変更(&C)"));
    menuEdit[1] = menuEditTop->addAction(QStringLiteral("転入処理(&I)"));
    menuEdit[2] = menuEditTop->addAction(QStringLiteral("転出処理(&D)"));
    menuHelp = bar->addAction(QStringLiteral("ﾍﾙﾌﾟ(&H)"));

    auto* body = new QHBoxLayout;
    layout->addLayout(body);
    Lt_Name = new QListWidget(this);
    Lt_Name->setObjectName(QStringLiteral("Lt_Name"));
    Lt_Name->setSelectionMode(QAbstractItemView::SingleSelection);
    Lt_Name->setMinimumSize(220, 360);
    body->addWidget(Lt_Name, 1);

    auto* side = new QVBoxLayout;
    body->addLayout(side);
    auto* countRow = new QHBoxLayout;
    Label1 = new QLabel(QStringLiteral("クラス人数"), this);
    Lb_Numbers = new QLabel(this);
    Lb_Numbers->setObjectName(QStringLiteral("Lb_Numbers"));
    Lb_Numbers->setFrameShape(QFrame::Panel);
    Lb_Numbers->setFrameShadow(QFrame::Sunken);
    Lb_Numbers->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Lb_Numbers->setMinimumWidth(36);
    Label3 = new QLabel(QStringLiteral("人"), this);
    countRow->addWidget(Label1);
    countRow->addWidget(Lb_Numbers);
    countRow->addWidget(Label3);
    countRow->addStretch();
    side->addLayout(countRow);
    Lb_DataInput = new QLabel(QStringLiteral("入力欄"), this);
    Tx_DataInput = new QLineEdit(this);
    Tx_DataInput->setObjectName(QStringLiteral("Tx_DataInput"));
    Tx_DataInput->installEventFilter(this);
    side->addWidget(Lb_DataInput);
    side->addWidget(Tx_DataInput);
    side->addSpacing(8);

    const QString editCaptions[3] = {QStringLiteral("氏名変更(&C)"), QStringLiteral("転入処理(&I)"), QStringLiteral("転出処理(&D)")};
    for (int i = 0; i < 3; ++i) {
        cmdEdit[i] = new QPushButton(editCaptions[i], this);
        cmdEdit[i]->setObjectName(QStringLiteral("cmdEdit%1").arg(i));
        side->addWidget(cmdEdit[i]);
        connect(cmdEdit[i], &QPushButton::clicked, this, [this, i] { cmdEdit_Click(i); });
        connect(menuEdit[i], &QAction::triggered, this, [this, i] { menuEdit_Click(i); });
    }
    side->addSpacing(8);
    const QString printCaptions[2] = {QStringLiteral("氏名印刷(&P)"), QStringLiteral("ﾌﾟﾚﾋﾞｭｰ(&O)")};
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
    resize(460, 440);
}

bool NameDialog::Form_Load()
{
    shownSenka = ctx.data.SenkaMode;
    shownClass = ctx.data.ClassNumber;
    shownFolder = ctx.data.DataPath;
    setCaption();
    fillList();
    if (Lt_Name->count() > 0)
        Lt_Name->setCurrentRow(0);
    return true;
}

void NameDialog::Form_Activate()
{
    showsOpenClass(false);
    if (ctx.frame) {
        ctx.frame->DisableAllCommands();
        ctx.frame->EnablePrint();
    }
}

// The program ends in the middle of a rename: the name typed is kept, as leaving
// the box would keep it, without asking anything.
void NameDialog::Form_ProgramEnd()
{
    if (renaming)
        finishRename(false);
}

void NameDialog::Form_Unload()
{
    // A name typed but not yet confirmed is kept, as leaving the box would keep it.
    if (renaming)
        Tx_DataInput_LostFocus();
    if (ctx.frame) {
        ctx.frame->EnableAllCommands();
        ctx.frame->DisablePrint();
    }
}

void NameDialog::setCaption()
{
    QString caption = QStringLiteral("氏名メンテナンス");
    if (ctx.data.SenkaMode)
        caption += QStringLiteral("-") + ctx.data.FileStem[ctx.data.ClassNumber];
    setWindowTitle(caption);
}

void NameDialog::fillList()
{
    Lt_Name->clear();
    for (int p = 1; p <= ctx.data.PupilCount; ++p)
        Lt_Name->addItem(ctx.data.PupilName[p]);
    Lb_Numbers->setText(QString::number(ctx.data.PupilCount));
}

void NameDialog::setRenameBox(bool enabled)
{
    Tx_DataInput->setEnabled(enabled);
    Lb_DataInput->setEnabled(enabled);
}

int NameDialog::selectedRow() const
{
    const QList<QListWidgetItem*> items = Lt_Name->selectedItems();
    return items.isEmpty() ? -1 : Lt_Name->row(items.first());
}

bool NameDialog::showsOpenClass(bool tell)
{
    const ClassData& data = ctx.data;
    bool same = shownSenka == data.SenkaMode && shownFolder == data.DataPath
        && (!data.SenkaMode || shownClass == data.ClassNumber) && Lt_Name->count() == data.PupilCount;
    for (int p = 1; same && p <= data.PupilCount; ++p)
        same = Lt_Name->item(p - 1)->text() == data.PupilName[p];
    if (same)
        return true;
    // Another window changed the open class (a class chosen, a new class made):
    // show that class instead of acting on a list that is no longer on disk. A
    // rename under way belonged to the old list and is dropped.
    if (renaming) {
        renaming = false;
        setRenameBox(false);
        Tx_DataInput->clear();
        menuEnabled(true);
    }
    Form_Load();
    Lt_Name->clearSelection();
    if (tell)
        ctx.ui.message(this, QStringLiteral("クラスまたは氏名がほかの画面で変わったので、氏名の一覧を読み直しました。もう一度、児童を選んでください。"),
                       Ui::Buttons::Ok, Ui::Icon::Information);
    return false;
}

bool NameDialog::otherWindowsClosed(const QString& command)
{
    // Score entry, attendance and the tallies hold the class in memory; rewriting
    // its files under them would garble what they save or show.
    const QStringList open = OpenWindows::others(this, {QStringLiteral("NameDialog"), QStringLiteral("TestMente")});
    if (open.isEmpty())
        return true;
    ctx.ui.message(this, command + QStringLiteral("の前に、次の画面を閉じてください。\n\n") + open.join(QLatin1Char('\n')),
                   Ui::Buttons::Ok, Ui::Icon::Information, command);
    return false;
}

void NameDialog::menuEnabled(bool flag)
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

void NameDialog::menuEdit_Click(int index)
{
    if (renaming)
        Tx_DataInput_LostFocus();
    if (!showsOpenClass(true))
        return;
    const int row = selectedRow();
    if (Lt_Name->count() == 0 || row < 0)
        return;
    const int n = row + 1;
    const QString name = Lt_Name->item(row)->text();
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
        if (ctx.data.PupilCount >= Limits::Pupils) {
            ctx.ui.message(this, Transfer::classFullMessage(), Ui::Buttons::Ok, Ui::Icon::Warning, QStringLiteral("転入処理"));
            return;
        }
        if (!otherWindowsClosed(QStringLiteral("転入処理")))
            return;
        if (ctx.ui.message(this, name + QStringLiteral("の後ろに新しい児童を挿入します"), Ui::Buttons::OkCancel,
                           Ui::Icon::Question, QStringLiteral("転入処理"))
            == Ui::Answer::Ok)
            TenNyu(n);
        return;
    }
    if (!otherWindowsClosed(QStringLiteral("転出処理")))
        return;
    if (ctx.ui.message(this, name + QStringLiteral("の氏名データ、成績データを削除します."), Ui::Buttons::OkCancel,
                       Ui::Icon::Question, QStringLiteral("転出処理"))
        == Ui::Answer::Ok)
        TenShutu(n);
}

void NameDialog::TenNyu(int n)
{
    // A cancelled box gives an empty name; the pupil is taken in all the same.
    const QString name = ctx.ui.input(this, QStringLiteral("新しい児童名は？"), QStringLiteral("転入処理"), QStringLiteral("転入生"))
                             .value_or(QString());
    Status done;
    {
        BusyCursor busy(ctx.ui);
        done = Transfer::TenNyu(ctx.data, n, name, ctx.today(), fileWriter);
    }
    if (!ctx.check(done, this, Ui::Icon::Warning))
        return;
    fillList();
    Lt_Name->setCurrentRow(n);
    ctx.ui.message(this, QStringLiteral("過去のテストはすべて欠席扱いにしてあります"));
    menuEnabled(true);
}

void NameDialog::TenShutu(int n)
{
    Status done;
    {
        BusyCursor busy(ctx.ui);
        done = Transfer::TenShutu(ctx.data, n, fileWriter);
    }
    if (!ctx.check(done, this, Ui::Icon::Warning))
        return;
    fillList();
    menuEnabled(true);
}

bool NameDialog::eventFilter(QObject* watched, QEvent* event)
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

void NameDialog::Tx_DataInput_GotFocus()
{
    Tx_DataInput->selectAll();
}

void NameDialog::Tx_DataInput_KeyPress(int key)
{
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || EditMode != 0)
        return;
    Lt_Name->setFocus(Qt::OtherFocusReason);
    // Without an active window the focus does not move; the rename ends all the same.
    if (renaming)
        Tx_DataInput_LostFocus();
}

void NameDialog::Tx_DataInput_LostFocus()
{
    if (renaming && EditMode == 0)
        finishRename(true);
}

void NameDialog::finishRename(bool tell)
{
    renaming = false;
    const int n = renameRow + 1;
    const QString text = Tx_DataInput->text();
    setRenameBox(false);
    if (showsOpenClass(tell)) {
        if (const QString problem = StorableText::problem(text); !problem.isEmpty()) {
            if (tell)
                ctx.ui.message(this, QStringLiteral("氏名「%1」は保存できません。%2。").arg(text, problem), Ui::Buttons::Ok,
                               Ui::Icon::Warning, QStringLiteral("氏名変更"));
        } else if (n >= 1 && n <= ctx.data.PupilCount) {
            const QString old = ctx.data.PupilName[n];
            ctx.data.PupilName[n] = text;
            const Status saved = SaveRoster(ctx.data);
            if (!saved.ok) {
                ctx.data.PupilName[n] = old;
                if (tell)
                    ctx.check(saved, this, Ui::Icon::Warning);
            }
        }
        fillList();
        // The refilled list selects the renamed line again, so the commands have it.
        if (renameRow < Lt_Name->count())
            Lt_Name->setCurrentRow(renameRow);
    }
    Tx_DataInput->clear();
    menuEnabled(true);
}

void NameDialog::menuPrint_Click(int index)
{
    if (renaming)
        Tx_DataInput_LostFocus();
    showsOpenClass(false);
    QStringList lines;
    for (int i = 0; i < Lt_Name->count(); ++i)
        lines.append(Lt_Name->item(i)->text());
    const ReportSheet sheet = MenteSheet::names(ctx.data.unitName(), lines);
    ctx.check(ctx.reports.run(this, sheet, destinationOf(index),
                              QStringLiteral("氏名一覧")),
              this, Ui::Icon::Warning);
}

void NameDialog::menuHelp_Click()
{
    ctx.ui.showHelp(this, 8);
}
