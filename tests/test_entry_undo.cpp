// Undo and redo in score entry: typed scores, a "+" row, cleared cells, the test's
// name, viewpoints and full marks and an appended test go back step by step with
// Ctrl+Z to the state at opening and come again with Ctrl+Shift+Z and Ctrl+Y; each
// step shows its test and puts the cursor on its cell.

#include "EntryTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMenuBar>
#include <QKeyEvent>

using namespace EntryTest;

namespace {

// The keys go to the control that has the focus, as the teacher's keyboard sends them.
void undo(QWidget* where = nullptr)
{
    QTest::keyClick(where ? where : QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
}

void redoWithY(QWidget* where = nullptr)
{
    QTest::keyClick(where ? where : QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
}

void redoWithShiftZ(QWidget* where = nullptr)
{
    QTest::keyClick(where ? where : QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
}

// Japanese text typed character by character, as an input method commits it.
void typeText(QWidget* box, const QString& text)
{
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(box, &press);
    }
}

// Two tests of three pupils: "一" (one column of 50: 10, 20, 30) and "二" (two
// columns of 100 and 20: 40/5, 50/6, absent).
QStringList twoTests()
{
    return scoreLines({{QStringLiteral("一"), {{1, 50, {10, 20, 30}}}},
                      {QStringLiteral("二"), {{2, 100, {40, 50, -1}}, {3, 20, {5, 6, 0}}}}});
}

}  // namespace

class EntryUndoTest : public QObject {
    Q_OBJECT
private slots:
    void typedScoresGoBackToTheOpeningState()
    {
        TestEnv env;
        env.makeClass(pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"), twoTests());
        const QByteArray before = env.readBytes(QStringLiteral("国語.dat"));
        EntryScreen entry = openEntry(env);
        QCOMPARE(entry.testName->text(), QStringLiteral("二"));
        entry.clickCell(1, 3);
        entry.grid->setFocus();
        // Nothing done yet: nothing to undo.
        auto* undoAction = child<QAction>(entry.window, QStringLiteral("undoAction"));
        auto* redoAction = child<QAction>(entry.window, QStringLiteral("redoAction"));
        QVERIFY(!undoAction->isEnabled());
        QVERIFY(!redoAction->isEnabled());
        undo(entry.grid);
        QCOMPARE(entry.rowCells(1), (QStringList{"45", "40", "5", "", ""}));

        entry.type(QStringLiteral("7"));  // one digit waiting...
        entry.type(QStringLiteral("5"));  // ...and its second: one step
        QCOMPARE(entry.rowCells(1), (QStringList{"80", "75", "5", "", ""}));
        entry.clickCell(2, 3);
        entry.type(QStringLiteral("+"));  // every column of the row full: one step
        QCOMPARE(entry.rowCells(2), (QStringList{"120", "100", "20", "", ""}));
        entry.clickCell(1, 4);
        QTest::keyClick(entry.grid, Qt::Key_Delete);
        QCOMPARE(entry.rowCells(1), (QStringList{"75", "75", "", "", ""}));
        QCOMPARE(entry.cursorRow(), 1);

        // Back, step by step: each puts the cursor on the cell it changes.
        entry.clickCell(3, 2);
        undo(entry.grid);
        QCOMPARE(entry.rowCells(1), (QStringList{"80", "75", "5", "", ""}));
        QCOMPARE(std::pair(entry.cursorRow(), entry.cursorCol()), std::pair(1, 4));
        undo(entry.grid);
        QCOMPARE(entry.rowCells(2), (QStringList{"56", "50", "6", "", ""}));
        QCOMPARE(std::pair(entry.cursorRow(), entry.cursorCol()), std::pair(2, 3));
        undo(entry.grid);
        QCOMPARE(entry.rowCells(1), (QStringList{"45", "40", "5", "", ""}));
        QCOMPARE(std::pair(entry.cursorRow(), entry.cursorCol()), std::pair(1, 3));
        QVERIFY(!entry.window->holdsUnsavedChanges());
        QVERIFY(!undoAction->isEnabled());  // the state at opening: no further
        QVERIFY(redoAction->isEnabled());

        // Forward again with both keys.
        redoWithShiftZ(entry.grid);
        QCOMPARE(entry.rowCells(1), (QStringList{"80", "75", "5", "", ""}));
        redoWithY(entry.grid);
        QCOMPARE(entry.rowCells(2), (QStringList{"120", "100", "20", "", ""}));
        redoWithY(entry.grid);
        QCOMPARE(entry.rowCells(1), (QStringList{"75", "75", "", "", ""}));
        QVERIFY(!redoAction->isEnabled());
        QVERIFY(entry.window->holdsUnsavedChanges());

        // Saved as redone, kept 未入力 when asked: the cleared cell is stored as 0, as
        // the file always held it, and the class file lists it.
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY2(env.ui.messages.first().text.contains(QStringLiteral("No.2「二」：1人")), qPrintable(env.ui.lastMessage()));
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")),
                 crlf({"2", "\"一\"", "1", "1", "50", "10", "20", "30", "\"二\"", "2", "2", "100", "75", "100", "-1",
                       "3", "20", "0", "20", "0"}));
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), before);
        QCOMPARE(QJsonDocument::fromJson(env.readBytes(QStringLiteral("assessment.json"))).object(),
                 (QJsonObject{{"version", 1},
                              {"subjects", QJsonObject{{QStringLiteral("国語"),
                                                        QJsonObject{{"tests", QJsonArray{QJsonObject(),
                                                                                         QJsonObject{{"notEntered", QJsonObject{{"2", QJsonArray{1}}}}}}}}}}}}));
    }

