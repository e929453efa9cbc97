// Leaving score entry while it holds scores that are not saved: closing the window by
// each of its routes and ending the program by menu or Alt+F4 ask 保存して終了 /
// 保存しないで終了 / キャンセル, and each answer does what it says to the score file.

#include "MainWindowControls.h"
#include "EntryTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

using namespace MainControls;
using namespace EntryTest;

namespace {

const QStringList Choices{QStringLiteral("保存して終了"), QStringLiteral("保存しないで終了"), QStringLiteral("キャンセル")};
enum { Save, DontSave, Cancel };

// Two pupils, one test "テスト1" with the scores 1 and 1; score entry open on it with
// 42 typed for the first pupil.
EntryScreen openWithATypedScore(TestEnv& env)
{
    env.makeClass(pupilNames(2));
    env.writeFile(QStringLiteral("国語.dat"), simpleTests(1, 2));
    EntryScreen entry = openEntry(env);
    entry.type(QStringLiteral("42"));
    return entry;
}

const QByteArray savedWith42 = crlf({"1", "\"テスト1\"", "1", "1", "100", "42", "1"});

// The score file after an answer: written with the 42 (after its ".Bak") or untouched.
void checkFile(TestEnv& env, int answer)
{
    if (answer == Save) {
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), savedWith42);
        QCOMPARE(env.readBytes(QStringLiteral("国語.Bak")), crlf(simpleTests(1, 2)));
    } else {
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(simpleTests(1, 2)));
        QVERIFY(!env.exists(QStringLiteral("国語.Bak")));
    }
}

// キャンセル: score entry stays open with the typed score, holding the commands.
void checkStillOpen(TestEnv& env, const EntryScreen& entry)
{
    QCOMPARE(env.mainWindow()->mdiArea()->subWindowList().size(), 1);
    QCOMPARE(entry.rowCells(1), (QStringList{"42", "42", "", "", ""}));
    QVERIFY(!entry.window->isUnloaded());
    QVERIFY(!toolbarButton(*env.mainWindow(), "scoreEntryButton")->isEnabled());
}

}  // namespace

