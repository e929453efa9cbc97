// Weights, 未入力 cells and observations (Ａ・Ｂ・Ｃ) driven through the real windows
// as a teacher would: the 保存終了 question with each of its three answers checked
// on disk, a cleared cell that is 未入力 again, the keys of an observation typed
// into the grid landing as 3/2/1, weights set in score entry (with undo) and in
// テストのメンテナンス landing in assessment.json, and a class file that cannot be
// read told once while the scores open.

#include "Controls.h"
#include "EntryTestSupport.h"
#include "ListControls.h"
#include "MainWindowControls.h"
#include "maintenance/TestListWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace EntryTest;
using namespace MainControls;

namespace {

QJsonObject classFileOf(const TestEnv& env)
{
    return QJsonDocument::fromJson(env.readBytes(QStringLiteral("assessment.json"))).object();
}

QJsonObject japaneseTests(const QJsonArray& tests)
{
    return QJsonObject{{"version", 1}, {"subjects", QJsonObject{{QStringLiteral("国語"), QJsonObject{{"tests", tests}}}}}};
}

// A class of three with one test of 100 marks, score entry open.
EntryScreen openOnOneTest(TestEnv& env)
{
    env.makeClass(pupilNames(3));
    env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("一"), {{1, 100, {50, 60, 70}}}}}));
    return openEntry(env);
}

// 新規テスト, named 二 with one column of 観点Ⅰ, and 80 typed for pupil 1 only.
void addTestWithOneScore(EntryScreen& entry)
{
    QTest::mouseClick(entry.newTestButton, Qt::LeftButton);
    entry.testName->setText(QStringLiteral("二"));
    entry.viewpointBoxes[0]->setCurrentIndex(1);
    entry.clickCell(1, 3);
    entry.type(QStringLiteral("80"));
}

TestListWindow* openTestList(TestEnv& env)
{
    MainWindow& window = env.startMainWindow();
    menuEntry(window, "testListAction")->trigger();
    return window.findChild<TestListWindow*>();
}

}  // namespace

class GradingWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void saveQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("未入力のまま保存") << 0;
        QTest::newRow("0点にする") << 1;
        QTest::newRow("キャンセル") << 2;
    }

    // 保存終了 with cells never typed asks once, naming the test and how many pupils.
    void saveQuestion()
    {
        QFETCH(int, answer);
        TestEnv env;
        EntryScreen entry = openOnOneTest(env);
        const QByteArray before = env.readBytes(QStringLiteral("国語.dat"));
        addTestWithOneScore(entry);
        QCOMPARE(entry.rowCells(1), (QStringList{"80", "80", "", "", ""}));
        QCOMPARE(entry.rowCells(2), (QStringList{"", "", "", "", ""}));
        env.ui.clear();
        env.ui.choices.push_back(answer);
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);

        QCOMPARE(env.ui.messages.size(), 1);
        const ScriptedUi::Message& question = env.ui.messages.first();
        QVERIFY2(question.text.contains(QStringLiteral("No.2「二」：2人")), qPrintable(question.text));
        QVERIFY(!question.text.contains(QStringLiteral("No.1")));
        QCOMPARE(question.choices, (QStringList{"未入力のまま保存", "0点にする", "キャンセル"}));
        QCOMPARE(question.defaultChoice, 0);
        QCOMPARE(question.escapeChoice, 2);
        const QByteArray twoTests = crlf(scoreLines({{QStringLiteral("一"), {{1, 100, {50, 60, 70}}}},
                                                     {QStringLiteral("二"), {{1, 100, {80, 0, 0}}}}}));
        if (answer == 2) {
            // Nothing written; the screen stays as the teacher left it.
            QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), before);
            QVERIFY(!env.exists(QStringLiteral("assessment.json")));
            QVERIFY(entry.window->isVisible());
            QCOMPARE(entry.rowCells(2), (QStringList{"", "", "", "", ""}));
            return;
        }
        QTRY_VERIFY(env.mainWindow()->mdiArea()->subWindowList().isEmpty());
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), twoTests);
        if (answer == 0)
            QCOMPARE(classFileOf(env), japaneseTests({QJsonObject(), QJsonObject{{"notEntered", QJsonObject{{"1", QJsonArray{2, 3}}}}}}));
        else
            QVERIFY(!env.exists(QStringLiteral("assessment.json")));
        // Opened again, the cells are empty (未入力) or 0 as saved.
        EntryScreen again(qobject_cast<ScoreEntryWindow*>(env.mainWindow()->openScoreEntryWindow()));
        QVERIFY(again);
        QCOMPARE(again.rowCells(2), answer == 0 ? (QStringList{"", "", "", "", ""}) : (QStringList{"0", "0", "", "", ""}));
    }

    // A typed 0 shows 0 and is no 未入力; a score cleared with Delete is 未入力 again;
    // a row of nothing but 未入力 shows no total.
    void clearedCellsAreNotEnteredAgain()
    {
        TestEnv env;
        EntryScreen entry = openOnOneTest(env);
        entry.clickCell(2, 3);
        entry.type(QStringLiteral("00"));
        QCOMPARE(entry.rowCells(2), (QStringList{"0", "0", "", "", ""}));
        entry.clickCell(1, 3);
        QTest::keyClick(entry.grid, Qt::Key_Delete);
        QCOMPARE(entry.rowCells(1), (QStringList{"", "", "", "", ""}));
        env.ui.clear();
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.messages.first().text.contains(QStringLiteral("No.1「一」：1人")));
        QTRY_VERIFY(env.mainWindow()->mdiArea()->subWindowList().isEmpty());
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(scoreLines({{QStringLiteral("一"), {{1, 100, {0, 0, 70}}}}})));
        QCOMPARE(classFileOf(env), japaneseTests({QJsonObject{{"notEntered", QJsonObject{{"1", QJsonArray{1}}}}}}));
    }

    // A first column never typed is no absence: the pupil's other columns are still
    // checked against their full marks before anything is saved.
    void aNotEnteredFirstColumnIsStillChecked()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("一"), {{1, 100, {0, 10}}, {2, 100, {80, 20}}}}}));
        EntryScreen entry = openEntry(env);
        entry.clickCell(1, 3);
        QTest::keyClick(entry.grid, Qt::Key_Delete);
        entry.fullMarksBoxes[1]->setText(QStringLiteral("50"));
        const QByteArray before = env.readBytes(QStringLiteral("国語.dat"));
        env.ui.clear();
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY2(env.ui.lastMessage().startsWith(QStringLiteral("満点を越える点数が入力されています")), qPrintable(env.ui.lastMessage()));
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("1番")));
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), before);
        QVERIFY(entry.window->isVisible());
    }

    // The keys of an observation typed into the grid: A/B/C in either case and
    // 3/2/1, "/" absent, any other key refused; the file holds 3/2/1 out of 3.
    void observationKeysLandAsPoints()
    {
        TestEnv env;
        env.makeClass(pupilNames(7));
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("発表"), {{3, 100, {0, 0, 0, 0, 0, 0, 0}}}}}));
        EntryScreen entry = openEntry(env);
        QComboBox* kind = child<QComboBox>(entry.window, QStringLiteral("kindBox"));
        kind->setCurrentIndex(1);
        QCOMPARE(entry.fullMarksBoxes[0]->text(), QStringLiteral("3"));
        QVERIFY(!entry.fullMarksBoxes[0]->isEnabled());
        QVERIFY(entry.keyHint->text().contains(QStringLiteral("観察")));
        // The kind is a step of its own: undone, the full marks come back.
        child<QAction>(entry.window, QStringLiteral("undoAction"))->trigger();
        QCOMPARE(kind->currentIndex(), 0);
        QCOMPARE(entry.fullMarksBoxes[0]->text(), QStringLiteral("100"));
        QVERIFY(entry.fullMarksBoxes[0]->isEnabled());
        QVERIFY(!entry.keyHint->text().contains(QStringLiteral("観察")));
        child<QAction>(entry.window, QStringLiteral("redoAction"))->trigger();
        QCOMPARE(kind->currentIndex(), 1);
        QCOMPARE(entry.fullMarksBoxes[0]->text(), QStringLiteral("3"));
        entry.clickCell(1, 3);
        env.ui.clear();
        entry.type(QStringLiteral("adB"));
        QCOMPARE(env.ui.beeps, 1);
        entry.type(QStringLiteral("c321/"));
        QStringList shown;
        for (int p = 1; p <= 7; ++p)
            shown << entry.cellText(p, 3);
        QCOMPARE(shown, (QStringList{"A", "B", "C", "A", "B", "C", "欠席"}));
        QCOMPARE(entry.cellText(1, 2), QString());  // an observation has no total

        // Letters pasted from a spreadsheet, in either width; any other text refused.
        entry.clickCell(1, 3);
        QGuiApplication::clipboard()->setText(QStringLiteral("ｂ\nC"));
        QTest::keyClick(entry.grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(entry.cellText(1, 3), QStringLiteral("B"));
        QCOMPARE(entry.cellText(2, 3), QStringLiteral("C"));
        QGuiApplication::clipboard()->setText(QStringLiteral("D"));
        QTest::keyClick(entry.grid, Qt::Key_V, Qt::ControlModifier);
        QVERIFY2(env.ui.lastMessage().contains(QStringLiteral("Ａ・Ｂ・Ｃ（3・2・1）でも欠席（欠・欠席・/）でもありません")),
                 qPrintable(env.ui.lastMessage()));
        QCOMPARE(entry.cellText(1, 3), QStringLiteral("B"));
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QTRY_VERIFY(env.mainWindow()->mdiArea()->subWindowList().isEmpty());
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")),
                 crlf(scoreLines({{QStringLiteral("発表"), {{3, 3, {2, 1, 1, 3, 2, 1, -1}}}}})));
        QCOMPARE(classFileOf(env), japaneseTests({QJsonObject{{"kind", "observation"}}}));
    }

    // The weight chosen in score entry's test information is a step undo takes
    // back, and lands in assessment.json on 保存終了.
    void weightInScoreEntry()
    {
        TestEnv env;
        EntryScreen entry = openOnOneTest(env);
        QComboBox* weight = child<QComboBox>(entry.window, QStringLiteral("weightBox"));
        QCOMPARE(weight->currentText(), QStringLiteral("1"));
        QCOMPARE(weight->count(), 10);
        weight->setCurrentIndex(weight->findText(QStringLiteral("2.5")));
        QVERIFY(entry.window->holdsUnsavedChanges());
        child<QAction>(entry.window, QStringLiteral("undoAction"))->trigger();
        QCOMPARE(weight->currentText(), QStringLiteral("1"));
        QVERIFY(!entry.window->holdsUnsavedChanges());
        child<QAction>(entry.window, QStringLiteral("redoAction"))->trigger();
        QCOMPARE(weight->currentText(), QStringLiteral("2.5"));
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QTRY_VERIFY(env.mainWindow()->mdiArea()->subWindowList().isEmpty());
        QCOMPARE(classFileOf(env), japaneseTests({QJsonObject{{"weight", 2.5}}}));
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(scoreLines({{QStringLiteral("一"), {{1, 100, {50, 60, 70}}}}})));
    }

    // テストのメンテナンス: the selected test's weight and kind are written at once;
    // a test with marks above 3 cannot become an observation; an inserted test is
    // 未入力 for everyone.
    void weightAndKindInTheTestList()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("一"), {{1, 100, {50, 60}}}},
                                                             {QStringLiteral("二"), {{2, 10, {2, 3}}}}}));
        TestListWindow* window = openTestList(env);
        QVERIFY(window);
        const ListControls c(window, "testList");
        QComboBox* weight = child<QComboBox>(window, QStringLiteral("weightBox"));
        QComboBox* kind = child<QComboBox>(window, QStringLiteral("kindBox"));
        c.list->setCurrentRow(1);
        QCOMPARE(weight->currentText(), QStringLiteral("1"));
        env.ui.clear();
        weight->setCurrentIndex(weight->findText(QStringLiteral("3")));
        QCOMPARE(classFileOf(env), japaneseTests({QJsonObject(), QJsonObject{{"weight", 3}}}));
        QCOMPARE(c.list->item(1)->text(), QStringLiteral("二　（重み3）"));

        kind->setCurrentIndex(1);
        QCOMPARE(env.ui.messages.size(), 0);
        QCOMPARE(classFileOf(env), japaneseTests({QJsonObject(), QJsonObject{{"kind", "observation"}, {"weight", 3}}}));
        QCOMPARE(env.readLines(QStringLiteral("国語.dat")).mid(9, 2), (QStringList{"2", "3"}));  // viewpoint, full marks 3
        QCOMPARE(c.list->item(1)->text(), QStringLiteral("二　（観察・重み3）"));

        c.list->setCurrentRow(0);
        QCOMPARE(kind->currentIndex(), 0);
        const QByteArray scores = env.readBytes(QStringLiteral("国語.dat"));
        kind->setCurrentIndex(1);
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY2(env.ui.lastMessage().contains(QStringLiteral("「一」には3点より高い点数が入っている")), qPrintable(env.ui.lastMessage()));
        QCOMPARE(kind->currentIndex(), 0);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), scores);

        env.ui.clear();
        QTest::mouseClick(c.insertButton, Qt::LeftButton);
        QCOMPARE(classFileOf(env),
                 japaneseTests({QJsonObject{{"notEntered", QJsonObject{{"1", QJsonArray{1, 2}}}}}, QJsonObject(),
                                QJsonObject{{"kind", "observation"}, {"weight", 3}}}));
    }

    // A class file that cannot be read: score entry says so once, naming the file
    // and the place, opens the scores, and 保存終了 leaves the file as it was.
    void anUnreadableClassFileInScoreEntry()
    {
        TestEnv env;
        env.makeClass(pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("一"), {{1, 100, {50, 0, 70}}}}}));
        const QByteArray bad("{\"version\": 1, \"subjects\": {\"国語\": {\"tests\": [{\"weight\": 9}]}}}");
        env.writeBytes(QStringLiteral("assessment.json"), bad);
        EntryScreen entry = openEntry(env);
        QVERIFY(entry);
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages.first().icon, Ui::Icon::Warning);
        QVERIFY2(env.ui.messages.first().text.contains(QStringLiteral("「assessment.json」を読み込めません。\n項目「subjects」の「国語」の「tests」の1番目の「weight」")),
                 qPrintable(env.ui.messages.first().text));
        QCOMPARE(entry.rowCells(2), (QStringList{"0", "0", "", "", ""}));
        entry.clickCell(2, 3);
        QTest::keyClick(entry.grid, Qt::Key_Delete);
        env.ui.clear();
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 0);  // told when it opened; 未入力 cannot be kept
        QTRY_VERIFY(env.mainWindow()->mdiArea()->subWindowList().isEmpty());
        QCOMPARE(env.readBytes(QStringLiteral("assessment.json")), bad);
        QVERIFY(!env.exists(QStringLiteral("assessment.bak")));
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(scoreLines({{QStringLiteral("一"), {{1, 100, {50, 0, 70}}}}})));
    }

    // The test list tells of a class file that cannot be read when it opens, and
    // refuses to change a weight (or insert a test) while it cannot be read.
    void anUnreadableClassFileInTheTestList()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("一"), {{1, 100, {50, 60}}}}}));
        const QByteArray bad("{\"version\": 1,\n\"subjects\": {\"国語\": 1}}");
        env.writeBytes(QStringLiteral("assessment.json"), bad);
        TestListWindow* window = openTestList(env);
        QVERIFY(window);
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY2(env.ui.lastMessage().contains(QStringLiteral("項目「subjects」の「国語」：「{ }」ではありません")),
                 qPrintable(env.ui.lastMessage()));
        const ListControls c(window, "testList");
        QCOMPARE(c.list->count(), 1);
        const QByteArray scores = env.readBytes(QStringLiteral("国語.dat"));
        env.ui.clear();
        QComboBox* weight = child<QComboBox>(window, QStringLiteral("weightBox"));
        weight->setCurrentIndex(weight->findText(QStringLiteral("2")));
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("「assessment.json」を読み込めません")));
        QCOMPARE(weight->currentText(), QStringLiteral("1"));
        QTest::mouseClick(c.insertButton, Qt::LeftButton);
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("テストの一覧は変更していません")));
        QCOMPARE(env.readBytes(QStringLiteral("assessment.json")), bad);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), scores);
        QVERIFY(!env.exists(QStringLiteral("国語.Bak")));
    }
};

QTEST_MAIN(GradingWindowsTest)
#include "test_grading_windows.moc"