    // An undo of a step made on another test shows that test first; undone back to
    // the opening, the screen holds nothing to save and closes without asking.
    void undoShowsTheTestOfTheStep()
    {
        TestEnv env;
        env.makeClass(pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"), twoTests());
        EntryScreen entry = openEntry(env);
        entry.clickCell(2, 4);
        entry.type(QStringLiteral("9"));
        QTest::keyClick(entry.grid, Qt::Key_Down);  // the lone digit is the score
        QCOMPARE(entry.rowCells(2), (QStringList{"59", "50", "9", "", ""}));
        QTest::mouseClick(entry.firstTestButton, Qt::LeftButton);
        QCOMPARE(entry.testName->text(), QStringLiteral("一"));
        entry.clickCell(3, 3);
        entry.type(QStringLiteral("/"));
        QCOMPARE(entry.rowCells(3), (QStringList{"欠席", "欠席", "", "", ""}));
        QTest::mouseClick(entry.lastTestButton, Qt::LeftButton);

        undo(entry.grid);
        QCOMPARE(entry.testNumber->text(), QStringLiteral("1"));
        QCOMPARE(entry.testName->text(), QStringLiteral("一"));
        QCOMPARE(entry.rowCells(3), (QStringList{"30", "30", "", "", ""}));
        QCOMPARE(std::pair(entry.cursorRow(), entry.cursorCol()), std::pair(3, 3));
        undo(entry.grid);
        QCOMPARE(entry.testNumber->text(), QStringLiteral("2"));
        QCOMPARE(entry.rowCells(2), (QStringList{"56", "50", "6", "", ""}));
        QCOMPARE(std::pair(entry.cursorRow(), entry.cursorCol()), std::pair(2, 4));
        QVERIFY(entry.grid->hasFocus());

        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QTRY_VERIFY(env.mainWindow()->mdiArea()->subWindowList().isEmpty());
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(twoTests()));
    }

