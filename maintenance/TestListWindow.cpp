#include "maintenance/TestListWindow.h"

#include "model/Cp932.h"
#include "model/ScoreFile.h"
#include "model/TestList.h"
#include "tally/ListSheets.h"
#include "maintenance/OpenWindows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QScopedValueRollback>

namespace {

ListWindow::Captions captions()
{
    ListWindow::Captions c;
    c.printEntry = QStringLiteral("テスト一覧印刷(&P)");
    c.closeEntry = QStringLiteral("テストメンテナンス終了(&X)");
    c.editEntries = {QStringLiteral("テスト名変更(&C)"), QStringLiteral("テスト挿入(&I)"), QStringLiteral("テスト削除(&D)")};
    c.editButtons = {QStringLiteral("ﾃｽﾄ名変更(&C)"), QStringLiteral("ﾃｽﾄ挿入(&I)"), QStringLiteral("ﾃｽﾄ削除(&D)")};
    c.printButton = QStringLiteral("ﾃｽﾄ名印刷(&P)");
    c.countCaption = QStringLiteral("総ﾃｽﾄ数");
    c.helpTopic = 7;
    c.reportTitle = QStringLiteral("テスト名一覧");
    c.sheet = &ListSheets::tests;
    return c;
}

}  // namespace

TestListWindow::TestListWindow(AppContext& ctx, QWidget* parent)
    : ListWindow(ctx, captions(), QStringLiteral("testList"), parent)
{
    setObjectName(QStringLiteral("TestListWindow"));
    setWindowTitle(QStringLiteral("テストのメンテナンス"));
    list->setMinimumSize(260, 360);
    buildTestDetails();
    resize(500, 440);
}

void TestListWindow::buildTestDetails()
{
    auto* details = new QGroupBox(QStringLiteral("選んだテスト"), this);
    details->setObjectName(QStringLiteral("testDetails"));
    auto* grid = new QGridLayout(details);
    kindBox = new QComboBox(details);
    kindBox->setObjectName(QStringLiteral("kindBox"));
    kindBox->addItem(QStringLiteral("点数"));
    kindBox->addItem(QStringLiteral("観察（Ａ・Ｂ・Ｃ）"));
    weightBox = new QComboBox(details);
    weightBox->setObjectName(QStringLiteral("weightBox"));
    for (int halves = 1; halves <= 10; ++halves)
        weightBox->addItem(QString::number(halves / 2.0), halves / 2.0);
    grid->addWidget(new QLabel(QStringLiteral("種類"), details), 0, 0);
    grid->addWidget(kindBox, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("重み"), details), 1, 0);
    grid->addWidget(weightBox, 1, 1);
    termBox = new QComboBox(details);
    termBox->setObjectName(QStringLiteral("termBox"));
    termBox->addItems(Terms::choices(ctx.data.termPlan));
    grid->addWidget(new QLabel(QStringLiteral("学期"), details), 2, 0);
    grid->addWidget(termBox, 2, 1);
    grid->setColumnStretch(1, 1);
    extras->addSpacing(8);
    extras->addWidget(details);
    connect(list, &QListWidget::currentRowChanged, this, &TestListWindow::showSelectedTest);
    connect(kindBox, &QComboBox::currentIndexChanged, this, &TestListWindow::kindChosen);
    connect(weightBox, &QComboBox::currentIndexChanged, this, &TestListWindow::weightChosen);
    connect(termBox, &QComboBox::currentIndexChanged, this, &TestListWindow::termChosen);
    showSelectedTest();
}

void TestListWindow::showSelectedTest()
{
    const QScopedValueRollback<bool> quiet(showingTest, true);
    const int t = list->currentRow() + 1;
    const TestSet& set = ctx.data.tests;
    const bool selected = t >= 1 && t <= set.count;
    kindBox->setEnabled(selected);
    weightBox->setEnabled(selected);
    termBox->setEnabled(selected);
    if (!selected)
        return;
    const int term = qBound(0, set.term[size_t(t)], Limits::Terms);
    while (termBox->count() <= term)
        termBox->addItem(QStringLiteral("%1学期").arg(termBox->count()));
    termBox->setCurrentIndex(term);
    kindBox->setCurrentIndex(set.kind[size_t(t)] == TestKind::Observation ? 1 : 0);
    const int weight = weightBox->findData(set.weight[size_t(t)]);
    weightBox->setCurrentIndex(weight >= 0 ? weight : weightBox->findData(1.0));
}

void TestListWindow::changeSelectedTest(const std::function<Status(int t)>& change)
{
    if (showingTest)
        return;
    const int row = list->currentRow();
    const int line = lineToEdit();
    if (line >= 0 && line == row) {
        ctx.check(change(line + 1), this, Ui::Icon::Warning);
        fillList();
        list->setCurrentRow(line);
    }
    // What the files hold, whether the change was made or refused.
    showSelectedTest();
}

void TestListWindow::kindChosen()
{
    const TestKind kind = kindBox->currentIndex() == 1 ? TestKind::Observation : TestKind::Scores;
    changeSelectedTest([this, kind](int t) { return TestList::setKind(ctx.data, t, kind); });
}

void TestListWindow::weightChosen()
{
    const double weight = weightBox->currentData().toDouble();
    changeSelectedTest([this, weight](int t) { return TestList::setWeight(ctx.data, t, weight); });
}

