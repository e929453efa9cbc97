// 評定基準 in 環境設定 with grading against goals: 目標に準拠の評価にする sets every
// subject after asking; the boxes of 到達率で and 観点から are edited, checked and
// stored at 終了, and only the keys that were set reach the settings file.

#include "SettingsControls.h"
#include "MainWindowControls.h"
#include "TestEnv.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSettings>

using namespace SettingsControls;
using Controls::child;

namespace {

SettingsWindow* openSettings(MainWindow& window)
{
    MainControls::menuEntry(window, "settingsAction")->trigger();
    for (QMdiSubWindow* frame : window.mdiArea()->subWindowList())
        if (auto* dialog = qobject_cast<SettingsWindow*>(frame->widget()))
            return dialog;
    return nullptr;
}

void setBox(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(box, &event);
}

QCheckBox* countedBox(const SettingsWindow* w, int v)
{
    return child<QCheckBox>(criteriaGroup(w, 0), QStringLiteral("countedViewpoint%1").arg(v));
}

QString stored(TestEnv& env, const QString& key)
{
    QSettings store(env.settingsFile(), QSettings::IniFormat);
    return store.value(QStringLiteral("UseMode/") + key).toString();
}

bool storedKey(TestEnv& env, const QString& key)
{
    QSettings store(env.settingsFile(), QSettings::IniFormat);
    return store.contains(QStringLiteral("UseMode/") + key);
}

}  // namespace

class GradingSettingsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void goalsButtonSetsEverySubjectAfterAsking()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        MainWindow& window = env.startMainWindow();
        SettingsWindow* dialog = openSettings(window);
        QVERIFY(dialog);
        const QPointer<SettingsWindow> guard(dialog);
        QVERIFY(!basisOption(dialog, 1, "goalOption")->isChecked());
        QCOMPARE(basisOption(dialog, 0, "goalOption")->text(), QStringLiteral("観点から"));
        QCOMPARE(basisOption(dialog, 1, "goalOption")->text(), QStringLiteral("到達率で"));
        QVERIFY(!thresholdBox(dialog, 1, "goalBestBox")->isEnabled());

        // Cancelled: nothing changes.
        env.ui.answers.push_back(Ui::Answer::Cancel);
        child<QPushButton>(dialog, "goalsButton")->click();
        QVERIFY(env.ui.lastMessage().startsWith(QStringLiteral("全教科の評定基準を目標に準拠の評価にします。")));
        QVERIFY(basisOption(dialog, 0, "rankOption")->isChecked());

        env.ui.answers.push_back(Ui::Answer::Ok);
        child<QPushButton>(dialog, "goalsButton")->click();
        QVERIFY(basisOption(dialog, 0, "goalOption")->isChecked());
        QCOMPARE(thresholdBox(dialog, 0, "goalBestBox")->text(), QStringLiteral("2.5"));
        QCOMPARE(thresholdBox(dialog, 0, "goalLowestBox")->text(), QStringLiteral("1.5"));
        QVERIFY(thresholdBox(dialog, 0, "goalBestBox")->isEnabled());
        QVERIFY(!thresholdBox(dialog, 0, "bestUpToRankBox")->isEnabled());
        for (int v = 1; v <= 4; ++v) {
            QVERIFY(basisOption(dialog, v, "goalOption")->isChecked());
            QCOMPARE(thresholdBox(dialog, v, "goalBestBox")->text(), QStringLiteral("80"));
            QCOMPARE(thresholdBox(dialog, v, "goalLowestBox")->text(), QStringLiteral("50"));
            QVERIFY(countedBox(dialog, v)->isChecked());
        }
        chooseSubject(dialog, 9);
        QVERIFY(basisOption(dialog, 3, "goalOption")->isChecked());

        // 体育: 観点Ⅲ from 70 %, and the third viewpoint left out of 評定. A "C" threshold
        // above the "A" one is refused at 終了, with the box shown.
        setBox(thresholdBox(dialog, 3, "goalBestBox"), QStringLiteral("７０"));
        setBox(thresholdBox(dialog, 3, "goalLowestBox"), QStringLiteral("75"));
        countedBox(dialog, 3)->setChecked(false);
        env.ui.clear();
        closeButton(dialog)->click();
        QCOMPARE(env.ui.lastMessage(),
                 QStringLiteral("「体育」の評定基準「観点Ⅲ」の「％未満がＣ」には「％以上がＡ」の数以下の数を入力してください。"));
        QVERIFY(guard);
        QVERIFY(dialog->isVisible());
        setBox(thresholdBox(dialog, 3, "goalLowestBox"), QStringLiteral("40"));
        // 観点から takes decimals of one or two places from 1 to 3.
        setBox(thresholdBox(dialog, 0, "goalBestBox"), QStringLiteral("3.5"));
        closeButton(dialog)->click();
        QCOMPARE(env.ui.lastMessage(),
                 QStringLiteral("「体育」の評定基準「総合」の「以上が３」には1から3までの数（小数第2位まで）を入力してください。"));
        setBox(thresholdBox(dialog, 0, "goalBestBox"), QStringLiteral("2.25"));
        env.ui.clear();
        closeButton(dialog)->click();
        QVERIFY(env.ui.messages.isEmpty());

        for (int s = 1; s <= 9; ++s) {
            QCOMPARE(env.data.criteria[s].overall().basis, GradeBasis::Goals);
            QCOMPARE(stored(env, QStringLiteral("sHyoteiMode%1").arg(s)), QStringLiteral("3"));
            for (int v = 1; v <= 4; ++v)
                QCOMPARE(stored(env, QStringLiteral("rHyoteiMode%1%2").arg(s).arg(v)), QStringLiteral("3"));
        }
        QCOMPARE(env.data.criteria[9].viewpoint(3).attainedFromPercent, 70);
        QCOMPARE(env.data.criteria[9].viewpoint(3).lowestBelowPercent, 40);
        QCOMPARE(stored(env, QStringLiteral("rHyotei937")), QStringLiteral("70"));
        QCOMPARE(stored(env, QStringLiteral("rHyotei938")), QStringLiteral("40"));
        QCOMPARE(stored(env, QStringLiteral("sHyotei97")), QStringLiteral("2.25"));
        QCOMPARE(stored(env, QStringLiteral("sHyoteiKanten9")), QStringLiteral("1101"));
        // The defaults are not written: 国語 keeps its keys of today.
        QVERIFY(!storedKey(env, QStringLiteral("rHyotei117")));
        QVERIFY(!storedKey(env, QStringLiteral("sHyotei17")));
        QVERIFY(!storedKey(env, QStringLiteral("sHyoteiKanten1")));
    }

    // The window shows a stored basis against goals, and the first start points to
    // the button.
    void storedGoalsAreShown()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        env.settings->setValue(QStringLiteral("UseMode/sHyoteiMode1"), QStringLiteral("3"));
        env.settings->setValue(QStringLiteral("UseMode/sHyotei18"), QStringLiteral("1.25"));
        env.settings->setValue(QStringLiteral("UseMode/sHyoteiKanten1"), QStringLiteral("0111"));
        env.settings->setValue(QStringLiteral("UseMode/rHyoteiMode12"), QStringLiteral("3"));
        env.settings->setValue(QStringLiteral("UseMode/rHyotei127"), QStringLiteral("85"));
        env.settings->sync();
        MainWindow& window = env.startMainWindow();
        SettingsWindow* dialog = openSettings(window);
        QVERIFY(dialog);
        QVERIFY(basisOption(dialog, 0, "goalOption")->isChecked());
        QCOMPARE(thresholdBox(dialog, 0, "goalLowestBox")->text(), QStringLiteral("1.25"));
        QVERIFY(!countedBox(dialog, 1)->isChecked());
        QVERIFY(countedBox(dialog, 2)->isChecked());
        QVERIFY(basisOption(dialog, 2, "goalOption")->isChecked());
        QCOMPARE(thresholdBox(dialog, 2, "goalBestBox")->text(), QStringLiteral("85"));
        QVERIFY(basisOption(dialog, 1, "rankOption")->isChecked());
        QVERIFY(firstStartGuide(dialog)->text().contains(QStringLiteral("「目標に準拠の評価にする」")));
    }
};

QTEST_MAIN(GradingSettingsWindowTest)
#include "test_grading_settings_window.moc"