    // The test's name typed letter by letter is one step; so are a viewpoint chosen,
    // a full mark typed, the column count, and an appended test. Ctrl+Z in a box
    // undoes the screen's step, not the box's own typing.
    void theTestInformationGoesBack()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(1, 2));
        EntryScreen entry = openEntry(env);
        QTest::mouseClick(entry.newTestButton, Qt::LeftButton);
        QCOMPARE(env.data.tests.count, 2);
        QVERIFY(entry.testName->hasFocus());
        typeText(entry.testName, QStringLiteral("かけ算"));
        entry.enterColumnCount(QStringLiteral("2"));
        entry.viewpointBoxes[1]->setFocus();
        entry.viewpointBoxes[1]->setCurrentIndex(3);
        entry.fullMarksBoxes[1]->setFocus();
        entry.fullMarksBoxes[1]->selectAll();
        QTest::keyClicks(entry.fullMarksBoxes[1], QStringLiteral("25"));
        QCOMPARE(entry.fullMarksBoxes[1]->text(), QStringLiteral("25"));

        undo(entry.fullMarksBoxes[1]);
        QCOMPARE(entry.fullMarksBoxes[1]->text(), QStringLiteral("0"));
        QVERIFY(entry.fullMarksBoxes[1]->hasFocus());
        undo();
        QCOMPARE(entry.viewpointBoxes[1]->currentIndex(), 0);
        QVERIFY(entry.viewpointBoxes[1]->hasFocus());
        undo();
        QCOMPARE(entry.columnCount->text(), QStringLiteral("1"));
        QVERIFY(!entry.viewpointBoxes[1]->isEnabled());
        undo();
        QCOMPARE(entry.testName->text(), QStringLiteral("新規テスト"));
        QVERIFY(entry.testName->hasFocus());
        undo();  // the appended test goes
        QCOMPARE(env.data.tests.count, 1);
        QCOMPARE(entry.testNumber->text(), QStringLiteral("1"));
        QCOMPARE(entry.testName->text(), QStringLiteral("テスト1"));
        QVERIFY(!child<QAction>(entry.window, QStringLiteral("undoAction"))->isEnabled());

        // All of it again, in order.
        for (int i = 0; i < 5; ++i)
            redoWithShiftZ();
        QCOMPARE(env.data.tests.count, 2);
        QCOMPARE(entry.testNumber->text(), QStringLiteral("2"));
        QCOMPARE(entry.testName->text(), QStringLiteral("かけ算"));
        QCOMPARE(entry.columnCount->text(), QStringLiteral("2"));
        QCOMPARE(entry.viewpointBoxes[1]->currentIndex(), 3);
        QCOMPARE(entry.fullMarksBoxes[1]->text(), QStringLiteral("25"));
        entry.viewpointBoxes[0]->setCurrentIndex(1);
        // Nothing typed into the new test: asked, and made 0.
        env.ui.choices.push_back(1);
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY2(env.ui.messages.first().text.contains(QStringLiteral("No.2「かけ算」：2人")), qPrintable(env.ui.lastMessage()));
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")),
                 crlf({"2", "\"テスト1\"", "1", "1", "100", "1", "1", "\"かけ算\"", "2", "1", "100", "0", "0", "3", "25",
                       "0", "0"}));
        QVERIFY(!env.exists(QStringLiteral("assessment.json")));
    }

    // The name typed, the box left, then more typed after coming back: two steps,
    // whichever way the teacher left the box. Ctrl+Z takes back the second typing
    // only, then the first.
    void aNameTypedInTwoVisitsIsTwoSteps_data()
    {
        QTest::addColumn<QString>("leaveBy");
        QTest::newRow("Tab") << QStringLiteral("Tab");
        QTest::newRow("Enter") << QStringLiteral("Enter");
        QTest::newRow("a click on the grid") << QStringLiteral("click");
    }

    void aNameTypedInTwoVisitsIsTwoSteps()
    {
        QFETCH(QString, leaveBy);
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(1, 2));
        EntryScreen entry = openEntry(env);
        QVERIFY(QTest::qWaitForWindowActive(env.mainWindow()));
        const auto visitName = [&entry] {
            QTest::mouseClick(entry.testName, Qt::LeftButton);
            QTRY_VERIFY(entry.testName->hasFocus());
            QTest::keyClick(entry.testName, Qt::Key_End);
        };
        visitName();
        typeText(entry.testName, QStringLiteral("九九"));
        if (leaveBy == QLatin1String("Tab"))
            QTest::keyClick(entry.testName, Qt::Key_Tab);
        else if (leaveBy == QLatin1String("Enter"))
            QTest::keyClick(entry.testName, Qt::Key_Return);
        else
            entry.clickCell(2, 3);
        QTRY_VERIFY(!entry.testName->hasFocus());
        visitName();
        typeText(entry.testName, QStringLiteral("の表"));
        QCOMPARE(entry.testName->text(), QStringLiteral("テスト1九九の表"));

        undo(entry.testName);
        QCOMPARE(entry.testName->text(), QStringLiteral("テスト1九九"));
        undo();
        QCOMPARE(entry.testName->text(), QStringLiteral("テスト1"));
        QVERIFY(!child<QAction>(entry.window, QStringLiteral("undoAction"))->isEnabled());
        redoWithY();
        QCOMPARE(entry.testName->text(), QStringLiteral("テスト1九九"));
        redoWithY();
        QCOMPARE(entry.testName->text(), QStringLiteral("テスト1九九の表"));
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(env.ui.beeps, 0);
    }

    void theEditMenuNamesItsKeys()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        EntryScreen entry = openEntry(env);
        auto* menu = child<QMenu>(entry.window, QStringLiteral("editMenu"));
        QCOMPARE(menu->title(), QStringLiteral("編集(&E)"));
        QStringList items;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                items << a->text() + QLatin1Char(' ') + a->shortcut().toString(QKeySequence::PortableText);
        QCOMPARE(items, (QStringList{"元に戻す(&U) Ctrl+Z", "やり直し(&R) Ctrl+Y", "コピー(&C) Ctrl+C",
                                     "貼り付け(&P) Ctrl+V", "消去(&D)\tDelete "}));
        QCOMPARE(child<QAction>(entry.window, QStringLiteral("redoAction"))->shortcuts().size(), 2);
        // Alt+E opens this menu, not the main window's 編集.
        QVERIFY(QTest::qWaitForWindowActive(env.mainWindow()));
        entry.grid->setFocus();
        QTRY_VERIFY(entry.grid->hasFocus());
        QTest::keyClick(entry.grid, Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(menu->isVisible());
        menu->close();
    }
};

QTEST_MAIN(EntryUndoTest)
#include "test_entry_undo.moc"
