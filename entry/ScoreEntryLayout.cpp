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
#include <QTableWidget>
#include <QTimer>
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
    MenuBar = new QMenuBar(this);
    MenuBar->setObjectName(QStringLiteral("InputDialogMenuBar"));
    MenuBar->setNativeMenuBar(false);

    QMenu* file = MenuBar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    menuNewTest = action(file, QStringLiteral("新規テストを挿入(&N)"), QStringLiteral("menuNewTest"));
    file->addSeparator();
    menuSave[0] = action(file, QStringLiteral("保存終了(&S)"), QStringLiteral("menuSave0"));
    menuSave[1] = action(file, QStringLiteral("破棄終了(&X)"), QStringLiteral("menuSave1"));

    QMenu* jump = MenuBar->addMenu(QStringLiteral("ｼﾞｬﾝﾌﾟ(&J)"));
    menuBefore = action(jump, QStringLiteral("前のテストへ(&B)"), QStringLiteral("menuBefore"));
    menuNext = action(jump, QStringLiteral("次のテストへ(&N)"), QStringLiteral("menuNext"));
    menuJump[0] = action(jump, QStringLiteral("先頭テストへ(&T)"), QStringLiteral("menuJump0"));
    menuJump[1] = action(jump, QStringLiteral("最後のテストへ(&L)"), QStringLiteral("menuJump1"));

    QMenu* mode = MenuBar->addMenu(QStringLiteral("入力ﾓｰﾄﾞ(&I)"));
    menuInputMode[0] = action(mode, QStringLiteral("通常入力モード"), QStringLiteral("menuInputMode0"));
    menuInputMode[1] = action(mode, QStringLiteral("固定入力モード"), QStringLiteral("menuInputMode1"));
    for (QAction* a : menuInputMode)
        a->setCheckable(true);
    menuInputMode[0]->setChecked(true);
    mode->addSeparator();
    menuModeSet = action(mode, QStringLiteral("モード設定(&M)"), QStringLiteral("menuModeSet"));

    menuHelp = MenuBar->addAction(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    menuHelp->setObjectName(QStringLiteral("menuHelp"));
}

void ScoreEntryWindow::buildTestInfo()
{
    Frame2 = new QGroupBox(QStringLiteral("テスト情報"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* info = new QVBoxLayout(Frame2);

    auto* top = new QHBoxLayout;
    Label1 = new QLabel(QStringLiteral("No."), Frame2);
    Lb_Numbers = new QLabel(Frame2);
    Lb_Numbers->setObjectName(QStringLiteral("Lb_Numbers"));
    Lb_Numbers->setMinimumWidth(28);
    Lb_Numbers->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Lb_Numbers->setFrameShape(QFrame::StyledPanel);
    UpDown1 = new UpDownButtons(Frame2);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    TxTitle = new QLineEdit(Frame2);
    TxTitle->setObjectName(QStringLiteral("TxTitle"));
    TxTitle->setToolTip(QStringLiteral("テスト名を入力してください"));
    TxTitle->setPlaceholderText(QStringLiteral("テスト名を入力してください"));
    Bt_Tname = button(Frame2, QStringLiteral("参照"), QStringLiteral("Bt_Tname"));
    Label2 = new QLabel(QStringLiteral("観点数"), Frame2);
    Tx_RyoikiSu = new QLineEdit(Frame2);
    Tx_RyoikiSu->setObjectName(QStringLiteral("Tx_RyoikiSu"));
    // A one-digit field: one digit or nothing.
    Tx_RyoikiSu->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]?")), Tx_RyoikiSu));
    Tx_RyoikiSu->setMaxLength(1);
    Tx_RyoikiSu->setFixedWidth(32);
    Tx_RyoikiSu->setAlignment(Qt::AlignCenter);
    top->addWidget(Label1);
    top->addWidget(Lb_Numbers);
    top->addWidget(UpDown1);
    top->addSpacing(8);
    top->addWidget(TxTitle, 1);
    top->addWidget(Bt_Tname);
    top->addSpacing(12);
    top->addWidget(Label2);
    top->addWidget(Tx_RyoikiSu);
    info->addLayout(top);

    auto* columns = new QHBoxLayout;
    for (int k = 0; k < 4; ++k) {
        Frame1[k] = new QGroupBox(Names::viewpointHeading(k + 1), Frame2);
        Frame1[k]->setObjectName(QStringLiteral("Frame1_%1").arg(k));
        auto* box = new QGridLayout(Frame1[k]);
        Cb_Ryoiki[k] = new QComboBox(Frame1[k]);
        Cb_Ryoiki[k]->setObjectName(QStringLiteral("Cb_Ryoiki%1").arg(k));
        Cb_Ryoiki[k]->setToolTip(QStringLiteral("観点を選んでください"));
        Cb_Ryoiki[k]->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        Label3[k] = new QLabel(QStringLiteral("満点"), Frame1[k]);
        Tx_Manten[k] = new QLineEdit(Frame1[k]);
        Tx_Manten[k]->setObjectName(QStringLiteral("Tx_Manten%1").arg(k));
        Tx_Manten[k]->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), Tx_Manten[k]));
        Tx_Manten[k]->setFixedWidth(48);
        Tx_Manten[k]->setAlignment(Qt::AlignRight);
        box->addWidget(Cb_Ryoiki[k], 0, 0, 1, 3);
        box->addWidget(Label3[k], 1, 1, Qt::AlignRight);
        box->addWidget(Tx_Manten[k], 1, 2);
        box->setColumnStretch(0, 1);
        giveTitleRoom(Frame1[k]);
        columns->addWidget(Frame1[k], 1);
    }
    info->addLayout(columns);
}

