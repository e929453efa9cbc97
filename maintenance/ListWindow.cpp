#include "maintenance/ListWindow.h"

#include "frame/MainFrame.h"
#include "frame/ReportActions.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

ListWindow::ListWindow(AppContext& ctx, const Captions& captions, QWidget* parent)
    : ChildWindow(ctx, parent), helpTopic(captions.helpTopic), reportTitle(captions.reportTitle), sheetOf(captions.sheet)
{
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    layout->setMenuBar(bar);
    menuFile = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    ReportActions* outputs = makeReportActions(captions.printMenu, QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&O)"));
    menuFile->addActions({outputs->printAction(), outputs->previewAction(), outputs->csvAction()});
    menuFile->addSeparator();
    menuEnd = menuFile->addAction(captions.endMenu);
    menuEditTop = bar->addMenu(QStringLiteral("編集(&E)"));
    for (int i = 0; i < 3; ++i)
        menuEdit[i] = menuEditTop->addAction(captions.editMenu[i]);
    menuHelp = bar->addAction(QStringLiteral("ﾍﾙﾌﾟ(&H)"));

    auto* body = new QHBoxLayout;
    layout->addLayout(body);
    list = new QListWidget(this);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    body->addWidget(list, 1);

    auto* side = new QVBoxLayout;
    body->addLayout(side);
    countRow = new QHBoxLayout;
    Label1 = new QLabel(captions.countLabel, this);
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

    for (int i = 0; i < 3; ++i) {
        cmdEdit[i] = new QPushButton(captions.editButtons[i], this);
        cmdEdit[i]->setObjectName(QStringLiteral("cmdEdit%1").arg(i));
        side->addWidget(cmdEdit[i]);
        connect(cmdEdit[i], &QPushButton::clicked, this, [this, i] { cmdEdit_Click(i); });
        connect(menuEdit[i], &QAction::triggered, this, [this, i] { menuEdit_Click(i); });
    }
    side->addSpacing(8);
    side->addWidget(outputs->button(ReportDestination::Printer, this, captions.printButton));
    side->addWidget(outputs->button(ReportDestination::Preview, this, QStringLiteral("ﾌﾟﾚﾋﾞｭｰ(&O)")));
    side->addWidget(outputs->button(ReportDestination::Csv, this));
    side->addStretch();
    cmdEnd = new QPushButton(QStringLiteral("閉じる"), this);
    cmdEnd->setObjectName(QStringLiteral("cmdEnd"));
    side->addWidget(cmdEnd);
    connect(cmdEnd, &QPushButton::clicked, this, [this] { cmdEnd_Click(); });
    connect(menuEnd, &QAction::triggered, this, [this] { menuEnd_Click(); });
    connect(menuHelp, &QAction::triggered, this, [this] { menuHelp_Click(); });

    setRenameBox(false);
}

void ListWindow::activated()
{
    showsOpenData(false);
    if (ctx.frame) {
        ctx.frame->disableAllCommands();
        ctx.frame->updatePrintCommands();
    }
}

// The program ends in the middle of a rename: the text typed is kept, as leaving
// the box would keep it, without asking anything.
bool ListWindow::programEnding()
{
    if (renaming)
        finishRename(false);
    return true;
}

void ListWindow::closed()
{
    // Text typed but not yet confirmed is kept, as leaving the box would keep it.
    if (renaming)
        Tx_DataInput_LostFocus();
    if (ctx.frame) {
        ctx.frame->enableAllCommands();
        ctx.frame->disablePrint();
    }
}

void ListWindow::setRenameBox(bool enabled)
{
    Tx_DataInput->setEnabled(enabled);
    Lb_DataInput->setEnabled(enabled);
}

int ListWindow::selectedRow() const
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

void ListWindow::dropRename()
{
    if (!renaming)
        return;
    renaming = false;
    setRenameBox(false);
    Tx_DataInput->clear();
    menuEnabled(true);
}

void ListWindow::menuEnabled(bool flag)
{
    for (QAction* action : menuEdit)
        action->setEnabled(flag);
    menuEnd->setEnabled(flag);
    reportActions()->setEnabled(flag);
}

void ListWindow::menuEdit_Click(int index)
{
    if (renaming)
        Tx_DataInput_LostFocus();
    if (!showsOpenData(true))
        return;
    const int row = selectedRow();
    if (list->count() == 0 || row < 0)
        return;
    if (!editAllowed())
        return;
    const QString name = list->item(row)->text();
    EditMode = index;
    if (index == 0) {
        renaming = true;
        renameRow = row;
        menuEnabled(false);
        setRenameBox(true);
        Tx_DataInput->setText(name);
        Tx_DataInput->setFocus(Qt::OtherFocusReason);
        Tx_DataInput->selectAll();
    } else if (index == 1) {
        insertCommand(row + 1, name);
    } else {
        removeCommand(row + 1, name);
    }
}

bool ListWindow::eventFilter(QObject* watched, QEvent* event)
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

void ListWindow::Tx_DataInput_GotFocus()
{
    Tx_DataInput->selectAll();
}

void ListWindow::Tx_DataInput_KeyPress(int key)
{
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || EditMode != 0)
        return;
    list->setFocus(Qt::OtherFocusReason);
    // Without an active window the focus does not move; the rename ends all the same.
    if (renaming)
        Tx_DataInput_LostFocus();
}

void ListWindow::Tx_DataInput_LostFocus()
{
    if (renaming && EditMode == 0)
        finishRename(true);
}

void ListWindow::finishRename(bool tell)
{
    renaming = false;
    const QString text = Tx_DataInput->text();
    setRenameBox(false);
    if (showsOpenData(tell)) {
        storeName(renameRow + 1, text, tell);
        fillList();
        // The refilled list selects the renamed line again, so the commands have it.
        if (renameRow < list->count())
            list->setCurrentRow(renameRow);
    }
    Tx_DataInput->clear();
    menuEnabled(true);
}

void ListWindow::showLines(const QStringList& lines)
{
    shownLines = lines;
    list->clear();
    list->addItems(lines);
    Lb_Numbers->setText(QString::number(lines.size()));
}

// A rename under way is kept first; a list of a class or unit no longer open is
// read again. The sheet holds the lines shown.
void ListWindow::output(ReportDestination destination)
{
    if (renaming)
        Tx_DataInput_LostFocus();
    showsOpenData(false);
    ctx.check(ctx.reports.run(this, sheetOf(ctx.data.unitName(), shownLines), destination, reportTitle), this,
              Ui::Icon::Warning);
}

void ListWindow::menuHelp_Click()
{
    ctx.ui.showHelp(this, helpTopic);
}
