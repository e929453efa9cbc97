// The controls of the environment settings window and their layout: a line of
// guidance while the class has no names, a grid of frames, then the data folder
// and the buttons; it fits a 1366 × 768 screen inside the main window.

#include "app/SettingsWindow.h"

#include "app/CriteriaEditor.h"
#include "app/PathBox.h"
#include "frame/ScrollingBody.h"

#include <QButtonGroup>
#include <QCheckBox>
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
    root->setSpacing(4);
    root->setContentsMargins(6, 2, 6, 4);
    auto* bar = new QMenuBar(this);
    closeAction = bar->addAction(QStringLiteral("終了(&X)"));
    closeAction->setObjectName(QStringLiteral("closeAction"));
    connect(closeAction, &QAction::triggered, this, &SettingsWindow::saveAndClose);
    root->setMenuBar(bar);

    firstStartGuide = named(new QLabel(QStringLiteral("はじめに：「プログラム動作」と「データ保存フォルダ」を確かめ、「新規ｸﾗｽ」で"
                                                      "児童の氏名を出席番号順に入力して（表計算ソフトからの貼り付けも可）、"
                                                      "「入力終了」を押してください。"
                                                      "観点をＡ・Ｂ・Ｃの到達率で、評定を観点から出すときは、"
                                                      "「評定基準」の「目標に準拠の評価にする」を押します。"),
                                       this),
                             QStringLiteral("firstStartGuide"));
    firstStartGuide->setWordWrap(true);
    firstStartGuide->setFrameShape(QFrame::StyledPanel);
    firstStartGuide->setMargin(4);
    root->addWidget(firstStartGuide);

    buildModeGroup();
    buildDataFolderGroup();

    // 評定基準: the subject, the overall group, the four viewpoint groups and their names.
    criteriaEditor = new CriteriaEditor(ctx.ui, this);

    buildNameGroup();

    closeButton = named(new QPushButton(QStringLiteral("終了(&X)"), this), QStringLiteral("closeButton"));
    // The window's menu entry 終了(&X) answers Alt+X; the button keeps its caption.
    closeButton->setShortcut(QKeySequence());
    helpButton = named(new QPushButton(QStringLiteral("?"), this), QStringLiteral("helpButton"));
    helpButton->setToolTip(QStringLiteral("ヘルプ"));
    connect(closeButton, &QPushButton::clicked, this, &SettingsWindow::saveAndClose);
    connect(helpButton, &QPushButton::clicked, this, &SettingsWindow::showHelp);

    auto* grid = new QGridLayout;
    grid->addWidget(modeGroup, 0, 0);
    grid->addWidget(criteriaEditor, 0, 1);
    grid->addWidget(namesGroup, 0, 2);
    grid->setColumnStretch(1, 1);
    // On a small screen the frames scroll; the data folder, ? and 終了 below them
    // stay in view.
    auto* body = new ScrollingBody(this);
    body->setContentsLayout(grid);
    root->addWidget(body, 1);
    // The data folder has the whole width, so that its path can be read; the terms,
    // ? and 終了 go on the row below it.
    root->addWidget(dataFolderGroup);
    auto* bottom = new QHBoxLayout;
    buildTermGroup();
    bottom->addWidget(termGroup);
    bottom->addStretch(1);
    bottom->addWidget(helpButton, 0, Qt::AlignBottom);
    bottom->addWidget(closeButton, 0, Qt::AlignBottom);
    root->addLayout(bottom);

    // Every text box selects its whole text when it gets the focus.
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->installEventFilter(this);
    nameList->installEventFilter(this);
}

// プログラム動作: the mode, the subject in charge, the subjects in use.
void SettingsWindow::buildModeGroup()
{
    modeGroup = named(new QGroupBox(QStringLiteral("プログラム動作"), this), QStringLiteral("modeGroup"));
    auto* modeLayout = new QVBoxLayout(modeGroup);
    auto* modeRow = new QHBoxLayout;
    auto* modes = new QButtonGroup(this);
    homeroomModeOption = named(new QRadioButton(QStringLiteral("学級担任用"), modeGroup), QStringLiteral("homeroomModeOption"));
    specialistModeOption = named(new QRadioButton(QStringLiteral("専科担当用"), modeGroup), QStringLiteral("specialistModeOption"));
    for (QRadioButton* option : {homeroomModeOption, specialistModeOption}) {
        modes->addButton(option);
        modeRow->addWidget(option);
        // The chosen mode takes effect when the window closes with 終了; until then
        // the main window keeps working in the mode it was loaded with.
        connect(option, &QRadioButton::clicked, this, [this] { setModeFrames(specialistModeOption->isChecked()); });
    }
    modeRow->addStretch();
    modeLayout->addLayout(modeRow);

    subjectInChargeGroup = named(new QGroupBox(QStringLiteral("担当教科"), modeGroup), QStringLiteral("subjectInChargeGroup"));
    auto* inChargeGrid = new QGridLayout(subjectInChargeGroup);
    auto* inCharge = new QButtonGroup(this);
    subjectsInUseGroup = named(new QGroupBox(QStringLiteral("使用する教科"), modeGroup), QStringLiteral("subjectsInUseGroup"));
    auto* inUseGrid = new QGridLayout(subjectsInUseGroup);
    for (int subject = 1; subject <= 9; ++subject) {
        const QString name = Names::subjects()[subject];
        const int row = (subject - 1) / 3;
        const int column = (subject - 1) % 3;
        QRadioButton* option = named(new QRadioButton(name, subjectInChargeGroup), QStringLiteral("subjectInChargeOption%1").arg(subject));
        inCharge->addButton(option);
        inChargeGrid->addWidget(option, row, column);
        connect(option, &QRadioButton::clicked, this, [this, subject] { subjectInCharge = subject; });
        subjectInChargeOptions[subject - 1] = option;
        QCheckBox* box = named(new QCheckBox(name, subjectsInUseGroup), QStringLiteral("subjectInUseBox%1").arg(subject));
        inUseGrid->addWidget(box, row, column);
        subjectInUseBoxes[subject - 1] = box;
    }
    modeLayout->addWidget(subjectInChargeGroup);
    modeLayout->addWidget(subjectsInUseGroup);
    modeNote = named(new QLabel(QStringLiteral("学担用・専科用の設定を変更した場合、かざねを一度終了し、再実行してください。"), modeGroup),
                     QStringLiteral("modeNote"));
    modeNote->setWordWrap(true);
    modeLayout->addWidget(modeNote);
    modeLayout->addStretch();
}

