// The controls of the comment window: the term and the limit on top, the pupils on
// the left, the comment with its count and the pupil's figures in the middle, the
// bank of phrases on the right; the buttons below. It fits a 1366 × 768 screen
// inside the main window.

#include "reports/CommentWindow.h"

#include "reports/PhrasePanel.h"
#include "reports/TallyGrid.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>

void CommentWindow::buildControls()
{
    auto* top = new QHBoxLayout;
    auto* termLabel = new QLabel(QStringLiteral("学期(&G)"), this);
    termBox = new QComboBox(this);
    termBox->setObjectName(QStringLiteral("termBox"));
    termLabel->setBuddy(termBox);
    auto* limitLabel = new QLabel(QStringLiteral("字数の上限(&L)"), this);
    limitBox = new QSpinBox(this);
    limitBox->setObjectName(QStringLiteral("limitBox"));
    limitBox->setRange(1, 2000);
    limitBox->setSuffix(QStringLiteral("字"));
    limitBox->setToolTip(QStringLiteral("通知表の所見欄に入る全角の字数（半角は半分に数えます）"));
    limitLabel->setBuddy(limitBox);
    top->addWidget(termLabel);
    top->addWidget(termBox);
    top->addSpacing(16);
    top->addWidget(limitLabel);
    top->addWidget(limitBox);
    top->addStretch();

    phrases = new PhrasePanel(ctx.ui, this);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("commentSplitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(buildPupilColumn());
    splitter->addWidget(buildCommentColumn());
    splitter->addWidget(phrases);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 3);
    splitter->setStretchFactor(2, 2);
    splitter->setSizes({220, 560, 380});

    checkButton = new QPushButton(QStringLiteral("チェック(&K)"), this);
    checkButton->setObjectName(QStringLiteral("checkButton"));
    checkButton->setToolTip(QStringLiteral("まだ空の所見、字数を超えた所見、ほかの児童の名前が入った所見を探します"));
    saveButton = new QPushButton(QStringLiteral("保存(&S)"), this);
    saveButton->setObjectName(QStringLiteral("saveButton"));
    closeButton = new QPushButton(QStringLiteral("閉じる(&X)"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(checkButton);
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    connect(termBox, &QComboBox::currentIndexChanged, this, &CommentWindow::termChosen);
    connect(limitBox, &QSpinBox::valueChanged, this, &CommentWindow::limitChosen);
    connect(pupilList, &QListWidget::currentRowChanged, this, [this](int row) { showPupil(row + 1); });
    connect(phrases, &PhrasePanel::insertRequested, this, &CommentWindow::insertPhrase);
    connect(addToBankButton, &QPushButton::clicked, this, &CommentWindow::addSelectionToBank);
    connect(checkButton, &QPushButton::clicked, this, &CommentWindow::runChecks);
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(closeButton, &QPushButton::clicked, this, &CommentWindow::closeWindow);
}

// Room for the three columns side by side; less on a smaller screen.
QSize CommentWindow::sizeHint() const
{
    return TallyGrid::fitOnScreen(this, QSize(1220, 600));
}

QWidget* CommentWindow::buildPupilColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("児童（✓書いた字数、！字数超え）"), column);
    caption->setWordWrap(true);
    pupilList = new QListWidget(column);
    pupilList->setObjectName(QStringLiteral("pupilList"));
    pupilList->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("45 長谷川長谷川長谷 ✓200")) + 30);
    layout->addWidget(caption);
    layout->addWidget(pupilList, 1);
    return column;
}

QWidget* CommentWindow::buildCommentColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    pupilHeading = new QLabel(column);
    pupilHeading->setObjectName(QStringLiteral("pupilHeading"));
    QFont bold = pupilHeading->font();
    bold.setBold(true);
    pupilHeading->setFont(bold);
    commentEdit = new QPlainTextEdit(column);
    commentEdit->setObjectName(QStringLiteral("commentEdit"));
    commentEdit->setTabChangesFocus(true);
    countLabel = new QLabel(column);
    countLabel->setObjectName(QStringLiteral("countLabel"));
    addToBankButton = new QPushButton(QStringLiteral("選んだ文を文例に追加(&B)"), column);
    addToBankButton->setObjectName(QStringLiteral("addToBankButton"));
    addToBankButton->setToolTip(QStringLiteral("所見の中で選んだ部分を文例集に加えます（ほかのクラスでも使えます）"));
    auto* countLine = new QHBoxLayout;
    countLine->addWidget(countLabel);
    countLine->addStretch();
    countLine->addWidget(addToBankButton);
    figuresView = new QLabel(column);
    figuresView->setObjectName(QStringLiteral("figuresView"));
    figuresView->setWordWrap(true);
    figuresView->setFrameShape(QFrame::StyledPanel);
    figuresView->setMargin(4);
    figuresView->setTextInteractionFlags(Qt::TextSelectableByMouse);
    figuresView->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(pupilHeading);
    layout->addWidget(commentEdit, 1);
    layout->addLayout(countLine);
    layout->addWidget(figuresView);
    return column;
}
