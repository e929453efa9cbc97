// The per-test tally window driven as a teacher drives it: opened from the main
// window, tests chosen in the chooser, the order switched, printed and previewed.

#include "model/NewClass.h"
#include "Controls.h"
#include "MainWindowControls.h"
#include "TestEnv.h"
#include "DataFiles.h"
#include "PdfText.h"
#include "TallyReadBack.h"
#include "output/ReportStore.h"
#include "reports/TestTallyWindow.h"
#include "reports/ScoreChartView.h"
#include "output/ScoreChart.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>
#include <QTest>

using Controls::child;
using namespace DataFiles;
using namespace TallyReadBack;

using namespace MainControls;

namespace {

// Five pupils, three tests of 国語:
//  1 "漢字テスト１": 観点Ⅰ of 50 and 観点Ⅲ of 50; pupil 3 absent in both, pupil 4 scored
//    0 twice, pupil 5 missed column 1 but wrote column 2.
//  2 "計算": 観点Ⅱ of 20.
//  3 "聞き取り": 観点Ⅳ of 10, nobody entered.
QList<Test> sampleTests()
{
    return {
        {QStringLiteral("漢字テスト１"), {{1, 50, {45, 40, -1, 0, -1}}, {3, 50, {40, 45, -1, 0, 30}}}},
        {QStringLiteral("計算"), {{2, 20, {20, 18, 18, 10, 0}}}},
        {QStringLiteral("聞き取り"), {{4, 10, {-1, -1, -1, -1, -1}}}},
    };
}

// Reads a store copy with plain SQL: the field names of a table, in order.
QStringList sqlFields(const QString& connection, const QString& table)
{
    QSqlQuery query(QSqlDatabase::database(connection));
    if (!query.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table)))
        return {};
    QStringList fields;
    while (query.next())
        fields.append(query.value(1).toString() + QLatin1Char(':') + query.value(2).toString());
    return fields;
}

QList<QStringList> sqlRows(const QString& connection, const QString& table)
{
    QSqlQuery query(QSqlDatabase::database(connection));
    QList<QStringList> rows;
    if (!query.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table)))
        return rows;
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < query.record().count(); ++i) {
            // Every value is text: anything else shows up in the comparison.
            const QVariant value = query.value(i);
            row.append(value.typeId() == QMetaType::QString ? value.toString() : QStringLiteral("<not text>"));
        }
        rows.append(row);
    }
    return rows;
}

// The bars of a chart's picture, left to right: the height in pixels of each run of
// pixel columns holding the bars' colour.
QList<int> barHeights(const QImage& image)
{
    const QRgb fill = ScoreChart::barColor().rgb() & 0xffffff;
    QList<int> heights;
    bool inBar = false;
    for (int x = 0; x < image.width(); ++x) {
        int height = 0;
        for (int y = 0; y < image.height(); ++y)
            if ((image.pixel(x, y) & 0xffffff) == fill)
                ++height;
        if (height > 0 && !inBar)
            heights.append(0);
        if (height > 0)
            heights.last() = std::max(heights.last(), height);
        inBar = height > 0;
    }
    return heights;
}

QStringList sqlIndexes(const QString& connection, const QString& table)
{
    QSqlQuery query(QSqlDatabase::database(connection));
    QStringList indexes;
    query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='%1'").arg(table));
    while (query.next()) {
        const QString name = query.value(0).toString();
        QSqlQuery info(QSqlDatabase::database(connection));
        info.exec(QStringLiteral("PRAGMA index_info(\"%1\")").arg(name));
        QStringList columns;
        while (info.next())
            columns.append(info.value(2).toString());
        indexes.append(name + QStringLiteral(" on ") + columns.join(QLatin1Char(',')));
    }
    return indexes;
}

}  // namespace

class TestTallyWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    TestTallyWindow* window = nullptr;

    void openSample(const QList<Test>& tests = sampleTests(), int pupils = 5)
    {
        env = std::make_unique<TestEnv>();
        env->makeClass(pupilNames(pupils, NameStyle::Full));
        env->writeFile(QStringLiteral("国語.dat"), scoreLines(tests));
        MainWindow& main = env->startMainWindow();
        env->ui.clear();
        window = qobject_cast<TestTallyWindow*>(main.openTestTallyWindow());
        QVERIFY(window);
    }

