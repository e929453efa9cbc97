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
    return scoreFile({testLines(QStringLiteral("一"), {{1, 100, {10, 20}}}),
                      testLines(QStringLiteral("二"), {{2, 100, {30, 40}}}),
                      testLines(QStringLiteral("新規テスト"), {{0, 100, {0, 0}}}),
                      testLines(QStringLiteral("四"), {{3, 100, {50, 60}}}),
                      testLines(QStringLiteral("五"), {{4, 100, {70, 80}}})});
}

}  // namespace

class EntrySaveTest : public QObject {
    Q_OBJECT
private slots:
    void theFirstFailingTestIsShownAndNothingWritten()
    {
        TestEnv env;
        env.makeClass(pupils(2));
        env.writeFile(QStringLiteral("国語.dat"), fiveTestsWithAnUnfinishedThird());
        const QByteArray before = env.readBytes(QStringLiteral("国語.dat"));
        ScoreEntryWindow* entry = openEntry(env);
        QCOMPARE(env.data.currentTest, 5);
        QTest::mouseClick(entry->cmdEnd[0], Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages[0].text, QStringLiteral("観点を最低一つは選んでください"));
        QCOMPARE(env.ui.messages[0].icon, Ui::Icon::None);
        QCOMPARE(env.ui.messages[0].buttons, Ui::Buttons::Ok);
        QCOMPARE(env.data.currentTest, 3);
        QCOMPARE(entry->Lb_Numbers->text(), QStringLiteral("3"));
        QCOMPARE(entry->TxTitle->text(), QStringLiteral("新規テスト"));
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), before);
        QVERIFY(!env.exists(QStringLiteral("国語.Bak")));
        QCOMPARE(env.ui.busyDepth, 0);
        QVERIFY(entry->isVisible());

        // Fixed on the screen, the set is saved whole.
        entry->Cb_Ryoiki[0]->setCurrentIndex(2);
        entry->TxTitle->setText(QStringLiteral("三"));
        entry->menuSave[0]->trigger();
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
            << QStringLiteral("テスト名「테스트」は保存できません。「테」は使えない文字です。テスト名を直してください。");
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
            << QStringLiteral("満点を越える点数が入力されています");
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
        env.makeClass(pupils(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(1, 2));
        ScoreEntryWindow* entry = openEntry(env);
        entry->cmdNew_Click();
        // Scores go in while the full marks allow them; the marks are lowered later.
        entry->Cb_Ryoiki[0]->setCurrentIndex(1);
        entry->setCursor(2, 3);
        type(entry, typed);
        entry->TxTitle->setText(title);
        entry->Tx_RyoikiSu->setText(count);
        entry->Cb_Ryoiki[0]->setCurrentIndex(kind);
        for (int k = 0; k < 4; ++k)
            entry->Tx_Manten[k]->setText(marks[k]);
        entry->cmdJump_Click(0);  // the faulty test is not on the screen when saving
        QVERIFY(env.ui.messages.isEmpty());
        entry->cmdEnd_Click(0);
        QCOMPARE(env.ui.messageTexts(), QStringList{message});
        QCOMPARE(env.data.currentTest, 2);
        QCOMPARE(entry->Lb_Numbers->text(), QStringLiteral("2"));
        QCOMPARE(entry->TxTitle->text(), title);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(simpleTests(1, 2)));
        QVERIFY(!env.exists(QStringLiteral("国語.Bak")));
    }

    void absentPupilsAreNotCheckedAndFullMarksPass()
    {
        TestEnv env;
        env.makeClass(pupils(3));
        // Pupil 1 absent in column 1 with 120 in column 2; pupil 2 exactly at the
        // full marks; pupil 3 zeros.
        const QStringList file = scoreFile({testLines(QStringLiteral("観察"), {{1, 100, {-1, 100, 0}}, {2, 100, {120, 100, 0}}})});
        env.writeFile(QStringLiteral("国語.dat"), file);
        ScoreEntryWindow* entry = openEntry(env);
        QCOMPARE(rowCells(entry, 1), (QStringList{"欠席", "欠席", "120", "", ""}));
        entry->menuSave_Click(0);
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(file));
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), crlf(file));
    }

    void theBackupHoldsTheStateBeforeEachSave()
    {
        TestEnv env;
        env.makeClass(pupils(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(1, 2));
        MainWindow& window = env.startMainWindow();
        auto* entry = qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow());
        type(entry, QStringLiteral("55"));
        entry->cmdEnd_Click(0);
        const QByteArray first = crlf({"1", "\"テスト1\"", "1", "1", "100", "55", "1"});
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), first);
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), crlf(simpleTests(1, 2)));

        entry = qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow());
        QVERIFY(entry);
        entry->setCursor(2, 3);
        type(entry, QStringLiteral("/"));
        entry->cmdEnd_Click(0);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf({"1", "\"テスト1\"", "1", "1", "100", "55", "-1"}));
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), first);
    }

    void aRefusedWriteKeepsTheScreenOpen()
    {
        TestEnv env;
        env.makeClass(pupils(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(2, 2));
        // The backup name is taken by a folder: the save cannot go through.
        QVERIFY(QDir().mkpath(env.dataFolder() + QStringLiteral("国語.Bak")));
        ScoreEntryWindow* entry = openEntry(env);
        type(entry, QStringLiteral("66"));
        entry->cmdJump_Click(0);
        QTest::mouseClick(entry->cmdEnd[0], Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.messages[0].text.contains(QStringLiteral("国語.Bak")));
        QCOMPARE(env.ui.messages[0].icon, Ui::Icon::Critical);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(simpleTests(2, 2)));
        QCOMPARE(env.ui.busyDepth, 0);
        QVERIFY(!env.mainWindow()->mdiArea()->subWindowList().isEmpty());
        // The screen is as the teacher left it, and later moves store into the right test.
        QCOMPARE(env.data.currentTest, 1);
        QCOMPARE(entry->TxTitle->text(), QStringLiteral("テスト1"));
        entry->cmdJump_Click(1);
        QCOMPARE(rowCells(entry, 1), (QStringList{"66", "66", "", "", ""}));
        QCOMPARE(env.data.tests.name[1], QStringLiteral("テスト1"));

        // Once the disk allows it, the same screen saves.
        QVERIFY(QDir(env.dataFolder() + QStringLiteral("国語.Bak")).removeRecursively());
        entry->cmdEnd_Click(0);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")),
                 crlf({"2", "\"テスト1\"", "1", "1", "100", "1", "1", "\"テスト2\"", "1", "1", "100", "66", "2"}));
    }

    // Without changes 破棄終了, 中止 and the close box close at once, ask nothing and
    // write nothing (with changes they ask: test_entry_leave).
    void closingWithoutChanges()
    {
        TestEnv env;
        env.makeClass(pupils(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(2, 2));
        MainWindow& window = env.startMainWindow();

        auto* entry = qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow());
        entry->menuSave[1]->trigger();
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());
        entry = qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow());
        QTest::mouseClick(entry->cmdEnd[1], Qt::LeftButton);
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());
        // Moving between tests changes nothing either.
        entry = qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow());
        entry->cmdNext_Click(0);
        entry->subWindow()->close();
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(simpleTests(2, 2)));
        QVERIFY(!env.exists(QStringLiteral("国語.Bak")));
        QVERIFY(toolbarButton(window, "scoreEntryButton")->isEnabled());
    }
};

QTEST_MAIN(EntrySaveTest)
#include "test_entry_save.moc"
