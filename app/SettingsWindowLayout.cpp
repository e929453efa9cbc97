// The controls of the environment settings window and their layout: a grid of
// frames that fits a 1280 × 800 screen inside the main window.

#include "app/SettingsWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <typename T>
T* named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

const char* const ModeCaptions[3] = {"順位で", "点数で", "％で"};

}  // namespace

SettingsWindow::SettingsWindow(AppContext& ctx, QWidget* parent) : ChildWindow(ctx, parent)
{
    setObjectName(QStringLiteral("SettingsWindow"));
    setWindowTitle(QStringLiteral("環境設定"));
    buildControls();
}

void SettingsWindow::buildControls()
{
    auto* root = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    menuEnd = bar->addAction(QStringLiteral("終了(&X)"));
    menuEnd->setObjectName(QStringLiteral("menuEnd"));
    connect(menuEnd, &QAction::triggered, this, [this] { Bt_End_Click(); });
    root->setMenuBar(bar);

    // プログラム動作: the mode, the subject in charge, the subjects in use.
    Fr_Mode = named(new QGroupBox(QStringLiteral("プログラム動作"), this), QStringLiteral("Fr_Mode"));
    auto* modeLayout = new QVBoxLayout(Fr_Mode);
    auto* modeRow = new QHBoxLayout;
    auto* modeGroup = new QButtonGroup(this);
    const QString modeNames[2] = {QStringLiteral("学級担任用"), QStringLiteral("専科担当用")};
    for (int i = 0; i < 2; ++i) {
        Op_Mode[i] = named(new QRadioButton(modeNames[i], Fr_Mode), QStringLiteral("Op_Mode%1").arg(i));
        modeGroup->addButton(Op_Mode[i], i);
        modeRow->addWidget(Op_Mode[i]);
        connect(Op_Mode[i], &QRadioButton::clicked, this, [this, i] { Op_Mode_Click(i); });
    }
    modeRow->addStretch();
    modeLayout->addLayout(modeRow);

    Fr_Tanto = named(new QGroupBox(QStringLiteral("担当教科"), Fr_Mode), QStringLiteral("Fr_Tanto"));
    auto* tantoGrid = new QGridLayout(Fr_Tanto);
    auto* tantoGroup = new QButtonGroup(this);
    Fr_Subject = named(new QGroupBox(QStringLiteral("使用する教科"), Fr_Mode), QStringLiteral("Fr_Subject"));
    auto* subjectGrid = new QGridLayout(Fr_Subject);
    for (int i = 0; i < 9; ++i) {
        const QString subject = Names::subjects()[i + 1];
        Op_Subject[i] = named(new QRadioButton(subject, Fr_Tanto), QStringLiteral("Op_Subject%1").arg(i));
        tantoGroup->addButton(Op_Subject[i], i);
        tantoGrid->addWidget(Op_Subject[i], i / 3, i % 3);
        connect(Op_Subject[i], &QRadioButton::clicked, this, [this, i] { Op_Subject_Click(i); });
        Ch_Subject[i] = named(new QCheckBox(subject, Fr_Subject), QStringLiteral("Ch_Subject%1").arg(i));
        subjectGrid->addWidget(Ch_Subject[i], i / 3, i % 3);
    }
    modeLayout->addWidget(Fr_Tanto);
    modeLayout->addWidget(Fr_Subject);
    Lb_ModeNote = named(new QLabel(QStringLiteral("学担用・専科用の設定を変更した場合、かざねを一度終了し、再実行してください。"), Fr_Mode),
                        QStringLiteral("Lb_ModeNote"));
    Lb_ModeNote->setWordWrap(true);
    modeLayout->addWidget(Lb_ModeNote);
    modeLayout->addStretch();

    // データ保存フォルダ
    Fr_Holder = named(new QGroupBox(QStringLiteral("データ保存フォルダ"), this), QStringLiteral("Fr_Holder"));
    auto* holderLayout = new QHBoxLayout(Fr_Holder);
    Tx_Holder = named(new QLineEdit(Fr_Holder), QStringLiteral("Tx_Holder"));
    cmdRef = named(new QPushButton(QStringLiteral("参照"), Fr_Holder), QStringLiteral("cmdRef"));
    holderLayout->addWidget(Tx_Holder, 1);
    holderLayout->addWidget(cmdRef);
    connect(cmdRef, &QPushButton::clicked, this, [this] { cmdRef_Click(); });

    // 評定基準: the subject, the overall group and the four viewpoint groups.
    Fr_Hyotei = named(new QGroupBox(QStringLiteral("評定基準"), this), QStringLiteral("Fr_Hyotei"));
    auto* hyoteiGrid = new QGridLayout(Fr_Hyotei);
    auto* subjectRow = new QHBoxLayout;
    subjectRow->addWidget(new QLabel(QStringLiteral("教科"), Fr_Hyotei));
    CbKyoka = named(new QComboBox(Fr_Hyotei), QStringLiteral("CbKyoka"));
    for (int s = 1; s <= Limits::Units; ++s)
        CbKyoka->addItem(Names::subjects()[s]);
    subjectRow->addWidget(CbKyoka);
    subjectRow->addStretch();
    connect(CbKyoka, &QComboBox::activated, this, [this] { CbKyoka_Click(); });
    auto* overallColumn = new QVBoxLayout;
    overallColumn->addLayout(subjectRow);
    Fr_Sougou = buildCriteriaGroup(0);
    overallColumn->addWidget(Fr_Sougou);
    hyoteiGrid->addLayout(overallColumn, 0, 0);
    for (int v = 1; v <= Limits::Viewpoints; ++v) {
        Fr_Kanten[v - 1] = buildCriteriaGroup(v);
        hyoteiGrid->addWidget(Fr_Kanten[v - 1], v / 2, v % 2);
    }
    hyoteiGrid->setRowStretch(3, 1);

    buildNameFrame();

    Bt_End = named(new QPushButton(QStringLiteral("終了(&X)"), this), QStringLiteral("Bt_End"));
    // The window's menu entry 終了(&X) answers Alt+X; the button keeps its caption.
    Bt_End->setShortcut(QKeySequence());
    Command1 = named(new QPushButton(QStringLiteral("?"), this), QStringLiteral("Command1"));
    Command1->setToolTip(QStringLiteral("ヘルプ"));
    connect(Bt_End, &QPushButton::clicked, this, [this] { Bt_End_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    auto* grid = new QGridLayout;
    auto* leftColumn = new QVBoxLayout;
    leftColumn->addWidget(Fr_Mode, 1);
    leftColumn->addWidget(Fr_Holder);
    grid->addLayout(leftColumn, 0, 0);
    grid->addWidget(Fr_Hyotei, 0, 1);
    grid->addWidget(Fr_Name, 0, 2);
    grid->setColumnStretch(1, 1);
    root->addLayout(grid, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Bt_End);
    root->addLayout(buttons);

    // Every text box selects its whole text when it gets the focus.
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->installEventFilter(this);
}

QGroupBox* SettingsWindow::buildCriteriaGroup(int group)
{
    auto* frame = new QGroupBox(group == 0 ? QStringLiteral("総合") : Names::viewpointHeading(group), Fr_Hyotei);
    frame->setObjectName(group == 0 ? QStringLiteral("Fr_Sougou") : QStringLiteral("Fr_Kanten%1").arg(group - 1));
    auto* layout = new QGridLayout(frame);
    layout->setHorizontalSpacing(6);
    auto* options = new QButtonGroup(frame);
    const int boxWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12;
    for (int m = 0; m < 3; ++m) {
        const int index = group == 0 ? m : 3 + 3 * (group - 1) + m;
        OpSouMode[index] = named(new QRadioButton(QString::fromUtf8(ModeCaptions[m]), frame), QStringLiteral("OpSouMode%1").arg(index));
        options->addButton(OpSouMode[index], m);
        layout->addWidget(OpSouMode[index], m, 0);
        connect(OpSouMode[index], &QRadioButton::clicked, this, [this, index] { OpSouMode_Click(index); });
        for (int j = 0; j < 2; ++j) {
            const int k = 2 * m + 1 + j;
            auto* box = new QLineEdit(frame);
            box->setObjectName(group == 0 ? QStringLiteral("Text1_%1").arg(k - 1)
                                          : QStringLiteral("Text2_%1").arg(6 * (group - 1) + k - 1));
            box->setFixedWidth(boxWidth);
            box->setAlignment(Qt::AlignRight);
            box->setMaxLength(6);
            if (group == 0)
                Text1[k - 1] = box;
            else
                Text2[6 * (group - 1) + k - 1] = box;
            auto* label = new QLabel(CriteriaText::thresholdLabel(group, k), frame);
            label->setBuddy(box);
            layout->addWidget(box, m, 1 + 2 * j);
            layout->addWidget(label, m, 2 + 2 * j);
        }
    }
    layout->setColumnStretch(4, 1);
    return frame;
}

void SettingsWindow::buildNameFrame()
{
    Fr_Name = named(new QGroupBox(QStringLiteral("氏名データ"), this), QStringLiteral("Fr_Name"));
    auto* layout = new QVBoxLayout(Fr_Name);
    Bt_Mente = named(new QPushButton(QStringLiteral("新規ｸﾗｽ"), Fr_Name), QStringLiteral("Bt_Mente"));
    layout->addWidget(Bt_Mente);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(QStringLiteral("クラス人数"), Fr_Name));
    Lb_Numbers = named(new QLabel(QStringLiteral("0"), Fr_Name), QStringLiteral("Lb_Numbers"));
    Lb_Numbers->setFrameShape(QFrame::Panel);
    Lb_Numbers->setFrameShadow(QFrame::Sunken);
    Lb_Numbers->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Lb_Numbers->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
    countRow->addWidget(Lb_Numbers);
    countRow->addStretch();
    layout->addLayout(countRow);
    Lt_Name = named(new QListWidget(Fr_Name), QStringLiteral("Lt_Name"));
    // Room for a name of ten characters beside the scroll bar.
    Lt_Name->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("長谷川長谷川長谷川長")) + 30);
    layout->addWidget(Lt_Name, 1);
    Lb_DataInput = named(new QLabel(QStringLiteral("データ入力欄"), Fr_Name), QStringLiteral("Lb_DataInput"));
    Tx_DataInput = named(new QLineEdit(Fr_Name), QStringLiteral("Tx_DataInput"));
    Lb_DataInput->setBuddy(Tx_DataInput);
    // Hidden until a new class is started, without the frame changing its shape.
    for (QWidget* widget : {static_cast<QWidget*>(Lb_DataInput), static_cast<QWidget*>(Tx_DataInput)}) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }
    layout->addWidget(Lb_DataInput);
    layout->addWidget(Tx_DataInput);
    BtInputEnd = named(new QPushButton(QStringLiteral("入力終了"), Fr_Name), QStringLiteral("BtInputEnd"));
    layout->addWidget(BtInputEnd);
    connect(Bt_Mente, &QPushButton::clicked, this, [this] { Bt_Mente_Click(); });
    connect(Tx_DataInput, &QLineEdit::returnPressed, this, [this] { Tx_DataInput_Enter(); });
    connect(BtInputEnd, &QPushButton::clicked, this, [this] { BtInputEnd_Click(); });
}
