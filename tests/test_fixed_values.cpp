// The fixed-input values window, opened from score entry without blocking it.

#include "MainWindowControls.h"
#include "EntryTestSupport.h"
#include "entry/FixedValuesDialog.h"

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSettings>

using namespace MainControls;
using namespace EntryTest;

namespace {
QString stored(TestEnv& env, const char* key)
{
    env.settings->sync();
    return env.settings->value(QStringLiteral("UseMode/") + QLatin1String(key)).toString();
}
}  // namespace

class FixedValuesTest : public QObject {
    Q_OBJECT
private slots:
    void defaultsAreShownAndStored()
    {
        TestEnv env;
        env.makeClass(pupilNames(1));
        EntryScreen entry = openEntry(env);
        QVERIFY(stored(env, "Kotei1").isEmpty());  // not in the store yet
        QTest::mouseClick(entry.fixedValuesButton, Qt::LeftButton);
        FixedValuesDialog* fixedValues = entry.window->fixedValuesDialog();
        QVERIFY(fixedValues);
        QCOMPARE(fixedValues->windowTitle(), QStringLiteral("固定入力モードの設定"));
        QVERIFY(fixedValues->isVisible());
        QVERIFY(!fixedValues->isModal());
        QVERIFY(!env.ui.modalDialogs.contains(QStringLiteral("FixedValuesDialog")));
        QCOMPARE(fixedValueBox(fixedValues, 3)->text(), QStringLiteral("100"));
        QCOMPARE(fixedValueBox(fixedValues, 2)->text(), QStringLiteral("80"));
        QCOMPARE(fixedValueBox(fixedValues, 1)->text(), QStringLiteral("60"));
        // Each box stands on the row of the key whose value it holds.
        QCOMPARE(child<QLabel>(fixedValues, QStringLiteral("key3Label"))->text(), QStringLiteral("「３」を入力したら"));
        QCOMPARE(child<QLabel>(fixedValues, QStringLiteral("key1Label"))->text(), QStringLiteral("「１」を入力したら"));
        QCOMPARE(button(fixedValues, "okButton")->text(), QStringLiteral("決定(&O)"));
        QCOMPARE(button(fixedValues, "cancelButton")->text(), QStringLiteral("ｷｬﾝｾﾙ"));

        // The score grid stays usable while the window is open.
        entry.viewpointBoxes[0]->setCurrentIndex(1);
        entry.clickCell(1, 3);
        entry.type(QStringLiteral("12"));
        QCOMPARE(entry.cellText(1, 3), QStringLiteral("12"));

        QTest::mouseClick(button(fixedValues, "okButton"), Qt::LeftButton);
        QTRY_VERIFY(!entry.window->fixedValuesDialog());
        QCOMPARE(stored(env, "Kotei1"), QStringLiteral("60"));
        QCOMPARE(stored(env, "Kotei2"), QStringLiteral("80"));
        QCOMPARE(stored(env, "Kotei3"), QStringLiteral("100"));
        QCOMPARE(stored(env, "SenkaMode"), QStringLiteral("0"));
    }

    void newValuesAreUsedByTheFixedMode()
    {
        TestEnv env;
        env.makeClass(pupilNames(4));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(1, 4));
        EntryScreen entry = openEntry(env);
        entry.fixedValuesAction->trigger();
        FixedValuesDialog* fixedValues = entry.window->fixedValuesDialog();
        QVERIFY(fixedValues);
        // A second request brings the same window forward.
        QTest::mouseClick(entry.fixedValuesButton, Qt::LeftButton);
        QCOMPARE(entry.window->fixedValuesDialog(), fixedValues);
        QCOMPARE(entry.window->findChildren<FixedValuesDialog*>().size(), 1);

        fixedValueBox(fixedValues, 3)->setText(QStringLiteral("95"));
        fixedValueBox(fixedValues, 2)->setText(QStringLiteral("75"));
        fixedValueBox(fixedValues, 1)->setText(QStringLiteral("0"));
        QTest::mouseClick(button(fixedValues, "okButton"), Qt::LeftButton);
        QCOMPARE(env.data.fixedValues[1], 0);
        QCOMPARE(env.data.fixedValues[2], 75);
        QCOMPARE(env.data.fixedValues[3], 95);
        QCOMPARE(stored(env, "Kotei1"), QStringLiteral("0"));
        QCOMPARE(stored(env, "Kotei3"), QStringLiteral("95"));

