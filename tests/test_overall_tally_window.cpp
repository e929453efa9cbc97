// The overall tally window as the teacher opens it from the main window: the test
// choice, the pupil list in its three orders with the shown figures, the viewpoint
// summary, the class average, and the "aryoiki" sheet read back from its store.

#include "Controls.h"
#include "MainWindowControls.h"
#include "DataFiles.h"
#include "TallyReadBack.h"
#include "TestEnv.h"
#include "PdfText.h"
#include "reports/TestPickerDialog.h"
#include "reports/OverallTallyWindow.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using Controls::child;
using namespace MainControls;
using namespace DataFiles;
using namespace TallyReadBack;

namespace {

// Attendance numbers of the rows, top to bottom.
QStringList numbers(const QTableWidget* grid)
{
    QStringList texts;
    for (int r = 0; r < grid->rowCount(); ++r)
        texts << grid->item(r, 0)->text();
    return texts;
}

QStringList repeat(const QString& text, int n)
{
    QStringList texts;
    for (int i = 0; i < n; ++i)
        texts << text;
    return texts;
}

void chooseAllTests(TestEnv& env)
{
    env.ui.modalHandlers.push_back([](QDialog& d) { child<QPushButton>(&d, "allButton")->click(); });
}

void tick(QListWidget* list, int item, bool on)
{
    list->item(item)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

}  // namespace

class OverallTallyWindowTest : public QObject {
    Q_OBJECT

    // Test A: 観点Ⅰ out of 50 and 観点Ⅱ out of 20; test B: 観点Ⅰ out of 100.
    // 青木 40, 10, 70; 石田 30, absent, 90; 上田 50, 20, 100; 江藤 absent throughout.
    void writeClass(TestEnv& env)
    {
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田"), QStringLiteral("江藤")});
        env.writeFile(QStringLiteral("国語.dat"),
                      scoreLines({
                          {QStringLiteral("単元テストA"), {{1, 50, {40, 30, 50, -1}}, {2, 20, {10, -1, 20, -1}}}},
                          {QStringLiteral("単元テストB"), {{1, 100, {70, 90, 100, -1}}}},
                      }));
    }

    // Opens the window choosing every test. The main window gets the focus back from
    // the test selection, as the window system gives it back when a dialog closes.
    OverallTallyWindow* open(TestEnv& env, MainWindow& window)
    {
        chooseAllTests(env);
        auto* w = qobject_cast<OverallTallyWindow*>(window.openOverallTallyWindow());
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window) || window.activeChild() != w)
            return nullptr;
        return w;
    }

    QString storeCopy;

    void observeStore(TestEnv& env)
    {
        storeCopy = env.dir.path() + QStringLiteral("/aryoiki-copy.mdb");
        env.reports->setStoreObserver([this](const QString& path) {
            QFile::remove(storeCopy);
            QFile::copy(path, storeCopy);
        });
    }

