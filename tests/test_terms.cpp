// Terms: the months of three terms or two as the settings keep them (written only
// once changed), the attendance's term tallies that follow them, the term of a test
// set in score entry's test information and in テストのメンテナンス (landing in
// assessment.json), 総合集計's 「1学期のテスト」 choosing a term's tests in one step,
// and the 学期 of 環境設定 reaching the attendance window.

#include "Controls.h"
#include "EntryTestSupport.h"
#include "ListControls.h"
#include "MainWindowControls.h"
#include "SampleClass.h"
#include "app/SettingsWindow.h"
#include "attendance/AttendanceWindow.h"
#include "maintenance/TestListWindow.h"
#include "model/AppSettings.h"
#include "reports/OverallTallyWindow.h"
#include "reports/TestPickerDialog.h"
#include "tally/AttendanceTally.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMdiSubWindow>
#include <QRadioButton>

Q_DECLARE_METATYPE(TermPlan)

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

TermPlan twoTerms(int laterStart)
{
    TermPlan plan;
    plan.count = 2;
    plan.twoStarts[1] = laterStart;
    return plan;
}

}  // namespace

class TermsTest : public QObject {
    Q_OBJECT
private slots:
    void theMonthsOfEachTerm_data()
    {
        QTest::addColumn<TermPlan>("plan");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<int>>("firstAndLast");  // per tally 0..3: first, last
        QTest::newRow("three, as always") << TermPlan() << QStringList{"1学期", "2学期", "3学期"}
                                          << QList<int>{1, 4, 5, 9, 10, 12, 1, 12};
        QTest::newRow("前期・後期 from October") << twoTerms(7) << QStringList{"前期", "後期"}
                                                << QList<int>{1, 6, 7, 12, 0, -1, 1, 12};
        QTest::newRow("後期 from September") << twoTerms(6) << QStringList{"前期", "後期"}
                                            << QList<int>{1, 5, 6, 12, 0, -1, 1, 12};
    }
    void theMonthsOfEachTerm()
    {
        QFETCH(TermPlan, plan);
        QFETCH(QStringList, names);
        QFETCH(QList<int>, firstAndLast);
        QCOMPARE(Terms::names(plan), names);
        QCOMPARE(Terms::choices(plan), QStringList{"（なし）"} + names);
        for (int tally = 0; tally < 4; ++tally) {
            const AttendanceTally::MonthRange range = AttendanceTally::range(plan, tally);
            QCOMPARE(range.first, firstAndLast[tally * 2]);
            QCOMPARE(range.last, firstAndLast[tally * 2 + 1]);
        }
        // The three-term plan is the attendance's tallies of old, names included.
        if (plan.count == 3)
            for (int tally = 0; tally < 4; ++tally) {
                QCOMPARE(AttendanceTally::range(plan, tally).first, AttendanceTally::range(tally).first);
                QCOMPARE(AttendanceTally::tallyName(plan, tally), AttendanceTally::tallyName(tally));
            }
        else
            QCOMPARE(AttendanceTally::tallyName(plan, 1), QStringLiteral("後期集計"));
        QVERIFY(Terms::problem(plan).isEmpty());
    }

