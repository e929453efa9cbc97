// Borrowing a test definition from another class in specialist mode.

#include "MainWindowControls.h"
#include "EntryTestSupport.h"
#include "model/ScoreFile.h"
#include "entry/OtherClassTestPicker.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>

using namespace MainControls;
using namespace EntryTest;

namespace {

// Specialist mode: class ４の１ with three pupils; ５の１ (class 4) and ５の２
// (class 5) with tests of their own.
void makeClasses(TestEnv& env)
{
    env.makeClass(pupilNames(3), true);
    env.writeFile(QStringLiteral("５の１.nam"), rosterLines({QStringLiteral("甲"), QStringLiteral("乙")}));
    env.writeFile(QStringLiteral("５の１.dat"),
                  scoreLines({{QStringLiteral("計算ドリル"), {{1, 10, {1, 2}}, {2, 20, {3, 4}}, {3, 30, {5, 6}}, {4, 40, {7, 8}}}},
                             {QStringLiteral("単元テスト１"), {{1, 50, {45, -1}}, {3, 50, {40, 30}}}}}));
    env.writeFile(QStringLiteral("５の２.nam"), rosterLines({QStringLiteral("丙")}));
    env.writeFile(QStringLiteral("５の２.dat"),
                  scoreLines({{QStringLiteral("聞き取り"), {{2, 25, {20}}, {4, 35, {30}}}}}));
}

// The picker's controls, found by their object names.
struct Picker {
    explicit Picker(QDialog& dialog)
        : dialog(dialog),
          classList(child<QComboBox>(&dialog, QStringLiteral("classList"))),
          testList(child<QListWidget>(&dialog, QStringLiteral("testList"))),
          copyButton(button(&dialog, "copyButton")),
          cancelButton(button(&dialog, "cancelButton"))
    {
    }
    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < testList->count(); ++i)
            names << testList->item(i)->text();
        return names;
    }
    void doubleClick(int row) const
    {
        const QRect at = testList->visualItemRect(testList->item(row));
        QTest::mouseClick(testList->viewport(), Qt::LeftButton, {}, at.center());
        QTest::mouseDClick(testList->viewport(), Qt::LeftButton, {}, at.center());
    }
    // The definition the picker hands back to score entry.
    const TestDefinition& chosen() const { return static_cast<OtherClassTestPicker&>(dialog).chosenTest(); }

    QDialog& dialog;
    QComboBox* classList;
    QListWidget* testList;
    QPushButton* copyButton;
    QPushButton* cancelButton;
};

}  // namespace

