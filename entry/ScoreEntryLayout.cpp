// The controls of the score-entry screen, their layout, menus and connections, and
// how its keys and focus changes reach the handlers.

#include "entry/EntryWidgets.h"
#include "entry/ScoreEntryWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

QPushButton* button(QWidget* parent, const QString& caption, const QString& name)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QAction* action(QMenu* menu, const QString& caption, const QString& name)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    return a;
}

bool isUndoKey(const QKeyEvent* key)
{
    return key->matches(QKeySequence::Undo);
}

bool isRedoKey(const QKeyEvent* key)
{
    const QKeyCombination combination = key->keyCombination();
    return key->matches(QKeySequence::Redo) || combination == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)
        || combination == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
}

}  // namespace

// Looks at every Alt+letter typed inside the screen before the main window's
// menus do: the screen's own buttons and menus share some of their letters.
class ScoreEntryWindow::MnemonicFilter : public QObject {
public:
    explicit MnemonicFilter(ScoreEntryWindow* screen) : QObject(screen), screen(screen) {}

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
    ScoreEntryWindow* screen;
};

void ScoreEntryWindow::buildMenus()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    menuBar->setNativeMenuBar(false);

    QMenu* file = menuBar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    newTestAction = action(file, QStringLiteral("新規テストを挿入(&N)"), QStringLiteral("newTestAction"));
    file->addSeparator();
    saveAndCloseAction = action(file, QStringLiteral("保存終了(&S)"), QStringLiteral("saveAndCloseAction"));
    discardAndCloseAction = action(file, QStringLiteral("破棄終了(&X)"), QStringLiteral("discardAndCloseAction"));

    // The steps back and forth and the clipboard act wherever the focus is inside
    // the screen, and only there.
    QMenu* edit = menuBar->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("editMenu"));
    undoAction = action(edit, QStringLiteral("元に戻す(&U)"), QStringLiteral("undoAction"));
    undoAction->setShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_Z));
    redoAction = action(edit, QStringLiteral("やり直し(&R)"), QStringLiteral("redoAction"));
    redoAction->setShortcuts({QKeySequence(Qt::ControlModifier | Qt::Key_Y),
                              QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z)});
    edit->addSeparator();
    copyAction = action(edit, QStringLiteral("コピー(&C)"), QStringLiteral("copyAction"));
    copyAction->setShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_C));
    pasteAction = action(edit, QStringLiteral("貼り付け(&P)"), QStringLiteral("pasteAction"));
    pasteAction->setShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_V));
    // Delete and Backspace reach the grid itself; the menu shows the key only.
    clearAction = action(edit, QStringLiteral("消去(&D)\tDelete"), QStringLiteral("clearAction"));
    for (QAction* a : {undoAction, redoAction, copyAction, pasteAction, clearAction}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }
    undoStack = new QUndoStack(this);
    undoStack->setObjectName(QStringLiteral("undoStack"));
    undoAction->setEnabled(false);
    redoAction->setEnabled(false);
    connect(undoStack, &QUndoStack::canUndoChanged, undoAction, &QAction::setEnabled);
    connect(undoStack, &QUndoStack::canRedoChanged, redoAction, &QAction::setEnabled);

    QMenu* jump = menuBar->addMenu(QStringLiteral("ｼﾞｬﾝﾌﾟ(&J)"));
    previousTestAction = action(jump, QStringLiteral("前のテストへ(&B)"), QStringLiteral("previousTestAction"));
    nextTestAction = action(jump, QStringLiteral("次のテストへ(&N)"), QStringLiteral("nextTestAction"));
    firstTestAction = action(jump, QStringLiteral("先頭テストへ(&T)"), QStringLiteral("firstTestAction"));
    lastTestAction = action(jump, QStringLiteral("最後のテストへ(&L)"), QStringLiteral("lastTestAction"));

    QMenu* mode = menuBar->addMenu(QStringLiteral("入力ﾓｰﾄﾞ(&I)"));
    normalModeAction = action(mode, QStringLiteral("通常入力モード"), QStringLiteral("normalModeAction"));
    fixedModeAction = action(mode, QStringLiteral("固定入力モード"), QStringLiteral("fixedModeAction"));
    for (QAction* a : {normalModeAction, fixedModeAction})
        a->setCheckable(true);
    normalModeAction->setChecked(true);
    mode->addSeparator();
    fixedValuesAction = action(mode, QStringLiteral("モード設定(&M)"), QStringLiteral("fixedValuesAction"));

    helpAction = menuBar->addAction(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    helpAction->setObjectName(QStringLiteral("helpAction"));
}

