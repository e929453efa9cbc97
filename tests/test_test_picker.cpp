// The test selection: the list of tests, mouse selection with CTRL and SHIFT, the
// two buttons and the tests they choose, on its own and as the overall tally opens it.

#include "MainWindowControls.h"
#include "DataFiles.h"
#include "TallyReadBack.h"
#include "Controls.h"
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
using namespace DataFiles;
using namespace TallyReadBack;

using Controls::child;

namespace {

void clickLine(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
}

}  // namespace

class TestPickerTest : public QObject {
    Q_OBJECT

    // Five tests, and a sixth beyond the count that must never be listed or chosen.
    static TestSet fiveTests()
    {
        TestSet set;
        set.count = 5;
        for (int t = 1; t <= 6; ++t)
            set.name[t] = QStringLiteral("テスト%1").arg(t);
        return set;
    }

private slots:
    void listsTheTestsWithItsHint()
    {
        TestEnv env;
        TestPickerDialog dialog(*env.ctx);
        dialog.prepare(fiveTests());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("集計テストの選択"));
        QCOMPARE(child<QListWidget>(&dialog, "testList")->count(), 5);
        QCOMPARE(child<QListWidget>(&dialog, "testList")->item(1)->text(), QStringLiteral("テスト2"));
        QCOMPARE(child<QListWidget>(&dialog, "testList")->selectedItems().size(), 0);
        QCOMPARE(child<QListWidget>(&dialog, "testList")->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(child<QLabel>(&dialog, "hint")->text(),
                 QStringLiteral("CTRL+ﾏｳｽｸﾘｯｸで飛び飛びに、SHIFT+ﾏｳｽｸﾘｯｸで連続したテストを選択することができます"));
        QCOMPARE(child<QPushButton>(&dialog, "okButton")->text(), QStringLiteral("&O K"));
        QCOMPARE(child<QPushButton>(&dialog, "allButton")->text(), QStringLiteral("(&A)全テスト"));
    }

    void returnsTheChosenTests()
    {
        {
            // Tests 2 and 4 by click and CTRL+click.
            TestEnv env;
            TestPickerDialog dialog(*env.ctx);
            dialog.prepare(fiveTests());
            dialog.show();
            clickLine(child<QListWidget>(&dialog, "testList"), 1);
            clickLine(child<QListWidget>(&dialog, "testList"), 3, Qt::ControlModifier);
            child<QPushButton>(&dialog, "okButton")->click();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(dialog.chosenTests(), (QList<int>{2, 4}));
        }
        {
            // SHIFT+click takes the range; CTRL+click takes one out again.
            TestEnv env;
            TestPickerDialog dialog(*env.ctx);
            dialog.prepare(fiveTests());
            dialog.show();
            clickLine(child<QListWidget>(&dialog, "testList"), 0);
            clickLine(child<QListWidget>(&dialog, "testList"), 3, Qt::ShiftModifier);
            clickLine(child<QListWidget>(&dialog, "testList"), 1, Qt::ControlModifier);
            child<QPushButton>(&dialog, "okButton")->click();
            QCOMPARE(dialog.chosenTests(), (QList<int>{1, 3, 4}));
        }
        {
            // 全テスト selects every line and chooses every test.
            TestEnv env;
            TestPickerDialog dialog(*env.ctx);
            dialog.prepare(fiveTests());
            dialog.show();
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            clickLine(child<QListWidget>(&dialog, "testList"), 2);
            QTest::keyClick(dialog.windowHandle(), Qt::Key_A, Qt::AltModifier);
            QTRY_COMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(child<QListWidget>(&dialog, "testList")->selectedItems().size(), 5);
            QCOMPARE(dialog.chosenTests(), (QList<int>{1, 2, 3, 4, 5}));
        }
        {
            // O K with nothing selected leaves every listed test out, even after
            // an earlier choice of every test.
            TestEnv env;
            TestPickerDialog dialog(*env.ctx);
            dialog.prepare(fiveTests());
            dialog.show();
            child<QPushButton>(&dialog, "allButton")->click();
            QCOMPARE(dialog.chosenTests().size(), 5);
            dialog.prepare(fiveTests());
            dialog.show();
            child<QPushButton>(&dialog, "okButton")->click();
            QCOMPARE(dialog.chosenTests(), QList<int>());
        }
    }

    void choosesNothingWithoutTestsOrWhenClosed()
    {
        for (QString button : {QStringLiteral("okButton"), QStringLiteral("allButton")}) {
            TestEnv env;
            TestSet none;
            none.name[1] = QStringLiteral("テスト1");  // beyond the count: not a test
            TestPickerDialog dialog(*env.ctx);
            dialog.prepare(none);
            dialog.show();
            QCOMPARE(child<QListWidget>(&dialog, "testList")->count(), 0);
            dialog.findChild<QPushButton*>(button)->click();
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.chosenTests(), QList<int>());
        }
        {
            // Closed by its frame (Esc): no test is chosen.
            TestEnv env;
            TestPickerDialog dialog(*env.ctx);
            dialog.prepare(fiveTests());
            dialog.show();
            clickLine(child<QListWidget>(&dialog, "testList"), 1);
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QCOMPARE(dialog.chosenTests(), QList<int>());
        }
    }

    // The overall tally runs the selection while it opens and tallies the chosen tests.
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
            for (int i = 0; i < child<QListWidget>(&dialog, "testList")->count(); ++i)
                listed << child<QListWidget>(&dialog, "testList")->item(i)->text();
            clickLine(child<QListWidget>(&dialog, "testList"), 0);
            clickLine(child<QListWidget>(&dialog, "testList"), 2, Qt::ControlModifier);
            child<QPushButton>(&dialog, "okButton")->click();
        });
        auto* tally = qobject_cast<OverallTallyWindow*>(window.openOverallTallyWindow());
        QVERIFY(tally);
        QCOMPARE(env.ui.modalDialogs, QStringList{QStringLiteral("TestPickerDialog")});
        QVERIFY(printWasOff);
        QCOMPARE(listed, (QStringList{"漢字１", "漢字２", "漢字３"}));
        QCOMPARE(tally->tally()->chosenTests, (QList<int>{1, 3}));
        // Tests 1 and 3 only: 青木 (80 + 90) / 2 = 85.0, 石田 (60 + 70) / 2 = 65.0.
        QCOMPARE(tally->tally()->overall[1].average, TallyNumber::of(85.0));
        QCOMPARE(tally->tally()->overall[2].average, TallyNumber::of(65.0));
    }
};

QTEST_MAIN(TestPickerTest)
#include "test_test_picker.moc"