class OtherClassPickerTest : public QObject {
    Q_OBJECT
private slots:
    void copiesATwoColumnTest()
    {
        TestEnv env;
        makeClasses(env);
        EntryScreen entry = openEntry(env);
        QVERIFY(entry);
        QCOMPARE(entry.window->subWindow()->windowTitle(), QStringLiteral("成績入力-４の１-通常入力"));
        QVERIFY(entry.otherClassButton->isEnabled());
        bool ran = false;
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            Picker window(dialog);
            QCOMPARE(window.dialog.windowTitle(), QStringLiteral("他クラステスト名参照"));
            QCOMPARE(window.classList->count(), 9);
            QCOMPARE(window.classList->itemText(8), QStringLiteral("６の３"));
            // Class 1 is current: its own (empty) list is shown.
            QCOMPARE(window.classList->currentText(), QStringLiteral("４の１"));
            QCOMPARE(window.testList->count(), 0);
            window.classList->setCurrentIndex(3);
            QCOMPARE(window.listed(), (QStringList{"計算ドリル", "単元テスト１"}));
            window.doubleClick(1);
            ran = true;
        });
        QTest::mouseClick(entry.otherClassButton, Qt::LeftButton);
        QVERIFY(ran);
        QCOMPARE(env.ui.modalDialogs.last(), QStringLiteral("OtherClassTestPicker"));
        QCOMPARE(entry.testName->text(), QStringLiteral("単元テスト１"));
        QCOMPARE(entry.columnCount->text(), QStringLiteral("2"));
        QCOMPARE(entry.viewpointBoxes[0]->currentIndex(), 1);
        QCOMPARE(entry.viewpointBoxes[1]->currentIndex(), 3);
        QCOMPARE(entry.viewpointBoxes[2]->currentIndex(), 0);
        QCOMPARE(entry.viewpointBoxes[3]->currentIndex(), 0);
        const QStringList marks{"50", "50", "0", "0"};
        for (int k = 0; k < 4; ++k)
            QCOMPARE(entry.fullMarksBoxes[k]->text(), marks[k]);
        QVERIFY(entry.viewpointBoxes[1]->isEnabled());
        QVERIFY(!entry.viewpointBoxes[2]->isEnabled());
        QCOMPARE(entry.cursorRow(), 1);
        QCOMPARE(entry.cursorCol(), 3);
        QCOMPARE(env.mainWindow()->focusWidget(), static_cast<QWidget*>(entry.grid));
        // Only the definition came over; the scores are typed here and saved.
        QCOMPARE(env.data.tests.name[1], QString());
        entry.type(QStringLiteral("+"));
        entry.type(QStringLiteral("*"));
        QCOMPARE(env.ui.lastMessage(), QStringLiteral("満点を超えた点数です"));
        entry.type(QStringLiteral("4030"));
        entry.type(QStringLiteral("/25"));
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QCOMPARE(env.readBytes(QStringLiteral("４の１.dat")),
                 crlf({"1", "\"単元テスト１\"", "2", "1", "50", "50", "40", "-1", "3", "50", "50", "30", "25"}));
    }

    void opensOnTheClassBeforeTheCurrentOne()
    {
        TestEnv env;
        makeClasses(env);
        MainWindow& window = env.startMainWindow();
        chooseClass(window, 5);
        QCOMPARE(env.data.classNumber, 5);
        EntryScreen entry(qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow()));
        QVERIFY(entry);
        QCOMPARE(entry.window->subWindow()->windowTitle(), QStringLiteral("成績入力-５の２-通常入力"));
        QCOMPARE(entry.testName->text(), QStringLiteral("聞き取り"));
        // The shown test has a name of its own: 参照 only beeps.
        QTest::mouseClick(entry.otherClassButton, Qt::LeftButton);
        QCOMPARE(env.ui.beeps, 1);
        QVERIFY(!env.ui.modalDialogs.contains(QStringLiteral("OtherClassTestPicker")));

        QTest::mouseClick(entry.newTestButton, Qt::LeftButton);
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            Picker window(dialog);
            QCOMPARE(window.classList->currentText(), QStringLiteral("５の１"));
            QCOMPARE(window.listed(), (QStringList{"計算ドリル", "単元テスト１"}));
        });
        QTest::mouseClick(entry.otherClassButton, Qt::LeftButton);
        QCOMPARE(env.ui.modalDialogs.last(), QStringLiteral("OtherClassTestPicker"));
        QCOMPARE(entry.testName->text(), QStringLiteral("新規テスト"));
    }

    void columnsLeftByAnEarlierClassStayInTheWindow()
    {
        TestEnv env;
        makeClasses(env);
        EntryScreen entry = openEntry(env);
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            Picker window(dialog);
            window.classList->setCurrentIndex(3);
            window.classList->setCurrentIndex(4);
            QCOMPARE(window.listed(), QStringList{"聞き取り"});
            window.testList->setCurrentRow(0);
            QTest::mouseClick(window.copyButton, Qt::LeftButton);
            // The first test took two columns from ５の２; its columns 3 and 4 are
            // still those of 計算ドリル, and come over with it.
            QCOMPARE(window.dialog.result(), int(QDialog::Accepted));
            QCOMPARE(window.chosen().name, QStringLiteral("聞き取り"));
            QCOMPARE(window.chosen().columnCount, 2);
            const std::array<TestColumn, 4> columns{{{2, 25}, {4, 35}, {3, 30}, {4, 40}}};
            QCOMPARE(window.chosen().columns, columns);
        });
        QTest::mouseClick(entry.otherClassButton, Qt::LeftButton);
        QCOMPARE(entry.testName->text(), QStringLiteral("聞き取り"));
        QCOMPARE(entry.viewpointBoxes[0]->currentIndex(), 2);
        QCOMPARE(entry.viewpointBoxes[1]->currentIndex(), 4);
        QCOMPARE(entry.fullMarksBoxes[1]->text(), QStringLiteral("35"));
        QCOMPARE(entry.fullMarksBoxes[2]->text(), QStringLiteral("30"));
        QCOMPARE(entry.fullMarksBoxes[3]->text(), QStringLiteral("40"));
        // The column count governs: no viewpoint is left in columns 3 and 4.
        QCOMPARE(entry.viewpointBoxes[2]->currentIndex(), 0);
        QCOMPARE(entry.viewpointBoxes[3]->currentIndex(), 0);
        QVERIFY(!entry.fullMarksBoxes[2]->isEnabled());
        entry.clickCell(1, 5);
        entry.type(QStringLiteral("12"));
        QCOMPARE(entry.cellText(1, 5), QString());
    }

    void cancelEscapeAndNoSelectionLeaveTheScreen()
    {
        TestEnv env;
        makeClasses(env);
        EntryScreen entry = openEntry(env);
        bool stayedOpen = false;
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            Picker window(dialog);
            window.classList->setCurrentIndex(3);
            QTest::mouseClick(window.copyButton, Qt::LeftButton);  // nothing selected
            stayedOpen = window.dialog.isVisible() && window.dialog.result() != QDialog::Accepted;
            window.testList->setCurrentRow(0);
            QTest::mouseClick(window.cancelButton, Qt::LeftButton);
        });
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            Picker window(dialog);
            window.classList->setCurrentIndex(3);
            window.testList->setCurrentRow(1);
            QTest::keyClick(&window.dialog, Qt::Key_Escape);
        });
        QTest::mouseClick(entry.otherClassButton, Qt::LeftButton);
        QVERIFY(stayedOpen);
        QTest::mouseClick(entry.otherClassButton, Qt::LeftButton);
        QCOMPARE(env.ui.modalDialogs.count(QStringLiteral("OtherClassTestPicker")), 2);
        QCOMPARE(entry.testName->text(), QStringLiteral("新規テスト"));
        QCOMPARE(entry.columnCount->text(), QStringLiteral("1"));
        QCOMPARE(entry.viewpointBoxes[0]->currentIndex(), 0);
        QCOMPARE(entry.fullMarksBoxes[0]->text(), QStringLiteral("100"));
        QCOMPARE(entry.fullMarksBoxes[1]->text(), QStringLiteral("0"));
    }

    void missingFilesOfTheChosenClass()
    {
        TestEnv env;
        makeClasses(env);
        EntryScreen entry = openEntry(env);
        // Removed after start-up, which creates the files a data folder lacks.
        QVERIFY(QFile::remove(env.dataFolder() + QStringLiteral("４の２.dat")));
        QVERIFY(QFile::remove(env.dataFolder() + QStringLiteral("４の３.nam")));
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            Picker window(dialog);
            window.classList->setCurrentIndex(3);
            window.classList->setCurrentIndex(1);
            QCOMPARE(window.testList->count(), 0);
            QCOMPARE(env.ui.lastMessage(), ScoreFile::missingMessage(QStringLiteral("４の２")));
            window.classList->setCurrentIndex(2);
            QCOMPARE(window.testList->count(), 0);
            QCOMPARE(env.ui.lastMessage(),
                     QStringLiteral("氏名ﾃﾞｰﾀﾌｧｲﾙ(４の３.NAM)が見つかりません。ﾃﾞｰﾀﾌｫﾙﾀﾞの指定が違うか、"
                                    "氏名ﾌｧｲﾙが存在していないので、環境設定を確認するか、編集－氏名ﾒﾝﾃﾅﾝｽで作成してください。"));
            // A score file that does not match its roster is named with its line.
            env.writeFile(QStringLiteral("６の１.dat"), {"1", "\"途中まで\"", "1", "1"});
            window.classList->setCurrentIndex(6);
            QCOMPARE(window.testList->count(), 0);
            QVERIFY(env.ui.lastMessage().contains(QStringLiteral("６の１.dat")));
        });
        QTest::mouseClick(entry.otherClassButton, Qt::LeftButton);
        QCOMPARE(env.ui.messages.size(), 3);
    }
};

QTEST_MAIN(OtherClassPickerTest)
#include "test_other_class_picker.moc"