void ScoreEntryWindow::buildTestInfo()
{
    testInfo = new QGroupBox(QStringLiteral("テスト情報"), this);
    testInfo->setObjectName(QStringLiteral("testInfo"));
    auto* info = new QVBoxLayout(testInfo);

    auto* top = new QHBoxLayout;
    auto* numberLabel = new QLabel(QStringLiteral("No."), testInfo);
    testNumber = new QLabel(testInfo);
    testNumber->setObjectName(QStringLiteral("testNumber"));
    testNumber->setMinimumWidth(28);
    testNumber->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    testNumber->setFrameShape(QFrame::StyledPanel);
    testNumberArrows = new UpDownButtons(testInfo);
    testNumberArrows->setObjectName(QStringLiteral("testNumberArrows"));
    testName = new QLineEdit(testInfo);
    testName->setObjectName(QStringLiteral("testName"));
    testName->setToolTip(QStringLiteral("テスト名を入力してください"));
    testName->setPlaceholderText(QStringLiteral("テスト名を入力してください"));
    otherClassButton = button(testInfo, QStringLiteral("参照"), QStringLiteral("otherClassButton"));
    auto* countLabel = new QLabel(QStringLiteral("観点数"), testInfo);
    columnCount = new QLineEdit(testInfo);
    columnCount->setObjectName(QStringLiteral("columnCount"));
    // A one-digit field: one digit or nothing.
    columnCount->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]?")), columnCount));
    columnCount->setMaxLength(1);
    columnCount->setFixedWidth(32);
    columnCount->setAlignment(Qt::AlignCenter);
    top->addWidget(numberLabel);
    top->addWidget(testNumber);
    top->addWidget(testNumberArrows);
    top->addSpacing(8);
    top->addWidget(testName, 1);
    top->addWidget(otherClassButton);
    top->addSpacing(12);
    top->addWidget(countLabel);
    top->addWidget(columnCount);
    info->addLayout(top);

    // One box per score column: its viewpoint and its full marks. Object names count
    // the columns from 1, as their titles 観点Ⅰ..観点Ⅳ do.
    auto* columns = new QHBoxLayout;
    for (int k = 0; k < Limits::Columns; ++k) {
        QGroupBox* column = new QGroupBox(Names::viewpointHeading(k + 1), testInfo);
        column->setObjectName(QStringLiteral("viewpointColumn%1").arg(k + 1));
        auto* box = new QGridLayout(column);
        QComboBox* list = new QComboBox(column);
        list->setObjectName(QStringLiteral("viewpointBox%1").arg(k + 1));
        list->setToolTip(QStringLiteral("観点を選んでください"));
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        auto* marksLabel = new QLabel(QStringLiteral("満点"), column);
        QLineEdit* marks = new QLineEdit(column);
        marks->setObjectName(QStringLiteral("fullMarksBox%1").arg(k + 1));
        marks->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), marks));
        marks->setFixedWidth(48);
        marks->setAlignment(Qt::AlignRight);
        box->addWidget(list, 0, 0, 1, 3);
        box->addWidget(marksLabel, 1, 1, Qt::AlignRight);
        box->addWidget(marks, 1, 2);
        box->setColumnStretch(0, 1);
        giveTitleRoom(column);
        columns->addWidget(column, 1);
        viewpointColumns[size_t(k)] = column;
        viewpointBoxes[size_t(k)] = list;
        fullMarksBoxes[size_t(k)] = marks;
    }
    info->addLayout(columns);
}

