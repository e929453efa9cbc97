#include "maintenance/TestMente.h"

#include "core/Cp932.h"
#include "core/ScoreFile.h"
#include "core/TestList.h"
#include "maintenance/MenteSheet.h"
#include "maintenance/OpenWindows.h"

#include <QLabel>
#include <QListWidget>

namespace {

ListMaintenanceWindow::Captions captions()
{
    ListMaintenanceWindow::Captions c;
    c.printMenu = QStringLiteral("テスト一覧印刷(&P)");
    c.endMenu = QStringLiteral("テストメンテナンス終了(&X)");
    c.editMenu = {QStringLiteral("テスト名変更(&C)"), QStringLiteral("テスト挿入(&I)"), QStringLiteral("テスト削除(&D)")};
    c.editButtons = {QStringLiteral("ﾃｽﾄ名変更(&C)"), QStringLiteral("ﾃｽﾄ挿入(&I)"), QStringLiteral("ﾃｽﾄ削除(&D)")};
    c.printButton = QStringLiteral("ﾃｽﾄ名印刷(&P)");
    c.countLabel = QStringLiteral("総ﾃｽﾄ数");
    c.helpTopic = 7;
    c.reportTitle = QStringLiteral("テスト名一覧");
    c.sheet = &MenteSheet::tests;
    return c;
}

}  // namespace

TestMente::TestMente(AppContext& ctx, QWidget* parent) : ListMaintenanceWindow(ctx, captions(), parent)
{
    setObjectName(QStringLiteral("TestMente"));
    setWindowTitle(QStringLiteral("テストのメンテナンス"));
    Lt_Test->setObjectName(QStringLiteral("Lt_Test"));
    Lt_Test->setMinimumSize(260, 360);
    resize(500, 440);
}

bool TestMente::Form_Load()
{
    // A missing or unreadable score file: the message, and the window stays shut
    // rather than list the tests of another unit.
    if (!loadUnit(true))
        return false;
    if (Lt_Test->count() > 0)
        Lt_Test->setCurrentRow(0);
    return true;
}

bool TestMente::loadUnit(bool tell)
{
    const Status loaded = LoadScores(ctx.data);
    if (!loaded.ok) {
        if (tell)
            ctx.check(loaded, this);
        return false;
    }
    shownSenka = ctx.data.SenkaMode;
    shownUnit = ctx.data.currentUnit();
    shownFolder = ctx.data.DataPath;
    fillList();
    return true;
}

void TestMente::fillList()
{
    Lt_Test->clear();
    for (int t = 1; t <= ctx.data.TestSet.StoredTestCount; ++t)
        Lt_Test->addItem(ctx.data.TestSet.TestName[t]);
    Lb_Numbers->setText(QString::number(ctx.data.TestSet.StoredTestCount));
}

bool TestMente::showsOpenData(bool tell)
{
    const ClassData& data = ctx.data;
    if (shownSenka == data.SenkaMode && shownUnit == data.currentUnit() && shownFolder == data.DataPath)
        return true;
    // Another subject or class was chosen while the window was open: list its tests
    // instead of changing a file the list does not show. When its file cannot be
    // read the list stays empty, so that no command acts on it.
    dropRename();
    if (!loadUnit(tell)) {
        shownSenka = data.SenkaMode;
        shownUnit = data.currentUnit();
        shownFolder = data.DataPath;
        Lt_Test->clear();
        Lb_Numbers->setText(QStringLiteral("0"));
        return false;
    }
    if (tell)
        ctx.ui.message(this, QStringLiteral("教科またはクラスが切り替わったので、%1のテスト一覧を読み直しました。もう一度、テストを選んでください。")
                                 .arg(data.unitName()),
                       Ui::Buttons::Ok, Ui::Icon::Information);
    return false;
}

bool TestMente::editAllowed()
{
    const QStringList open = OpenWindows::others(this, {}, {QStringLiteral("InputDialog")});
    if (open.isEmpty())
        return true;
    ctx.ui.message(this, QStringLiteral("テストの名前の変更・挿入・削除の前に、次の画面を閉じてください。\n\n") + open.join(QLatin1Char('\n')),
                   Ui::Buttons::Ok, Ui::Icon::Information);
    return false;
}

void TestMente::insertCommand(int n, const QString& name)
{
    if (Lt_Test->count() >= Limits::Tests) {
        ctx.ui.message(this, TestList::fullMessage(), Ui::Buttons::Ok, Ui::Icon::Warning, QStringLiteral("テストの挿入"));
        return;
    }
    if (ctx.ui.message(this, name + QStringLiteral("の前に新しいテストを挿入します"), Ui::Buttons::OkCancel,
                       Ui::Icon::Question, QStringLiteral("テストの挿入"))
        == Ui::Answer::Ok)
        TestInsert(n);
}

void TestMente::removeCommand(int n, const QString& name)
{
    if (ctx.ui.message(this, name + QStringLiteral("を削除します."), Ui::Buttons::OkCancel, Ui::Icon::Question,
                       QStringLiteral("テストの削除"))
        == Ui::Answer::Ok)
        TestDelete(n);
}

void TestMente::TestInsert(int n)
{
    if (!ctx.check(TestList::insertBefore(ctx.data, n), this, Ui::Icon::Warning))
        return;
    fillList();
    Lt_Test->setCurrentRow(n - 1);
    ctx.ui.message(this, QStringLiteral("点数入力で新規テストを選び、入力してください"));
    menuEnabled(true);
}

void TestMente::TestDelete(int n)
{
    if (!ctx.check(TestList::remove(ctx.data, n), this, Ui::Icon::Warning))
        return;
    fillList();
    menuEnabled(true);
}

void TestMente::storeName(int n, const QString& text, bool tell)
{
    // An empty name is accepted here; saving in score entry asks for one. A name
    // that cannot be stored is refused quietly when the program ends; a file that
    // cannot be written is always reported.
    if (!tell && !StorableText::problem(text).isEmpty())
        return;
    ctx.check(TestList::rename(ctx.data, n, text), this, Ui::Icon::Warning);
}
