#include "entry/OtherClassTestPicker.h"

#include "model/DataFolder.h"
#include "model/RosterFile.h"
#include "model/SafeFile.h"
#include "model/ScoreFile.h"
#include "entry/ScoreEntryWindow.h"
#include "frame/MainFrame.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

OtherClassTestPicker::OtherClassTestPicker(AppContext& ctx, ScoreEntryWindow& entry, QWidget* parent) : QDialog(parent), ctx(ctx), entry(entry)
{
    setObjectName(QStringLiteral("OtherClassTestPicker"));
    setWindowTitle(QStringLiteral("他クラステスト名参照"));

    Label1 = new QLabel(QStringLiteral("クラス名"), this);
    Cb_ClassName = new QComboBox(this);
    Cb_ClassName->setObjectName(QStringLiteral("Cb_ClassName"));
    Lt_TestName = new QListWidget(this);
    Lt_TestName->setObjectName(QStringLiteral("Lt_TestName"));
    Lt_TestName->setSelectionMode(QAbstractItemView::SingleSelection);
    Lt_TestName->setMinimumSize(300, 260);
    Bt_OK[0] = new QPushButton(QStringLiteral("引用"), this);
    Bt_OK[1] = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    for (int i = 0; i < 2; ++i) {
        Bt_OK[i]->setObjectName(QStringLiteral("Bt_OK%1").arg(i));
        Bt_OK[i]->setAutoDefault(false);
        connect(Bt_OK[i], &QPushButton::clicked, this, [this, i] { Bt_OK_Click(i); });
    }
    connect(Cb_ClassName, &QComboBox::currentIndexChanged, this, [this] { Cb_ClassName_Click(); });
    connect(Lt_TestName, &QListWidget::itemDoubleClicked, this, [this] { Lt_TestName_DblClick(); });

    auto* top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addWidget(Cb_ClassName, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Bt_OK[0]);
    buttons->addWidget(Bt_OK[1]);
    auto* root = new QVBoxLayout(this);
    root->addLayout(top);
    root->addWidget(Lt_TestName, 1);
    root->addLayout(buttons);
}

void OtherClassTestPicker::prepare()
{
    {
        const QSignalBlocker quiet(Cb_ClassName);
        Cb_ClassName->clear();
        for (int k = 1; k <= Limits::Units; ++k)
            Cb_ClassName->addItem(Names::classes()[k]);
        const int current = ctx.data.classNumber;
        Cb_ClassName->setCurrentIndex(current == 1 ? 0 : current - 2);
    }
    Cb_ClassName_Click();
}

void OtherClassTestPicker::Cb_ClassName_Click()
{
    Lt_TestName->clear();
    loadldata(Cb_ClassName->currentIndex() + 1);
}

void OtherClassTestPicker::loadldata(int k)
{
    const QString stem = ctx.data.fileStem[size_t(k)];
    const QString folder = ctx.data.dataFolder;
    if (!DataFolder::exists(folder, stem + QStringLiteral(".dat"))) {
        ctx.ui.message(this, ScoreFile::missingMessage(stem));
        return;
    }
    // The score file records no class size: it is read with that class's roster.
    const QString rosterName = stem + QStringLiteral(".nam");
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
    const QString scoreName = stem + QStringLiteral(".dat");
    if (!ctx.check(ScoreFile::read(DataFolder::resolve(folder, scoreName), scoreName, pupils, *set), this))
        return;
    for (int t = 1; t <= set->count; ++t) {
        Lt_TestName->addItem(set->name[t]);
        OtherViewpointCount[t] = set->columnCount[t];
        for (int c = 1; c <= set->columnCount[t]; ++c) {
            OtherViewpointKind[t][c] = set->viewpoint[t][c];
            OtherFullMarks[t][c] = set->fullMarks[t][c];
        }
    }
}

void OtherClassTestPicker::copySelected()
{
    QListWidgetItem* item = Lt_TestName->currentItem();
    if (!item || !item->isSelected())
        return;  // nothing chosen: nothing to copy
    const int t = Lt_TestName->row(item) + 1;
    entry.TxTitle->setText(item->text());
    entry.Tx_RyoikiSu->setText(QString::number(OtherViewpointCount[t]));
    for (int k = 0; k < Limits::Columns; ++k) {
        entry.Cb_Ryoiki[k]->setCurrentIndex(qBound(0, OtherViewpointKind[t][k + 1], Limits::Viewpoints));
        entry.Tx_Manten[k]->setText(QString::number(OtherFullMarks[t][k + 1]));
    }
    accept();
}

void OtherClassTestPicker::Lt_TestName_DblClick()
{
    copySelected();
}

void OtherClassTestPicker::Bt_OK_Click(int index)
{
    if (index == 0)
        copySelected();
    else
        reject();
}

bool OtherClassTestPicker::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && ctx.frame)
        ctx.frame->disablePrint();
    return QDialog::event(event);
}