void ScoreEntryWindow::buildGridAndButtons()
{
    auto* holder = new QWidget(this);
    holder->setObjectName(QStringLiteral("Grid1Holder"));
    auto* holderLayout = new QVBoxLayout(holder);
    holderLayout->setContentsMargins(3, 3, 3, 3);
    Grid1 = new QTableWidget(holder);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setColumnCount(ScoreKeys::ColumnCount);
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    Grid1->setTabKeyNavigation(false);
    // Scores are read key by key: the input method must not compose them first.
    Grid1->setAttribute(Qt::WA_InputMethodEnabled, false);
    Grid1->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    Grid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Grid1->setWordWrap(false);
    Grid1->verticalHeader()->hide();
    Grid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid1->verticalHeader()->setDefaultSectionSize(Grid1->fontMetrics().height() + 10);
    Grid1->horizontalHeader()->setSectionsClickable(false);
    Grid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid1->horizontalHeader()->setHighlightSections(false);
    Grid1->setMinimumHeight(160);
    holderLayout->addWidget(Grid1);
    Shape2 = new FocusFrame(holder);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->hide();

    auto* side = new QVBoxLayout;
    cmdNew = button(this, QStringLiteral("新規テスト(&A)"), QStringLiteral("cmdNew"));
    cmdNext[0] = button(this, QStringLiteral("前へ(&B)"), QStringLiteral("cmdNext0"));
    cmdNext[1] = button(this, QStringLiteral("次へ(&N)"), QStringLiteral("cmdNext1"));
    cmdJump[0] = button(this, QStringLiteral("先頭へ(&T)"), QStringLiteral("cmdJump0"));
    cmdJump[1] = button(this, QStringLiteral("最後へ(&L)"), QStringLiteral("cmdJump1"));
    for (QPushButton* b : {cmdNew, cmdNext[0], cmdNext[1], cmdJump[0], cmdJump[1]})
        side->addWidget(b);
    side->addSpacing(10);
    Frame3 = new QGroupBox(this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    auto* modes = new QVBoxLayout(Frame3);
    opMode[0] = new QRadioButton(QStringLiteral("通常入力"), Frame3);
    opMode[0]->setObjectName(QStringLiteral("opMode0"));
    opMode[1] = new QRadioButton(QStringLiteral("固定入力"), Frame3);
    opMode[1]->setObjectName(QStringLiteral("opMode1"));
    opMode[0]->setChecked(true);
    cmdMode = button(Frame3, QStringLiteral("モード設定"), QStringLiteral("cmdMode"));
    modes->addWidget(opMode[0]);
    modes->addWidget(opMode[1]);
    modes->addWidget(cmdMode);
    side->addWidget(Frame3);
    side->addStretch(1);
    cmdEnd[0] = button(this, QStringLiteral("保存終了(&S)"), QStringLiteral("cmdEnd0"));
    cmdEnd[1] = button(this, QStringLiteral("中止"), QStringLiteral("cmdEnd1"));
    side->addWidget(cmdEnd[0]);
    side->addWidget(cmdEnd[1]);

    auto* middle = new QHBoxLayout;
    middle->addWidget(holder, 1);
    middle->addLayout(side);

    Label4 = new QLabel(QStringLiteral("　入力キー：100点「*」、欠席「/」、全観点一括満点入力「+」"), this);
    Label4->setObjectName(QStringLiteral("Label4"));

    auto* root = new QVBoxLayout(this);
    root->setMenuBar(MenuBar);
    root->addWidget(Frame2);
    root->addLayout(middle, 1);
    root->addWidget(Label4);
}

void ScoreEntryWindow::connectControls()
{
    connect(menuNewTest, &QAction::triggered, this, [this] { menuNewTest_Click(); });
    for (int i = 0; i < 2; ++i) {
        connect(menuSave[i], &QAction::triggered, this, [this, i] { menuSave_Click(i); });
        connect(menuJump[i], &QAction::triggered, this, [this, i] { menuJump_Click(i); });
        connect(menuInputMode[i], &QAction::triggered, this, [this, i] { menuInputMode_Click(i); });
        connect(cmdNext[i], &QPushButton::clicked, this, [this, i] { cmdNext_Click(i); });
        connect(cmdJump[i], &QPushButton::clicked, this, [this, i] { cmdJump_Click(i); });
        connect(cmdEnd[i], &QPushButton::clicked, this, [this, i] { cmdEnd_Click(i); });
        connect(opMode[i], &QRadioButton::clicked, this, [this, i] { opMode_Click(i); });
    }
    connect(menuBefore, &QAction::triggered, this, [this] { menuBefore_Click(); });
    connect(menuNext, &QAction::triggered, this, [this] { menuNext_Click(); });
    connect(menuModeSet, &QAction::triggered, this, [this] { menuModeSet_Click(); });
    connect(menuHelp, &QAction::triggered, this, [this] { menuHelp_Click(); });
    connect(UpDown1, &UpDownButtons::UpClick, this, [this] { UpDown1_UpClick(); });
    connect(UpDown1, &UpDownButtons::DownClick, this, [this] { UpDown1_DownClick(); });
    connect(cmdNew, &QPushButton::clicked, this, [this] { cmdNew_Click(); });
    connect(Bt_Tname, &QPushButton::clicked, this, [this] { Bt_Tname_Click(); });
    connect(cmdMode, &QPushButton::clicked, this, [this] { cmdMode_Click(); });
    // Any move of the cursor ends an entry of one digit in the cell it leaves.
    connect(Grid1, &QTableWidget::currentCellChanged, this,
            [this](int, int, int previousRow, int previousColumn) { endPendingEntry(previousRow + 1, previousColumn); });

    for (QWidget* w : {static_cast<QWidget*>(TxTitle), static_cast<QWidget*>(Tx_RyoikiSu), static_cast<QWidget*>(Grid1)})
        w->installEventFilter(this);
    for (int k = 0; k < 4; ++k) {
        Cb_Ryoiki[k]->installEventFilter(this);
        Tx_Manten[k]->installEventFilter(this);
    }
    Grid1->parentWidget()->installEventFilter(this);
    // Alt+letter of this screen's buttons and menus is looked at before the main
    // window's menus, which use some of the same letters.
    qApp->installEventFilter(new MnemonicFilter(this));
}

void ScoreEntryWindow::setTabOrder()
{
    QList<QWidget*> chain{TxTitle, Tx_RyoikiSu};
    for (int k = 0; k < 4; ++k)
        chain << Cb_Ryoiki[k] << Tx_Manten[k];
    chain << Grid1 << cmdNew << cmdNext[0] << cmdNext[1] << cmdJump[0] << cmdJump[1] << opMode[0] << opMode[1] << cmdMode
          << cmdEnd[0] << cmdEnd[1] << Bt_Tname;
    for (int i = 0; i + 1 < chain.size(); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
}

void ScoreEntryWindow::fitColumns()
{
    static const double fractions[ScoreKeys::ColumnCount] = {0.06, 0.27, 0.15, 0.11, 0.11, 0.11, 0.11};
    const int width = Grid1->width();
    for (int c = 0; c < ScoreKeys::ColumnCount; ++c)
        Grid1->setColumnWidth(c, qRound(fractions[c] * width));
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

bool ScoreEntryWindow::eventFilter(QObject* watched, QEvent* event)
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
            // Leaving the grid for another control ends a one-digit entry; a message
            // box, a menu or another program taking the focus does not.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
                && reason != Qt::MenuBarFocusReason)
                endPendingEntry(cursorRow(), cursorCol());
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