private slots:
    void cleanup()
    {
        window = nullptr;
        env.reset();
    }

    void opensOnTheFirstTestInAttendanceOrder()
    {
        openSample();
        const QStringList names = pupilNames(5, NameStyle::Full);
        QCOMPARE(window->windowTitle(), QStringLiteral("テスト別成績集計-国語"));
        QCOMPARE(child<QComboBox>(window, "testChooser")->count(), 3);
        QCOMPARE(child<QComboBox>(window, "testChooser")->currentText(), QStringLiteral("漢字テスト１"));
        QCOMPARE(env->data.currentTest, 1);
        QVERIFY(child<QRadioButton>(window, "numberOrder")->isChecked());
        QCOMPARE(child<QLabel>(window, "testNumber")->text(), QStringLiteral("1個目のテスト"));
        // (85 + 85 + 0 + 60) / 4: pupil 5 wrote 30 of the 50 sat.
        QCOMPARE(child<QLabel>(window, "classAverage")->text(), QStringLiteral("57.5"));
        QCOMPARE(child<QLabel>(window, "viewpointName1")->text(), QStringLiteral("関心,意欲,態度"));
        QCOMPARE(child<QLabel>(window, "viewpointName2")->text(), QStringLiteral("理解の能力"));
        QCOMPARE(child<QLabel>(window, "viewpointName3")->text(), QString());
        QCOMPARE(child<QLabel>(window, "viewpointName4")->text(), QString());
        // Columns beyond the test's two: no average, a dash as for every missing value.
        const QStringList averages{QStringLiteral("28.3"), QStringLiteral("28.8"), QStringLiteral("-"), QStringLiteral("-")};
        const QStringList fullMarks{QStringLiteral("50"), QStringLiteral("50"), QString(), QString()};
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(child<QLabel>(window, QStringLiteral("columnAverage%1").arg(k + 1))->text(), averages[k]);
            QCOMPARE(child<QLabel>(window, QStringLiteral("fullMarks%1").arg(k + 1))->text(), fullMarks[k]);
        }
        QCOMPARE(headings(child<QTableWidget>(window, "pupilGrid")), (QStringList{QStringLiteral("番号"), QStringLiteral("氏 名"), QStringLiteral("総 点"),
                                                      QStringLiteral("Ⅰ"), QStringLiteral("Ⅱ"), QStringLiteral("Ⅲ"),
                                                      QStringLiteral("Ⅳ"), QStringLiteral("順位")}));
        QCOMPARE(child<QTableWidget>(window, "pupilGrid")->rowCount(), 5);
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 0), (QStringList{QStringLiteral("1"), names[0], QStringLiteral("85"), QStringLiteral("45"),
                                                          QStringLiteral("40"), QString(), QString(), QStringLiteral("1")}));
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 1), (QStringList{QStringLiteral("2"), names[1], QStringLiteral("85"), QStringLiteral("40"),
                                                          QStringLiteral("45"), QString(), QString(), QStringLiteral("1")}));
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 2), (QStringList{QStringLiteral("3"), names[2], QStringLiteral("欠"), QStringLiteral("欠"),
                                                          QStringLiteral("欠"), QString(), QString(), QStringLiteral("- ")}));
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 3), (QStringList{QStringLiteral("4"), names[3], QStringLiteral("0"), QStringLiteral("0"),
                                                          QStringLiteral("0"), QString(), QString(), QStringLiteral("4")}));
        // Column 1 not entered, column 2 entered: the total is the column 2 score, out
        // of column 2's 50 (60 %), ranked on that.
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 4), (QStringList{QStringLiteral("5"), names[4], QStringLiteral("30/50"), QStringLiteral("欠"),
                                                          QStringLiteral("30"), QString(), QString(), QStringLiteral("3")}));
    }

    void scoreOrderListsBestFirstAndAbsentLast()
    {
        openSample();
        const QStringList names = pupilNames(5, NameStyle::Full);
        QTest::mouseClick(child<QRadioButton>(window, "scoreOrder"), Qt::LeftButton);
        QVERIFY(child<QRadioButton>(window, "scoreOrder")->isChecked());
        QCOMPARE(headings(child<QTableWidget>(window, "pupilGrid")).first(), QStringLiteral("順位"));
        QCOMPARE(headings(child<QTableWidget>(window, "pupilGrid")).last(), QStringLiteral("番号"));
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 0), (QStringList{QStringLiteral("1"), names[0], QStringLiteral("85"), QStringLiteral("45"),
                                                          QStringLiteral("40"), QString(), QString(), QStringLiteral("1")}));
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 1), (QStringList{QStringLiteral("1"), names[1], QStringLiteral("85"), QStringLiteral("40"),
                                                          QStringLiteral("45"), QString(), QString(), QStringLiteral("2")}));
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 2).at(1), names[4]);
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 2).at(0), QStringLiteral("3"));
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 3).at(1), names[3]);
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 4), (QStringList{QStringLiteral("  -  "), names[2], QStringLiteral("欠"), QStringLiteral("欠"),
                                                          QStringLiteral("欠"), QString(), QString(), QStringLiteral("3")}));

        // Back to attendance order.
        QTest::mouseClick(child<QRadioButton>(window, "numberOrder"), Qt::LeftButton);
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 2).at(7), QStringLiteral("- "));
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 2).at(1), names[2]);
    }

    void choosingAnotherTestShowsIt()
    {
        openSample();
        // With the keyboard, as a teacher steps through the chooser.
        child<QComboBox>(window, "testChooser")->setFocus();
        QTest::keyClick(child<QComboBox>(window, "testChooser"), Qt::Key_Down);
        QCOMPARE(child<QComboBox>(window, "testChooser")->currentIndex(), 1);
        QCOMPARE(env->data.currentTest, 2);
        QCOMPARE(child<QLabel>(window, "testNumber")->text(), QStringLiteral("2個目のテスト"));
        QCOMPARE(child<QLabel>(window, "viewpointName1")->text(), QStringLiteral("表現の能力"));
        QCOMPARE(child<QLabel>(window, "columnAverage1")->text(), QStringLiteral("13.2"));  // 66 / 5
        QCOMPARE(child<QLabel>(window, "fullMarks1")->text(), QStringLiteral("20"));
        QCOMPARE(child<QLabel>(window, "classAverage")->text(), QStringLiteral("66.0"));  // (100 + 90 + 90 + 50 + 0) / 5
        QStringList ranks;
        for (int r = 0; r < 5; ++r)
            ranks.append(gridRow(child<QTableWidget>(window, "pupilGrid"), r).at(7));
        QCOMPARE(ranks, (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("4"),
                                     QStringLiteral("5")}));
        // A total of 0 from an entered zero shows "0" and ranks.
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 4).at(2), QStringLiteral("0"));

        // A test nobody has written: dashes for the averages, "欠" everywhere.
        child<QComboBox>(window, "testChooser")->setCurrentIndex(2);
        QCOMPARE(child<QLabel>(window, "classAverage")->text(), QStringLiteral("-"));
        QCOMPARE(child<QLabel>(window, "columnAverage1")->text(), QStringLiteral("-"));
        QCOMPARE(child<QLabel>(window, "columnAverage2")->text(), QStringLiteral("-"));
        for (int r = 0; r < 5; ++r) {
            QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), r).at(2), QStringLiteral("欠"));
            QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), r).at(7), QStringLiteral("- "));
        }
        QVERIFY(env->ui.messages.isEmpty());
    }

    // The chart beside the list follows the test chosen and the order: its bins,
    // average and absent count, and the bars drawn in proportion, best first in
    // score order.
    void chartFollowsTheTestShownAndTheOrder()
    {
        openSample();
        auto* chart = child<ScoreChartView>(window, "scoreChart");
        QVERIFY(chart->isVisible());
        // 漢字テスト１ of 100: 85, 85, absent, 0, and 30 of the 50 sat (60 %).
        ScoreDistribution d = chart->distribution();
        QCOMPARE(d.counts, (std::array<int, 10>{1, 0, 0, 0, 0, 0, 1, 0, 2, 0}));
        QCOMPARE(d.counted, 4);
        QCOMPARE(d.absent, 1);
        QCOMPARE(d.average, TallyNumber::of(57.5));  // (85 + 85 + 0 + 60) / 4
        QVERIFY(!d.bestFirst);
        QVERIFY(chart->toolTip().contains(QStringLiteral("人数 4人　欠席 1人")));
        QVERIFY(chart->toolTip().contains(QStringLiteral("平均 57.5")));
        QList<int> bars = barHeights(chart->grab().toImage());
        QCOMPARE(bars.size(), 3);
        // the bars' edge rows are not counted as fill, and each bar is rounded to a pixel
        QVERIFY2(qAbs(bars[0] - bars[1]) <= 1 && qAbs(bars[2] - 2 * bars[0]) <= 4, qPrintable(QString::number(bars[2])));

        // 計算 chosen with the keyboard, of 20: 20, 18, 18, 10, 0.
        auto* chooser = child<QComboBox>(window, "testChooser");
        chooser->setFocus();
        QTest::keyClick(chooser, Qt::Key_Down);
        QCOMPARE(chooser->currentIndex(), 1);
        d = chart->distribution();
        QCOMPARE(d.counts, (std::array<int, 10>{1, 0, 0, 0, 0, 1, 0, 0, 0, 3}));
        QCOMPARE(d.absent, 0);
        QCOMPARE(d.average, TallyNumber::of(66.0));  // (100 + 90 + 90 + 50 + 0) / 5
        bars = barHeights(chart->grab().toImage());
        QCOMPARE(bars.size(), 3);
        // Within the rows of the bars' edges, which are not counted as fill (up to two
        // a bar, so three times one bar may lose four more than the other), and rounding.
        QVERIFY2(qAbs(bars[2] - 3 * bars[0]) <= 6, qPrintable(QStringLiteral("%1 %2").arg(bars[0]).arg(bars[2])));

        // Score order: the same counts, and the same picture: 0 stays at the left,
        // the tallest bar (90～100) on the right.
        const QImage numberOrder = chart->grab().toImage();
        QTest::mouseClick(child<QRadioButton>(window, "scoreOrder"), Qt::LeftButton);
        d = chart->distribution();
        QVERIFY(d.bestFirst);
        QCOMPARE(d.counts, (std::array<int, 10>{1, 0, 0, 0, 0, 1, 0, 0, 0, 3}));
        bars = barHeights(chart->grab().toImage());
        QCOMPARE(bars.size(), 3);
        QVERIFY(bars[2] > 2 * bars[0]);
        QCOMPARE(chart->grab().toImage(), numberOrder);

        // 聞き取り, nobody entered: no bars, everyone absent.
        QTest::keyClick(chooser, Qt::Key_Down);
        d = chart->distribution();
        QCOMPARE(d.counted, 0);
        QCOMPARE(d.absent, 5);
        QVERIFY(barHeights(chart->grab().toImage()).isEmpty());
        QVERIFY(chart->toolTip().contains(QStringLiteral("人数 0人　欠席 5人")));
    }

    // The printed sheet of a full class carries the chart beside the viewpoint table.
    // The numbers under the axis stand clear of the tick marks (on paper the ticks
    // ran through them): below every labelled tick a blank row comes before the
    // number's first dark pixel.
    void tickMarksStayAboveTheNumbers()
    {
        QImage page(900, 420, QImage::Format_RGB32);
        page.fill(Qt::white);
        ScoreDistribution d;
        d.counts = {1, 0, 2, 0, 0, 3, 0, 0, 1, 4};
        d.counted = 11;
        d.average = TallyNumber::of(61.0);
        QPainter painter(&page);
        QFont font(QStringLiteral("IPAexGothic"));
        font.setPixelSize(22);
        ScoreChart::paint(painter, QRectF(0, 0, page.width(), page.height()), d, font, 1.0);
        painter.end();
        // Black lines and text, drawn smooth; the bars' fill is lighter.
        const auto dark = [&page](int x, int y) { return qGray(page.pixel(x, y)) < 150; };
        // The axis: the row with the longest dark run.
        int axis = 0, longest = 0;
        for (int y = 0; y < page.height(); ++y) {
            int run = 0;
            for (int x = 0; x < page.width(); ++x) {
                run = dark(x, y) ? run + 1 : 0;
                if (run > longest) {
                    longest = run;
                    axis = y;
                }
            }
        }
        QVERIFY(longest > page.width() / 2);
        int checkedTicks = 0;
        for (int x = 1; x < page.width() - 1; ++x) {
            // A tick: dark a few rows under the axis, at its own column only.
            if (!dark(x, axis + 3) || (dark(x - 1, axis + 3) && dark(x + 1, axis + 3) && dark(x - 2, axis + 3)))
                continue;
            int tickEnd = axis + 3;
            while (tickEnd + 1 < page.height() && dark(x, tickEnd + 1))
                ++tickEnd;
            int numberTop = -1;
            for (int y = tickEnd + 1; y < page.height() && numberTop < 0; ++y)
                for (int dx = -10; dx <= 10; ++dx)
                    if (x + dx >= 0 && x + dx < page.width() && dark(x + dx, y)) {
                        numberTop = y;
                        break;
                    }
            QVERIFY2(numberTop > tickEnd + 1, qPrintable(QStringLiteral("tick at x %1 ends at %2, its number starts at %3")
                                                           .arg(x).arg(tickEnd).arg(numberTop)));
            ++checkedTicks;
            x += 3;
        }
        QCOMPARE(checkedTicks, ScoreDistribution::Bins + 1);
    }

    void printedSheetCarriesTheChart()
    {
        QList<int> scores;
        for (int p = 1; p <= 45; ++p)
            scores.append(p == 45 ? -1 : p * 2);  // 2, 4, ..., 88 of 100; pupil 45 absent
        openSample({{QStringLiteral("学年末"), {{1, 100, scores}}}}, 45);
        env->ui.previewFolder = env->dir.path();
        QTest::mouseClick(child<QPushButton>(window, "previewButton"), Qt::LeftButton);
        QCOMPARE(env->ui.previews.size(), 1);
        const QStringList pages = PdfText::pages(env->ui.previews[0].pdfPath);
        QCOMPARE(pages.size(), 1);
        // The average of 2 .. 88 is 45.0; 44 pupils in the chart, one absent.
        QVERIFY2(pages[0].contains(QRegularExpression(QStringLiteral("人数\\s*44人\\s*欠席\\s*1人"))), qPrintable(pages[0]));
        QVERIFY(pages[0].contains(QRegularExpression(QStringLiteral("平均\\s*45\\.0"))));
        QVERIFY(pages[0].contains(QStringLiteral("得点の分布")));
    }

    // The CSV saved from the keyboard, the teacher closes 「…保存しました」 with Enter
    // and goes on typing: the Enter's release, a held Enter's repeats or a Space that
    // follow reach the window, and none of them may save again.
    void keysAfterTheSavedMessageDoNotSaveAgain()
    {
        openSample();
        const QString csv = env->dir.filePath(QStringLiteral("漢字.csv"));
        const QString again = env->dir.filePath(QStringLiteral("again.csv"));
        env->ui.saveNames = {csv, again};
        env->mainWindow()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(env->mainWindow()));
        auto* csvButton = child<QPushButton>(window, "csvButton");
        csvButton->setFocus();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(csvButton));
        QTest::keyClick(csvButton, Qt::Key_Space);
        QCOMPARE(env->ui.messageTexts(),
                 QStringList{QStringLiteral("CSVファイル「%1」に保存しました。").arg(QDir::toNativeSeparators(csv))});
        QVERIFY(QFile::exists(csv));
        // Back on the list.
        QWidget* focus = QApplication::focusWidget();
        QCOMPARE(focus, static_cast<QWidget*>(child<QTableWidget>(window, "pupilGrid")));
        QTest::keyRelease(focus, Qt::Key_Return);
        QTest::keyPress(focus, Qt::Key_Return, Qt::NoModifier);
        QTest::keyClick(focus, Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(env->ui.messages.size(), 1);
        QCOMPARE(env->ui.saveNames.size(), size_t(1));
        QVERIFY(!QFile::exists(again));
    }

    void showsWhatWasLastSaved()
    {
        openSample();
        // Scores saved after the window opened are shown on the next choice.
        QList<Test> changed = sampleTests();
        changed[0].columns[0].scores = {10, 40, -1, 0, -1};
        env->writeFile(QStringLiteral("国語.dat"), scoreLines(changed));
        QTest::mouseClick(child<QRadioButton>(window, "numberOrder"), Qt::LeftButton);
        // 50 %, after 85 % and pupil 5's 30 of 50 (60 %).
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 0).at(2), QStringLiteral("50"));
        QCOMPARE(gridRow(child<QTableWidget>(window, "pupilGrid"), 0).at(7), QStringLiteral("3"));
    }

    void commandStatesFollowTheWindow()
    {
        openSample();
        MainWindow& main = *env->mainWindow();
        QVERIFY(toolbarButton(main, "printButton")->isEnabled());
        QVERIFY(toolbarButton(main, "previewButton")->isEnabled());
        QVERIFY(!toolbarButton(main, "scoreEntryButton")->isEnabled());
        QVERIFY(!toolbarButton(main, "rosterButton")->isEnabled());
        QVERIFY(!menu(main, "editMenu")->isEnabled());
        QVERIFY(!subjectButton(main, 2)->isEnabled());
        QVERIFY(toolbarButton(main, "testTallyButton")->isEnabled());

        QTest::mouseClick(child<QPushButton>(window, "closeButton"), Qt::LeftButton);
        QTRY_VERIFY(main.mdiArea()->subWindowList().isEmpty());
        QVERIFY(!toolbarButton(main, "printButton")->isEnabled());
        QVERIFY(!toolbarButton(main, "previewButton")->isEnabled());
        QVERIFY(toolbarButton(main, "scoreEntryButton")->isEnabled());
        QVERIFY(menu(main, "editMenu")->isEnabled());
        QVERIFY(subjectButton(main, 2)->isEnabled());
    }

    void refusedWithoutPupilsAndEmptyWithoutTests()
    {
        {
            TestEnv empty;
            empty.makeClass({});
            MainWindow& main = empty.startMainWindow();
            empty.ui.clear();
            menuEntry(main, "testTallyAction")->trigger();
            QCOMPARE(empty.ui.messageTexts(),
                     QStringList{NewClass::noPupilsMessage()});
            QVERIFY(main.mdiArea()->subWindowList().isEmpty());
        }
        openSample({});
        QCOMPARE(child<QComboBox>(window, "testChooser")->count(), 0);
        QCOMPARE(child<QTableWidget>(window, "pupilGrid")->rowCount(), 0);
        QVERIFY(env->ui.messages.isEmpty());
        QTest::mouseClick(child<QPushButton>(window, "previewButton"), Qt::LeftButton);
        QVERIFY(env->ui.previews.isEmpty());
        QCOMPARE(env->ui.messageTexts(), QStringList{QStringLiteral("印刷するテストがありません。")});
    }

    void specialistModeNamesTheClass()
    {
        env = std::make_unique<TestEnv>();
        env->makeClass(pupilNames(3, NameStyle::Full), true);
        env->writeFile(QStringLiteral("４の１.dat"), scoreLines({{QStringLiteral("図形"), {{3, 10, {9, 8, 7}}}}}));
        env->settings->setValue(QStringLiteral("UseMode/KyokaNumber"), QStringLiteral("3"));  // teaching 算数
        MainWindow& main = env->startMainWindow();
        env->ui.clear();
        window = qobject_cast<TestTallyWindow*>(main.openTestTallyWindow());
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("テスト別成績集計-４の１"));
        QCOMPARE(child<QLabel>(window, "viewpointName1")->text(), QStringLiteral("表現・処理"));
        QStringList copies;
        env->reports->setStoreObserver([&](const QString& store) {
            ReportSheet sheet;
            QVERIFY(ReportStore::read(store, sheet).ok);
            copies.append(sheet.titleValues.first());
        });
        QTest::mouseClick(child<QPushButton>(window, "previewButton"), Qt::LeftButton);
        QCOMPARE(copies, QStringList{QStringLiteral("【テスト別成績集計-４の１】")});
    }

    void twoTallyWindowsKeepTheLockWhileOneIsOpen()
    {
        openSample();
        MainWindow& main = *env->mainWindow();
        auto* second = qobject_cast<TestTallyWindow*>(main.openTestTallyWindow());
        QVERIFY(second);
        QCOMPARE(main.mdiArea()->subWindowList().size(), 2);
        child<QComboBox>(second, "testChooser")->setCurrentIndex(1);
        QCOMPARE(child<QComboBox>(window, "testChooser")->currentIndex(), 0);  // each window keeps its own choice
        QTest::mouseClick(child<QPushButton>(second, "closeButton"), Qt::LeftButton);
        QTRY_COMPARE(main.mdiArea()->subWindowList().size(), 1);
        main.mdiArea()->setActiveSubWindow(main.mdiArea()->subWindowList().first());
        QVERIFY(!toolbarButton(main, "scoreEntryButton")->isEnabled());
        QVERIFY(toolbarButton(main, "printButton")->isEnabled());
    }

    void unreadableScoreFileKeepsTheWindowClosed()
    {
        env = std::make_unique<TestEnv>();
        env->makeClass(pupilNames(3, NameStyle::Full));
        env->writeFile(QStringLiteral("国語.dat"), {QStringLiteral("1"), QStringLiteral("\"テスト\""), QStringLiteral("1")});
        MainWindow& main = env->startMainWindow();
        env->ui.clear();
        QVERIFY(!main.openTestTallyWindow());
        QCOMPARE(env->ui.messages.size(), 1);
        QVERIFY(env->ui.lastMessage().contains(QStringLiteral("国語.dat")));
        QVERIFY(main.mdiArea()->subWindowList().isEmpty());
    }

    void printAndPreviewFillTheStoreInBothOrders()
    {
        openSample();
        QStringList copies;
        env->reports->setStoreObserver([&](const QString& store) {
            const QString copy = env->dir.filePath(QStringLiteral("copy%1.mdb").arg(copies.size() + 1));
            QFile::copy(store, copy);
            copies.append(copy);
        });
        // Preview in attendance order, from the main toolbar.
        toolbarButton(*env->mainWindow(), "previewButton")->trigger();
        QCOMPARE(env->ui.previews.size(), 1);
        QCOMPARE(env->ui.previews[0].title, QStringLiteral("テスト別集計-漢字テスト１"));
        QVERIFY(!QFile::exists(env->reports->storePath(QStringLiteral("testdisp"))));

        // Preview in score order with the window's button.
        QTest::mouseClick(child<QRadioButton>(window, "scoreOrder"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(window, "previewButton"), Qt::LeftButton);
        QCOMPARE(copies.size(), 2);
        QVERIFY(env->ui.messages.isEmpty());

        const QStringList names = pupilNames(5, NameStyle::Full);
        const QStringList titleFields{
            QStringLiteral("Title:TEXT"),      QStringLiteral("SortWay:TEXT"),     QStringLiteral("TestTitle:TEXT"),
            QStringLiteral("TestManten:TEXT"), QStringLiteral("TestAvarage:TEXT"), QStringLiteral("Kanten1:TEXT"),
            QStringLiteral("Kanten2:TEXT"),    QStringLiteral("Kanten3:TEXT"),     QStringLiteral("Kanten4:TEXT"),
            QStringLiteral("Heikin1:TEXT"),    QStringLiteral("Heikin2:TEXT"),     QStringLiteral("Heikin3:TEXT"),
            QStringLiteral("Heikin4:TEXT"),    QStringLiteral("Manten1:TEXT"),     QStringLiteral("Manten2:TEXT"),
            QStringLiteral("Manten3:TEXT"),    QStringLiteral("Manten4:TEXT"),     QStringLiteral("LeftIndex:TEXT"),
            QStringLiteral("RightIndex:TEXT")};
        const QStringList dataFields{QStringLiteral("Number:TEXT"), QStringLiteral("Name:TEXT"),   QStringLiteral("Souten:TEXT"),
                                     QStringLiteral("Tensu1:TEXT"), QStringLiteral("Tensu2:TEXT"), QStringLiteral("Tensu3:TEXT"),
                                     QStringLiteral("Tensu4:TEXT"), QStringLiteral("Rank:TEXT")};
        auto titleRow = [](const QString& sortWay, const QString& left, const QString& right) {
            return QStringList{QStringLiteral("【テスト別成績集計-国語】"), sortWay, QStringLiteral("漢字テスト１"), QStringLiteral("100"),
                               QStringLiteral("57.5"), QStringLiteral("関心,意欲,態度"), QStringLiteral("理解の能力"),
                               QStringLiteral(" -"), QStringLiteral(" -"), QStringLiteral("28.3"), QStringLiteral("28.8"),
                               QStringLiteral(" -"), QStringLiteral(" -"), QStringLiteral("50"), QStringLiteral("50"),
                               QStringLiteral(" -"), QStringLiteral(" -"), left, right};
        };
        const QList<QStringList> byNumber{
            {QStringLiteral("1"), names[0], QStringLiteral("85"), QStringLiteral("45"), QStringLiteral("40"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("1")},
            {QStringLiteral("2"), names[1], QStringLiteral("85"), QStringLiteral("40"), QStringLiteral("45"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("1")},
            {QStringLiteral("3"), names[2], QStringLiteral("欠"), QStringLiteral("欠"), QStringLiteral("欠"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("- ")},
            {QStringLiteral("4"), names[3], QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("4")},
            {QStringLiteral("5"), names[4], QStringLiteral("30/50"), QStringLiteral("欠"), QStringLiteral("30"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("3")}};
        const QList<QStringList> byScore{
            {QStringLiteral("1"), names[0], QStringLiteral("85"), QStringLiteral("45"), QStringLiteral("40"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("1")},
            {QStringLiteral("1"), names[1], QStringLiteral("85"), QStringLiteral("40"), QStringLiteral("45"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("2")},
            {QStringLiteral("3"), names[4], QStringLiteral("30/50"), QStringLiteral("欠"), QStringLiteral("30"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("5")},
            {QStringLiteral("4"), names[3], QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("4")},
            {QStringLiteral("  -  "), names[2], QStringLiteral("欠"), QStringLiteral("欠"), QStringLiteral("欠"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("3")}};

        for (int i = 0; i < 2; ++i) {
            const QString connection = QStringLiteral("check%1").arg(i);
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
                db.setDatabaseName(copies[i]);
                QVERIFY(db.open());
                QSqlQuery tables(db);
                QVERIFY(tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name")));
                QStringList tableNames;
                while (tables.next())
                    tableNames.append(tables.value(0).toString());
                QCOMPARE(tableNames, (QStringList{QStringLiteral("Datas"), QStringLiteral("Titles")}));
                QCOMPARE(sqlFields(connection, QStringLiteral("Titles")), titleFields);
                QCOMPARE(sqlFields(connection, QStringLiteral("Datas")), dataFields);
                QCOMPARE(sqlIndexes(connection, QStringLiteral("Titles")), QStringList{QStringLiteral("Title on Title")});
                QCOMPARE(sqlIndexes(connection, QStringLiteral("Datas")), QStringList{QStringLiteral("Number on Number")});
                const QList<QStringList> titles = sqlRows(connection, QStringLiteral("Titles"));
                QCOMPARE(titles.size(), 1);
                QCOMPARE(titles[0], i == 0 ? titleRow(QStringLiteral("番号順"), QStringLiteral("番号"), QStringLiteral("順位"))
                                           : titleRow(QStringLiteral("成績順"), QStringLiteral("順位"), QStringLiteral("番号")));
                QCOMPARE(sqlRows(connection, QStringLiteral("Datas")), i == 0 ? byNumber : byScore);
                db.close();
            }
            QSqlDatabase::removeDatabase(connection);
        }
    }

    void printingWithoutAPrinterOffersAPdf()
    {
        openSample();
        env->reports->setPrinterCheck([] { return false; });
        const QString pdf = env->dir.filePath(QStringLiteral("漢字.pdf"));
        env->ui.answers = {Ui::Answer::Ok};
        env->ui.saveNames = {pdf};
        // The main toolbar's 印刷 prints the active window's sheet.
        toolbarButton(*env->mainWindow(), "printButton")->trigger();
        QCOMPARE(env->ui.messages.size(), 2);
        QCOMPARE(env->ui.messages[0].buttons, Ui::Buttons::OkCancel);
        QVERIFY(env->ui.messages[0].text.startsWith(QStringLiteral("プリンタが見つかりません。")));
        QCOMPARE(env->ui.messages[1].text, QStringLiteral("PDFファイル「%1」に保存しました。").arg(QDir::toNativeSeparators(pdf)));
        const QString text = PdfText::pages(pdf).join(QLatin1Char('\n'));
        QVERIFY(text.contains(QStringLiteral("テスト名：漢字テスト１")));
        for (const QString& name : pupilNames(5, NameStyle::Full))
            QVERIFY(text.contains(name));
        QVERIFY(!QFile::exists(env->reports->storePath(QStringLiteral("testdisp"))));

        // Declined: no file, no further message.
        env->ui.clear();
        env->ui.answers = {Ui::Answer::Cancel};
        QTest::mouseClick(child<QPushButton>(window, "printButton"), Qt::LeftButton);
        QCOMPARE(env->ui.messages.size(), 1);
        QVERIFY(env->ui.previews.isEmpty());
    }

    void printedSheetOfFortyFivePupilsHoldsEveryNameAndFigure()
    {
        // 45 pupils, two tests; pupil 7 absent, pupil 12 missed column 1.
        QList<int> first, second;
        for (int p = 1; p <= 45; ++p) {
            first.append(p == 7 || p == 12 ? -1 : (p * 7) % 51);
            second.append(p == 7 ? -1 : (p * 5) % 31);
        }
        openSample({{QStringLiteral("二学期まとめ"), {{1, 50, first}, {2, 30, second}}},
                    {QStringLiteral("小テスト"), {{3, 10, QList<int>(45, 10)}}}},
                   45);
        env->ui.previewFolder = env->dir.path();
        for (int mode = 0; mode < 2; ++mode) {
            QTest::mouseClick(child<QRadioButton>(window, mode == 0 ? "numberOrder" : "scoreOrder"), Qt::LeftButton);
            QTest::mouseClick(child<QPushButton>(window, "previewButton"), Qt::LeftButton);
            QCOMPARE(env->ui.previews.size(), mode + 1);
            const QString pdf = env->ui.previews.last().pdfPath;
            if (!qEnvironmentVariableIsEmpty("KAZANE_KEEP_PDF"))
                QFile::copy(pdf, qEnvironmentVariable("KAZANE_KEEP_PDF") + QStringLiteral("/testdisp%1.pdf").arg(mode));
            // A class of 45 takes one A4 page.
            const QStringList pages = PdfText::pages(pdf);
            QCOMPARE(pages.size(), 1);
            const QString all = pages.join(QLatin1Char('\n'));
            // The headings of the sheet and of the table.
            for (const QString& page : pages) {
                QVERIFY(page.contains(QStringLiteral("【テスト別成績集計-国語】")));
                QVERIFY(page.contains(QStringLiteral("テスト名：二学期まとめ")));
                // The table's heading row (the wide space between the characters
                // reads back as plain spaces).
                QVERIFY(page.contains(QRegularExpression(mode == 0 ? QStringLiteral("番号\\s+氏\\s+名\\s+総\\s+点\\s+観点Ⅰ\\s+観点Ⅱ\\s+観点Ⅲ\\s+観点Ⅳ\\s+順位")
                                                                   : QStringLiteral("順位\\s+氏\\s+名\\s+総\\s+点\\s+観点Ⅰ\\s+観点Ⅱ\\s+観点Ⅲ\\s+観点Ⅳ\\s+番号"))));
                QVERIFY(page.contains(mode == 0 ? QStringLiteral("番号順") : QStringLiteral("成績順")));
            }
            QVERIFY(pages[0].contains(QStringLiteral("1 / 1 ページ")));
            QVERIFY(all.contains(QStringLiteral("満点：80点")));
            QVERIFY(all.contains(QStringLiteral("：") + child<QLabel>(window, "classAverage")->text() + QStringLiteral("点")));
            QVERIFY(all.contains(QStringLiteral("関心,意欲,態度")));
            QVERIFY(all.contains(QStringLiteral("数学的な考え方")) == false);
            QVERIFY(all.contains(QStringLiteral("表現の能力")));
            // Every row: its line on the sheet holds exactly the row's texts.
            const QStringList lines = all.split(QLatin1Char('\n'));
            for (int r = 0; r < 45; ++r) {
                QStringList expected = gridRow(child<QTableWidget>(window, "pupilGrid"), r);
                for (int c = 2; c < 8; ++c)
                    if (expected[c].isEmpty())
                        expected[c] = QStringLiteral("-");
                const QString name = expected[1];
                const auto found = std::find_if(lines.begin(), lines.end(), [&](const QString& line) {
                    return line.contains(QLatin1Char(' ') + name + QLatin1Char(' '));
                });
                QVERIFY2(found != lines.end(), qPrintable(name));
                QStringList tokens = found->simplified().split(QLatin1Char(' '));
                if (expected[0].trimmed() == QStringLiteral("-"))
                    expected[0] = QStringLiteral("-");
                if (expected[7].trimmed() == QStringLiteral("-"))
                    expected[7] = QStringLiteral("-");
                QCOMPARE(tokens, expected);
            }
        }
    }
};

QTEST_MAIN(TestTallyWindowTest)
#include "test_test_tally_window.moc"
