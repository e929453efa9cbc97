#include "maintenance/TestListWindow.h"

#include "model/Cp932.h"
#include "model/ScoreFile.h"
#include "model/TestList.h"
#include "tally/ListSheets.h"
#include "maintenance/OpenWindows.h"

#include <QLabel>
#include <QListWidget>

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
    resize(500, 440);
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
    const Status loaded = ScoreFile::load(ctx.data);
    if (!loaded.ok) {
        if (tell)
            ctx.check(loaded, this);
        return false;
    }
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
