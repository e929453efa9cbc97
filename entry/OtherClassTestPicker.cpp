#include "entry/OtherClassTestPicker.h"

#include "model/ClassFile.h"
#include "model/DataFolder.h"
#include "model/RosterFile.h"
#include "model/SafeFile.h"
#include "model/ScoreFile.h"
#include "frame/MainFrame.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

OtherClassTestPicker::OtherClassTestPicker(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx(ctx)
{
    setObjectName(QStringLiteral("OtherClassTestPicker"));
    setWindowTitle(QStringLiteral("他クラステスト名参照"));

    classLabel = new QLabel(QStringLiteral("クラス名"), this);
    classLabel->setObjectName(QStringLiteral("classLabel"));
    classList = new QComboBox(this);
    classList->setObjectName(QStringLiteral("classList"));
    testList = new QListWidget(this);
    testList->setObjectName(QStringLiteral("testList"));
    testList->setSelectionMode(QAbstractItemView::SingleSelection);
    testList->setMinimumSize(300, 260);
    copyButton = new QPushButton(QStringLiteral("引用"), this);
    copyButton->setObjectName(QStringLiteral("copyButton"));
    cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    for (QPushButton* button : {copyButton, cancelButton})
        button->setAutoDefault(false);
    connect(copyButton, &QPushButton::clicked, this, &OtherClassTestPicker::copySelected);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(classList, &QComboBox::currentIndexChanged, this, [this](int index) { listTestsOf(index + 1); });
    connect(testList, &QListWidget::itemDoubleClicked, this, &OtherClassTestPicker::copySelected);

    auto* top = new QHBoxLayout;
    top->addWidget(classLabel);
    top->addWidget(classList, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(copyButton);
    buttons->addWidget(cancelButton);
    auto* root = new QVBoxLayout(this);
    root->addLayout(top);
    root->addWidget(testList, 1);
    root->addLayout(buttons);
}

void OtherClassTestPicker::prepare()
{
    {
        const QSignalBlocker quiet(classList);
        classList->clear();
        for (int k = 1; k <= Limits::Units; ++k)
            classList->addItem(Names::classes()[k]);
        const int current = ctx.data.classNumber;
        classList->setCurrentIndex(current == 1 ? 0 : current - 2);
    }
    listTestsOf(classList->currentIndex() + 1);
}

void OtherClassTestPicker::listTestsOf(int k)
{
    testList->clear();
    const QString folder = ctx.data.dataFolder;
    const QString scoreName = ScoreFile::fileName(ctx.data, k);
    if (!DataFolder::exists(folder, scoreName)) {
        ctx.ui.message(this, ScoreFile::missingMessage(ctx.data.fileStem[size_t(k)]));
        return;
    }
    // The score file records no class size: it is read with that class's roster.
    const QString rosterName = RosterFile::classFileName(k);
    QByteArray rosterBytes;
    if (!DataFolder::exists(folder, rosterName) || !SafeFile::read(DataFolder::resolve(folder, rosterName), rosterBytes)) {
        auto other = std::make_unique<ClassData>();
        other->specialistMode = true;
        other->fileStem = ctx.data.fileStem;
        other->classNumber = k;
        ctx.ui.message(this, RosterFile::missingMessage(*other));
        return;
    }
    int pupils = 0;
    std::array<QString, Limits::Pupils + 1> names;
    if (!ctx.check(RosterFile::parse(rosterBytes, rosterName, pupils, names), this))
        return;
    auto set = std::make_unique<TestSet>();
    if (!ctx.check(ScoreFile::read(DataFolder::resolve(folder, scoreName), scoreName, pupils, *set), this))
        return;
    // The tests' weights and kinds come with them; a class file that cannot be read
    // (the teacher is told when the class is opened) gives the usual ones.
    ClassFile::Content classFile;
    QList<Overruling> overrulings;
    if (ClassFile::read(ctx.data, classFile))
        ClassFile::apply(classFile.root, ctx.data.fileStem[size_t(k)], pupils, *set, overrulings);
    for (int t = 1; t <= set->count; ++t) {
        TestDefinition& test = listed[size_t(t)];
        test.name = set->name[t];
        test.columnCount = set->columnCount[t];
        for (int c = 1; c <= qBound(0, set->columnCount[t], Limits::Columns); ++c)
            test.column(c) = {set->viewpoint[t][c], set->fullMarks[t][c]};
        test.weight = set->weight[size_t(t)];
        test.kind = set->kind[size_t(t)];
        testList->addItem(test.name);
    }
}

void OtherClassTestPicker::copySelected()
{
    QListWidgetItem* item = testList->currentItem();
    if (!item || !item->isSelected())
        return;  // nothing chosen: nothing to copy
    chosen = listed[size_t(testList->row(item) + 1)];
    accept();
}

bool OtherClassTestPicker::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && ctx.frame)
        ctx.frame->disablePrint();
    return QDialog::event(event);
}