void TestListWindow::termChosen()
{
    const int term = qMax(0, termBox->currentIndex());
    changeSelectedTest([this, term](int t) { return TestList::setTerm(ctx.data, t, term); });
}

QString TestListWindow::listText(int number, const QString& line) const
{
    const TestSet& set = ctx.data.tests;
    if (number < 1 || number > set.count)
        return line;
    QStringList notes;
    if (set.kind[size_t(number)] == TestKind::Observation)
        notes << QStringLiteral("観察");
    if (set.weight[size_t(number)] != 1.0)
        notes << QStringLiteral("重み%1").arg(set.weight[size_t(number)]);
    if (const int term = set.term[size_t(number)]; term != 0) {
        const QString name = Terms::name(ctx.data.termPlan, term);
        notes << (name.isEmpty() ? QStringLiteral("%1学期").arg(term) : name);
    }
    return notes.isEmpty() ? line : line + QStringLiteral("　（%1）").arg(notes.join(QStringLiteral("・")));
}

bool TestListWindow::prepare()
{
    // A missing or unreadable score file: the message, and the window stays shut
    // rather than list the tests of another unit.
    if (!loadUnit(true))
        return false;
    if (list->count() > 0)
        list->setCurrentRow(0);
    return true;
}

bool TestListWindow::loadUnit(bool tell)
{
    // A class file that cannot be read is told too; the list opens all the same.
    const Status loaded = ScoreFile::load(ctx.data);
    if (tell)
        ctx.check(loaded, this);
    if (!loaded.ok)
        return false;
    shownSpecialistMode = ctx.data.specialistMode;
    shownUnit = ctx.data.currentUnit();
    shownFolder = ctx.data.dataFolder;
    fillList();
    return true;
}

void TestListWindow::fillList()
{
    QStringList names;
    for (int t = 1; t <= ctx.data.tests.count; ++t)
        names.append(ctx.data.tests.name[t]);
    showLines(names);
}

bool TestListWindow::showsOpenData(bool tell)
{
    const ClassData& data = ctx.data;
    if (shownSpecialistMode == data.specialistMode && shownUnit == data.currentUnit() && shownFolder == data.dataFolder)
        return true;
    // Another subject or class was chosen while the window was open: list its tests
    // instead of changing a file the list does not show. When its file cannot be
    // read the list stays empty, so that no command acts on it.
    dropRename();
    if (!loadUnit(tell)) {
        shownSpecialistMode = data.specialistMode;
        shownUnit = data.currentUnit();
        shownFolder = data.dataFolder;
        showLines({});
        return false;
    }
    if (tell)
        ctx.ui.message(this, QStringLiteral("教科またはクラスが切り替わったので、%1のテスト一覧を読み直しました。もう一度、テストを選んでください。")
                                 .arg(data.unitName()),
                       Ui::Buttons::Ok, Ui::Icon::Information);
    return false;
}

bool TestListWindow::editAllowed()
{
    const QStringList open =
        OpenWindows::captions(this, [](const ChildWindow& window) { return window.writesTestsBack(); });
    if (open.isEmpty())
        return true;
    ctx.ui.message(this, QStringLiteral("テストの名前の変更・挿入・削除の前に、次の画面を閉じてください。\n\n") + open.join(QLatin1Char('\n')),
                   Ui::Buttons::Ok, Ui::Icon::Information);
    return false;
}

void TestListWindow::insertCommand(int n, const QString& name)
{
    if (list->count() >= Limits::Tests) {
        ctx.ui.message(this, TestList::fullMessage(), Ui::Buttons::Ok, Ui::Icon::Warning, QStringLiteral("テストの挿入"));
        return;
    }
    if (ctx.ui.message(this, name + QStringLiteral("の前に新しいテストを挿入します"), Ui::Buttons::OkCancel,
                       Ui::Icon::Question, QStringLiteral("テストの挿入"))
        == Ui::Answer::Ok)
        insertTest(n);
}

void TestListWindow::removeCommand(int n, const QString& name)
{
    // The test's scores go: a slip of Enter answers キャンセル.
    if (ctx.ui.message(this, name + QStringLiteral("を削除します."), Ui::Buttons::OkCancel, Ui::Icon::Question,
                       QStringLiteral("テストの削除"), Ui::Default::Cancel)
        == Ui::Answer::Ok)
        deleteTest(n);
}

void TestListWindow::insertTest(int n)
{
    if (!ctx.check(TestList::insertBefore(ctx.data, n), this, Ui::Icon::Warning))
        return;
    fillList();
    list->setCurrentRow(n - 1);
    ctx.ui.message(this, QStringLiteral("点数入力で新規テストを選び、入力してください"));
    setCommandsEnabled(true);
}

void TestListWindow::deleteTest(int n)
{
    if (!ctx.check(TestList::remove(ctx.data, n), this, Ui::Icon::Warning))
        return;
    fillList();
    setCommandsEnabled(true);
}

void TestListWindow::storeName(int n, const QString& text, bool tell)
{
    // An empty name is accepted here; saving in score entry asks for one. A name
    // that cannot be stored is refused quietly when the program ends; a file that
    // cannot be written is always reported.
    if (!tell && !StorableText::problem(text).isEmpty())
        return;
    ctx.check(TestList::rename(ctx.data, n, text), this, Ui::Icon::Warning);
}
