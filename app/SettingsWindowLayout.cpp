// The controls of the environment settings window and their layout: a line of
// guidance while the class has no names, a grid of frames, then the data folder
// and the buttons; it fits a 1366 × 768 screen inside the main window.

#include "app/SettingsWindow.h"

#include "model/ViewpointNames.h"
#include "app/PathBox.h"
#include "frame/ScrollingBody.h"

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
    root->setSpacing(4);
    root->setContentsMargins(6, 2, 6, 4);
    auto* bar = new QMenuBar(this);
    closeAction = bar->addAction(QStringLiteral("終了(&X)"));
    closeAction->setObjectName(QStringLiteral("closeAction"));
    connect(closeAction, &QAction::triggered, this, &SettingsWindow::saveAndClose);
    root->setMenuBar(bar);

    firstStartGuide = named(new QLabel(QStringLiteral("はじめに：「プログラム動作」と「データ保存フォルダ」を確かめ、「新規ｸﾗｽ」で"
                                                      "児童の氏名を出席番号順に入力して（表計算ソフトからの貼り付けも可）、"
                                                      "「入力終了」を押してください。"),
                                       this),
                             QStringLiteral("firstStartGuide"));
    firstStartGuide->setWordWrap(true);
    firstStartGuide->setFrameShape(QFrame::StyledPanel);
    firstStartGuide->setMargin(4);
    root->addWidget(firstStartGuide);

    buildModeGroup();
    buildDataFolderGroup();

    // 評定基準: the subject, the overall group and the four viewpoint groups.
    Fr_Hyotei = named(new QGroupBox(QStringLiteral("評定基準"), this), QStringLiteral("Fr_Hyotei"));
    auto* hyoteiGrid = new QGridLayout(Fr_Hyotei);
    hyoteiGrid->setVerticalSpacing(2);
    hyoteiGrid->setContentsMargins(6, 4, 6, 4);
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
    hyoteiGrid->addWidget(buildViewpointNamesGroup(), 2, 1);
    hyoteiGrid->setRowStretch(3, 1);

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
    grid->addWidget(Fr_Hyotei, 0, 1);
    grid->addWidget(namesGroup, 0, 2);
    grid->setColumnStretch(1, 1);
    // On a small screen the frames scroll; the data folder, ? and 終了 below them
    // stay in view.
    auto* body = new ScrollingBody(this);
    body->setContentsLayout(grid);
    root->addWidget(body, 1);
    // The data folder has the whole width, so that its path can be read.
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(dataFolderGroup, 1);
    bottom->addWidget(helpButton, 0, Qt::AlignBottom);
    bottom->addWidget(closeButton, 0, Qt::AlignBottom);
    root->addLayout(bottom);

    // Every text box selects its whole text when it gets the focus.
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->installEventFilter(this);
    nameList->installEventFilter(this);
}

// The names of the edited subject's four viewpoints, and the two buttons that set
// every subject's names at once.
QGroupBox* SettingsWindow::buildViewpointNamesGroup()
{
    viewpointNamesGroup = named(new QGroupBox(Fr_Hyotei), QStringLiteral("viewpointNamesGroup"));
    auto* layout = new QGridLayout(viewpointNamesGroup);
    layout->setVerticalSpacing(1);
    layout->setContentsMargins(6, 2, 6, 2);
    for (int v = 1; v <= Limits::Viewpoints; ++v) {
        auto* box = named(new QLineEdit(viewpointNamesGroup), QStringLiteral("viewpointNameInput%1").arg(v));
        box->setMaxLength(ViewpointNames::MaxLength);
        auto* label = new QLabel(Names::viewpointHeading(v), viewpointNamesGroup);
        label->setBuddy(box);
        layout->addWidget(label, v - 1, 0);
        layout->addWidget(box, v - 1, 1, 1, 2);
        connect(box, &QLineEdit::textEdited, this, &SettingsWindow::showViewpointCaptions);
        viewpointNameInputs[v - 1] = box;
    }
    viewpointNameInputs[3]->setPlaceholderText(QStringLiteral("（なし）"));
    currentCurriculumButton = named(new QPushButton(QStringLiteral("全教科を３観点に"), viewpointNamesGroup),
                                    QStringLiteral("currentCurriculumButton"));
    currentCurriculumButton->setToolTip(QStringLiteral("全教科の観点名を「知識・技能」「思考・判断・表現」"
                                                       "「主体的に学習に取り組む態度」にします（観点Ⅳはなし）"));
    olderNamesButton = named(new QPushButton(QStringLiteral("全教科を元の観点名に"), viewpointNamesGroup),
                             QStringLiteral("olderNamesButton"));
    olderNamesButton->setToolTip(QStringLiteral("全教科の観点名を、かざねの元の４観点の名前に戻します"));
    layout->addWidget(currentCurriculumButton, Limits::Viewpoints, 1);
    layout->addWidget(olderNamesButton, Limits::Viewpoints, 2);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(2, 1);
    connect(currentCurriculumButton, &QPushButton::clicked, this, [this] {
        fillViewpointNames(ViewpointNames::currentCurriculum(),
                           QStringLiteral("全教科の観点名を「知識・技能」「思考・判断・表現」「主体的に学習に取り組む態度」"
                                          "の３観点にします（観点Ⅳはなし）。\n「終了」を押すと保存されます。"));
    });
    connect(olderNamesButton, &QPushButton::clicked, this, [this] {
        fillViewpointNames(ViewpointNames::olderTable(),
                           QStringLiteral("全教科の観点名を元の４観点の名前に戻します。\n「終了」を押すと保存されます。"));
    });
    return viewpointNamesGroup;
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

QGroupBox* SettingsWindow::buildCriteriaGroup(int group)
{
    auto* frame = new QGroupBox(group == 0 ? QStringLiteral("総合") : Names::viewpointHeading(group), Fr_Hyotei);
    frame->setObjectName(group == 0 ? QStringLiteral("Fr_Sougou") : QStringLiteral("Fr_Kanten%1").arg(group - 1));
    auto* layout = new QGridLayout(frame);
    layout->setHorizontalSpacing(6);
    // Tight rows: the window fits the height of a 1366 × 768 screen.
    layout->setVerticalSpacing(0);
    layout->setContentsMargins(6, 2, 6, 2);
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
    listButtons->addWidget(correctNameButton);
    listButtons->addWidget(removeNameButton);
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
    connect(nameList, &QListWidget::itemDoubleClicked, this, &SettingsWindow::correctSelectedName);
    connect(endNameEntryButton, &QPushButton::clicked, this, &SettingsWindow::endNameEntry);
}