void ScoreEntryWindow::buildGridAndButtons()
{
    auto* holder = new QWidget(this);
    holder->setObjectName(QStringLiteral("scoreGridHolder"));
    auto* holderLayout = new QVBoxLayout(holder);
    holderLayout->setContentsMargins(3, 3, 3, 3);
    scores = new ScoreTableModel(this);
    scores->setObjectName(QStringLiteral("scores"));
    scoreGrid = new QTableView(holder);
    scoreGrid->setObjectName(QStringLiteral("scoreGrid"));
    scoreGrid->setModel(scores);
    scoreGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A block of cells is selected for copying and clearing; keys go to the cursor's cell.
    scoreGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    scoreGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    scoreGrid->setTabKeyNavigation(false);
    // Scores are read key by key: the input method must not compose them first.
    scoreGrid->setAttribute(Qt::WA_InputMethodEnabled, false);
    scoreGrid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    scoreGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scoreGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scoreGrid->setWordWrap(false);
    scoreGrid->verticalHeader()->hide();
    scoreGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    scoreGrid->verticalHeader()->setDefaultSectionSize(scoreGrid->fontMetrics().height() + 10);
    scoreGrid->horizontalHeader()->setSectionsClickable(false);
    scoreGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    scoreGrid->horizontalHeader()->setHighlightSections(false);
    scoreGrid->setMinimumHeight(160);
    holderLayout->addWidget(scoreGrid);
    gridFocusFrame = new FocusFrame(holder);
    gridFocusFrame->setObjectName(QStringLiteral("gridFocusFrame"));
    gridFocusFrame->hide();

    // The commands beside the grid, two abreast so that they need little height.
    auto* side = new QGridLayout;
    newTestButton = button(this, QStringLiteral("新規テスト(&A)"), QStringLiteral("newTestButton"));
    previousTestButton = button(this, QStringLiteral("前へ(&B)"), QStringLiteral("previousTestButton"));
    nextTestButton = button(this, QStringLiteral("次へ(&N)"), QStringLiteral("nextTestButton"));
    firstTestButton = button(this, QStringLiteral("先頭へ(&T)"), QStringLiteral("firstTestButton"));
    lastTestButton = button(this, QStringLiteral("最後へ(&L)"), QStringLiteral("lastTestButton"));
    side->addWidget(newTestButton, 0, 0, 1, 2);
    side->addWidget(previousTestButton, 1, 0);
    side->addWidget(nextTestButton, 1, 1);
    side->addWidget(firstTestButton, 2, 0);
    side->addWidget(lastTestButton, 2, 1);
    inputModes = new QGroupBox(this);
    inputModes->setObjectName(QStringLiteral("inputModes"));
    auto* modes = new QGridLayout(inputModes);
    normalModeButton = new QRadioButton(QStringLiteral("通常入力"), inputModes);
    normalModeButton->setObjectName(QStringLiteral("normalModeButton"));
    fixedModeButton = new QRadioButton(QStringLiteral("固定入力"), inputModes);
    fixedModeButton->setObjectName(QStringLiteral("fixedModeButton"));
    normalModeButton->setChecked(true);
    fixedValuesButton = button(inputModes, QStringLiteral("モード設定"), QStringLiteral("fixedValuesButton"));
    modes->addWidget(normalModeButton, 0, 0);
    modes->addWidget(fixedModeButton, 0, 1);
    modes->addWidget(fixedValuesButton, 1, 0, 1, 2);
    side->addWidget(inputModes, 3, 0, 1, 2);
    side->setRowStretch(4, 1);

    // Below the grid its key hint; below the commands the two ways out. A short
    // screen shrinks the grid, which scrolls, and never hides them.
    keyHint = new QLabel(this);
    keyHint->setObjectName(QStringLiteral("keyHint"));
    keyHint->setWordWrap(true);
    saveAndCloseButton = button(this, QStringLiteral("保存終了(&S)"), QStringLiteral("saveAndCloseButton"));
    closeWithoutSavingButton = button(this, QStringLiteral("中止"), QStringLiteral("closeWithoutSavingButton"));
    auto* leaving = new QHBoxLayout;
    leaving->addWidget(saveAndCloseButton);
    leaving->addWidget(closeWithoutSavingButton);

    auto* body = new QGridLayout;
    body->addWidget(holder, 0, 0);
    body->addLayout(side, 0, 1);
    body->addWidget(keyHint, 1, 0);
    body->addLayout(leaving, 1, 1, Qt::AlignBottom);
    body->setColumnStretch(0, 1);
    body->setRowStretch(0, 1);

    auto* root = new QVBoxLayout(this);
    root->setMenuBar(menuBar);
    root->addWidget(testInfo);
    root->addLayout(body, 1);
}

