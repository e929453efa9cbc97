// テストのメンテナンス driven inside the real main window: the test list of the
// current unit, rename through the input box, insert and delete with their
// confirmations, the limits, and the printed and previewed test list; the score
// file and its ".Bak" checked byte for byte.

#include "Controls.h"
#include "MainWindowControls.h"
#include "TestEnv.h"
#include "model/ScoreFile.h"
#include "tally/ListSheets.h"
#include "maintenance/TestListWindow.h"
#include "entry/ScoreEntryWindow.h"
#include "ListControls.h"
#include "SampleClass.h"
#include "output/ReportStore.h"
#include "app/MainWindow.h"
#include "platform/QtUi.h"
#include "ModalDialogs.h"

#include <QAction>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace MainControls;
using namespace Sample;

using Controls::child;

namespace {

Tests threeTests(int pupils)
{
    auto column = [pupils](int kind, int full, int seed) {
        Column c;
        c.kind = kind;
        c.fullMarks = full;
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
    column.fullMarks = 100;
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

    // With `real`, every message is Qt's own message box, through the real QtUi.
    explicit Fixture(const Tests& tests = threeTests(5), Ui* real = nullptr)
    {
        homeroomClass(env, 5);
        env.writeFile("国語.dat", scoreLines(tests));
        original = env.readBytes("国語.dat");
        if (real) {
            env.useUi(*real);
            closeNextDialog();  // the title window
        }
        window = &env.startMainWindow();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        menuEntry(*window, "testListAction")->trigger();
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
        const ListControls c(d, "testList");
        QCOMPARE(d->windowTitle(), QStringLiteral("テストのメンテナンス"));
        QCOMPARE(listLines(c.list), namesOf(threeTests(5)));
        QCOMPARE(c.count->text(), QStringLiteral("3"));
        QCOMPARE(c.selectedRow(), 0);
        QCOMPARE(f.env.data.tests.count, 3);
        QVERIFY(!c.nameInput->isEnabled());
        QCOMPARE(QStringList({c.countCaption->text(), c.nameInputCaption->text(), c.renameButton->text(), c.insertButton->text(),
                              c.removeButton->text(), c.printButton->text(), c.previewButton->text(), c.closeButton->text()}),
                 QStringList({"総ﾃｽﾄ数", "入力欄", "ﾃｽﾄ名変更(&C)", "ﾃｽﾄ挿入(&I)", "ﾃｽﾄ削除(&D)", "ﾃｽﾄ名印刷(&P)",
                              "ﾌﾟﾚﾋﾞｭｰ(&O)", "閉じる"}));
        QCOMPARE(QStringList({c.fileMenu->title(), c.printAction->text(), c.previewAction->text(), c.closeAction->text(),
                              c.editMenu->title(), c.renameAction->text(), c.insertAction->text(),
                              c.removeAction->text(), c.helpAction->text()}),
                 QStringList({"ﾌｧｲﾙ(&F)", "テスト一覧印刷(&P)", "印刷ﾌﾟﾚﾋﾞｭｰ(&O)", "テストメンテナンス終了(&X)", "編集(&E)",
                              "テスト名変更(&C)", "テスト挿入(&I)", "テスト削除(&D)", "ﾍﾙﾌﾟ(&H)"}));
        QVERIFY(toolbarButton(*f.window, "previewButton")->isEnabled());
        QVERIFY(!toolbarButton(*f.window, "testListButton")->isEnabled());
        c.helpAction->trigger();
        QCOMPARE(f.env.ui.helpTopics, QList<int>{7});

        const auto before = snapshot(f.env);
        c.closeAction->trigger();
        QTRY_VERIFY(!f.window->findChild<TestListWindow*>());
        QVERIFY(toolbarButton(*f.window, "testListButton")->isEnabled());
        QVERIFY(!toolbarButton(*f.window, "previewButton")->isEnabled());
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
        menuEntry(window, "testListAction")->trigger();
        QVERIFY(!window.findChild<TestListWindow*>());
        QCOMPARE(env.ui.messages.size(), 1);
        if (missing)
            QCOMPARE(env.ui.lastMessage(), ScoreFile::missingMessage(QStringLiteral("国語")));
        else
            QVERIFY(env.ui.lastMessage().contains(QStringLiteral("国語.dat")));
        QVERIFY(toolbarButton(window, "testListButton")->isEnabled());
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
        const ListControls c(d, "testList");
        c.list->setCurrentRow(row);
        QTest::mouseClick(c.insertButton, Qt::LeftButton);

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
        QCOMPARE(listLines(c.list), namesOf(expected));
        QCOMPARE(c.count->text(), QStringLiteral("4"));

        // Score entry, loading the file, finds the new test: 観点Ⅰ out of 100, nothing
        // typed yet (0 in the score file, 未入力 by the class file).
        QVERIFY(ScoreFile::load(f.env.data).ok);
        const int t = row + 1;
        QCOMPARE(f.env.data.tests.name[t], QStringLiteral("新規挿入テスト"));
        QCOMPARE(f.env.data.tests.columnCount[t], 1);
        QCOMPARE(f.env.data.tests.viewpoint[t][1], 1);
        QCOMPARE(f.env.data.tests.fullMarks[t][1], 100);
        for (int p = 1; p <= 5; ++p)
            QCOMPARE(f.env.data.tests.score[t][1][p], NotEntered);
        QCOMPARE(f.env.data.tests.score[t + 1][1][2], Absent);
    }

    void deleteTheChosenTest()
    {
        Fixture f;
        TestListWindow* d = f.dialog;
        const ListControls c(d, "testList");
        c.list->setCurrentRow(1);
        c.removeAction->trigger();
        QCOMPARE(f.env.ui.messageTexts(), QStringList{"計算,ドリルを削除します."});
        QCOMPARE(f.env.ui.messages[0].title, QStringLiteral("テストの削除"));
        Tests expected = threeTests(5);
        expected.removeAt(1);
        QCOMPARE(f.env.readBytes("国語.dat"), crlf(scoreLines(expected)));
        QCOMPARE(f.env.readBytes("国語.Bak"), f.original);
        QCOMPARE(listLines(c.list), namesOf(expected));
        QCOMPARE(c.count->text(), QStringLiteral("2"));

        // Deleting down to nothing leaves the empty score file.
        c.list->setCurrentRow(0);
        c.removeButton->click();
        c.list->setCurrentRow(0);
        c.removeButton->click();
        QCOMPARE(f.env.readBytes("国語.dat"), crlf({"0"}));
        QCOMPARE(c.count->text(), QStringLiteral("0"));
        f.env.ui.clear();
        for (QPushButton* button : c.editButtons())
            button->click();
        QVERIFY(f.env.ui.messages.isEmpty());
    }

    void cancelAndNoSelectionChangeNothing()
    {
        Fixture f;
        TestListWindow* d = f.dialog;
        const ListControls c(d, "testList");
        const auto before = snapshot(f.env);
        f.env.ui.answers = {Ui::Answer::Cancel, Ui::Answer::Cancel};
        c.insertButton->click();
        c.removeButton->click();
        QCOMPARE(f.env.ui.messages.size(), 2);
        QCOMPARE(snapshot(f.env), before);
        // Enter answers OK to テストの挿入 (nothing is lost), キャンセル to テストの削除.
        QCOMPARE(f.env.ui.messages[0].defaultButton, Ui::Default::Affirmative);
        QCOMPARE(f.env.ui.messages[1].title, QStringLiteral("テストの削除"));
        QCOMPARE(f.env.ui.messages[1].defaultButton, Ui::Default::Cancel);

        c.list->clearSelection();
        f.env.ui.clear();
        for (QPushButton* button : c.editButtons())
            QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(f.env.ui.beeps, 3);  // each command says there is nothing to act on
        QVERIFY(f.env.ui.messages.isEmpty());
        QVERIFY(!c.nameInput->isEnabled());
        QCOMPARE(snapshot(f.env), before);
    }

    // A single Enter on the question of テストの削除 keeps the test, pressed in Qt's own
    // message box through the real QtUi.
    void aSingleEnterOnTestDeletionChangesNothing()
    {
        QtUi real{QString()};
        Fixture f(threeTests(5), &real);
        const ListControls c(f.dialog, "testList");
        const auto before = snapshot(f.env);
        c.list->setCurrentRow(1);
        EnterPress press;
        pressEnterInNextMessageBox(press);
        QTest::mouseClick(c.removeButton, Qt::LeftButton);
        QVERIFY(press.closed);
        QCOMPARE(press.defaultCaption, QStringLiteral("キャンセル"));
        QCOMPARE(snapshot(f.env), before);
        QCOMPARE(c.list->count(), 3);
    }

    void renameWithEnterAndWithTab()
    {
        Fixture f;
        TestListWindow* d = f.dialog;
        const ListControls c(d, "testList");
        c.list->setCurrentRow(2);
        QTest::mouseClick(c.renameButton, Qt::LeftButton);
        QVERIFY(c.nameInput->hasFocus());
        QCOMPARE(c.nameInput->selectedText(), QStringLiteral("単元まとめ"));
        QInputMethodEvent typed;
        typed.setCommitString(QStringLiteral("２学期まとめ"));
        QApplication::sendEvent(c.nameInput, &typed);
        QTest::keyClick(c.nameInput, Qt::Key_Return);

        Tests expected = threeTests(5);
        expected[2].name = QStringLiteral("２学期まとめ");
        QCOMPARE(f.env.readBytes("国語.dat"), crlf(scoreLines(expected)));
        QCOMPARE(f.env.readBytes("国語.Bak"), f.original);
        QCOMPARE(listLines(c.list), namesOf(expected));
        QCOMPARE(c.selectedRow(), 2);
        QVERIFY(!c.nameInput->isEnabled());
        QCOMPARE(f.env.data.tests.name[3], QStringLiteral("２学期まとめ"));

        // An empty name is accepted here; score entry asks for one when saving.
        const QByteArray afterFirst = f.env.readBytes("国語.dat");
        c.list->setCurrentRow(0);
        c.renameButton->click();
        QTest::keyClick(c.nameInput, Qt::Key_Backspace);
        QTest::keyClick(c.nameInput, Qt::Key_Tab);
        expected[0].name.clear();
        QCOMPARE(f.env.readBytes("国語.dat"), crlf(scoreLines(expected)));
        QCOMPARE(f.env.readBytes("国語.Bak"), afterFirst);
        QVERIFY(f.env.ui.messages.isEmpty());
    }

    void testNameTheFileCannotHoldIsRefused()
    {
        Fixture f;
        TestListWindow* d = f.dialog;
        const ListControls c(d, "testList");
        const auto before = snapshot(f.env);
        c.list->setCurrentRow(1);
        c.renameButton->click();
        QTest::keyClicks(c.nameInput, "\"A\"");
        QTest::keyClick(c.nameInput, Qt::Key_Return);
        QCOMPARE(f.env.ui.messages.size(), 1);
        QVERIFY(f.env.ui.lastMessage().startsWith(QStringLiteral("テスト名「\"A\"」は保存できません。")));
        QCOMPARE(snapshot(f.env), before);
        QCOMPARE(listLines(c.list), namesOf(threeTests(5)));
    }

    void sixtyTestsRefuseAnInsert()
    {
        Tests sixty;
        for (int t = 1; t <= 60; ++t)
            sixty << Test{QStringLiteral("テスト%1").arg(t), {threeTests(5)[1].columns[0]}};
        Fixture f(sixty);
        TestListWindow* d = f.dialog;
        const ListControls c(d, "testList");
        c.list->setCurrentRow(30);
        c.insertButton->click();
        QCOMPARE(f.env.ui.messageTexts(), QStringList{"テストは60件までです。これ以上挿入することはできません。"});
        QCOMPARE(f.env.readBytes("国語.dat"), f.original);
        QVERIFY(!f.env.exists("国語.Bak"));
        f.env.ui.clear();
        c.removeButton->click();
        sixty.removeAt(30);
        QCOMPARE(f.env.readBytes("国語.dat"), crlf(scoreLines(sixty)));
    }

    void scoreEntryOpenRefusesChanges()
    {
        Fixture f;
        TestListWindow* d = f.dialog;
        const ListControls c(d, "testList");
        ChildWindow* tally = f.window->openTestTallyWindow();
        ChildWindow* entry = f.window->openScoreEntryWindow();
        QVERIFY(tally && entry);
        const auto before = snapshot(f.env);
        c.list->setCurrentRow(0);
        c.removeButton->click();
        QCOMPARE(f.env.ui.messages.size(), 1);
        QVERIFY(f.env.ui.lastMessage().contains(entry->windowTitle()));
        // A tally window only reads the file: it is not named.
        QVERIFY(!f.env.ui.lastMessage().contains(tally->windowTitle()));
        QCOMPARE(snapshot(f.env), before);

        // Without score entry the same command deletes the test.
        entry->closeWindow();
        QTRY_VERIFY(!f.window->findChild<ScoreEntryWindow*>());
        f.env.ui.clear();
        c.list->setCurrentRow(0);
        c.removeButton->click();
        Tests expected = threeTests(5);
        expected.removeAt(0);
        QCOMPARE(f.env.readBytes("国語.dat"), crlf(scoreLines(expected)));
    }

    void subjectChosenElsewhereIsReloadedNotWritten()
    {
        Fixture f;
        TestListWindow* d = f.dialog;
        const ListControls c(d, "testList");
        const auto before = snapshot(f.env);
        // The subject menu and buttons are off while the window is open...
        chooseSubject(*f.window, 3);
        QCOMPARE(f.env.data.subject, 1);
        // ...but a subject made current all the same is noticed before a write.
        f.env.data.subject = 3;
        c.list->setCurrentRow(0);
        c.removeButton->click();
        QCOMPARE(f.env.ui.messages.size(), 1);
        QVERIFY(f.env.ui.lastMessage().contains(QStringLiteral("算数のテスト一覧を読み直しました")));
        QCOMPARE(listLines(c.list), namesOf(tests(3, 5)));
        QCOMPARE(snapshot(f.env), before);

        // Now the list is 算数's, and a delete changes 算数.dat.
        f.env.ui.clear();
        c.list->setCurrentRow(0);
        c.removeButton->click();
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
        chooseClass(window, 4);
        menuEntry(window, "testListAction")->trigger();
        TestListWindow* d = window.findChild<TestListWindow*>();
        QVERIFY(d);
        const ListControls c(d, "testList");
        c.list->setCurrentRow(1);
        c.insertButton->click();
        Tests expected = threeTests(3);
        expected.insert(1, newTest(3));
        QCOMPARE(env.readBytes("５の１.dat"), crlf(scoreLines(expected)));
    }

    void testListPrintedAndPreviewed()
    {
        Fixture f;
        TestListWindow* d = f.dialog;
        const ListControls c(d, "testList");
        QList<ReportSheet> stored;
        f.env.reports->setStoreObserver([&stored](const QString& path) {
            ReportSheet sheet;
            QVERIFY(ReportStore::read(path, sheet).ok);
            stored.append(sheet);
        });
        c.previewAction->trigger();
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