    void termSettingsAreWrittenOnlyOnceChanged()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        QVERIFY(AppSettings::save(env.data, *env.settings).ok);
        env.settings->sync();
        const QByteArray before = fileBytes(env.settingsFile());
        QVERIFY(!before.contains("Term"));
        env.data.termPlan = twoTerms(6);  // 後期 from September
        QVERIFY(AppSettings::save(env.data, *env.settings).ok);
        env.settings->sync();
        QCOMPARE(env.settings->value("UseMode/TermCount").toString(), QStringLiteral("2"));
        QCOMPARE(env.settings->value("UseMode/TwoTermStart").toString(), QStringLiteral("9"));
        QVERIFY(!env.settings->contains("UseMode/ThreeTermStarts"));
        ClassData read;
        QVERIFY(AppSettings::read(read, *env.settings, env.programFolder()).ok);
        QVERIFY(read.termPlan == twoTerms(6));
        // Starts that cannot be (3学期 before 2学期) are the defaults again.
        env.settings->setValue("UseMode/ThreeTermStarts", "1,9");
        QVERIFY(AppSettings::read(read, *env.settings, env.programFolder()).ok);
        QVERIFY(read.termPlan.threeStarts == TermPlan().threeStarts);
        TermPlan wrong;
        wrong.threeStarts = {1, 10, 5};
        QCOMPARE(Terms::problem(wrong), QStringLiteral("3学期の始まりは2学期より後の月にしてください"));
    }

    // The term chosen in score entry's test information is a step undo takes back
    // and lands in assessment.json on 保存終了.
    void termInScoreEntry()
    {
        TestEnv env;
        env.makeClass(pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("一"), {{1, 100, {50, 60, 70}}}}}));
        EntryScreen entry = openEntry(env);
        QComboBox* term = Controls::child<QComboBox>(entry.window, QStringLiteral("termBox"));
        QCOMPARE(term->currentText(), QStringLiteral("（なし）"));
        QCOMPARE(term->count(), 4);
        term->setCurrentIndex(2);
        QVERIFY(entry.window->holdsUnsavedChanges());
        Controls::child<QAction>(entry.window, QStringLiteral("undoAction"))->trigger();
        QCOMPARE(term->currentIndex(), 0);
        Controls::child<QAction>(entry.window, QStringLiteral("redoAction"))->trigger();
        QCOMPARE(term->currentText(), QStringLiteral("2学期"));
        QTest::mouseClick(entry.saveAndCloseButton, Qt::LeftButton);
        QTRY_VERIFY(env.mainWindow()->mdiArea()->subWindowList().isEmpty());
        QCOMPARE(env.readBytes(QStringLiteral("assessment.json")),
                 QByteArray("{\n    \"subjects\": {\n        \"国語\": {\n            \"tests\": [\n                {\n"
                            "                    \"term\": 2\n                }\n            ]\n        }\n    },\n"
                            "    \"version\": 1\n}\n"));
    }

    // テストのメンテナンス: the selected test's term is written at once and shown in the list.
    void termInTheTestList()
    {
        TestEnv env;
        env.makeClass(pupilNames(2));
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("一"), {{1, 100, {50, 60}}}},
                                                             {QStringLiteral("二"), {{2, 10, {2, 3}}}}}));
        env.writeBytes(QStringLiteral("assessment.json"), QJsonDocument(japaneseTests({QJsonObject{{"weight", 2}}})).toJson());
        MainWindow& window = env.startMainWindow();
        menuEntry(window, "testListAction")->trigger();
        auto* list = window.findChild<TestListWindow*>();
        QVERIFY(list);
        const ListControls c(list, "testList");
        QComboBox* term = Controls::child<QComboBox>(list, QStringLiteral("termBox"));
        c.list->setCurrentRow(0);
        term->setCurrentIndex(3);
        c.list->setCurrentRow(1);
        term->setCurrentIndex(1);
        QCOMPARE(classFileOf(env), japaneseTests({QJsonObject{{"term", 3}, {"weight", 2}}, QJsonObject{{"term", 1}}}));
        QCOMPARE(c.list->item(0)->text(), QStringLiteral("一　（重み2・3学期）"));
        QCOMPARE(c.list->item(1)->text(), QStringLiteral("二　（1学期）"));
        c.list->setCurrentRow(0);
        QCOMPARE(term->currentText(), QStringLiteral("3学期"));
        term->setCurrentIndex(0);
        QCOMPARE(classFileOf(env), japaneseTests({QJsonObject{{"weight", 2}}, QJsonObject{{"term", 1}}}));
        QCOMPARE(env.data.tests.term[2], 1);
    }

    // 総合集計: 「2学期のテスト」 chooses that term's tests in one step; a term without
    // tests cannot be chosen.
    void aTermsTestsInOneStep()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("漢字１"), {{1, 100, {80, 60}}}},
                                                             {QStringLiteral("漢字２"), {{1, 100, {40, 100}}}},
                                                             {QStringLiteral("漢字３"), {{1, 100, {90, 70}}}}}));
        env.writeBytes(QStringLiteral("assessment.json"),
                       QJsonDocument(japaneseTests({QJsonObject{{"term", 2}}, QJsonObject{{"term", 1}}, QJsonObject{{"term", 2}}}))
                           .toJson());
        MainWindow& window = env.startMainWindow();
        env.ui.clear();
        QStringList captions;
        bool thirdOff = false;
        env.ui.modalHandlers.push_back([&](QDialog& d) {
            for (int t = 1; t <= 3; ++t)
                captions << Controls::child<QPushButton>(&d, QStringLiteral("termButton%1").arg(t))->text();
            thirdOff = !Controls::child<QPushButton>(&d, QStringLiteral("termButton3"))->isEnabled();
            Controls::child<QPushButton>(&d, QStringLiteral("termButton2"))->click();
        });
        auto* tally = qobject_cast<OverallTallyWindow*>(window.openOverallTallyWindow());
        QVERIFY(tally);
        QCOMPARE(captions, (QStringList{"1学期のテスト(&1)", "2学期のテスト(&2)", "3学期のテスト(&3)"}));
        QVERIFY(thirdOff);
        QCOMPARE(tally->tally()->chosenTests, (QList<int>{1, 3}));
        // 青木 (80 + 90) / 2 = 85.0, 石田 (60 + 70) / 2 = 65.0.
        QCOMPARE(tally->tally()->overall[1].average, TallyNumber::of(85.0));
        QCOMPARE(tally->tally()->overall[2].average, TallyNumber::of(65.0));
    }

    // 環境設定: 2学期制 with 後期 from September; the attendance window then tallies
    // 前期 (April to August) and 後期, and has no third term.
    void twoTermsReachTheAttendance()
    {
        TestEnv env;
        Sample::homeroomClass(env, 3);
        MainWindow& window = env.startMainWindow();
        menuEntry(window, "settingsAction")->trigger();
        auto* settings = window.findChild<SettingsWindow*>();
        QVERIFY(settings);
        Controls::child<QRadioButton>(settings, QStringLiteral("twoTermsOption"))->click();
        QComboBox* start = Controls::child<QComboBox>(settings, QStringLiteral("termStartBox2"));
        QCOMPARE(start->currentText(), QStringLiteral("10月～"));
        QVERIFY(Controls::child<QComboBox>(settings, QStringLiteral("termStartBox3"))->isHidden());
        start->setCurrentIndex(start->findText(QStringLiteral("9月～")));
        Controls::child<QPushButton>(settings, QStringLiteral("closeButton"))->click();
        QTRY_VERIFY(!window.findChild<SettingsWindow*>());
        QVERIFY(env.data.termPlan == twoTerms(6));
        env.settings->sync();
        QCOMPARE(env.settings->value("UseMode/TwoTermStart").toString(), QStringLiteral("9"));

        menuEntry(window, "attendanceAction")->trigger();
        auto* attendance = window.findChild<AttendanceWindow*>();
        QVERIFY(attendance);
        QCOMPARE(Controls::child<QPushButton>(attendance, QStringLiteral("tallyButton0"))->text(), QStringLiteral("前期集計(&1)"));
        QCOMPARE(Controls::child<QPushButton>(attendance, QStringLiteral("tallyButton1"))->text(), QStringLiteral("後期集計(&2)"));
        QVERIFY(Controls::child<QPushButton>(attendance, QStringLiteral("tallyButton2"))->isHidden());
        Controls::child<QPushButton>(attendance, QStringLiteral("tallyButton0"))->click();
        QComboBox* period = Controls::child<QComboBox>(attendance, QStringLiteral("periodSelector"));
        QCOMPARE(period->count(), 3);
        QCOMPARE(period->currentText(), QStringLiteral("前期集計"));
        // April to August: 16 + 17 + 18 + 19 + 20 lesson days.
        QCOMPARE(attendance->tallyRange().last, 5);
        QCOMPARE(Controls::child<QLineEdit>(attendance, QStringLiteral("lessonDaysInput"))->text(), QStringLiteral("90"));
    }
};

QTEST_MAIN(TermsTest)
#include "test_terms.moc"