void ScoreEntryWindow::connectControls()
{
    // The menu and the button of one command call the same function; the buttons
    // that move between tests also bring the grid back to its top.
    connect(newTestAction, &QAction::triggered, this, &ScoreEntryWindow::addTest);
    connect(newTestButton, &QPushButton::clicked, this, &ScoreEntryWindow::addTest);
    connect(saveAndCloseAction, &QAction::triggered, this, &ScoreEntryWindow::saveAndClose);
    connect(saveAndCloseButton, &QPushButton::clicked, this, &ScoreEntryWindow::saveAndClose);
    connect(discardAndCloseAction, &QAction::triggered, this, &ScoreEntryWindow::closeWithoutSaving);
    connect(closeWithoutSavingButton, &QPushButton::clicked, this, &ScoreEntryWindow::closeWithoutSaving);
    connect(previousTestAction, &QAction::triggered, this, &ScoreEntryWindow::previousTest);
    connect(nextTestAction, &QAction::triggered, this, &ScoreEntryWindow::nextTest);
    connect(testNumberArrows, &UpDownButtons::downClicked, this, &ScoreEntryWindow::previousTest);
    connect(testNumberArrows, &UpDownButtons::upClicked, this, &ScoreEntryWindow::nextTest);
    connect(previousTestButton, &QPushButton::clicked, this, [this] {
        previousTest();
        scrollGridToTop();
    });
    connect(nextTestButton, &QPushButton::clicked, this, [this] {
        nextTest();
        scrollGridToTop();
    });
    connect(firstTestAction, &QAction::triggered, this, &ScoreEntryWindow::firstTest);
    connect(firstTestButton, &QPushButton::clicked, this, &ScoreEntryWindow::firstTest);
    connect(lastTestAction, &QAction::triggered, this, &ScoreEntryWindow::lastTest);
    connect(lastTestButton, &QPushButton::clicked, this, &ScoreEntryWindow::lastTest);
    connect(normalModeAction, &QAction::triggered, this, [this] { setInputMode(ScoreKeys::InputMode::Normal); });
    connect(normalModeButton, &QRadioButton::clicked, this, [this] { setInputMode(ScoreKeys::InputMode::Normal); });
    connect(fixedModeAction, &QAction::triggered, this, [this] { setInputMode(ScoreKeys::InputMode::Fixed); });
    connect(fixedModeButton, &QRadioButton::clicked, this, [this] { setInputMode(ScoreKeys::InputMode::Fixed); });
    connect(fixedValuesAction, &QAction::triggered, this, &ScoreEntryWindow::openFixedValues);
    connect(fixedValuesButton, &QPushButton::clicked, this, &ScoreEntryWindow::openFixedValues);
    connect(helpAction, &QAction::triggered, this, &ScoreEntryWindow::showHelp);
    connect(otherClassButton, &QPushButton::clicked, this, &ScoreEntryWindow::copyOtherClassTest);
    connect(undoAction, &QAction::triggered, this, &ScoreEntryWindow::undoEdit);
    connect(redoAction, &QAction::triggered, this, &ScoreEntryWindow::redoEdit);
    connect(copyAction, &QAction::triggered, this, &ScoreEntryWindow::copyScores);
    connect(pasteAction, &QAction::triggered, this, &ScoreEntryWindow::pasteScores);
    connect(clearAction, &QAction::triggered, this, &ScoreEntryWindow::clearScores);
    // Every change of the test information is a step that can be undone.
    connect(testName, &QLineEdit::textChanged, this, [this] { recordDefinition(NameField); });
    connect(columnCount, &QLineEdit::textChanged, this, [this] { recordDefinition(CountField); });
    for (int k = 0; k < Limits::Columns; ++k) {
        connect(viewpointBoxes[size_t(k)], &QComboBox::currentIndexChanged, this,
                [this, k] { recordDefinition(ViewpointField + k); });
        connect(fullMarksBoxes[size_t(k)], &QLineEdit::textChanged, this,
                [this, k] { recordDefinition(FullMarksField + k); });
    }
    // Any move of the cursor ends an entry of one digit in the cell it leaves.
    connect(scoreGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex&, const QModelIndex& previous) { endPendingEntry(previous.row() + 1, previous.column()); });

    for (QWidget* w : {static_cast<QWidget*>(testName), static_cast<QWidget*>(columnCount), static_cast<QWidget*>(scoreGrid)})
        w->installEventFilter(this);
    for (int k = 0; k < Limits::Columns; ++k) {
        viewpointBoxes[size_t(k)]->installEventFilter(this);
        fullMarksBoxes[size_t(k)]->installEventFilter(this);
    }
    scoreGrid->parentWidget()->installEventFilter(this);
    // Alt+letter of this screen's buttons and menus is looked at before the main
    // window's menus, which use some of the same letters.
    qApp->installEventFilter(new MnemonicFilter(this));
}