private slots:
    void opensWithItsControls()
    {
        TestEnv env;
        writeClass(env);
        MainWindow& window = env.startMainWindow();
        QString captionWhileChoosing;
        env.ui.modalHandlers.push_back([&](QDialog& d) {
            for (QWidget* widget : QApplication::allWidgets())
                if (auto* tally = qobject_cast<OverallTallyWindow*>(widget))
                    captionWhileChoosing = tally->windowTitle();
            child<QPushButton>(&d, "allButton")->click();
        });
        auto* w = qobject_cast<OverallTallyWindow*>(window.openOverallTallyWindow());
        QVERIFY(w);
        QCOMPARE(captionWhileChoosing, QStringLiteral("総合成績集計-国語"));
        QCOMPARE(w->windowTitle(), QStringLiteral("総合集計一覧表-国語"));
        QCOMPARE(headings(child<QTableWidget>(w, "pupilGrid")),
                 (QStringList{"番号", "氏名", "総平均", "総順位", "総評定", "平均1", "順位1", "評定1", "平均2", "順位2",
                              "評定2", "平均3", "順位3", "評定3", "平均4", "順位4", "評定4"}));
        QCOMPARE(child<QTableWidget>(w, "pupilGrid")->rowCount(), 4);
        QCOMPARE(headings(child<QTableWidget>(w, "viewpointGrid")), (QStringList{"番号", "観　点　名", "平　均", "該当テスト数"}));
        QCOMPARE(child<QListWidget>(w, "figureChoices")->count(), 3);
        QCOMPARE(child<QListWidget>(w, "figureChoices")->item(0)->text(), QStringLiteral("平均点を表示"));
        QCOMPARE(child<QListWidget>(w, "figureChoices")->item(1)->text(), QStringLiteral("順位を表示"));
        QCOMPARE(child<QListWidget>(w, "figureChoices")->item(2)->text(), QStringLiteral("評定を表示"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(child<QListWidget>(w, "figureChoices")->item(i)->checkState(), Qt::Checked);
        QCOMPARE(child<QGroupBox>(w, "orderBox")->title(), QStringLiteral("並べ方"));
        QVERIFY(child<QRadioButton>(w, "numberOrder")->isChecked());
        QCOMPARE(child<QRadioButton>(w, "scoreOrder")->text(), QStringLiteral("成績順"));
        QVERIFY(!child<QComboBox>(w, "orderChooser")->isEnabled());
        QCOMPARE(child<QComboBox>(w, "orderChooser")->count(), 5);
        QCOMPARE(child<QComboBox>(w, "orderChooser")->itemText(0), QStringLiteral("総合成績順"));
        QCOMPARE(child<QComboBox>(w, "orderChooser")->itemText(2), QStringLiteral("表現の能力"));
        QCOMPARE(child<QLabel>(w, "overallAverageCaption")->text(), QStringLiteral("総合平均点"));
        QCOMPARE(child<QPushButton>(w, "printButton")->text(), QStringLiteral("印 刷(&P)"));
        QCOMPARE(child<QPushButton>(w, "previewButton")->text(), QStringLiteral("ﾌﾟﾚﾋﾞｭｰ(&O)"));
        QCOMPARE(child<QPushButton>(w, "closeButton")->text(), QStringLiteral("閉じる"));

        // Print and preview on; editing commands off while it is open.
        QVERIFY(toolbarButton(window, "previewButton")->isEnabled());
        QVERIFY(!toolbarButton(window, "testListButton")->isEnabled());
        QVERIFY(!menu(window, "editMenu")->isEnabled());
        // Esc closes it; the commands come back.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        child<QTableWidget>(w, "pupilGrid")->setFocus();
        QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
        QTRY_VERIFY(window.activeChild() == nullptr);
        QVERIFY(toolbarButton(window, "testListButton")->isEnabled());
        QVERIFY(!toolbarButton(window, "previewButton")->isEnabled());
    }

    void tallisesTheChosenColumns()
    {
        TestEnv env;
        writeClass(env);
        MainWindow& window = env.startMainWindow();
        OverallTallyWindow* w = open(env, window);
        QVERIFY(w);
        // 青木: 80, 50, 70 percent: overall 200 / 3 = 66.7, third; 観点Ⅰ (80 + 70) / 2 = 75.0,
        //   tied second with 石田; 観点Ⅱ 50.0, second.
        // 石田: 60, 90: overall 75.0, second; 観点Ⅰ 75.0; absent in every 観点Ⅱ column.
        // 上田: 100 throughout: first everywhere. 江藤: no score at all.
        const QString dash = QStringLiteral(" -");
        QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), 0), QStringList({"1", "青木", "66.7", "3", "3", "75.0", "2", "A", "50.0", "2", "A"})
                                           + repeat(dash, 6));
        QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), 1),
                 QStringList({"2", "石田", "75.0", "2", "3", "75.0", "2", "A"}) + repeat(dash, 9));
        QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), 2), QStringList({"3", "上田", "100.0", "1", "3", "100.0", "1", "A", "100.0", "1", "A"})
                                           + repeat(dash, 6));
        // In number order the overall group's placeholder is "  -  ", the viewpoints' " -".
        QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), 3), QStringList({"4", "江藤"}) + repeat("  -  ", 3) + repeat(dash, 12));
        // 観点Ⅰ: (75 + 75 + 100) / 3 = 83.3 over 2 columns; 観点Ⅱ: (50 + 100) / 2 = 75.0 over 1.
        QCOMPARE(gridRow(child<QTableWidget>(w, "viewpointGrid"), 0), (QStringList{"1", "関心,意欲,態度", "83.3", "2"}));
        QCOMPARE(gridRow(child<QTableWidget>(w, "viewpointGrid"), 1), (QStringList{"2", "表現の能力", "75.0", "1"}));
        QCOMPARE(gridRow(child<QTableWidget>(w, "viewpointGrid"), 2), (QStringList{"3", "理解の能力", " -", " -"}));
        QCOMPARE(gridRow(child<QTableWidget>(w, "viewpointGrid"), 3), (QStringList{"4", "言語の知識", " -", " -"}));
        // (66.67 + 75 + 100) / 3 = 80.6; 江藤 is left out.
        QCOMPARE(child<QLabel>(w, "overallAverage")->text(), QStringLiteral("80.6"));
        QVERIFY(env.ui.messages.isEmpty());
    }

    void listsInTheThreeOrders()
    {
        TestEnv env;
        writeClass(env);
        MainWindow& window = env.startMainWindow();
        OverallTallyWindow* w = open(env, window);
        QVERIFY(w);
        QCOMPARE(numbers(child<QTableWidget>(w, "pupilGrid")), (QStringList{"1", "2", "3", "4"}));

        // 成績順: overall order; the combo box opens for a viewpoint.
        child<QRadioButton>(w, "scoreOrder")->click();
        QVERIFY(child<QComboBox>(w, "orderChooser")->isEnabled());
        QCOMPARE(numbers(child<QTableWidget>(w, "pupilGrid")), (QStringList{"3", "2", "1", "4"}));
        // In the score orders the placeholders swap: " -" overall, "  -  " viewpoints.
        QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), 3), QStringList({"4", "江藤"}) + repeat(" -", 3) + repeat("  -  ", 12));
        QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), 1),
                 QStringList({"2", "石田", "75.0", "2", "3", "75.0", "2", "A"}) + repeat("  -  ", 9));

        // 表現の能力 (観点Ⅱ): 上田 100, 青木 50, then the pupils without a value from the
        // highest attendance number down.
        child<QComboBox>(w, "orderChooser")->setCurrentIndex(2);
        QCOMPARE(numbers(child<QTableWidget>(w, "pupilGrid")), (QStringList{"3", "1", "4", "2"}));
        // 観点Ⅰ: 上田, then 青木 and 石田 tied, by attendance number.
        child<QComboBox>(w, "orderChooser")->setCurrentIndex(1);
        QCOMPARE(numbers(child<QTableWidget>(w, "pupilGrid")), (QStringList{"3", "1", "2", "4"}));
        child<QComboBox>(w, "orderChooser")->setCurrentIndex(2);

        // Back to number order and to 成績順 again: still sorted by 表現の能力.
        child<QRadioButton>(w, "numberOrder")->click();
        QVERIFY(!child<QComboBox>(w, "orderChooser")->isEnabled());
        QCOMPARE(numbers(child<QTableWidget>(w, "pupilGrid")), (QStringList{"1", "2", "3", "4"}));
        child<QRadioButton>(w, "scoreOrder")->click();
        QCOMPARE(numbers(child<QTableWidget>(w, "pupilGrid")), (QStringList{"3", "1", "4", "2"}));
        QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), 3),
                 QStringList({"2", "石田", "75.0", "2", "3", "75.0", "2", "A"}) + repeat("  -  ", 9));

        // 総合成績順 in the combo box.
        child<QComboBox>(w, "orderChooser")->setCurrentIndex(0);
        QCOMPARE(numbers(child<QTableWidget>(w, "pupilGrid")), (QStringList{"3", "2", "1", "4"}));
    }

    void showsOnlyTheTickedFigures()
    {
        TestEnv env;
        writeClass(env);
        MainWindow& window = env.startMainWindow();
        OverallTallyWindow* w = open(env, window);
        QVERIFY(w);
        observeStore(env);
        // 順位を表示 alone: each group shows only its middle cell.
        tick(child<QListWidget>(w, "figureChoices"), 0, false);
        tick(child<QListWidget>(w, "figureChoices"), 2, false);
        QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), 0),
                 (QStringList{"1", "青木", "", "3", "", "", "2", "", "", "2", "", "", " -", "", "", " -", ""}));
        QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), 3),
                 (QStringList{"4", "江藤", "", "  -  ", "", "", " -", "", "", " -", "", "", " -", "", "", " -", ""}));
        // The sheet: "-" in every average and evaluation field of every pupil row.
        child<QPushButton>(w, "previewButton")->click();
        const Store store = readStore(storeCopy);
        QCOMPARE(store.rows.size(), 5);
        QCOMPARE(store.rows[1],
                 (QStringList{"1", "青木", "-", "3", "-", "-", "2", "-", "-", "2", "-", "-", " -", "-", "-", " -", "-"}));
        for (int r = 1; r < store.rows.size(); ++r)
            for (int group = 0; group < 5; ++group) {
                QCOMPARE(store.rows[r][2 + 3 * group], QStringLiteral("-"));
                QCOMPARE(store.rows[r][4 + 3 * group], QStringLiteral("-"));
            }

        // Ticking them again in score order shows everything in that order.
        child<QRadioButton>(w, "scoreOrder")->click();
        tick(child<QListWidget>(w, "figureChoices"), 0, true);
        tick(child<QListWidget>(w, "figureChoices"), 2, true);
        QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), 0), QStringList({"3", "上田", "100.0", "1", "3", "100.0", "1", "A", "100.0", "1", "A"})
                                           + repeat("  -  ", 6));
    }

    void printsTheListAsShown()
    {
        TestEnv env;
        writeClass(env);
        MainWindow& window = env.startMainWindow();
        OverallTallyWindow* w = open(env, window);
        QVERIFY(w);
        observeStore(env);

        toolbarButton(window, "previewButton")->trigger();
        QCOMPARE(env.ui.previews.size(), 1);
        QCOMPARE(env.ui.previews[0].title, QStringLiteral("総合集計一覧表-国語-出席番号順"));
        QVERIFY(!QFile::exists(env.reports->storePath(QStringLiteral("aryoiki"))));
        Store store = readStore(storeCopy);
        QCOMPARE(store.titleFields,
                 (QStringList{"Title", "SougouAva", "Ryoiki1", "Ryoiki2", "Ryoiki3", "Ryoiki4", "SortWay", "Avarage1",
                              "Avarage2", "Avarage3", "Avarage4", "TestCount1", "TestCount2", "TestCount3", "TestCount4"}));
        QCOMPARE(store.title,
                 (QStringList{"【総合集計一覧表-国語】教科内総合集計一覧表", "80.6", "関心,意欲,態度", "表現の能力",
                              "理解の能力", "言語の知識", "出席番号順", "83.3", "75.0", "-", "-", "2", "1", "-", "-"}));
        QStringList fields;
        for (int n = 1; n <= 17; ++n)
            fields << QStringLiteral("data%1").arg(n, 2, 10, QLatin1Char('0'));
        QCOMPARE(store.dataFields, fields);
        // The heading row first, then the rows exactly as the grid shows them.
        QCOMPARE(store.rows.size(), 5);
        QCOMPARE(store.rows[0], headings(child<QTableWidget>(w, "pupilGrid")));
        for (int r = 0; r < 4; ++r)
            QCOMPARE(store.rows[r + 1], gridRow(child<QTableWidget>(w, "pupilGrid"), r));

        // Without the window (an export) the tally gives the same sheet.
        const ReportSheet directSheet = aryoikiSheet(*w->tally(), overallTallyCaption(env.data), w->shownOrder(),
                                                     w->shownFigures());
        QCOMPARE(directSheet.titleValues, store.title);
        QCOMPARE(directSheet.rows, store.rows);

        // In a viewpoint's order the order text is that viewpoint's name + 成績順.
        child<QRadioButton>(w, "scoreOrder")->click();
        child<QComboBox>(w, "orderChooser")->setCurrentIndex(2);
        child<QPushButton>(w, "previewButton")->click();
        QCOMPARE(env.ui.previews.last().title, QStringLiteral("総合集計一覧表-国語-表現の能力成績順"));
        store = readStore(storeCopy);
        QCOMPARE(store.title[6], QStringLiteral("表現の能力成績順"));
        QCOMPARE(store.rows[1][0], QStringLiteral("3"));
        QCOMPARE(store.rows[4], QStringList({"2", "石田", "75.0", "2", "3", "75.0", "2", "A"}) + repeat("  -  ", 9));
        child<QComboBox>(w, "orderChooser")->setCurrentIndex(0);
        child<QPushButton>(w, "previewButton")->click();
        QCOMPARE(env.ui.previews.last().title, QStringLiteral("総合集計一覧表-国語-総合成績順"));
        QCOMPARE(child<QComboBox>(w, "orderChooser")->currentIndex(), 0);
        QVERIFY(child<QRadioButton>(w, "scoreOrder")->isChecked());
        QCOMPARE(env.ui.busyDepth, 0);
        QVERIFY(env.ui.messages.isEmpty());
    }

    // The printed sheet names the tests counted; the store keeps its fixed fields.
    void printedSheetNamesTheTestsCounted()
    {
        TestEnv env;
        writeClass(env);
        MainWindow& window = env.startMainWindow();
        // Only 単元テストB is chosen.
        env.ui.modalHandlers.push_back([](QDialog& d) {
            child<QListWidget>(&d, "testList")->item(1)->setSelected(true);
            child<QPushButton>(&d, "okButton")->click();
        });
        auto* w = qobject_cast<OverallTallyWindow*>(window.openOverallTallyWindow());
        QVERIFY(w);
        observeStore(env);
        env.ui.previewFolder = env.dir.path();
        child<QPushButton>(w, "previewButton")->click();
        QCOMPARE(env.ui.previews.size(), 1);
        QString page = PdfText::pages(env.ui.previews[0].pdfPath).value(0);
        QVERIFY2(page.contains(QStringLiteral("集計したテスト（1）：単元テストB")), qPrintable(page));
        QVERIFY(!page.contains(QStringLiteral("単元テストA")));
        Store store = readStore(storeCopy);
        QCOMPARE(store.titleFields.size(), 15);
        QVERIFY(!store.title.join(QLatin1Char('|')).contains(QStringLiteral("単元テスト")));

        // The tests chosen again: both, in their order.
        env.ui.modalHandlers.push_back([](QDialog& d) { child<QPushButton>(&d, "allButton")->click(); });
        child<QPushButton>(w, "closeButton")->click();
        QTRY_VERIFY(window.activeChild() == nullptr);
        w = qobject_cast<OverallTallyWindow*>(window.openOverallTallyWindow());
        QVERIFY(w);
        child<QPushButton>(w, "previewButton")->click();
        page = PdfText::pages(env.ui.previews.last().pdfPath).value(0);
        QVERIFY2(page.contains(QStringLiteral("集計したテスト（2）：単元テストA、単元テストB")), qPrintable(page));
    }

    // Names too many for the printed line give the test numbers, runs shortened.
    void manyCountedTestsAreGivenByNumber()
    {
        ClassData data;
        data.setDefaultViewpointNames();
        data.pupilCount = 1;
        data.tests.count = 40;
        for (int t = 1; t <= 40; ++t)
            data.tests.name[t] = QStringLiteral("第%1回 漢字の書き取り").arg(t);
        QList<int> chosen{1, 2, 3};
        OverallTally tally = computeOverallTally(data, 1, chosen);
        QCOMPARE(OverallTallyText::countedTests(tally),
                 QStringLiteral("集計したテスト（3）：第1回 漢字の書き取り、第2回 漢字の書き取り、第3回 漢字の書き取り"));
        chosen.clear();
        for (int t : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 33})
            chosen.append(t);
        tally = computeOverallTally(data, 1, chosen);
        QCOMPARE(OverallTallyText::countedTests(tally), QStringLiteral("集計したテスト（26）：テスト番号 1～12、15、20～31、33"));
        QCOMPARE(OverallTallyText::countedTests(computeOverallTally(data, 1, {})), QStringLiteral("集計したテスト：なし"));
    }

    void tallisesNothingWhenNoTestIsChosen()
    {
        TestEnv env;
        writeClass(env);
        MainWindow& window = env.startMainWindow();
        // The test selection is closed by its frame: no test is chosen.
        auto* w = qobject_cast<OverallTallyWindow*>(window.openOverallTallyWindow());
        QVERIFY(w);
        for (int r = 0; r < 4; ++r)
            QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), r).mid(2), repeat("  -  ", 3) + repeat(" -", 12));
        QCOMPARE(child<QLabel>(w, "overallAverage")->text(), QStringLiteral("-"));
        for (int v = 0; v < 4; ++v)
            QCOMPARE(gridRow(child<QTableWidget>(w, "viewpointGrid"), v).mid(2), (QStringList{" -", " -"}));
        QVERIFY(env.ui.messages.isEmpty());
    }

    // 生活 has three viewpoints; a column of no viewpoint counts in the overall
    // average only; a column out of 0 marks gives no percentage.
    void threeViewpointsAndOddColumns()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        env.writeFile(QStringLiteral("生活.dat"),
                      scoreLines({
                          {QStringLiteral("あさがお"), {{1, 10, {8, 6}}, {0, 10, {10, 2}}}},
                          {QStringLiteral("まちたんけん"), {{3, 0, {0, 0}}, {2, 20, {10, 20}}}},
                      }));
        MainWindow& window = env.startMainWindow();
        chooseSubject(window, 5);
        QCOMPARE(env.data.subject, 5);
        OverallTallyWindow* w = open(env, window);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("総合集計一覧表-生活"));
        QCOMPARE(child<QComboBox>(w, "orderChooser")->itemText(4), QStringLiteral("観点Ⅳ"));  // 生活 has no fourth name
        // 青木: 80 (Ⅰ), 100 (none), 50 (Ⅱ): overall 230 / 3 = 76.7; the 0-mark column is left out.
        // 石田: 60, 20, 100: overall 60.0.
        QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), 0), QStringList({"1", "青木", "76.7", "1", "3", "80.0", "1", "A", "50.0", "2", "A"})
                                           + repeat(" -", 6));
        QCOMPARE(gridRow(child<QTableWidget>(w, "pupilGrid"), 1), QStringList({"2", "石田", "60.0", "2", "3", "60.0", "2", "A", "100.0", "1", "A"})
                                           + repeat(" -", 6));
        // 観点Ⅲ has one column but no percentage: no class average.
        QCOMPARE(gridRow(child<QTableWidget>(w, "viewpointGrid"), 2), (QStringList{"3", "気づき", " -", " -"}));
        QCOMPARE(gridRow(child<QTableWidget>(w, "viewpointGrid"), 3), (QStringList{"4", "", " -", " -"}));
        observeStore(env);
        child<QPushButton>(w, "previewButton")->click();
        const Store store = readStore(storeCopy);
        QCOMPARE(store.title,
                 (QStringList{"【総合集計一覧表-生活】教科内総合集計一覧表", "68.3", "関心,意欲,態度", "思考・表現", "気づき",
                              "-", "出席番号順", "70.0", "75.0", "-", "-", "1", "1", "-", "-"}));
        QVERIFY(env.ui.messages.isEmpty());
    }

    // Thirty pupils: the sheet has thirty-one rows, the headings first.
    void thirtyPupilsMakeThirtyOneRows()
    {
        TestEnv env;
        env.makeClass(pupilNames(30));
        QList<int> scores;
        for (int p = 1; p <= 30; ++p)
            scores << 100 - p;
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("漢字"), {{1, 100, scores}}}}));
        MainWindow& window = env.startMainWindow();
        OverallTallyWindow* w = open(env, window);
        QVERIFY(w);
        observeStore(env);
        child<QPushButton>(w, "previewButton")->click();
        const Store store = readStore(storeCopy);
        QCOMPARE(store.rows.size(), 31);
        QCOMPARE(store.rows[0].mid(0, 5), (QStringList{"番号", "氏名", "総平均", "総順位", "総評定"}));
        QCOMPARE(store.rows[30].mid(0, 5), (QStringList{"30", "児童30", "70.0", "30", "1"}));
    }
};

QTEST_MAIN(OverallTallyWindowTest)
#include "test_overall_tally_window.moc"
