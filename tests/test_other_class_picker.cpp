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
    env.makeClass(pupils(3), true);
    env.writeFile(QStringLiteral("５の１.nam"), {"2", "\"甲\"", "\"乙\""});
    env.writeFile(QStringLiteral("５の１.dat"),
                  scoreFile({testLines(QStringLiteral("計算ドリル"), {{1, 10, {1, 2}}, {2, 20, {3, 4}}, {3, 30, {5, 6}}, {4, 40, {7, 8}}}),
                             testLines(QStringLiteral("単元テスト１"), {{1, 50, {45, -1}}, {3, 50, {40, 30}}})}));
    env.writeFile(QStringLiteral("５の２.nam"), {"1", "\"丙\""});
    env.writeFile(QStringLiteral("５の２.dat"),
                  scoreFile({testLines(QStringLiteral("聞き取り"), {{2, 25, {20}}, {4, 35, {30}}})}));
}

OtherClassTestPicker& other(QDialog& dialog)
{
    return static_cast<OtherClassTestPicker&>(dialog);
}

QStringList listed(OtherClassTestPicker& dialog)
{
    QStringList names;
    for (int i = 0; i < dialog.Lt_TestName->count(); ++i)
        names << dialog.Lt_TestName->item(i)->text();
    return names;
}

void doubleClick(OtherClassTestPicker& dialog, int row)
{
    QListWidget* list = dialog.Lt_TestName;
    const QRect at = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at.center());
}

}  // namespace

