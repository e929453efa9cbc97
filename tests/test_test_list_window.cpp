// テストのメンテナンス driven inside the real main window: the test list of the
// current unit, rename through the input box, insert and delete with their
// confirmations, the limits, and the printed and previewed test list; the score
// file and its ".Bak" checked byte for byte.

#include "Controls.h"
#include "TestEnv.h"
#include "model/ScoreFile.h"
#include "tally/ListSheets.h"
#include "maintenance/TestListWindow.h"
#include "maintenance_fixture.h"
#include "output/ReportStore.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace Sample;

using Controls::child;

namespace {

Tests threeTests(int pupils)
{
    auto column = [pupils](int kind, int full, int seed) {
        Column c;
        c.kind = kind;
        c.full = full;
        for (int p = 1; p <= pupils; ++p)
            c.scores << (p == 2 ? -1 : (seed + p * 3) % (full + 1));
        return c;
    };
    return {{QStringLiteral("漢字テスト１"), {column(1, 10, 1), column(3, 20, 2)}},
            {QStringLiteral("計算,ドリル"), {column(2, 50, 3)}},
            {QStringLiteral("単元まとめ"), {column(1, 25, 4), column(2, 25, 5), column(3, 25, 6), column(4, 25, 7)}}};
}

Test newTest(int pupils)
{
    Column column;
    column.kind = 1;
    column.full = 100;
    for (int p = 1; p <= pupils; ++p)
        column.scores << 0;
    return {QStringLiteral("新規挿入テスト"), {column}};
}

QStringList listLines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

QStringList namesOf(const Tests& tests)
{
    QStringList names;
    for (const Test& test : tests)
        names << test.name;
    return names;
}

struct Fixture {
    TestEnv env;
    MainWindow* window = nullptr;
    TestListWindow* dialog = nullptr;
    QByteArray original;

    explicit Fixture(const Tests& tests = threeTests(5))
    {
        homeroomClass(env, 5);
        env.writeFile("国語.dat", scoreLines(tests));
        original = env.readBytes("国語.dat");
        window = &env.startMainWindow();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->menu_test->trigger();
        dialog = window->findChild<TestListWindow*>();
        QVERIFY(dialog);
        env.ui.clear();
    }
};

}  // namespace

class TestListWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnTheUnitsTests()
    {
        Fixture f;
        TestListWindow* d = f.dialog;
        QCOMPARE(d->windowTitle(), QStringLiteral("テストのメンテナンス"));
        QCOMPARE(listLines(d->Lt_Test), namesOf(threeTests(5)));
        QCOMPARE(d->Lb_Numbers->text(), QStringLiteral("3"));
        QCOMPARE(d->selectedRow(), 0);
        QCOMPARE(f.env.data.tests.count, 3);
        QVERIFY(!d->Tx_DataInput->isEnabled());
        QCOMPARE(QStringList({d->Label1->text(), d->Lb_DataInput->text(), d->cmdEdit[0]->text(), d->cmdEdit[1]->text(),
                              d->cmdEdit[2]->text(), child<QPushButton>(d, "printButton")->text(), child<QPushButton>(d, "previewButton")->text(), d->cmdEnd->text()}),
                 QStringList({"総ﾃｽﾄ数", "入力欄", "ﾃｽﾄ名変更(&C)", "ﾃｽﾄ挿入(&I)", "ﾃｽﾄ削除(&D)", "ﾃｽﾄ名印刷(&P)",
                              "ﾌﾟﾚﾋﾞｭｰ(&O)", "閉じる"}));
        QCOMPARE(QStringList({d->menuFile->title(), child<QAction>(d, "printAction")->text(), child<QAction>(d, "previewAction")->text(), d->menuEnd->text(),
                              d->menuEditTop->title(), d->menuEdit[0]->text(), d->menuEdit[1]->text(),
                              d->menuEdit[2]->text(), d->menuHelp->text()}),
                 QStringList({"ﾌｧｲﾙ(&F)", "テスト一覧印刷(&P)", "印刷ﾌﾟﾚﾋﾞｭｰ(&O)", "テストメンテナンス終了(&X)", "編集(&E)",
                              "テスト名変更(&C)", "テスト挿入(&I)", "テスト削除(&D)", "ﾍﾙﾌﾟ(&H)"}));
        QVERIFY(f.window->button("preview")->isEnabled());
        QVERIFY(!f.window->button("testmente")->isEnabled());
        d->menuHelp->trigger();
        QCOMPARE(f.env.ui.helpTopics, QList<int>{7});

        const auto before = snapshot(f.env);
        d->menuEnd->trigger();
        QTRY_VERIFY(!f.window->findChild<TestListWindow*>());
        QVERIFY(f.window->button("testmente")->isEnabled());
        QVERIFY(!f.window->button("preview")->isEnabled());
        QCOMPARE(snapshot(f.env), before);
    }

    void unreadableScoreFileKeepsTheWindowShut_data()
    {
        QTest::addColumn<bool>("missing");
        QTest::newRow("missing") << true;
        QTest::newRow("short") << false;
    }
    void unreadableScoreFileKeepsTheWindowShut()
    {
        QFETCH(bool, missing);
        TestEnv env;
        homeroomClass(env, 5);
        MainWindow& window = env.startMainWindow();
        // Removed or cut short after start-up, which would have made an empty one.
        if (missing) {
            QFile::remove(env.dataFolder() + "国語.dat");
        } else {
            QStringList lines = scoreLines(threeTests(5));
            lines.removeLast();
            env.writeFile("国語.dat", lines);
        }
        env.ui.clear();
        window.menu_test->trigger();
        QVERIFY(!window.findChild<TestListWindow*>());
        QCOMPARE(env.ui.messages.size(), 1);
        if (missing)
            QCOMPARE(env.ui.lastMessage(), ScoreFile::missingMessage(QStringLiteral("国語")));
        else
            QVERIFY(env.ui.lastMessage().contains(QStringLiteral("国語.dat")));
        QVERIFY(window.button("testmente")->isEnabled());
    }

    void insertBeforeAChosenTest_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("before test 1") << 0;
        QTest::newRow("before test 3") << 2;
    }
    void insertBeforeAChosenTest()
    {
        QFETCH(int, row);
        Fixture f;
        TestListWindow* d = f.dialog;
        d->Lt_Test->setCurrentRow(row);
        QTest::mouseClick(d->cmdEdit[1], Qt::LeftButton);

        const Tests old = threeTests(5);
        QCOMPARE(f.env.ui.messages.size(), 2);
        QCOMPARE(f.env.ui.messages[0].text, old[row].name + QStringLiteral("の前に新しいテストを挿入します"));
        QCOMPARE(f.env.ui.messages[0].title, QStringLiteral("テストの挿入"));
        QCOMPARE(f.env.ui.messages[0].buttons, Ui::Buttons::OkCancel);
        QCOMPARE(f.env.ui.messages[0].icon, Ui::Icon::Question);
        QCOMPARE(f.env.ui.messages[1].text, QStringLiteral("点数入力で新規テストを選び、入力してください"));

        Tests expected = old;
        expected.insert(row, newTest(5));
        QCOMPARE(f.env.readBytes("国語.dat"), crlf(scoreLines(expected)));
        QCOMPARE(f.env.readBytes("国語.Bak"), f.original);
        QCOMPARE(listLines(d->Lt_Test), namesOf(expected));
        QCOMPARE(d->Lb_Numbers->text(), QStringLiteral("4"));

        // Score entry, loading the file, finds the new test: 観点Ⅰ out of 100, 0 for all.
        QVERIFY(ScoreFile::load(f.env.data).ok);
        const int t = row + 1;
        QCOMPARE(f.env.data.tests.name[t], QStringLiteral("新規挿入テスト"));
        QCOMPARE(f.env.data.tests.columnCount[t], 1);
        QCOMPARE(f.env.data.tests.viewpoint[t][1], 1);
        QCOMPARE(f.env.data.tests.fullMarks[t][1], 100);
        for (int p = 1; p <= 5; ++p)
            QCOMPARE(f.env.data.tests.score[t][1][p], 0);
        QCOMPARE(f.env.data.tests.score[t + 1][1][2], Absent);
    }

    void deleteTheChosenTest()
    {
        Fixture f;
        TestListWindow* d = f.dialog;
        d->Lt_Test->setCurrentRow(1);
        d->menuEdit[2]->trigger();
        QCOMPARE(f.env.ui.messageTexts(), QStringList{"計算,ドリルを削除します."});
        QCOMPARE(f.env.ui.messages[0].title, QStringLiteral("テストの削除"));
        Tests expected = threeTests(5);
        expected.removeAt(1);
        QCOMPARE(f.env.readBytes("国語.dat"), crlf(scoreLines(expected)));
        QCOMPARE(f.env.readBytes("国語.Bak"), f.original);
        QCOMPARE(listLines(d->Lt_Test), namesOf(expected));
        QCOMPARE(d->Lb_Numbers->text(), QStringLiteral("2"));

        // Deleting down to nothing leaves the empty score file.
        d->Lt_Test->setCurrentRow(0);
        d->cmdEdit_Click(2);
        d->Lt_Test->setCurrentRow(0);
        d->cmdEdit_Click(2);
        QCOMPARE(f.env.readBytes("国語.dat"), crlf({"0"}));
        QCOMPARE(d->Lb_Numbers->text(), QStringLiteral("0"));
        f.env.ui.clear();
        for (int i = 0; i < 3; ++i)
            d->cmdEdit_Click(i);
        QVERIFY(f.env.ui.messages.isEmpty());
    }

    void cancelAndNoSelectionChangeNothing()
    {
        Fixture f;
        TestListWindow* d = f.dialog;
        const auto before = snapshot(f.env);
        f.env.ui.answers = {Ui::Answer::Cancel, Ui::Answer::Cancel};
        d->cmdEdit_Click(1);
        d->cmdEdit_Click(2);
        QCOMPARE(f.env.ui.messages.size(), 2);
        QCOMPARE(snapshot(f.env), before);

        d->Lt_Test->clearSelection();
        f.env.ui.clear();
        for (QPushButton* button : d->cmdEdit)
            QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(f.env.ui.messages.isEmpty());
        QVERIFY(!d->Tx_DataInput->isEnabled());
        QCOMPARE(snapshot(f.env), before);
    }

    void renameWithEnterAndWithTab()
    {
        Fixture f;
        TestListWindow* d = f.dialog;
        d->Lt_Test->setCurrentRow(2);
        QTest::mouseClick(d->cmdEdit[0], Qt::LeftButton);
        QVERIFY(d->Tx_DataInput->hasFocus());
        QCOMPARE(d->Tx_DataInput->selectedText(), QStringLiteral("単元まとめ"));
        QInputMethodEvent typed;
        typed.setCommitString(QStringLiteral("２学期まとめ"));
        QApplication::sendEvent(d->Tx_DataInput, &typed);
        QTest::keyClick(d->Tx_DataInput, Qt::Key_Return);

        Tests expected = threeTests(5);
        expected[2].name = QStringLiteral("２学期まとめ");
        QCOMPARE(f.env.readBytes("国語.dat"), crlf(scoreLines(expected)));
        QCOMPARE(f.env.readBytes("国語.Bak"), f.original);
        QCOMPARE(listLines(d->Lt_Test), namesOf(expected));
        QCOMPARE(d->selectedRow(), 2);
        QVERIFY(!d->Tx_DataInput->isEnabled());
        QCOMPARE(f.env.data.tests.name[3], QStringLiteral("２学期まとめ"));

        // An empty name is accepted here; score entry asks for one when saving.
        const QByteArray afterFirst = f.env.readBytes("国語.dat");
        d->Lt_Test->setCurrentRow(0);
        d->cmdEdit_Click(0);
        QTest::keyClick(d->Tx_DataInput, Qt::Key_Backspace);
        QTest::keyClick(d->Tx_DataInput, Qt::Key_Tab);
        expected[0].name.clear();
        QCOMPARE(f.env.readBytes("国語.dat"), crlf(scoreLines(expected)));
        QCOMPARE(f.env.readBytes("国語.Bak"), afterFirst);
        QVERIFY(f.env.ui.messages.isEmpty());
    }

    void testNameTheFileCannotHoldIsRefused()
    {
        Fixture f;
        TestListWindow* d = f.dialog;
        const auto before = snapshot(f.env);
        d->Lt_Test->setCurrentRow(1);
        d->cmdEdit_Click(0);
        QTest::keyClicks(d->Tx_DataInput, "\"A\"");
        QTest::keyClick(d->Tx_DataInput, Qt::Key_Return);
        QCOMPARE(f.env.ui.messages.size(), 1);
        QVERIFY(f.env.ui.lastMessage().startsWith(QStringLiteral("テスト名「\"A\"」は保存できません。")));
        QCOMPARE(snapshot(f.env), before);
        QCOMPARE(listLines(d->Lt_Test), namesOf(threeTests(5)));
    }

    void sixtyTestsRefuseAnInsert()
    {
        Tests sixty;
        for (int t = 1; t <= 60; ++t)
            sixty << Test{QStringLiteral("テスト%1").arg(t), {threeTests(5)[1].columns[0]}};
        Fixture f(sixty);
        TestListWindow* d = f.dialog;
        d->Lt_Test->setCurrentRow(30);
        d->cmdEdit_Click(1);
        QCOMPARE(f.env.ui.messageTexts(), QStringList{"テストは60件までです。これ以上挿入することはできません。"});
        QCOMPARE(f.env.readBytes("国語.dat"), f.original);
        QVERIFY(!f.env.exists("国語.Bak"));
        f.env.ui.clear();
        d->cmdEdit_Click(2);
        sixty.removeAt(30);
        QCOMPARE(f.env.readBytes("国語.dat"), crlf(scoreLines(sixty)));
    }

    void scoreEntryOpenRefusesChanges()
    {
        Fixture f;
        TestListWindow* d = f.dialog;
        ChildWindow* entry = f.window->openScoreEntryWindow();
        QVERIFY(entry);
        const auto before = snapshot(f.env);
        d->Lt_Test->setCurrentRow(0);
        d->cmdEdit_Click(2);
        QCOMPARE(f.env.ui.messages.size(), 1);
        QVERIFY(f.env.ui.lastMessage().contains(entry->windowTitle()));
        QCOMPARE(snapshot(f.env), before);
    }

    void subjectChosenElsewhereIsReloadedNotWritten()
    {
        Fixture f;
        TestListWindow* d = f.dialog;
        const auto before = snapshot(f.env);
        f.window->selectSubject(2);  // the subject menu is still reachable
        d->Lt_Test->setCurrentRow(0);
        d->cmdEdit_Click(2);
        QCOMPARE(f.env.ui.messages.size(), 1);
        QVERIFY(f.env.ui.lastMessage().contains(QStringLiteral("算数のテスト一覧を読み直しました")));
        QCOMPARE(listLines(d->Lt_Test), namesOf(tests(3, 5)));
        QCOMPARE(snapshot(f.env), before);

        // Now the list is 算数's, and a delete changes 算数.dat.
        f.env.ui.clear();
        d->Lt_Test->setCurrentRow(0);
        d->cmdEdit_Click(2);
        Tests expected = tests(3, 5);
        expected.removeAt(0);
        QCOMPARE(f.env.readBytes("算数.dat"), crlf(scoreLines(expected)));
        QCOMPARE(f.env.readBytes("国語.dat"), f.original);
    }

    void specialistModeWorksOnTheClassFile()
    {
        TestEnv env;
        env.makeClass({}, true);
        env.writeFile("５の１.nam", rosterLines({"甲", "乙", "丙"}));
        env.writeFile("５の１.dat", scoreLines(threeTests(3)));
        MainWindow& window = env.startMainWindow();
        window.selectClass(3);
        window.menu_test->trigger();
        TestListWindow* d = window.findChild<TestListWindow*>();
        QVERIFY(d);
        d->Lt_Test->setCurrentRow(1);
        d->cmdEdit_Click(1);
        Tests expected = threeTests(3);
        expected.insert(1, newTest(3));
        QCOMPARE(env.readBytes("５の１.dat"), crlf(scoreLines(expected)));
    }

    void testListPrintedAndPreviewed()
    {
        Fixture f;
        TestListWindow* d = f.dialog;
        QList<ReportSheet> stored;
        f.env.reports->setStoreObserver([&stored](const QString& path) {
            ReportSheet sheet;
            QVERIFY(ReportStore::read(path, sheet).ok);
            stored.append(sheet);
        });
        child<QAction>(d, "previewAction")->trigger();
        QCOMPARE(f.env.ui.previews.size(), 1);
        QCOMPARE(f.env.ui.previews[0].title, QStringLiteral("テスト名一覧"));
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored[0].titleFields, QStringList({"Title", "ClassName", "Number", "Names"}));
        QCOMPARE(stored[0].titleValues, QStringList({"【テスト一覧表】", "国語", "番号", "テスト名"}));
        QCOMPARE(stored[0].dataFields, QStringList({"Number", "Name"}));
        QCOMPARE(stored[0].rows, QList<QStringList>({{"1", "漢字テスト１"}, {"2", "計算,ドリル"}, {"3", "単元まとめ"}}));
        QVERIFY(!QFile::exists(f.env.programFolder() + "/Mente.mdb"));
        // The sheet built from the model (for printing without the window) is the same.
        const ReportSheet fromModel = ListSheets::tests(f.env.data);
        QCOMPARE(fromModel.titleValues, stored[0].titleValues);
        QCOMPARE(fromModel.rows, stored[0].rows);
    }
};

QTEST_MAIN(TestListWindowTest)
#include "test_test_list_window.moc"
