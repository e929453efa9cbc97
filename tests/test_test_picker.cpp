// The test selection: the list of tests, mouse selection with CTRL and SHIFT, the
// two buttons and the flags they write, on its own and as the overall tally opens it.

#include "MainWindowControls.h"
#include "TallyFixtures.h"
#include "TestEnv.h"
#include "reports/TestPickerDialog.h"
#include "reports/OverallTallyWindow.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace MainControls;
using namespace TallyFixtures;

namespace {

void clickLine(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
}

QList<int> flags(const TestSet& set, int count)
{
    QList<int> values;
    for (int t = 1; t <= count; ++t)
        values << set.selected[t];
    return values;
}

}  // namespace

class TestPickerTest : public QObject {
    Q_OBJECT

    // Five tests in savedTests; flag 6 set beforehand to see that it is left alone.
    static void fiveTests(TestEnv& env)
    {
        TestSet& set = env.data.savedTests;
        set.clear();
        set.count = 5;
        for (int t = 1; t <= 5; ++t)
            set.name[t] = QStringLiteral("テスト%1").arg(t);
        set.selected[6] = -1;
    }

private slots:
    void listsTheTestsWithItsHint()
    {
        TestEnv env;
        fiveTests(env);
        TestPickerDialog dialog(*env.ctx);
        dialog.prepare();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("集計テストの選択"));
        QCOMPARE(dialog.Lt_Test->count(), 5);
        QCOMPARE(dialog.Lt_Test->item(1)->text(), QStringLiteral("テスト2"));
        QCOMPARE(dialog.Lt_Test->selectedItems().size(), 0);
        QCOMPARE(dialog.Lt_Test->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(dialog.Label1->text(),
                 QStringLiteral("CTRL+ﾏｳｽｸﾘｯｸで飛び飛びに、SHIFT+ﾏｳｽｸﾘｯｸで連続したテストを選択することができます"));
        QCOMPARE(dialog.Command1->text(), QStringLiteral("&O K"));
        QCOMPARE(dialog.Bt_All->text(), QStringLiteral("(&A)全テスト"));
    }

    void writesTheChosenFlags()
    {
        {
            // Tests 2 and 4 by click and CTRL+click.
            TestEnv env;
            fiveTests(env);
            TestPickerDialog dialog(*env.ctx);
            dialog.prepare();
            dialog.show();
            clickLine(dialog.Lt_Test, 1);
            clickLine(dialog.Lt_Test, 3, Qt::ControlModifier);
            dialog.Command1->click();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(flags(env.data.savedTests, 6), (QList<int>{0, -1, 0, -1, 0, -1}));
        }
        {
            // SHIFT+click takes the range; CTRL+click takes one out again.
            TestEnv env;
            fiveTests(env);
            TestPickerDialog dialog(*env.ctx);
            dialog.prepare();
            dialog.show();
            clickLine(dialog.Lt_Test, 0);
            clickLine(dialog.Lt_Test, 3, Qt::ShiftModifier);
            clickLine(dialog.Lt_Test, 1, Qt::ControlModifier);
            dialog.Command1->click();
            QCOMPARE(flags(env.data.savedTests, 5), (QList<int>{-1, 0, -1, -1, 0}));
        }
        {
            // 全テスト selects every line and chooses every test.
            TestEnv env;
            fiveTests(env);
            TestPickerDialog dialog(*env.ctx);
            dialog.prepare();
            dialog.show();
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            clickLine(dialog.Lt_Test, 2);
            QTest::keyClick(dialog.windowHandle(), Qt::Key_A, Qt::AltModifier);
            QTRY_COMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(dialog.Lt_Test->selectedItems().size(), 5);
            QCOMPARE(flags(env.data.savedTests, 6), (QList<int>{-1, -1, -1, -1, -1, -1}));
        }
        {
            // O K with nothing selected leaves every listed test out.
            TestEnv env;
            fiveTests(env);
            for (int t = 1; t <= 5; ++t)
                env.data.savedTests.selected[t] = -1;
            TestPickerDialog dialog(*env.ctx);
            dialog.prepare();
            dialog.show();
            dialog.Command1->click();
            QCOMPARE(flags(env.data.savedTests, 6), (QList<int>{0, 0, 0, 0, 0, -1}));
        }
    }

    void changesNothingWithoutTestsOrWhenClosed()
    {
        for (QString button : {QStringLiteral("Command1"), QStringLiteral("Bt_All")}) {
            TestEnv env;
            env.data.savedTests.clear();
            env.data.savedTests.selected[1] = -1;
            TestPickerDialog dialog(*env.ctx);
            dialog.prepare();
            dialog.show();
            QCOMPARE(dialog.Lt_Test->count(), 0);
            dialog.findChild<QPushButton*>(button)->click();
            QVERIFY(!dialog.isVisible());
            QCOMPARE(flags(env.data.savedTests, 2), (QList<int>{-1, 0}));
        }
        {
            // Closed by its frame (Esc): no flag is written.
            TestEnv env;
            fiveTests(env);
            TestPickerDialog dialog(*env.ctx);
            dialog.prepare();
            dialog.show();
            clickLine(dialog.Lt_Test, 1);
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QCOMPARE(flags(env.data.savedTests, 5), (QList<int>{0, 0, 0, 0, 0}));
        }
    }

    // The overall tally runs the selection while it opens: the choice lands in tests.
    void choosesTheTestsOfTheOverallTally()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({
                                                      {QStringLiteral("漢字１"), {{1, 100, {80, 60}}}},
                                                      {QStringLiteral("漢字２"), {{1, 100, {40, 100}}}},
                                                      {QStringLiteral("漢字３"), {{1, 100, {90, 70}}}},
                                                  }));
        MainWindow& window = env.startMainWindow();
        env.ui.clear();
        bool printWasOff = false;
        QStringList listed;
        env.ui.modalHandlers.push_back([&](QDialog& d) {
            auto& dialog = static_cast<TestPickerDialog&>(d);
            printWasOff = !toolbarButton(window, "printButton")->isEnabled();
            for (int i = 0; i < dialog.Lt_Test->count(); ++i)
                listed << dialog.Lt_Test->item(i)->text();
            clickLine(dialog.Lt_Test, 0);
            clickLine(dialog.Lt_Test, 2, Qt::ControlModifier);
            dialog.Command1->click();
        });
        auto* tally = qobject_cast<OverallTallyWindow*>(window.openOverallTallyWindow());
        QVERIFY(tally);
        QCOMPARE(env.ui.modalDialogs, QStringList{QStringLiteral("TestPickerDialog")});
        QVERIFY(printWasOff);
        QCOMPARE(listed, (QStringList{"漢字１", "漢字２", "漢字３"}));
        QCOMPARE(flags(env.data.tests, 3), (QList<int>{-1, 0, -1}));
        // Tests 1 and 3 only: 青木 (80 + 90) / 2 = 85.0, 石田 (60 + 70) / 2 = 65.0.
        QCOMPARE(tally->tally()->overall[1].average, 85.0f);
        QCOMPARE(tally->tally()->overall[2].average, 65.0f);
    }
};

QTEST_MAIN(TestPickerTest)
#include "test_test_picker.moc"