class OtherClassPickerTest : public QObject {
    Q_OBJECT
private slots:
    void copiesATwoColumnTest()
    {
        TestEnv env;
        makeClasses(env);
        ScoreEntryWindow* entry = openEntry(env);
        QVERIFY(entry);
        QCOMPARE(entry->subWindow()->windowTitle(), QStringLiteral("成績入力-４の１-通常入力"));
        QVERIFY(entry->Bt_Tname->isEnabled());
        bool ran = false;
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            OtherClassTestPicker& window = other(dialog);
            QCOMPARE(window.windowTitle(), QStringLiteral("他クラステスト名参照"));
            QCOMPARE(window.Cb_ClassName->count(), 9);
            QCOMPARE(window.Cb_ClassName->itemText(8), QStringLiteral("６の３"));
            // Class 1 is current: its own (empty) list is shown.
            QCOMPARE(window.Cb_ClassName->currentText(), QStringLiteral("４の１"));
            QCOMPARE(window.Lt_TestName->count(), 0);
            window.Cb_ClassName->setCurrentIndex(3);
            QCOMPARE(listed(window), (QStringList{"計算ドリル", "単元テスト１"}));
            doubleClick(window, 1);
            ran = true;
        });
        QTest::mouseClick(entry->Bt_Tname, Qt::LeftButton);
        QVERIFY(ran);
        QCOMPARE(env.ui.modalDialogs.last(), QStringLiteral("OtherClassTestPicker"));
        QCOMPARE(entry->TxTitle->text(), QStringLiteral("単元テスト１"));
        QCOMPARE(entry->Tx_RyoikiSu->text(), QStringLiteral("2"));
        QCOMPARE(entry->Cb_Ryoiki[0]->currentIndex(), 1);
        QCOMPARE(entry->Cb_Ryoiki[1]->currentIndex(), 3);
        QCOMPARE(entry->Cb_Ryoiki[2]->currentIndex(), 0);
        QCOMPARE(entry->Cb_Ryoiki[3]->currentIndex(), 0);
        const QStringList marks{"50", "50", "0", "0"};
        for (int k = 0; k < 4; ++k)
            QCOMPARE(entry->Tx_Manten[k]->text(), marks[k]);
        QVERIFY(entry->Cb_Ryoiki[1]->isEnabled());
        QVERIFY(!entry->Cb_Ryoiki[2]->isEnabled());
        QCOMPARE(entry->cursorRow(), 1);
        QCOMPARE(entry->cursorCol(), 3);
        QCOMPARE(env.mainWindow()->focusWidget(), static_cast<QWidget*>(entry->Grid1));
        // Only the definition came over; the scores are typed here and saved.
        QCOMPARE(env.data.tests.name[1], QString());
        type(entry, QStringLiteral("+"));
        type(entry, QStringLiteral("*"));
        QCOMPARE(env.ui.lastMessage(), QStringLiteral("満点を超えた点数です"));
        type(entry, QStringLiteral("4030"));
        type(entry, QStringLiteral("/25"));
        entry->cmdEnd_Click(0);
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
        auto* entry = qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow());
        QVERIFY(entry);
        QCOMPARE(entry->subWindow()->windowTitle(), QStringLiteral("成績入力-５の２-通常入力"));
        QCOMPARE(entry->TxTitle->text(), QStringLiteral("聞き取り"));
        // The shown test has a name of its own: 参照 only beeps.
        entry->Bt_Tname_Click();
        QCOMPARE(env.ui.beeps, 1);
        QVERIFY(!env.ui.modalDialogs.contains(QStringLiteral("OtherClassTestPicker")));

        entry->cmdNew_Click();
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            QCOMPARE(other(dialog).Cb_ClassName->currentText(), QStringLiteral("５の１"));
            QCOMPARE(listed(other(dialog)), (QStringList{"計算ドリル", "単元テスト１"}));
        });
        entry->Bt_Tname_Click();
        QCOMPARE(env.ui.modalDialogs.last(), QStringLiteral("OtherClassTestPicker"));
        QCOMPARE(entry->TxTitle->text(), QStringLiteral("新規テスト"));
    }

    void columnsLeftByAnEarlierClassStayInTheWindow()
    {
        TestEnv env;
        makeClasses(env);
        ScoreEntryWindow* entry = openEntry(env);
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            OtherClassTestPicker& window = other(dialog);
            window.Cb_ClassName->setCurrentIndex(3);
            window.Cb_ClassName->setCurrentIndex(4);
            QCOMPARE(listed(window), QStringList{"聞き取り"});
            // Slot 1 took two columns from ５の２; its columns 3 and 4 are still
            // those of 計算ドリル, and test 2 of ５の１ is still held.
            QCOMPARE(window.OtherViewpointCount[1], 2);
            QCOMPARE(window.OtherViewpointKind[1][2], 4);
            QCOMPARE(window.OtherViewpointKind[1][3], 3);
            QCOMPARE(window.OtherFullMarks[1][4], 40);
            QCOMPARE(window.OtherFullMarks[2][1], 50);
            window.Lt_TestName->setCurrentRow(0);
            QTest::mouseClick(window.Bt_OK[0], Qt::LeftButton);
        });
        entry->Bt_Tname_Click();
        QCOMPARE(entry->TxTitle->text(), QStringLiteral("聞き取り"));
        QCOMPARE(entry->Cb_Ryoiki[0]->currentIndex(), 2);
        QCOMPARE(entry->Cb_Ryoiki[1]->currentIndex(), 4);
        QCOMPARE(entry->Tx_Manten[1]->text(), QStringLiteral("35"));
        QCOMPARE(entry->Tx_Manten[2]->text(), QStringLiteral("30"));
        QCOMPARE(entry->Tx_Manten[3]->text(), QStringLiteral("40"));
        // The column count governs: no viewpoint is left in columns 3 and 4.
        QCOMPARE(entry->Cb_Ryoiki[2]->currentIndex(), 0);
        QCOMPARE(entry->Cb_Ryoiki[3]->currentIndex(), 0);
        QVERIFY(!entry->Tx_Manten[2]->isEnabled());
        entry->setCursor(1, 5);
        type(entry, QStringLiteral("12"));
        QCOMPARE(entry->cellText(1, 5), QString());
    }

    void cancelEscapeAndNoSelectionLeaveTheScreen()
    {
        TestEnv env;
        makeClasses(env);
        ScoreEntryWindow* entry = openEntry(env);
        bool stayedOpen = false;
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            OtherClassTestPicker& window = other(dialog);
            window.Cb_ClassName->setCurrentIndex(3);
            QTest::mouseClick(window.Bt_OK[0], Qt::LeftButton);  // nothing selected
            stayedOpen = window.isVisible() && window.result() != QDialog::Accepted;
            window.Lt_TestName->setCurrentRow(0);
            QTest::mouseClick(window.Bt_OK[1], Qt::LeftButton);
        });
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            OtherClassTestPicker& window = other(dialog);
            window.Cb_ClassName->setCurrentIndex(3);
            window.Lt_TestName->setCurrentRow(1);
            QTest::keyClick(&window, Qt::Key_Escape);
        });
        entry->Bt_Tname_Click();
        QVERIFY(stayedOpen);
        entry->Bt_Tname_Click();
        QCOMPARE(env.ui.modalDialogs.count(QStringLiteral("OtherClassTestPicker")), 2);
        QCOMPARE(entry->TxTitle->text(), QStringLiteral("新規テスト"));
        QCOMPARE(entry->Tx_RyoikiSu->text(), QStringLiteral("1"));
        QCOMPARE(entry->Cb_Ryoiki[0]->currentIndex(), 0);
        QCOMPARE(entry->Tx_Manten[0]->text(), QStringLiteral("100"));
        QCOMPARE(entry->Tx_Manten[1]->text(), QStringLiteral("0"));
    }

    void missingFilesOfTheChosenClass()
    {
        TestEnv env;
        makeClasses(env);
        ScoreEntryWindow* entry = openEntry(env);
        // Removed after start-up, which creates the files a data folder lacks.
        QVERIFY(QFile::remove(env.dataFolder() + QStringLiteral("４の２.dat")));
        QVERIFY(QFile::remove(env.dataFolder() + QStringLiteral("４の３.nam")));
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            OtherClassTestPicker& window = other(dialog);
            window.Cb_ClassName->setCurrentIndex(3);
            window.Cb_ClassName->setCurrentIndex(1);
            QCOMPARE(window.Lt_TestName->count(), 0);
            QCOMPARE(env.ui.lastMessage(), ScoreFile::missingMessage(QStringLiteral("４の２")));
            window.Cb_ClassName->setCurrentIndex(2);
            QCOMPARE(window.Lt_TestName->count(), 0);
            QCOMPARE(env.ui.lastMessage(),
                     QStringLiteral("氏名ﾃﾞｰﾀﾌｧｲﾙ(４の３.NAM)が見つかりません。ﾃﾞｰﾀﾌｫﾙﾀﾞの指定が違うか、"
                                    "氏名ﾌｧｲﾙが存在していないので、環境設定を確認するか、編集－氏名ﾒﾝﾃﾅﾝｽで作成してください。"));
            // A score file that does not match its roster is named with its line.
            env.writeFile(QStringLiteral("６の１.dat"), {"1", "\"途中まで\"", "1", "1"});
            window.Cb_ClassName->setCurrentIndex(6);
            QCOMPARE(window.Lt_TestName->count(), 0);
            QVERIFY(env.ui.lastMessage().contains(QStringLiteral("６の１.dat")));
        });
        entry->Bt_Tname_Click();
        QCOMPARE(env.ui.messages.size(), 3);
    }
};

QTEST_MAIN(OtherClassPickerTest)
#include "test_other_class_picker.moc"
