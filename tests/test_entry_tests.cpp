// The upper half of score entry: opening on the files, moving between tests,
// appending a test, the viewpoint count, the full-mark arrow keys, Enter as Tab,
// the focus frame and the main window's command states.

#include "MainWindowControls.h"
#include "EntryTestSupport.h"
#include "model/ScoreFile.h"
#include "entry/EntryWidgets.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

using namespace MainControls;
using namespace EntryTest;

class EntryTestsTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnAnEmptyScoreFile()
    {
        TestEnv env;
        env.makeClass(pupils(3));
        MainWindow& window = env.startMainWindow();
        toolbarButton(window, "printButton")->setEnabled(true);
        toolbarButton(window, "scoreEntryButton")->trigger();  // 点数入力 on the toolbar
        auto* entry = qobject_cast<ScoreEntryWindow*>(window.activeChild());
        QVERIFY(entry);
        QCOMPARE(entry->subWindow()->windowTitle(), QStringLiteral("成績入力-国語-通常入力"));
        QCOMPARE(entry->TxTitle->text(), QStringLiteral("新規テスト"));
        QCOMPARE(entry->Lb_Numbers->text(), QStringLiteral("1"));
        QCOMPARE(env.data.tests.count, 1);
        QCOMPARE(env.data.currentTest, 1);
        QCOMPARE(entry->Tx_RyoikiSu->text(), QStringLiteral("1"));
        const QStringList marks{"100", "0", "0", "0"};
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(entry->Tx_Manten[k]->text(), marks[k]);
            QCOMPARE(entry->Cb_Ryoiki[k]->currentIndex(), 0);
            QCOMPARE(entry->Cb_Ryoiki[k]->isEnabled(), k == 0);
            QCOMPARE(entry->Tx_Manten[k]->isEnabled(), k == 0);
            QCOMPARE(entry->Frame1[k]->title(), Names::viewpointHeading(k + 1));
        }
        // The lists: "（な　し）" and the viewpoints of 国語.
        QComboBox* list = entry->Cb_Ryoiki[2];
        QCOMPARE(list->count(), 5);
        QCOMPARE(list->itemText(0), QStringLiteral("（な　し）"));
        QCOMPARE(list->itemText(1), QStringLiteral("関心,意欲,態度"));
        QCOMPARE(list->itemText(4), QStringLiteral("言語の知識"));
        // Headings, numbers and names; no scores and no totals.
        QCOMPARE(entry->Grid1->columnCount(), 7);
        QCOMPARE(entry->Grid1->rowCount(), 3);
        QStringList headings;
        for (int c = 0; c < 7; ++c)
            headings << entry->Grid1->horizontalHeaderItem(c)->text();
        QCOMPARE(headings, (QStringList{"番号", "氏名", "合計", "Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ"}));
        QCOMPARE(entry->cellText(3, 0), QStringLiteral("3"));
        QCOMPARE(entry->cellText(3, 1), QStringLiteral("児童03"));
        QCOMPARE(rowCells(entry, 2), (QStringList{"", "", "", "", ""}));
        QCOMPARE(entry->cursorRow(), 1);
        QCOMPARE(entry->cursorCol(), 1);
        QVERIFY(!entry->Bt_Tname->isEnabled());  // homeroom mode
        QCOMPARE(entry->Label4->text(), QStringLiteral("　入力キー：100点「*」、欠席「/」、全観点一括満点入力「+」"));

        // While the screen is open the main window's commands are off.
        QVERIFY(!toolbarButton(window, "scoreEntryButton")->isEnabled());
        QVERIFY(!toolbarButton(window, "testTallyButton")->isEnabled());
        QVERIFY(!toolbarButton(window, "printButton")->isEnabled());
        QVERIFY(!subjectButton(window, 2)->isEnabled());
        // Closed, they come back; print stays off.
        QTest::mouseClick(entry->cmdEnd[1], Qt::LeftButton);
        QVERIFY(toolbarButton(window, "scoreEntryButton")->isEnabled());
        QVERIFY(subjectButton(window, 2)->isEnabled());
        QVERIFY(!toolbarButton(window, "printButton")->isEnabled());
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf({"0"}));
        QVERIFY(!env.exists(QStringLiteral("国語.Bak")));
    }

    void refusedWithoutPupilsOrFiles()
    {
        TestEnv env;
        env.makeClass({});
        MainWindow& window = env.startMainWindow();
        menuEntry(window, "scoreEntryAction")->trigger();
        QVERIFY(window.mdiArea()->subWindowList().isEmpty());
        QCOMPARE(env.ui.lastMessage(), QStringLiteral("クラス人数が0のままです.「ﾌｧｲﾙ－設定」氏名を入力してください."));

        // A missing score file keeps the screen closed, so that nothing is written
        // to the unit from another unit's tests.
        TestEnv other;
        other.makeClass(pupils(2));
        MainWindow& second = other.startMainWindow();
        QFile::remove(other.dataFolder() + QStringLiteral("算数.dat"));
        chooseSubject(second, 3);
        QVERIFY(!second.openScoreEntryWindow());
        QCOMPARE(other.ui.lastMessage(), ScoreFile::missingMessage(QStringLiteral("算数")));
        QVERIFY(second.mdiArea()->subWindowList().isEmpty());
        QVERIFY(toolbarButton(second, "scoreEntryButton")->isEnabled());

        // So does a score file that does not match the class.
        other.writeFile(QStringLiteral("国語.dat"), {"1", "\"小テスト\"", "1", "1", "100", "5"});
        chooseSubject(second, 1);
        QVERIFY(!second.openScoreEntryWindow());
        QVERIFY(other.ui.lastMessage().contains(QStringLiteral("国語.dat")));
    }

    void movingBetweenFiveTests()
    {
        TestEnv env;
        env.makeClass(pupils(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(5, 2));
        ScoreEntryWindow* entry = openEntry(env);
        QCOMPARE(entry->Lb_Numbers->text(), QStringLiteral("5"));
        QCOMPARE(entry->TxTitle->text(), QStringLiteral("テスト5"));
        QCOMPARE(rowCells(entry, 1), (QStringList{"5", "5", "", "", ""}));
        QCOMPARE(entry->cursorCol(), 3);

        QTest::mouseClick(entry->cmdNext[1], Qt::LeftButton);
        QCOMPARE(env.ui.beeps, 1);
        QCOMPARE(env.data.currentTest, 5);

        // Leaving test 5 stores what the screen shows, unchecked.
        entry->TxTitle->setText(QStringLiteral("単元まとめ"));
        type(entry, QStringLiteral("77"));
        QTest::mouseClick(entry->cmdNext[0], Qt::LeftButton);
        QCOMPARE(env.data.currentTest, 4);
        QCOMPARE(entry->Lb_Numbers->text(), QStringLiteral("4"));
        QCOMPARE(entry->TxTitle->text(), QStringLiteral("テスト4"));
        QCOMPARE(env.data.tests.name[5], QStringLiteral("単元まとめ"));
        QCOMPARE(env.data.tests.score[5][1][1], 77);
        QCOMPARE(entry->TxTitle->selectedText(), QStringLiteral("テスト4"));

        QTest::mouseClick(entry->UpDown1->downButton, Qt::LeftButton);
        QCOMPARE(env.data.currentTest, 3);
        QTest::mouseClick(entry->UpDown1->upButton, Qt::LeftButton);
        QCOMPARE(env.data.currentTest, 4);
        entry->menuBefore->trigger();
        QCOMPARE(env.data.currentTest, 3);
        entry->menuNext->trigger();
        QCOMPARE(env.data.currentTest, 4);

        QTest::mouseClick(entry->cmdJump[0], Qt::LeftButton);
        QCOMPARE(env.data.currentTest, 1);
        QTest::mouseClick(entry->cmdJump[0], Qt::LeftButton);  // already first: no beep
        QCOMPARE(env.ui.beeps, 1);
        QTest::mouseClick(entry->cmdNext[0], Qt::LeftButton);
        QCOMPARE(env.ui.beeps, 2);
        QCOMPARE(env.data.currentTest, 1);
        entry->menuJump[1]->trigger();
        QCOMPARE(env.data.currentTest, 5);
        QCOMPARE(entry->TxTitle->text(), QStringLiteral("単元まとめ"));
        QCOMPARE(rowCells(entry, 1), (QStringList{"77", "77", "", "", ""}));
        QCOMPARE(env.ui.beeps, 2);
    }

    void appendingATestWhileTestTwoIsShown()
    {
        TestEnv env;
        env.makeClass(pupils(3));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(5, 3));
        ScoreEntryWindow* entry = openEntry(env);
        entry->cmdJump_Click(0);
        entry->cmdNext_Click(1);
        QCOMPARE(env.data.currentTest, 2);
        type(entry, QStringLiteral("/"));
        QTest::mouseClick(entry->cmdNew, Qt::LeftButton);
        QCOMPARE(env.data.tests.score[2][1][1], Absent);
        QCOMPARE(env.data.tests.count, 6);
        QCOMPARE(env.data.currentTest, 6);
        QCOMPARE(entry->Lb_Numbers->text(), QStringLiteral("6"));
        QCOMPARE(entry->TxTitle->text(), QStringLiteral("新規テスト"));
        QCOMPARE(entry->Tx_RyoikiSu->text(), QStringLiteral("1"));
        QCOMPARE(entry->Tx_Manten[0]->text(), QStringLiteral("100"));
        QCOMPARE(entry->Cb_Ryoiki[0]->currentIndex(), 0);
        for (int p = 1; p <= 3; ++p)
            QCOMPARE(rowCells(entry, p), (QStringList{"0", "", "", "", ""}));
        QCOMPARE(entry->cursorCol(), 3);

        // The menu entry appends too, after the last test.
        entry->TxTitle->setText(QStringLiteral("漢字"));
        entry->menuNewTest->trigger();
        QCOMPARE(env.data.currentTest, 7);
        QCOMPARE(env.data.tests.name[6], QStringLiteral("漢字"));
        QCOMPARE(env.data.tests.columnCount[6], 1);
        QCOMPARE(env.data.tests.fullMarks[6][1], 100);
    }

    void theSixtyFirstTestIsRefused()
    {
        TestEnv env;
        env.makeClass(pupils(1));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(60, 1));
        ScoreEntryWindow* entry = openEntry(env);
        QCOMPARE(entry->Lb_Numbers->text(), QStringLiteral("60"));
        entry->TxTitle->setText(QStringLiteral("最後のテスト"));
        QTest::mouseClick(entry->cmdNew, Qt::LeftButton);
        QCOMPARE(env.ui.beeps, 1);
        QCOMPARE(env.data.tests.count, 60);
        QCOMPARE(env.data.currentTest, 60);
        QCOMPARE(entry->TxTitle->text(), QStringLiteral("最後のテスト"));
    }

    void viewpointCountAppliesToListsAndBoxes()
    {
        TestEnv env;
        env.makeClass(pupils(2));
        ScoreEntryWindow* entry = openEntry(env);
        defineColumns(entry, {{1, QStringLiteral("10")}, {2, QStringLiteral("20")}, {4, QStringLiteral("30")}});
        QVERIFY(entry->Cb_Ryoiki[2]->isEnabled());
        QVERIFY(!entry->Cb_Ryoiki[3]->isEnabled());

        entry->Tx_RyoikiSu->setText(QStringLiteral("2"));
        entry->Tx_RyoikiSu_LostFocus();
        QCOMPARE(entry->Cb_Ryoiki[2]->currentIndex(), 0);
        QVERIFY(!entry->Cb_Ryoiki[2]->isEnabled());
        QVERIFY(!entry->Tx_Manten[2]->isEnabled());
        QCOMPARE(entry->Tx_Manten[2]->text(), QStringLiteral("30"));
        QCOMPARE(entry->Cb_Ryoiki[1]->currentIndex(), 2);
        entry->StoreTest(1);
        QCOMPARE(env.data.tests.columnCount[1], 2);
        QCOMPARE(env.data.tests.viewpoint[1][3], 0);
        QCOMPARE(env.data.tests.fullMarks[1][3], 30);

        // Out of range: a beep and the focus back; no number: nothing happens.
        entry->Tx_RyoikiSu->setText(QStringLiteral("5"));
        entry->Tx_RyoikiSu_LostFocus();
        QCOMPARE(env.ui.beeps, 1);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(entry->Tx_RyoikiSu));
        entry->Tx_RyoikiSu->setText(QStringLiteral("0"));
        entry->Tx_RyoikiSu_LostFocus();
        QCOMPARE(env.ui.beeps, 2);
        entry->Tx_RyoikiSu->setText(QString());
        entry->Tx_RyoikiSu_LostFocus();
        QCOMPARE(env.ui.beeps, 2);
        QVERIFY(entry->Cb_Ryoiki[1]->isEnabled());

        // Empty boxes are stored as 0 (the save check then reports the test).
        entry->Tx_Manten[1]->setText(QString());
        entry->StoreTest(1);
        QCOMPARE(env.data.tests.columnCount[1], 0);
        QCOMPARE(env.data.tests.fullMarks[1][2], 0);

        // The one-digit field takes one digit only.
        entry->Tx_RyoikiSu->clear();
        QTest::keyClicks(entry->Tx_RyoikiSu, QStringLiteral("x34"));
        QCOMPARE(entry->Tx_RyoikiSu->text(), QStringLiteral("3"));
    }

    void absentScoresAndTotals()
    {
        TestEnv env;
        env.makeClass(pupils(3));
        env.writeFile(QStringLiteral("国語.dat"),
                      scoreFile({testLines(QStringLiteral("前"), {{1, 100, {1, 1, 1}}}),
                                 testLines(QStringLiteral("欠席あり"), {{1, 50, {40, -1, 30}}, {3, 50, {10, 20, -1}}})}));
        ScoreEntryWindow* entry = openEntry(env);
        QCOMPARE(rowCells(entry, 1), (QStringList{"50", "40", "10", "", ""}));
        QCOMPARE(rowCells(entry, 2), (QStringList{"欠席", "欠席", "20", "", ""}));
        QCOMPARE(rowCells(entry, 3), (QStringList{"30", "30", "欠席", "", ""}));
        QCOMPARE(entry->Cb_Ryoiki[1]->currentIndex(), 3);
        entry->menuBefore_Click();
        QCOMPARE(env.data.tests.score[2][1][2], Absent);
        QCOMPARE(env.data.tests.score[2][2][3], Absent);
        entry->menuNext_Click();
        QCOMPARE(rowCells(entry, 2), (QStringList{"欠席", "欠席", "20", "", ""}));
    }

    void fullMarksArrowKeys()
    {
        TestEnv env;
        env.makeClass(pupils(1));
        ScoreEntryWindow* entry = openEntry(env);
        QLineEdit* box = entry->Tx_Manten[0];
        box->setText(QStringLiteral("0"));
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(box->text(), QStringLiteral("50"));
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(box->text(), QStringLiteral("100"));
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(box->text(), QStringLiteral("100"));
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->text(), QStringLiteral("50"));
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->text(), QStringLiteral("50"));
        box->setText(QStringLiteral("30"));
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(box->text(), QStringLiteral("30"));
        // Only digits go into a full-mark box.
        box->clear();
        QTest::keyClicks(box, QStringLiteral("-8a1234"));
        QCOMPARE(box->text(), QStringLiteral("812"));
    }

    void enterMovesOnAndTheGridShowsItsFrame()
    {
        TestEnv env;
        env.makeClass(pupils(2));
        ScoreEntryWindow* entry = openEntry(env);
        QVERIFY(QTest::qWaitForWindowActive(env.mainWindow()));
        entry->TxTitle->setFocus();
        QTRY_VERIFY(entry->TxTitle->hasFocus());
        QCOMPARE(entry->TxTitle->selectedText(), QStringLiteral("新規テスト"));
        QTest::keyClick(entry->TxTitle, Qt::Key_Return);
        QVERIFY(entry->Tx_RyoikiSu->hasFocus());
        QCOMPARE(entry->Tx_RyoikiSu->selectedText(), QStringLiteral("1"));
        QTest::keyClick(entry->Tx_RyoikiSu, Qt::Key_Enter);
        QVERIFY(entry->Cb_Ryoiki[0]->hasFocus());
        QVERIFY(!entry->Shape2->isVisible());
        QTest::keyClick(entry->Cb_Ryoiki[0], Qt::Key_Return);
        QVERIFY(entry->Tx_Manten[0]->hasFocus());
        QCOMPARE(entry->Tx_Manten[0]->selectedText(), QStringLiteral("100"));
        // The other columns are off: Enter goes on to the grid, which shows its frame.
        QTest::keyClick(entry->Tx_Manten[0], Qt::Key_Return);
        QVERIFY(entry->Grid1->hasFocus());
        QVERIFY(entry->Shape2->isVisible());
        QCOMPARE(entry->Shape2->geometry(), entry->Grid1->parentWidget()->rect());
        QVERIFY(entry->Shape2->geometry().contains(entry->Grid1->geometry()));
        entry->TxTitle->setFocus();
        QVERIFY(!entry->Shape2->isVisible());
        // The title keeps what was typed; Enter was not typed into it.
        QCOMPARE(entry->TxTitle->text(), QStringLiteral("新規テスト"));
    }

    void helpAndMenus()
    {
        TestEnv env;
        env.makeClass(pupils(1));
        ScoreEntryWindow* entry = openEntry(env);
        entry->menuHelp->trigger();
        QCOMPARE(env.ui.helpTopics, QList<int>{5});
        QCOMPARE(entry->menuNewTest->text(), QStringLiteral("新規テストを挿入(&N)"));
        QCOMPARE(entry->menuSave[0]->text(), QStringLiteral("保存終了(&S)"));
        QCOMPARE(entry->menuSave[1]->text(), QStringLiteral("破棄終了(&X)"));
        QCOMPARE(entry->menuJump[1]->text(), QStringLiteral("最後のテストへ(&L)"));
        QCOMPARE(entry->menuModeSet->text(), QStringLiteral("モード設定(&M)"));
        QCOMPARE(entry->cmdEnd[0]->text(), QStringLiteral("保存終了(&S)"));
        QCOMPARE(entry->cmdNew->text(), QStringLiteral("新規テスト(&A)"));
    }

    void mnemonicsReachTheScreen()
    {
        TestEnv env;
        env.makeClass(pupils(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(3, 2));
        ScoreEntryWindow* entry = openEntry(env);
        QVERIFY(QTest::qWaitForWindowActive(env.mainWindow()));
        entry->Grid1->setFocus();
        QTRY_VERIFY(entry->Grid1->hasFocus());
        QTest::keyClick(entry->Grid1, Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(env.data.currentTest, 2);
        QTest::keyClick(entry->Grid1, Qt::Key_T, Qt::AltModifier);
        QTRY_COMPARE(env.data.currentTest, 1);
        QTest::keyClick(entry->Grid1, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(env.data.currentTest, 4);
        QTest::keyClick(entry->Grid1, Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(env.ui.lastMessage(), QStringLiteral("観点を最低一つは選んでください"));
    }

    void aStoredTestWithoutANameKeepsItsColumns()
    {
        TestEnv env;
        env.makeClass(pupils(2));
        env.writeFile(QStringLiteral("国語.dat"),
                      scoreFile({testLines(QStringLiteral("一"), {{1, 10, {1, 2}}, {2, 20, {3, 4}}}),
                                 testLines(QStringLiteral("二"), {{3, 30, {5, 6}}})}));
        ScoreEntryWindow* entry = openEntry(env);
        entry->cmdJump_Click(0);
        entry->TxTitle->clear();
        entry->cmdNext_Click(1);
        entry->cmdNext_Click(0);
        // Shown as stored: no name, its two columns and scores, not the defaults.
        QCOMPARE(entry->TxTitle->text(), QString());
        QCOMPARE(entry->Tx_RyoikiSu->text(), QStringLiteral("2"));
        QCOMPARE(entry->Tx_Manten[1]->text(), QStringLiteral("20"));
        QCOMPARE(rowCells(entry, 2), (QStringList{"6", "2", "4", "", ""}));
        entry->cmdNext_Click(1);
        QCOMPARE(env.data.tests.columnCount[1], 2);
        QCOMPARE(env.data.tests.score[1][2][2], 4);
    }
};

QTEST_MAIN(EntryTestsTest)
#include "test_entry_tests.moc"