class EntryLeaveTest : public QObject {
    Q_OBJECT
private slots:
    void closingTheWindowAsks_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<int>("answer");
        for (const char* route : {"close box", "Ctrl+F4", "Esc", "中止", "破棄終了"})
            for (int answer : {Save, DontSave, Cancel})
                QTest::addRow("%s, %s", route, qPrintable(Choices[answer])) << QString::fromUtf8(route) << answer;
    }

    void closingTheWindowAsks()
    {
        QFETCH(QString, route);
        QFETCH(int, answer);
        TestEnv env;
        EntryScreen entry = openWithATypedScore(env);
        env.ui.choices = {answer};
        if (route == QStringLiteral("close box"))
            entry.window->subWindow()->close();
        else if (route == QStringLiteral("Ctrl+F4")) {
            QApplication::setActiveWindow(env.mainWindow());
            QTest::keyClick(entry.grid, Qt::Key_F4, Qt::ControlModifier);
        }
        else if (route == QStringLiteral("Esc")) {
            QApplication::setActiveWindow(env.mainWindow());
            QTest::keyClick(entry.grid, Qt::Key_Escape);
        }
        else if (route == QStringLiteral("中止"))
            QTest::mouseClick(entry.closeWithoutSavingButton, Qt::LeftButton);
        else
            entry.discardAndCloseAction->trigger();

        QCOMPARE(env.ui.messages.size(), 1);
        const ScriptedUi::Message asked = env.ui.messages[0];
        QCOMPARE(asked.text, QStringLiteral("入力した点数はまだ保存されていません。\n保存してから、点数入力を終了しますか？"));
        QCOMPARE(asked.choices, Choices);
        QCOMPARE(asked.escapeChoice, int(Cancel));
        // Every way out focuses 保存して終了, 中止 and 破棄終了 included: a slip of
        // Enter never throws away the scores typed.
        QCOMPARE(asked.defaultChoice, int(Save));
        checkFile(env, answer);
        if (answer == Cancel)
            checkStillOpen(env, entry);
        else
            QTRY_VERIFY(env.mainWindow()->mdiArea()->subWindowList().isEmpty());
    }

    // A single Enter on the question of 中止 or 破棄終了 keeps the scores typed.
    void enterOnTheQuestionSaves()
    {
        for (const char* route : {"中止", "破棄終了"}) {
            TestEnv env;
            EntryScreen entry = openWithATypedScore(env);
            env.ui.pressEnter = true;
            if (qstrcmp(route, "中止") == 0)
                QTest::mouseClick(entry.closeWithoutSavingButton, Qt::LeftButton);
            else
                entry.discardAndCloseAction->trigger();
            QCOMPARE(env.ui.messages.size(), 1);
            checkFile(env, Save);
            QTRY_VERIFY(env.mainWindow()->mdiArea()->subWindowList().isEmpty());
        }
    }

    // 保存して終了 runs the checks of 保存終了: a test they refuse is shown, nothing is
    // written and the window stays.
    void saveAnswerRunsTheSaveChecks()
    {
        TestEnv env;
        EntryScreen entry = openWithATypedScore(env);
        entry.testName->clear();
        env.ui.choices = {Save};
        entry.window->subWindow()->close();
        QCOMPARE(env.ui.messageTexts().size(), 2);
        QCOMPARE(env.ui.messageTexts()[1], QStringLiteral("テスト名を入力してください"));
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(simpleTests(1, 2)));
        QCOMPARE(env.mainWindow()->mdiArea()->subWindowList().size(), 1);
        QCOMPARE(entry.cellText(1, 3), QStringLiteral("42"));
    }

    void endingTheProgramAsks_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<int>("answer");
        // The menu's かざねの終了 and the toolbar's 終了 are one command; it stays on
        // while score entry is open, and the window asks first.
        for (const char* route : {"かざねの終了", "終　了", "Alt+F4"})
            for (int answer : {Save, DontSave, Cancel})
                QTest::addRow("%s, %s", route, qPrintable(Choices[answer])) << QString::fromUtf8(route) << answer;
    }

    void endingTheProgramAsks()
    {
        QFETCH(QString, route);
        QFETCH(int, answer);
        TestEnv env;
        EntryScreen entry = openWithATypedScore(env);
        MainWindow* window = env.mainWindow();
        env.ui.choices = {answer};
        QVERIFY(toolbarButton(*window, "endButton")->isEnabled());
        if (route == QStringLiteral("かざねの終了"))
            menuEntry(*window, "endAction")->trigger();
        else if (route == QStringLiteral("終　了"))
            QTest::mouseClick(toolButton(*window, "endButton"), Qt::LeftButton);
        else
            QCOMPARE(window->close(), answer != Cancel);

        QCOMPARE(env.ui.messages.size(), 1);
        const ScriptedUi::Message asked = env.ui.messages[0];
        QCOMPARE(asked.text, QStringLiteral("入力した点数はまだ保存されていません。\n保存してから、かざねを終了しますか？"));
        QCOMPARE(asked.choices, Choices);
        QCOMPARE(asked.defaultChoice, int(Save));
        QCOMPARE(asked.escapeChoice, int(Cancel));
        QCOMPARE(window->isVisible(), answer == Cancel);
        checkFile(env, answer);
        if (answer == Cancel)
            checkStillOpen(env, entry);
    }

    // Ending with nothing typed asks nothing; 保存して終了 whose checks refuse keeps
    // the program running with the failing test shown.
    void endingWithoutChangesOrWithARefusedSave()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(2, 2));
        EntryScreen entry = openEntry(env);
        MainWindow* window = env.mainWindow();
        QTest::mouseClick(entry.firstTestButton, Qt::LeftButton);
        entry.fullMarksBoxes[0]->setText(QStringLiteral("120"));
        env.ui.choices = {Save};
        menuEntry(*window, "endAction")->trigger();
        QCOMPARE(env.ui.messageTexts().size(), 2);
        QCOMPARE(env.ui.messageTexts()[1], QStringLiteral("各観点の満点は100点以内にしてください"));
        QVERIFY(window->isVisible());
        QCOMPARE(entry.testNumber->text(), QStringLiteral("1"));
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(simpleTests(2, 2)));

        entry.fullMarksBoxes[0]->setText(QStringLiteral("100"));
        env.ui.clear();
        window->close();
        QVERIFY(env.ui.messages.isEmpty());
        QVERIFY(!window->isVisible());
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), crlf(simpleTests(2, 2)));
    }
};

QTEST_MAIN(EntryLeaveTest)
#include "test_entry_leave.moc"
