// Leaving score entry: the checks of 保存終了 in their order, the score file and its
// ".Bak" byte for byte, a disk that refuses the write, and closing without saving.

#include "MainWindowControls.h"
#include "EntryTestSupport.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>

using namespace MainControls;
using namespace EntryTest;

namespace {

// Five one-column tests of two pupils where test 3 is still a new test without a
// viewpoint.
QStringList fiveTestsWithAnUnfinishedThird()
{
    return scoreLines({{QStringLiteral("一"), {{1, 100, {10, 20}}}},
                      {QStringLiteral("二"), {{2, 100, {30, 40}}}},
                      {QStringLiteral("新規テスト"), {{0, 100, {0, 0}}}},
                      {QStringLiteral("四"), {{3, 100, {50, 60}}}},
                      {QStringLiteral("五"), {{4, 100, {70, 80}}}}});
}

}  // namespace

class EntrySaveTest : public QObject {
    Q_OBJECT
private slots:
    void theFirstFailingTestIsShownAndNothingWritten()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), fiveTestsWithAnUnfinishedThird());
        const QByteArray before = env.readBytes(QStringLiteral("国語.dat"));
        EntryScreen entry = openEntry(env);
        QCOMPARE(env.data.currentTest, 5);
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages[0].text, QStringLiteral("観点を最低一つは選んでください"));
        QCOMPARE(env.ui.messages[0].icon, Ui::Icon::None);
        QCOMPARE(env.ui.messages[0].buttons, Ui::Buttons::Ok);
        QCOMPARE(env.data.currentTest, 3);
        QCOMPARE(entry.testNumber->text(), QStringLiteral("3"));
        QCOMPARE(entry.testName->text(), QStringLiteral("新規テスト"));
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), before);
        QVERIFY(!env.exists(QStringLiteral("国語.Bak")));
        QCOMPARE(env.ui.busyDepth, 0);
        QVERIFY(entry.window->isVisible());

        // Fixed on the screen, the set is saved whole.
        entry.viewpointBoxes[0]->setCurrentIndex(2);
        entry.testName->setText(QStringLiteral("三"));
        entry.saveAndCloseAction->trigger();
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), before);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")),
                 crlf({"5", "\"一\"", "1", "1", "100", "10", "20", "\"二\"", "1", "2", "100", "30", "40",
                       "\"三\"", "1", "2", "100", "0", "0", "\"四\"", "1", "3", "100", "50", "60",
                       "\"五\"", "1", "4", "100", "70", "80"}));
        QTRY_VERIFY(env.mainWindow()->mdiArea()->subWindowList().isEmpty());
        QVERIFY(toolbarButton(*env.mainWindow(), "scoreEntryButton")->isEnabled());
    }

    void checksRunInTheirOrder_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("marks");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QStringList fine{"50", "0", "0", "0"};
        // Each row breaks one more rule than the next, so only the first rule broken speaks.
        QTest::newRow("no name") << QString() << QString() << 0 << QStringList{"500", "0", "0", "0"} << "40"
                                 << QStringLiteral("テスト名を入力してください");
        QTest::newRow("a name the file cannot hold")
            << QStringLiteral("単元\"まとめ\"") << QStringLiteral("5") << 0 << fine << ""
            << QStringLiteral("テスト名「単元\"まとめ\"」は保存できません。「\"」（二重引用符）は使えません。テスト名を直してください。");
        QTest::newRow("a character outside the code page")
            << QStringLiteral("테스트") << QStringLiteral("1") << 1 << fine << ""
            << QStringLiteral("テスト名「테스트」は保存できません。「테」(U+D14C)は使えない文字です。テスト名を直してください。");
        QTest::newRow("column count") << QStringLiteral("計算") << QString() << 0 << QStringList{"500", "0", "0", "0"}
                                      << "" << QStringLiteral("観点数は１～４の範囲です");
        QTest::newRow("no viewpoint") << QStringLiteral("計算") << QStringLiteral("1") << 0
                                      << QStringList{"500", "0", "0", "0"} << ""
                                      << QStringLiteral("観点を最低一つは選んでください");
        QTest::newRow("full marks of an unused column")
            << QStringLiteral("計算") << QStringLiteral("1") << 2 << QStringList{"50", "0", "0", "101"} << ""
            << QStringLiteral("各観点の満点は100点以内にしてください");
        QTest::newRow("a score above the full marks")
            << QStringLiteral("計算") << QStringLiteral("1") << 2 << QStringList{"30", "0", "0", "100"} << "40"
            << QStringLiteral("満点を越える点数が入力されています\n\n2番 児童02、観点Ⅰ（表現の能力）：40点（満点 30点）");
    }

    void checksRunInTheirOrder()
    {
        QFETCH(QString, title);
        QFETCH(QString, count);
        QFETCH(int, kind);
        QFETCH(QStringList, marks);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(1, 2));
        EntryScreen entry = openEntry(env);
        QTest::mouseClick(entry.newTestButton, Qt::LeftButton);
        // Scores go in while the full marks allow them; the marks are lowered later.
        entry.viewpointBoxes[0]->setCurrentIndex(1);
        entry.clickCell(2, 3);
        entry.type(typed);
        entry.testName->setText(title);
        entry.columnCount->setText(count);
        entry.viewpointBoxes[0]->setCurrentIndex(kind);
        for (int k = 0; k < 4; ++k)
            entry.fullMarksBoxes[k]->setText(marks[k]);
        QTest::mouseClick(entry.firstTestButton, Qt::LeftButton);  // the faulty test is not on the screen when saving
        QVERIFY(env.ui.messages.isEmpty());
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.messageTexts(), QStringList{message});
        QCOMPARE(env.data.currentTest, 2);
        QCOMPARE(entry.testNumber->text(), QStringLiteral("2"));
        QCOMPARE(entry.testName->text(), title);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(simpleTests(1, 2)));
        QVERIFY(!env.exists(QStringLiteral("国語.Bak")));
    }

    // The first score above its full marks, pupil by pupil, is named with its pupil
    // and column, and the cursor waits on it.
    void aScoreAboveItsFullMarksIsNamed()
    {
        TestEnv env;
        env.makeClass(pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"),
                      scoreLines({{QStringLiteral("一"), {{1, 50, {10, 20, 60}}, {2, 20, {5, 25, 0}}}},
                                  {QStringLiteral("二"), {{1, 100, {1, 2, 3}}}}}));
        EntryScreen entry = openEntry(env);
        QCOMPARE(entry.testName->text(), QStringLiteral("二"));
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.messageTexts(),
                 QStringList{"満点を越える点数が入力されています\n\n2番 児童02、観点Ⅱ（表現の能力）：25点（満点 20点）"});
        QCOMPARE(entry.testName->text(), QStringLiteral("一"));
        QCOMPARE(std::pair(entry.cursorRow(), entry.cursorCol()), std::pair(2, 4));
        QVERIFY(entry.grid->hasFocus());
        QVERIFY(!env.exists(QStringLiteral("国語.Bak")));

        // Typed over, the next one is pupil 3 in column Ⅰ.
        entry.type(QStringLiteral("20"));
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.lastMessage(),
                 QStringLiteral("満点を越える点数が入力されています\n\n3番 児童03、観点Ⅰ（関心,意欲,態度）：60点（満点 50点）"));
        QCOMPARE(std::pair(entry.cursorRow(), entry.cursorCol()), std::pair(3, 3));
    }

    // 新規テスト pressed by mistake at the end: a test still so named, without a
    // viewpoint and without scores, is left out of the file instead of refusing it.
    void untouchedNewTestsAtTheEndAreLeftOut()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(1, 2));
        EntryScreen entry = openEntry(env);
        entry.type(QStringLiteral("33"));
        QTest::mouseClick(entry.newTestButton, Qt::LeftButton);
        QTest::mouseClick(entry.newTestButton, Qt::LeftButton);
        entry.fullMarksBoxes[0]->setText(QStringLiteral("50"));  // still without a viewpoint
        QCOMPARE(env.data.tests.count, 3);
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf({"1", "\"テスト1\"", "1", "1", "100", "33", "1"}));
        QTRY_VERIFY(env.mainWindow()->mdiArea()->subWindowList().isEmpty());
    }

    // Any other unfinished test still refuses the save: a new test with a name of
    // its own, or with a score typed while a viewpoint was chosen.
    void otherUnfinishedNewTestsStillRefuse()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(1, 2));
        EntryScreen entry = openEntry(env);
        QTest::mouseClick(entry.newTestButton, Qt::LeftButton);
        entry.viewpointBoxes[0]->setCurrentIndex(1);
        entry.clickCell(2, 3);
        entry.type(QStringLiteral("7"));
        QTest::keyClick(entry.grid, Qt::Key_Up);
        entry.viewpointBoxes[0]->setCurrentIndex(0);
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.messageTexts(), QStringList{"観点を最低一つは選んでください"});
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(simpleTests(1, 2)));

        entry.clickCell(2, 3);
        QTest::keyClick(entry.grid, Qt::Key_Delete);  // the score gone: left out again...
        entry.testName->setText(QStringLiteral("まとめ"));  // ...unless it was named
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 2);
        QCOMPARE(env.ui.lastMessage(), QStringLiteral("観点を最低一つは選んでください"));
        entry.testName->setText(QStringLiteral("新規テスト"));
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 2);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(simpleTests(1, 2)));
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), crlf(simpleTests(1, 2)));
    }

    void absentPupilsAreNotCheckedAndFullMarksPass()
    {
        TestEnv env;
        env.makeClass(pupilNames(3));
        // Pupil 1 absent in column 1 with 120 in column 2; pupil 2 exactly at the
        // full marks; pupil 3 zeros.
        const QStringList file = scoreLines({{QStringLiteral("観察"), {{1, 100, {-1, 100, 0}}, {2, 100, {120, 100, 0}}}}});
        env.writeFile(QStringLiteral("国語.dat"), file);
        EntryScreen entry = openEntry(env);
        QCOMPARE(entry.rowCells(1), (QStringList{"欠席", "欠席", "120", "", ""}));
        entry.saveAndCloseAction->trigger();
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(file));
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), crlf(file));
    }

    void theBackupHoldsTheStateBeforeEachSave()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(1, 2));
        MainWindow& window = env.startMainWindow();
        EntryScreen entry(qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow()));
        entry.type(QStringLiteral("55"));
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        const QByteArray first = crlf({"1", "\"テスト1\"", "1", "1", "100", "55", "1"});
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), first);
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), crlf(simpleTests(1, 2)));

        entry = EntryScreen(qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow()));
        QVERIFY(entry);
        entry.clickCell(2, 3);
        entry.type(QStringLiteral("/"));
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf({"1", "\"テスト1\"", "1", "1", "100", "55", "-1"}));
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), first);
    }

    void aRefusedWriteKeepsTheScreenOpen()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(2, 2));
        // The backup name is taken by a folder: the save cannot go through.
        QVERIFY(QDir().mkpath(env.dataFolder() + QStringLiteral("国語.Bak")));
        EntryScreen entry = openEntry(env);
        entry.type(QStringLiteral("66"));
        QTest::mouseClick(entry.firstTestButton, Qt::LeftButton);
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.messages[0].text.contains(QStringLiteral("国語.Bak")));
        QCOMPARE(env.ui.messages[0].icon, Ui::Icon::Critical);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(simpleTests(2, 2)));
        QCOMPARE(env.ui.busyDepth, 0);
        QVERIFY(!env.mainWindow()->mdiArea()->subWindowList().isEmpty());
        // The screen is as the teacher left it, and later moves store into the right test.
        QCOMPARE(env.data.currentTest, 1);
        QCOMPARE(entry.testName->text(), QStringLiteral("テスト1"));
        QTest::mouseClick(entry.lastTestButton, Qt::LeftButton);
        QCOMPARE(entry.rowCells(1), (QStringList{"66", "66", "", "", ""}));
        QCOMPARE(env.data.tests.name[1], QStringLiteral("テスト1"));

        // Once the disk allows it, the same screen saves.
        QVERIFY(QDir(env.dataFolder() + QStringLiteral("国語.Bak")).removeRecursively());
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")),
                 crlf({"2", "\"テスト1\"", "1", "1", "100", "1", "1", "\"テスト2\"", "1", "1", "100", "66", "2"}));
    }

    // Without changes 破棄終了, 中止 and the close box close at once, ask nothing and
    // write nothing (with changes they ask: test_entry_leave).
    void closingWithoutChanges()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(2, 2));
        MainWindow& window = env.startMainWindow();

        EntryScreen entry(qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow()));
        entry.discardAndCloseAction->trigger();
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());
        entry = EntryScreen(qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow()));
        QTest::mouseClick(entry.closeWithoutSavingButton, Qt::LeftButton);
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());
        // Moving between tests changes nothing either.
        entry = EntryScreen(qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow()));
        QTest::mouseClick(entry.previousTestButton, Qt::LeftButton);
        entry.window->subWindow()->close();
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(simpleTests(2, 2)));
        QVERIFY(!env.exists(QStringLiteral("国語.Bak")));
        QVERIFY(toolbarButton(window, "scoreEntryButton")->isEnabled());
    }
};

QTEST_MAIN(EntrySaveTest)
#include "test_entry_save.moc"
