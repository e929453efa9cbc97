// The upper half of score entry: opening on the files, moving between tests,
// appending a test, the viewpoint count, the full-mark arrow keys, Enter as Tab,
// the focus frame and the main window's command states.

#include "model/NewClass.h"
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
        env.makeClass(pupilNames(3));
        MainWindow& window = env.startMainWindow();
        toolbarButton(window, "printButton")->setEnabled(true);
        toolbarButton(window, "scoreEntryButton")->trigger();  // 点数入力 on the toolbar
        EntryScreen entry(qobject_cast<ScoreEntryWindow*>(window.activeChild()));
        QVERIFY(entry);
        QCOMPARE(entry.window->subWindow()->windowTitle(), QStringLiteral("成績入力-国語-通常入力"));
        QCOMPARE(entry.testName->text(), QStringLiteral("新規テスト"));
        QCOMPARE(entry.testNumber->text(), QStringLiteral("1"));
        QCOMPARE(env.data.tests.count, 1);
        QCOMPARE(env.data.currentTest, 1);
        QCOMPARE(entry.columnCount->text(), QStringLiteral("1"));
        const QStringList marks{"100", "0", "0", "0"};
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(entry.fullMarksBoxes[k]->text(), marks[k]);
            QCOMPARE(entry.viewpointBoxes[k]->currentIndex(), 0);
            QCOMPARE(entry.viewpointBoxes[k]->isEnabled(), k == 0);
            QCOMPARE(entry.fullMarksBoxes[k]->isEnabled(), k == 0);
            QCOMPARE(entry.viewpointColumns[k]->title(), Names::viewpointHeading(k + 1));
        }
        // The lists: "（な　し）" and the viewpoints of 国語.
        QComboBox* list = entry.viewpointBoxes[2];
        QCOMPARE(list->count(), 5);
        QCOMPARE(list->itemText(0), QStringLiteral("（な　し）"));
        QCOMPARE(list->itemText(1), QStringLiteral("関心,意欲,態度"));
        QCOMPARE(list->itemText(4), QStringLiteral("言語の知識"));
        // Headings, numbers and names; no scores and no totals.
        QCOMPARE(entry.grid->model()->columnCount(), 7);
        QCOMPARE(entry.grid->model()->rowCount(), 3);
        QStringList headings;
        for (int c = 0; c < 7; ++c)
            headings << entry.grid->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headings, (QStringList{"番号", "氏名", "合計", "Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ"}));
        QCOMPARE(entry.cellText(3, 0), QStringLiteral("3"));
        QCOMPARE(entry.cellText(3, 1), QStringLiteral("児童03"));
        QCOMPARE(entry.rowCells(2), (QStringList{"", "", "", "", ""}));
        QCOMPARE(entry.cursorRow(), 1);
        QCOMPARE(entry.cursorCol(), 1);
        QVERIFY(!entry.otherClassButton->isEnabled());  // homeroom mode
        QCOMPARE(entry.keyHint->text(), QStringLiteral("　入力キー：100点「*」、欠席「/」、全観点一括満点入力「+」"));

        // While the screen is open the main window's commands are off.
        QVERIFY(!toolbarButton(window, "scoreEntryButton")->isEnabled());
        QVERIFY(!toolbarButton(window, "testTallyButton")->isEnabled());
        QVERIFY(!toolbarButton(window, "printButton")->isEnabled());
        QVERIFY(!subjectButton(window, 2)->isEnabled());
        // Closed, they come back; print stays off.
        QTest::mouseClick(entry.closeWithoutSavingButton, Qt::LeftButton);
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
        QCOMPARE(env.ui.lastMessage(), NewClass::noPupilsMessage());

        // A missing score file keeps the screen closed, so that nothing is written
        // to the unit from another unit's tests.
        TestEnv other;
        other.makeClass(pupilNames(2));
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
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(5, 2));
        EntryScreen entry = openEntry(env);
        QCOMPARE(entry.testNumber->text(), QStringLiteral("5"));
        QCOMPARE(entry.testName->text(), QStringLiteral("テスト5"));
        QCOMPARE(entry.rowCells(1), (QStringList{"5", "5", "", "", ""}));
        QCOMPARE(entry.cursorCol(), 3);

        QTest::mouseClick(entry.nextTestButton, Qt::LeftButton);
        QCOMPARE(env.ui.beeps, 1);
        QCOMPARE(env.data.currentTest, 5);

        // Leaving test 5 stores what the screen shows, unchecked.
        entry.testName->setText(QStringLiteral("単元まとめ"));
        entry.type(QStringLiteral("77"));
        QTest::mouseClick(entry.previousTestButton, Qt::LeftButton);
        QCOMPARE(env.data.currentTest, 4);
        QCOMPARE(entry.testNumber->text(), QStringLiteral("4"));
        QCOMPARE(entry.testName->text(), QStringLiteral("テスト4"));
        QCOMPARE(env.data.tests.name[5], QStringLiteral("単元まとめ"));
        QCOMPARE(env.data.tests.score[5][1][1], 77);
        QCOMPARE(entry.testName->selectedText(), QStringLiteral("テスト4"));

        QTest::mouseClick(entry.downArrow, Qt::LeftButton);
        QCOMPARE(env.data.currentTest, 3);
        QTest::mouseClick(entry.upArrow, Qt::LeftButton);
        QCOMPARE(env.data.currentTest, 4);
        entry.previousTestAction->trigger();
        QCOMPARE(env.data.currentTest, 3);
        entry.nextTestAction->trigger();
        QCOMPARE(env.data.currentTest, 4);

        QTest::mouseClick(entry.firstTestButton, Qt::LeftButton);
        QCOMPARE(env.data.currentTest, 1);
        QTest::mouseClick(entry.firstTestButton, Qt::LeftButton);  // already first: no beep
        QCOMPARE(env.ui.beeps, 1);
        QTest::mouseClick(entry.previousTestButton, Qt::LeftButton);
        QCOMPARE(env.ui.beeps, 2);
        QCOMPARE(env.data.currentTest, 1);
        entry.lastTestAction->trigger();
        QCOMPARE(env.data.currentTest, 5);
        QCOMPARE(entry.testName->text(), QStringLiteral("単元まとめ"));
        QCOMPARE(entry.rowCells(1), (QStringList{"77", "77", "", "", ""}));
        QCOMPARE(env.ui.beeps, 2);
    }

    void appendingATestWhileTestTwoIsShown()
    {
        TestEnv env;
        env.makeClass(pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(5, 3));
        EntryScreen entry = openEntry(env);
        QTest::mouseClick(entry.firstTestButton, Qt::LeftButton);
        QTest::mouseClick(entry.nextTestButton, Qt::LeftButton);
        QCOMPARE(env.data.currentTest, 2);
        entry.type(QStringLiteral("/"));
        QTest::mouseClick(entry.newTestButton, Qt::LeftButton);
        QCOMPARE(env.data.tests.score[2][1][1], Absent);
        QCOMPARE(env.data.tests.count, 6);
        QCOMPARE(env.data.currentTest, 6);
        QCOMPARE(entry.testNumber->text(), QStringLiteral("6"));
        QCOMPARE(entry.testName->text(), QStringLiteral("新規テスト"));
        QCOMPARE(entry.columnCount->text(), QStringLiteral("1"));
        QCOMPARE(entry.fullMarksBoxes[0]->text(), QStringLiteral("100"));
        QCOMPARE(entry.viewpointBoxes[0]->currentIndex(), 0);
        // Nothing of the new test is typed yet: every cell 未入力, no total.
        for (int p = 1; p <= 3; ++p) {
            QCOMPARE(entry.rowCells(p), (QStringList{"", "", "", "", ""}));
            QCOMPARE(env.data.tests.score[6][1][p], NotEntered);
        }
        QCOMPARE(entry.cursorCol(), 3);

        // The menu entry appends too, after the last test.
        entry.testName->setText(QStringLiteral("漢字"));
        entry.newTestAction->trigger();
        QCOMPARE(env.data.currentTest, 7);
        QCOMPARE(env.data.tests.name[6], QStringLiteral("漢字"));
        QCOMPARE(env.data.tests.columnCount[6], 1);
        QCOMPARE(env.data.tests.fullMarks[6][1], 100);
    }

    void theSixtyFirstTestIsRefused()
    {
        TestEnv env;
        env.makeClass(pupilNames(1));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(60, 1));
        EntryScreen entry = openEntry(env);
        QCOMPARE(entry.testNumber->text(), QStringLiteral("60"));
        entry.testName->setText(QStringLiteral("最後のテスト"));
        QTest::mouseClick(entry.newTestButton, Qt::LeftButton);
        // Told why, not only beeped at.
        QCOMPARE(env.ui.messageTexts(),
                 QStringList{"テストは60件までです。これ以上は追加できません。\n"
                             "使わなくなったテストは、「編集」の「テストのメンテナンス」で削除できます。"});
        QCOMPARE(env.data.tests.count, 60);
        QCOMPARE(env.data.currentTest, 60);
        QCOMPARE(entry.testName->text(), QStringLiteral("最後のテスト"));
    }

    void viewpointCountAppliesToListsAndBoxes()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        EntryScreen entry = openEntry(env);
        entry.defineColumns({{1, QStringLiteral("10")}, {2, QStringLiteral("20")}, {4, QStringLiteral("30")}});
        QVERIFY(entry.viewpointBoxes[2]->isEnabled());
        QVERIFY(!entry.viewpointBoxes[3]->isEnabled());

        entry.enterColumnCount(QStringLiteral("2"));
        QCOMPARE(entry.viewpointBoxes[2]->currentIndex(), 0);
        QVERIFY(!entry.viewpointBoxes[2]->isEnabled());
        QVERIFY(!entry.fullMarksBoxes[2]->isEnabled());
        QCOMPARE(entry.fullMarksBoxes[2]->text(), QStringLiteral("30"));
        QCOMPARE(entry.viewpointBoxes[1]->currentIndex(), 2);
        // A new test stores the one shown as it is, then the teacher comes back.
        QTest::mouseClick(entry.newTestButton, Qt::LeftButton);
        QCOMPARE(env.data.tests.columnCount[1], 2);
        QCOMPARE(env.data.tests.viewpoint[1][3], 0);
        QCOMPARE(env.data.tests.fullMarks[1][3], 30);
        QTest::mouseClick(entry.previousTestButton, Qt::LeftButton);
        QCOMPARE(entry.columnCount->text(), QStringLiteral("2"));

        // Out of range: a beep and the focus back; no number: nothing happens.
        entry.enterColumnCount(QStringLiteral("5"));
        QCOMPARE(env.ui.beeps, 1);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(entry.columnCount));
        entry.enterColumnCount(QStringLiteral("0"));
        QCOMPARE(env.ui.beeps, 2);
        entry.enterColumnCount(QString());
        QCOMPARE(env.ui.beeps, 2);
        QVERIFY(entry.viewpointBoxes[1]->isEnabled());

        // Empty boxes are stored as 0 (the save check then reports the test).
        entry.fullMarksBoxes[1]->setText(QString());
        QTest::mouseClick(entry.nextTestButton, Qt::LeftButton);
        QCOMPARE(env.data.tests.columnCount[1], 0);
        QCOMPARE(env.data.tests.fullMarks[1][2], 0);

        // The one-digit field takes one digit only.
        entry.columnCount->clear();
        QTest::keyClicks(entry.columnCount, QStringLiteral("x34"));
        QCOMPARE(entry.columnCount->text(), QStringLiteral("3"));
    }

    void absentScoresAndTotals()
    {
        TestEnv env;
        env.makeClass(pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"),
                      scoreLines({{QStringLiteral("前"), {{1, 100, {1, 1, 1}}}},
                                 {QStringLiteral("欠席あり"), {{1, 50, {40, -1, 30}}, {3, 50, {10, 20, -1}}}}}));
        EntryScreen entry = openEntry(env);
        QCOMPARE(entry.rowCells(1), (QStringList{"50", "40", "10", "", ""}));
        QCOMPARE(entry.rowCells(2), (QStringList{"欠席", "欠席", "20", "", ""}));
        QCOMPARE(entry.rowCells(3), (QStringList{"30", "30", "欠席", "", ""}));
        QCOMPARE(entry.viewpointBoxes[1]->currentIndex(), 3);
        entry.previousTestAction->trigger();
        QCOMPARE(env.data.tests.score[2][1][2], Absent);
        QCOMPARE(env.data.tests.score[2][2][3], Absent);
        entry.nextTestAction->trigger();
        QCOMPARE(entry.rowCells(2), (QStringList{"欠席", "欠席", "20", "", ""}));
    }

    void fullMarksArrowKeys()
    {
        TestEnv env;
        env.makeClass(pupilNames(1));
        EntryScreen entry = openEntry(env);
        QLineEdit* box = entry.fullMarksBoxes[0];
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
        env.makeClass(pupilNames(2));
        EntryScreen entry = openEntry(env);
        QVERIFY(QTest::qWaitForWindowActive(env.mainWindow()));
        entry.testName->setFocus();
        QTRY_VERIFY(entry.testName->hasFocus());
        QCOMPARE(entry.testName->selectedText(), QStringLiteral("新規テスト"));
        QTest::keyClick(entry.testName, Qt::Key_Return);
        QVERIFY(entry.columnCount->hasFocus());
        QCOMPARE(entry.columnCount->selectedText(), QStringLiteral("1"));
        QTest::keyClick(entry.columnCount, Qt::Key_Enter);
        QVERIFY(entry.viewpointBoxes[0]->hasFocus());
        QVERIFY(!entry.gridFocusFrame->isVisible());
        entry.viewpointBoxes[0]->setCurrentIndex(1);  // the column measures 観点Ⅰ
        QTest::keyClick(entry.viewpointBoxes[0], Qt::Key_Return);
        QVERIFY(entry.fullMarksBoxes[0]->hasFocus());
        QCOMPARE(entry.fullMarksBoxes[0]->selectedText(), QStringLiteral("100"));
        // The other columns are off: Enter goes on to the grid, which shows its frame.
        QTest::keyClick(entry.fullMarksBoxes[0], Qt::Key_Return);
        QVERIFY(entry.grid->hasFocus());
        QVERIFY(entry.gridFocusFrame->isVisible());
        // ... on the first pupil's first score cell, where digits go in.
        QCOMPARE(std::pair(entry.cursorRow(), entry.cursorCol()), std::pair(1, 3));
        entry.type(QStringLiteral("45"));
        QCOMPARE(entry.rowCells(1), (QStringList{"45", "45", "", "", ""}));
        QCOMPARE(std::pair(entry.cursorRow(), entry.cursorCol()), std::pair(2, 3));
        QCOMPARE(entry.gridFocusFrame->geometry(), entry.grid->parentWidget()->rect());
        QVERIFY(entry.gridFocusFrame->geometry().contains(entry.grid->geometry()));
        entry.testName->setFocus();
        QVERIFY(!entry.gridFocusFrame->isVisible());
        // The title keeps what was typed; Enter was not typed into it.
        QCOMPARE(entry.testName->text(), QStringLiteral("新規テスト"));
    }

    void helpAndMenus()
    {
        TestEnv env;
        env.makeClass(pupilNames(1));
        EntryScreen entry = openEntry(env);
        entry.helpAction->trigger();
        QCOMPARE(env.ui.helpTopics, QList<int>{5});
        QCOMPARE(entry.newTestAction->text(), QStringLiteral("新規テストを挿入(&N)"));
        QCOMPARE(entry.saveAndCloseAction->text(), QStringLiteral("保存終了(&S)"));
        QCOMPARE(entry.discardAndCloseAction->text(), QStringLiteral("破棄終了(&X)"));
        QCOMPARE(entry.lastTestAction->text(), QStringLiteral("最後のテストへ(&L)"));
        QCOMPARE(entry.fixedValuesAction->text(), QStringLiteral("モード設定(&M)"));
        QCOMPARE(entry.saveAndCloseButton->text(), QStringLiteral("保存終了(&S)"));
        QCOMPARE(entry.newTestButton->text(), QStringLiteral("新規テスト(&A)"));
    }

    void mnemonicsReachTheScreen()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(3, 2));
        EntryScreen entry = openEntry(env);
        QVERIFY(QTest::qWaitForWindowActive(env.mainWindow()));
        entry.grid->setFocus();
        QTRY_VERIFY(entry.grid->hasFocus());
        QTest::keyClick(entry.grid, Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(env.data.currentTest, 2);
        QTest::keyClick(entry.grid, Qt::Key_T, Qt::AltModifier);
        QTRY_COMPARE(env.data.currentTest, 1);
        QTest::keyClick(entry.grid, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(env.data.currentTest, 4);
        // The new test is still untouched: 保存終了 leaves it out and saves the rest.
        QTest::keyClick(entry.grid, Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(env.mainWindow()->mdiArea()->subWindowList().isEmpty());
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(simpleTests(3, 2)));
    }

    void aStoredTestWithoutANameKeepsItsColumns()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"),
                      scoreLines({{QStringLiteral("一"), {{1, 10, {1, 2}}, {2, 20, {3, 4}}}},
                                 {QStringLiteral("二"), {{3, 30, {5, 6}}}}}));
        EntryScreen entry = openEntry(env);
        QTest::mouseClick(entry.firstTestButton, Qt::LeftButton);
        entry.testName->clear();
        QTest::mouseClick(entry.nextTestButton, Qt::LeftButton);
        QTest::mouseClick(entry.previousTestButton, Qt::LeftButton);
        // Shown as stored: no name, its two columns and scores, not the defaults.
        QCOMPARE(entry.testName->text(), QString());
        QCOMPARE(entry.columnCount->text(), QStringLiteral("2"));
        QCOMPARE(entry.fullMarksBoxes[1]->text(), QStringLiteral("20"));
        QCOMPARE(entry.rowCells(2), (QStringList{"6", "2", "4", "", ""}));
        QTest::mouseClick(entry.nextTestButton, Qt::LeftButton);
        QCOMPARE(env.data.tests.columnCount[1], 2);
        QCOMPARE(env.data.tests.score[1][2][2], 4);
    }
};

QTEST_MAIN(EntryTestsTest)
#include "test_entry_tests.moc"
