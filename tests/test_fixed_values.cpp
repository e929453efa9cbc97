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
        env.makeClass(pupils(1));
        ScoreEntryWindow* entry = openEntry(env);
        QVERIFY(stored(env, "Kotei1").isEmpty());  // not in the store yet
        QTest::mouseClick(entry->cmdMode, Qt::LeftButton);
        FixedValuesDialog* kmode = entry->modeDialog();
        QVERIFY(kmode);
        QCOMPARE(kmode->windowTitle(), QStringLiteral("固定入力モードの設定"));
        QVERIFY(kmode->isVisible());
        QVERIFY(!kmode->isModal());
        QVERIFY(!env.ui.modalDialogs.contains(QStringLiteral("FixedValuesDialog")));
        QCOMPARE(kmode->Tx_Ten[0]->text(), QStringLiteral("100"));
        QCOMPARE(kmode->Tx_Ten[1]->text(), QStringLiteral("80"));
        QCOMPARE(kmode->Tx_Ten[2]->text(), QStringLiteral("60"));
        // Each box stands on the row of the key whose value it holds.
        QCOMPARE(kmode->Label1[0]->text(), QStringLiteral("「３」を入力したら"));
        QCOMPARE(kmode->Label1[2]->text(), QStringLiteral("「１」を入力したら"));
        QCOMPARE(kmode->Command1[0]->text(), QStringLiteral("決定(&O)"));
        QCOMPARE(kmode->Command1[1]->text(), QStringLiteral("ｷｬﾝｾﾙ"));

        // The score grid stays usable while the window is open.
        entry->Cb_Ryoiki[0]->setCurrentIndex(1);
        entry->setCursor(1, 3);
        type(entry, QStringLiteral("12"));
        QCOMPARE(entry->cellText(1, 3), QStringLiteral("12"));

        QTest::mouseClick(kmode->Command1[0], Qt::LeftButton);
        QTRY_VERIFY(!entry->modeDialog());
        QCOMPARE(stored(env, "Kotei1"), QStringLiteral("60"));
        QCOMPARE(stored(env, "Kotei2"), QStringLiteral("80"));
        QCOMPARE(stored(env, "Kotei3"), QStringLiteral("100"));
        QCOMPARE(stored(env, "SenkaMode"), QStringLiteral("0"));
    }

    void newValuesAreUsedByTheFixedMode()
    {
        TestEnv env;
        env.makeClass(pupils(4));
        env.writeFile(QStringLiteral("国語.dat"), simpleTests(1, 4));
        ScoreEntryWindow* entry = openEntry(env);
        entry->menuModeSet->trigger();
        FixedValuesDialog* kmode = entry->modeDialog();
        QVERIFY(kmode);
        // A second request brings the same window forward.
        entry->cmdMode_Click();
        QCOMPARE(entry->modeDialog(), kmode);
        QCOMPARE(entry->findChildren<FixedValuesDialog*>().size(), 1);

        kmode->Tx_Ten[0]->setText(QStringLiteral("95"));
        kmode->Tx_Ten[1]->setText(QStringLiteral("75"));
        kmode->Tx_Ten[2]->setText(QStringLiteral("0"));
        kmode->Command1_Click(0);
        QCOMPARE(env.data.fixedValues[1], 0);
        QCOMPARE(env.data.fixedValues[2], 75);
        QCOMPARE(env.data.fixedValues[3], 95);
        QCOMPARE(stored(env, "Kotei1"), QStringLiteral("0"));
        QCOMPARE(stored(env, "Kotei3"), QStringLiteral("95"));

        entry->opMode_Click(1);
        type(entry, QStringLiteral("12*3"));
        QCOMPARE(entry->cellText(1, 3), QStringLiteral("0"));
        QCOMPARE(entry->cellText(2, 3), QStringLiteral("75"));
        QCOMPARE(entry->cellText(3, 3), QStringLiteral("95"));
        QCOMPARE(entry->cellText(4, 3), QStringLiteral("95"));
    }

    void cancelAndBadValuesChangeNothing()
    {
        TestEnv env;
        env.makeClass(pupils(1));
        ScoreEntryWindow* entry = openEntry(env);
        entry->cmdMode_Click();
        FixedValuesDialog* kmode = entry->modeDialog();
        kmode->Tx_Ten[2]->setText(QStringLiteral("55"));
        QTest::mouseClick(kmode->Command1[1], Qt::LeftButton);
        QTRY_VERIFY(!entry->modeDialog());
        QCOMPARE(env.data.fixedValues[1], 60);
        QVERIFY(stored(env, "Kotei1").isEmpty());

        // An empty box or a value above 100: a message, the window stays, nothing stored.
        entry->cmdMode_Click();
        kmode = entry->modeDialog();
        QCOMPARE(kmode->Tx_Ten[2]->text(), QStringLiteral("60"));
        kmode->Tx_Ten[1]->clear();
        kmode->Command1_Click(0);
        QCOMPARE(env.ui.lastMessage(), QStringLiteral("「２」を入力したときの点数を、0から100までの数字で入力してください。"));
        QVERIFY(kmode->isVisible());
        kmode->Tx_Ten[1]->setText(QStringLiteral("80"));
        kmode->Tx_Ten[0]->setText(QStringLiteral("120"));
        kmode->Command1_Click(0);
        QCOMPARE(env.ui.lastMessage(), QStringLiteral("「３」を入力したときの点数を、0から100までの数字で入力してください。"));
        QCOMPARE(env.data.fixedValues[3], 100);
        QVERIFY(stored(env, "Kotei3").isEmpty());
        // Only digits can be typed.
        kmode->Tx_Ten[0]->clear();
        QTest::keyClicks(kmode->Tx_Ten[0], QStringLiteral("-a7x0"));
        QCOMPARE(kmode->Tx_Ten[0]->text(), QStringLiteral("70"));

        // Closing score entry closes the window with it.
        QPointer<FixedValuesDialog> open = kmode;
        entry->cmdEnd_Click(1);
        QTRY_VERIFY(!open || !open->isVisible());
    }

    void aBoxSelectsItsTextAndActivationSwitchesPrintOff()
    {
        TestEnv env;
        env.makeClass(pupils(1));
        ScoreEntryWindow* entry = openEntry(env);
        entry->cmdMode_Click();
        FixedValuesDialog* kmode = entry->modeDialog();
        kmode->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(kmode));
        kmode->Tx_Ten[1]->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(kmode->Tx_Ten[1]->selectedText(), QStringLiteral("80"));
        env.mainWindow()->enablePrint();
        env.mainWindow()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(env.mainWindow()));
        kmode->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(kmode));
        QTRY_VERIFY(!toolbarButton(*env.mainWindow(), "previewButton")->isEnabled());
    }
};

QTEST_MAIN(FixedValuesTest)
#include "test_fixed_values.moc"
