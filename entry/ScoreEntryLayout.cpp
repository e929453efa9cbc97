// The menus and the layout of the score-entry window, and how its commands reach
// the handlers.

#include "entry/EditCommands.h"
#include "entry/InputModeControls.h"
#include "entry/ScoreEntryWindow.h"
#include "entry/ScoreGridController.h"
#include "entry/ScreenMnemonics.h"
#include "entry/TestDefinitionPanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// A button that gives the command of a menu entry.
QPushButton* button(QWidget* parent, const QString& caption, const QString& name, QAction* command = nullptr)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (command)
        QObject::connect(b, &QPushButton::clicked, command, &QAction::trigger);
    return b;
}

QAction* action(QMenu* menu, const QString& caption, const QString& name)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    return a;
}

}  // namespace

QMenuBar* ScoreEntryWindow::buildMenus(Commands& commands)
{
    auto* menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    menuBar->setNativeMenuBar(false);

    QMenu* file = menuBar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    commands.newTest = action(file, QStringLiteral("新規テストを挿入(&N)"), QStringLiteral("newTestAction"));
    file->addSeparator();
    commands.save = action(file, QStringLiteral("保存終了(&S)"), QStringLiteral("saveAndCloseAction"));
    commands.discard = action(file, QStringLiteral("破棄終了(&X)"), QStringLiteral("discardAndCloseAction"));
    connect(commands.newTest, &QAction::triggered, this, &ScoreEntryWindow::addTest);
    connect(commands.save, &QAction::triggered, this, &ScoreEntryWindow::saveAndClose);
    connect(commands.discard, &QAction::triggered, this, &ScoreEntryWindow::closeWithoutSaving);

    QMenu* edit = menuBar->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("editMenu"));
    edits->fillMenu(edit);

    QMenu* jump = menuBar->addMenu(QStringLiteral("ｼﾞｬﾝﾌﾟ(&J)"));
    commands.previous = action(jump, QStringLiteral("前のテストへ(&B)"), QStringLiteral("previousTestAction"));
    commands.next = action(jump, QStringLiteral("次のテストへ(&N)"), QStringLiteral("nextTestAction"));
    commands.first = action(jump, QStringLiteral("先頭テストへ(&T)"), QStringLiteral("firstTestAction"));
    commands.last = action(jump, QStringLiteral("最後のテストへ(&L)"), QStringLiteral("lastTestAction"));
    connect(commands.previous, &QAction::triggered, this, [this] { stepTest(-1); });
    connect(commands.next, &QAction::triggered, this, [this] { stepTest(+1); });
    // The first and the last test also bring the grid back to its top.
    connect(commands.first, &QAction::triggered, this, [this] {
        goToTest(1);
        grid->scrollToTop();
    });
    connect(commands.last, &QAction::triggered, this, [this] {
        goToTest(edited.count());
        grid->scrollToTop();
    });

    modes->fillMenu(menuBar->addMenu(QStringLiteral("入力ﾓｰﾄﾞ(&I)")));

    QAction* help = menuBar->addAction(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(QStringLiteral("helpAction"));
    connect(help, &QAction::triggered, this, [this] { ctx.ui.showHelp(this, 5); });
    return menuBar;
}