// データ保存フォルダ: the folder, typed or picked.
void SettingsWindow::buildDataFolderGroup()
{
    dataFolderGroup = named(new QGroupBox(QStringLiteral("データ保存フォルダ"), this), QStringLiteral("dataFolderGroup"));
    auto* layout = new QHBoxLayout(dataFolderGroup);
    dataFolderInput = named(new PathBox(dataFolderGroup), QStringLiteral("dataFolderInput"));
    browseButton = named(new QPushButton(QStringLiteral("参照"), dataFolderGroup), QStringLiteral("browseButton"));
    layout->addWidget(dataFolderInput, 1);
    layout->addWidget(browseButton);
    connect(browseButton, &QPushButton::clicked, this, &SettingsWindow::browseDataFolder);
}

void SettingsWindow::buildNameGroup()
{
    namesGroup = named(new QGroupBox(QStringLiteral("氏名データ"), this), QStringLiteral("namesGroup"));
    auto* layout = new QVBoxLayout(namesGroup);
    newClassButton = named(new QPushButton(QStringLiteral("新規ｸﾗｽ"), namesGroup), QStringLiteral("newClassButton"));
    layout->addWidget(newClassButton);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(QStringLiteral("クラス人数"), namesGroup));
    pupilCountLabel = named(new QLabel(QStringLiteral("0"), namesGroup), QStringLiteral("pupilCountLabel"));
    pupilCountLabel->setFrameShape(QFrame::Panel);
    pupilCountLabel->setFrameShadow(QFrame::Sunken);
    pupilCountLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    pupilCountLabel->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
    countRow->addWidget(pupilCountLabel);
    countRow->addStretch();
    layout->addLayout(countRow);
    nameList = named(new QListWidget(namesGroup), QStringLiteral("nameList"));
    // Room for the number and a name of ten characters beside the scroll bar.
    nameList->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("45番 長谷川長谷川長谷川長")) + 30);
    layout->addWidget(nameList, 1);
    auto* listButtons = new QHBoxLayout;
    correctNameButton = named(new QPushButton(QStringLiteral("訂正"), namesGroup), QStringLiteral("correctNameButton"));
    correctNameButton->setToolTip(QStringLiteral("一覧で選んだ氏名を入力欄に出して直します"));
    removeNameButton = named(new QPushButton(QStringLiteral("削除"), namesGroup), QStringLiteral("removeNameButton"));
    removeNameButton->setToolTip(QStringLiteral("一覧で選んだ氏名を取り除きます（後の番号が一つずつ繰り上がります）"));
    importNamesButton = named(new QPushButton(QStringLiteral("名簿読込..."), namesGroup), QStringLiteral("importNamesButton"));
    importNamesButton->setToolTip(QStringLiteral("校務システムなどの名簿ファイル（CSV）から氏名を読み込みます"));
    listButtons->addWidget(correctNameButton);
    listButtons->addWidget(removeNameButton);
    listButtons->addWidget(importNamesButton);
    layout->addLayout(listButtons);
    nameInputCaption = named(new QLabel(QStringLiteral("データ入力欄"), namesGroup), QStringLiteral("nameInputCaption"));
    nameInput = named(new QLineEdit(namesGroup), QStringLiteral("nameInput"));
    nameInputCaption->setBuddy(nameInput);
    // Hidden until a new class is started, without the frame changing its shape.
    for (QWidget* widget : {static_cast<QWidget*>(nameInputCaption), static_cast<QWidget*>(nameInput)}) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }
    layout->addWidget(nameInputCaption);
    layout->addWidget(nameInput);
    endNameEntryButton = named(new QPushButton(QStringLiteral("入力終了"), namesGroup), QStringLiteral("endNameEntryButton"));
    layout->addWidget(endNameEntryButton);
    connect(newClassButton, &QPushButton::clicked, this, &SettingsWindow::startNewClass);
    connect(nameInput, &QLineEdit::returnPressed, this, &SettingsWindow::addTypedName);
    connect(nameInput, &QLineEdit::textChanged, this, &SettingsWindow::nameInputChanged);
    connect(correctNameButton, &QPushButton::clicked, this, &SettingsWindow::correctSelectedName);
    connect(removeNameButton, &QPushButton::clicked, this, &SettingsWindow::removeSelectedName);
    connect(importNamesButton, &QPushButton::clicked, this, &SettingsWindow::importNames);
    connect(nameList, &QListWidget::itemDoubleClicked, this, &SettingsWindow::correctSelectedName);
    connect(endNameEntryButton, &QPushButton::clicked, this, &SettingsWindow::endNameEntry);
}
