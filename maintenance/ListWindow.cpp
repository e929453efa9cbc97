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

ListWindow::ListWindow(AppContext& ctx, const Captions& captions, const QString& listName, QWidget* parent)
    : ChildWindow(ctx, parent), helpTopic(captions.helpTopic), reportTitle(captions.reportTitle), sheetOf(captions.sheet)
{
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    layout->setMenuBar(bar);
    fileMenu = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    editMenu = bar->addMenu(QStringLiteral("編集(&E)"));
    buildMenus(captions);
    helpAction = bar->addAction(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    helpAction->setObjectName(QStringLiteral("helpAction"));
    connect(helpAction, &QAction::triggered, this, [this] { showHelp(); });

    auto* body = new QHBoxLayout;
    layout->addLayout(body);
    list = new QListWidget(this);
    list->setObjectName(listName);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    body->addWidget(list, 1);
    auto* side = new QVBoxLayout;
    body->addLayout(side);
    countRow = new QHBoxLayout;
    side->addLayout(countRow);
    buildSide(captions);
    side->addWidget(nameInputCaption);
    side->addWidget(nameInput);
    side->addSpacing(8);
    for (QPushButton* button : {renameButton, insertButton, removeButton})
        side->addWidget(button);
    extras = new QVBoxLayout;
    side->addLayout(extras);
    side->addSpacing(8);
    side->addWidget(reportActions()->button(ReportDestination::Printer, this, captions.printButton));
    side->addWidget(reportActions()->button(ReportDestination::Preview, this, QStringLiteral("ﾌﾟﾚﾋﾞｭｰ(&O)")));
    side->addWidget(reportActions()->button(ReportDestination::Csv, this));
    side->addWidget(reportActions()->button(ReportDestination::Xlsx, this));
    side->addStretch();
    side->addWidget(closeButton);

    setRenameBox(false);
}

void ListWindow::buildMenus(const Captions& captions)
{
    const auto entry = [this](QMenu* menu, const QString& caption, const char* name) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    ReportActions* outputs = makeReportActions(captions.printEntry, QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&O)"));
    fileMenu->addActions({outputs->printAction(), outputs->previewAction(), outputs->csvAction(), outputs->xlsxAction()});
    fileMenu->addSeparator();
    closeAction = entry(fileMenu, captions.closeEntry, "closeAction");
    editMenu->setObjectName(QStringLiteral("editMenu"));
    renameAction = entry(editMenu, captions.editEntries[0], "renameAction");
    insertAction = entry(editMenu, captions.editEntries[1], "insertAction");
    removeAction = entry(editMenu, captions.editEntries[2], "removeAction");

    connect(closeAction, &QAction::triggered, this, &ChildWindow::closeWindow);
    connect(renameAction, &QAction::triggered, this, &ListWindow::startRename);
    connect(insertAction, &QAction::triggered, this, &ListWindow::insertAtSelection);
    connect(removeAction, &QAction::triggered, this, &ListWindow::removeSelection);
}

// The count, the name box and the buttons beside the list.
void ListWindow::buildSide(const Captions& captions)
{
    countCaption = new QLabel(captions.countCaption, this);
    countCaption->setObjectName(QStringLiteral("countCaption"));
    countLabel = new QLabel(this);
    countLabel->setObjectName(QStringLiteral("countLabel"));
    countLabel->setFrameShape(QFrame::Panel);
    countLabel->setFrameShadow(QFrame::Sunken);
    countLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    countLabel->setMinimumWidth(36);
    countRow->addWidget(countCaption);
    countRow->addWidget(countLabel);
    countRow->addStretch();
    nameInputCaption = new QLabel(QStringLiteral("入力欄"), this);
    nameInputCaption->setObjectName(QStringLiteral("nameInputCaption"));
    nameInput = new QLineEdit(this);
    nameInput->setObjectName(QStringLiteral("nameInput"));
    nameInput->installEventFilter(this);

    const auto button = [this](const QString& caption, const char* name) {
        auto* made = new QPushButton(caption, this);
        made->setObjectName(QLatin1String(name));
        return made;
    };
    renameButton = button(captions.editButtons[0], "renameButton");
    insertButton = button(captions.editButtons[1], "insertButton");
    removeButton = button(captions.editButtons[2], "removeButton");
    closeButton = button(QStringLiteral("閉じる"), "closeButton");
    connect(renameButton, &QPushButton::clicked, this, &ListWindow::startRename);
    connect(insertButton, &QPushButton::clicked, this, &ListWindow::insertAtSelection);
    connect(removeButton, &QPushButton::clicked, this, &ListWindow::removeSelection);
    connect(closeButton, &QPushButton::clicked, this, &ChildWindow::closeWindow);
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
        nameInputLeft();
    if (ctx.frame) {
        ctx.frame->enableAllCommands();
        ctx.frame->disablePrint();
    }
}

void ListWindow::setRenameBox(bool enabled)
{
    nameInput->setEnabled(enabled);
    nameInputCaption->setEnabled(enabled);
}

void ListWindow::dropRename()
{
    if (!renaming)
        return;
    renaming = false;
    setRenameBox(false);
    nameInput->clear();
    setCommandsEnabled(true);
}

void ListWindow::setCommandsEnabled(bool enabled)
{
    for (QAction* action : {renameAction, insertAction, removeAction, closeAction})
        action->setEnabled(enabled);
    reportActions()->setEnabled(enabled);
}

int ListWindow::lineToEdit()
{
    if (renaming)
        nameInputLeft();
    if (!showsOpenData(true))
        return -1;
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty()) {
        ctx.ui.beep();
        return -1;
    }
    if (!editAllowed())
        return -1;
    return list->row(selected.first());
}