void ScoreEntryWindow::buildBody(QMenuBar* menuBar, const Commands& commands)
{
    // The commands beside the grid, two abreast so that they need little height. The
    // buttons that step to the previous or next test also bring the grid back to
    // its top.
    auto* side = new QGridLayout;
    QPushButton* newTest = button(this, QStringLiteral("新規テスト(&A)"), QStringLiteral("newTestButton"), commands.newTest);
    QPushButton* previous = button(this, QStringLiteral("前へ(&B)"), QStringLiteral("previousTestButton"));
    QPushButton* next = button(this, QStringLiteral("次へ(&N)"), QStringLiteral("nextTestButton"));
    QPushButton* first = button(this, QStringLiteral("先頭へ(&T)"), QStringLiteral("firstTestButton"), commands.first);
    QPushButton* last = button(this, QStringLiteral("最後へ(&L)"), QStringLiteral("lastTestButton"), commands.last);
    side->addWidget(newTest, 0, 0, 1, 2);
    side->addWidget(previous, 1, 0);
    side->addWidget(next, 1, 1);
    side->addWidget(first, 2, 0);
    side->addWidget(last, 2, 1);
    side->addWidget(modes, 3, 0, 1, 2);
    side->setRowStretch(4, 1);
    for (const auto& [stepButton, command] : {std::pair(previous, commands.previous), std::pair(next, commands.next)})
        connect(stepButton, &QPushButton::clicked, this, [this, command = command] {
            command->trigger();
            grid->scrollToTop();
        });

    // Below the grid its key hint; below the commands the two ways out. A short
    // screen shrinks the grid, which scrolls, and never hides them.
    QPushButton* save = button(this, QStringLiteral("保存終了(&S)"), QStringLiteral("saveAndCloseButton"), commands.save);
    QPushButton* discard = button(this, QStringLiteral("中止"), QStringLiteral("closeWithoutSavingButton"), commands.discard);
    auto* leaving = new QHBoxLayout;
    leaving->addWidget(save);
    leaving->addWidget(discard);

    auto* body = new QGridLayout;
    body->addWidget(grid->holder(), 0, 0);
    body->addLayout(side, 0, 1);
    body->addWidget(modes->keyHint(), 1, 0);
    body->addLayout(leaving, 1, 1, Qt::AlignBottom);
    body->setColumnStretch(0, 1);
    body->setRowStretch(0, 1);
    auto* root = new QVBoxLayout(this);
    root->setMenuBar(menuBar);
    root->addWidget(panel);
    root->addLayout(body, 1);

    connect(panel, &TestDefinitionPanel::edited, this, &ScoreEntryWindow::definitionEdited);
    connect(panel, &TestDefinitionPanel::previousTestClicked, this, [this] { stepTest(-1); });
    connect(panel, &TestDefinitionPanel::nextTestClicked, this, [this] { stepTest(+1); });
    connect(panel, &TestDefinitionPanel::otherClassClicked, this, &ScoreEntryWindow::copyOtherClassTest);
    connect(grid, &ScoreGridController::scoresTyped, edits, &EditCommands::recordScores);
    connect(grid, &ScoreGridController::clearRequested, edits, &EditCommands::clearScores);
    connect(modes, &InputModeControls::modeChosen, this, &ScoreEntryWindow::setInputMode);
    // The fixed values may have changed; the next keys are scores again.
    connect(modes, &InputModeControls::fixedValuesClosed, this, [this] {
        if (isUnloaded())
            return;
        modes->writeKeyHint();
        window()->activateWindow();
        grid->view()->setFocus(Qt::OtherFocusReason);
    });

    QList<QWidget*> chain = panel->tabChain();
    chain << grid->view() << newTest << previous << next << first << last << modes->tabChain() << save << discard
          << panel->otherClassControl() << panel->kindControls();
    for (int i = 0; i + 1 < chain.size(); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
    new ScreenMnemonics(this, menuBar);
}

QSize ScoreEntryWindow::sizeHint() const
{
    // Wide enough for the four viewpoint lists, tall enough for a dozen pupils: the
    // screen at its smallest with the grid grown to its heading and twelve rows.
    // A shorter frame shrinks the grid, which then scrolls.
    const int rows = 12;
    const QTableView* view = grid->view();
    const int gridHeight = view->horizontalHeader()->sizeHint().height()
        + rows * view->verticalHeader()->defaultSectionSize() + 2 * view->frameWidth();
    const QSize smallest = layout()->minimumSize();
    return QSize(qMax(720, smallest.width()), smallest.height() + qMax(0, gridHeight - view->minimumHeight()));
}

void ScoreEntryWindow::keyPressEvent(QKeyEvent* event)
{
    // Arrow and page keys that no control of the screen used stop here: the main
    // window's work area would otherwise scroll the whole screen away.
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        event->accept();
        return;
    default:
        ChildWindow::keyPressEvent(event);
    }
}