        QTest::mouseClick(entry.fixedModeButton, Qt::LeftButton);
        entry.type(QStringLiteral("12*3"));
        QCOMPARE(entry.cellText(1, 3), QStringLiteral("0"));
        QCOMPARE(entry.cellText(2, 3), QStringLiteral("75"));
        QCOMPARE(entry.cellText(3, 3), QStringLiteral("95"));
        QCOMPARE(entry.cellText(4, 3), QStringLiteral("95"));
    }

    void cancelAndBadValuesChangeNothing()
    {
        TestEnv env;
        env.makeClass(pupilNames(1));
        EntryScreen entry = openEntry(env);
        QTest::mouseClick(entry.fixedValuesButton, Qt::LeftButton);
        FixedValuesDialog* fixedValues = entry.window->fixedValuesDialog();
        fixedValueBox(fixedValues, 1)->setText(QStringLiteral("55"));
        QTest::mouseClick(button(fixedValues, "cancelButton"), Qt::LeftButton);
        QTRY_VERIFY(!entry.window->fixedValuesDialog());
        QCOMPARE(env.data.fixedValues[1], 60);
        QVERIFY(stored(env, "Kotei1").isEmpty());

        // An empty box or a value above 100: a message, the window stays, nothing stored.
        QTest::mouseClick(entry.fixedValuesButton, Qt::LeftButton);
        fixedValues = entry.window->fixedValuesDialog();
        QCOMPARE(fixedValueBox(fixedValues, 1)->text(), QStringLiteral("60"));
        fixedValueBox(fixedValues, 2)->clear();
        QTest::mouseClick(button(fixedValues, "okButton"), Qt::LeftButton);
        QCOMPARE(env.ui.lastMessage(), QStringLiteral("「２」を入力したときの点数を、0から100までの数字で入力してください。"));
        QVERIFY(fixedValues->isVisible());
        fixedValueBox(fixedValues, 2)->setText(QStringLiteral("80"));
        fixedValueBox(fixedValues, 3)->setText(QStringLiteral("120"));
        QTest::mouseClick(button(fixedValues, "okButton"), Qt::LeftButton);
        QCOMPARE(env.ui.lastMessage(), QStringLiteral("「３」を入力したときの点数を、0から100までの数字で入力してください。"));
        QCOMPARE(env.data.fixedValues[3], 100);
        QVERIFY(stored(env, "Kotei3").isEmpty());
        // Only digits can be typed.
        fixedValueBox(fixedValues, 3)->clear();
        QTest::keyClicks(fixedValueBox(fixedValues, 3), QStringLiteral("-a7x0"));
        QCOMPARE(fixedValueBox(fixedValues, 3)->text(), QStringLiteral("70"));

        // Closing score entry closes the window with it.
        QPointer<FixedValuesDialog> open = fixedValues;
        QTest::mouseClick(entry.closeWithoutSavingButton, Qt::LeftButton);
        QTRY_VERIFY(!open || !open->isVisible());
    }

    void aBoxSelectsItsTextAndActivationSwitchesPrintOff()
    {
        TestEnv env;
        env.makeClass(pupilNames(1));
        EntryScreen entry = openEntry(env);
        QTest::mouseClick(entry.fixedValuesButton, Qt::LeftButton);
        FixedValuesDialog* fixedValues = entry.window->fixedValuesDialog();
        fixedValues->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fixedValues));
        fixedValueBox(fixedValues, 2)->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(fixedValueBox(fixedValues, 2)->selectedText(), QStringLiteral("80"));
        env.mainWindow()->enablePrint();
        env.mainWindow()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(env.mainWindow()));
        fixedValues->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fixedValues));
        QTRY_VERIFY(!toolbarButton(*env.mainWindow(), "previewButton")->isEnabled());
    }
};

QTEST_MAIN(FixedValuesTest)
#include "test_fixed_values.moc"