void ListWindow::startRename()
{
    const int row = lineToEdit();
    if (row < 0)
        return;
    renaming = true;
    renameRow = row;
    setCommandsEnabled(false);
    setRenameBox(true);
    nameInput->setText(shownLines.value(row));
    nameInput->setFocus(Qt::OtherFocusReason);
    nameInput->selectAll();
}

void ListWindow::insertAtSelection()
{
    if (const int row = lineToEdit(); row >= 0)
        insertCommand(row + 1, shownLines.value(row));
}

void ListWindow::removeSelection()
{
    if (const int row = lineToEdit(); row >= 0)
        removeCommand(row + 1, shownLines.value(row));
}

bool ListWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == nameInput) {
        switch (event->type()) {
        case QEvent::FocusIn:
            nameInput->selectAll();
            break;
        case QEvent::FocusOut: {
            // Opening a menu or switching to another program does not end a rename.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                nameInputLeft();
            break;
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                nameInputConfirmed();
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

void ListWindow::nameInputConfirmed()
{
    list->setFocus(Qt::OtherFocusReason);
    // Without an active window the focus does not move; the rename ends all the same.
    if (renaming)
        nameInputLeft();
}

void ListWindow::nameInputLeft()
{
    if (renaming)
        finishRename(true);
}

void ListWindow::finishRename(bool tell)
{
    renaming = false;
    const QString text = nameInput->text();
    setRenameBox(false);
    if (showsOpenData(tell)) {
        storeName(renameRow + 1, text, tell);
        fillList();
        // The refilled list selects the renamed line again, so the commands have it.
        if (renameRow < list->count())
            list->setCurrentRow(renameRow);
    }
    nameInput->clear();
    setCommandsEnabled(true);
}

void ListWindow::showLines(const QStringList& lines)
{
    shownLines = lines;
    list->clear();
    for (int i = 0; i < lines.size(); ++i)
        list->addItem(listText(i + 1, lines[i]));
    countLabel->setText(QString::number(lines.size()));
}

QString ListWindow::listText(int /*number*/, const QString& line) const
{
    return line;
}

// A rename under way is kept first; a list of a class or unit no longer open is
// read again. The sheet holds the lines shown.
void ListWindow::output(ReportDestination destination)
{
    if (renaming)
        nameInputLeft();
    showsOpenData(false);
    ctx.check(ctx.reports.run(this, sheetOf(ctx.data.unitName(), shownLines), destination, reportTitle), this,
              Ui::Icon::Warning);
}

void ListWindow::showHelp()
{
    ctx.ui.showHelp(this, helpTopic);
}