void ScoreEntryWindow::setTabOrder()
{
    QList<QWidget*> chain{testName, columnCount};
    for (int k = 0; k < Limits::Columns; ++k)
        chain << viewpointBoxes[size_t(k)] << fullMarksBoxes[size_t(k)];
    chain << scoreGrid << newTestButton << previousTestButton << nextTestButton << firstTestButton << lastTestButton
          << normalModeButton << fixedModeButton << fixedValuesButton << saveAndCloseButton << closeWithoutSavingButton
          << otherClassButton;
    for (int i = 0; i + 1 < chain.size(); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
}

void ScoreEntryWindow::fitColumns()
{
    static const double fractions[ScoreKeys::ColumnCount] = {0.06, 0.27, 0.15, 0.11, 0.11, 0.11, 0.11};
    const int width = scoreGrid->width();
    for (int c = 0; c < ScoreKeys::ColumnCount; ++c)
        scoreGrid->setColumnWidth(c, qRound(fractions[c] * width));
}

// ---- keys and focus -------------------------------------------------------------

namespace {
bool hasMnemonic(const QString& caption, QChar letter)
{
    const int at = caption.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < caption.size() && caption.at(at + 1).toUpper() == letter;
}
}  // namespace

bool ScoreEntryWindow::ownMnemonic(const QKeyEvent* key, bool trigger)
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
    const auto actions = menuBar->actions();
    for (QAction* action : actions)
        if (action->isVisible() && action->isEnabled() && hasMnemonic(action->text(), letter)) {
            if (trigger) {
                if (action->menu())
                    menuBar->setActiveAction(action);
                else
                    action->trigger();
            }
            return true;
        }
    return false;
}

bool ScoreEntryWindow::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == scoreGrid) {
        if (type == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            const bool focusKey = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (!command && (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace)) {
                clearScores();
                return true;
            }
            if (!command && !focusKey && key->text().size() == 1) {
                typeKey(key->text().at(0));
                return true;
            }
        } else if (type == QEvent::FocusIn) {
            // Back from a menu, a message or another program, the selection stays.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            gridFocusIn(reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
                        && reason != Qt::MenuBarFocusReason);
        } else if (type == QEvent::FocusOut) {
            // Leaving the grid for another control ends a one-digit entry; a message
            // box, a menu or another program taking the focus does not.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
                && reason != Qt::MenuBarFocusReason)
                endPendingEntry(cursorRow(), cursorCol());
            gridFocusFrame->hide();
        } else if (type == QEvent::Resize) {
            fitColumns();
        }
        return ChildWindow::eventFilter(watched, event);
    }
    if (watched == scoreGrid->parentWidget()) {
        if (type == QEvent::Resize)
            gridFocusFrame->fit();
        return ChildWindow::eventFilter(watched, event);
    }
    if (type == QEvent::FocusIn)
        ++editSession;  // changes from here on are a step of their own
    // Ctrl+Z and its kin undo the screen's last step, not the typing of one box.
    if (type == QEvent::ShortcutOverride && qobject_cast<QLineEdit*>(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isUndoKey(key) || isRedoKey(key))
            return true;
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
    if (watched == columnCount && type == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            columnCountLeft();
    }
    if (type == QEvent::KeyRelease)
        for (QLineEdit* box : fullMarksBoxes)
            if (watched == box)
                stepFullMarks(box, static_cast<QKeyEvent*>(event)->key());
    return ChildWindow::eventFilter(watched, event);
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
