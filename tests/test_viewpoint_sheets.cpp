// Viewpoint names set in the settings reach every sheet: the windows' prints and
// kazane-export (which reads them from the same settings file) give the same
// sheets, and the CSV files carry the names.

#include "Controls.h"
#include "TestEnv.h"
#include "DataFiles.h"
#include "model/ViewpointNames.h"
#include "output/ReportStore.h"
#include "ExportRun.h"
#include "reports/OverallTallyWindow.h"
#include "reports/PupilResultsWindow.h"
#include "reports/TestTallyWindow.h"
#include "app/MainWindow.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextStream>

using Controls::child;
using namespace DataFiles;

namespace {

const QString Knowledge = QStringLiteral("知識・技能");
const QString Thinking = QStringLiteral("思考・判断・表現");
const QString Attitude = QStringLiteral("主体的に学習に取り組む態度");

// The export's exit code; its error lines are shown when it fails.
int exportCode(TestEnv& env, const QStringList& arguments)
{
    const ExportRun run = runExport(env, arguments);
    if (run.code != 0)
        qWarning("%s", qPrintable(run.err));
    return run.code;
}

ReportSheet exportedStore(TestEnv& env, const QStringList& arguments)
{
    const QString path = env.dir.path() + QStringLiteral("/exported.mdb");
    QFile::remove(path);
    ReportSheet sheet;
    if (exportCode(env, arguments + QStringList{QStringLiteral("--store"), path}) == 0)
        ReportStore::read(path, sheet);
    return sheet;
}

ReportSheet printedStore(TestEnv& env, QWidget* window)
{
    ReportSheet captured;
    env.reports->setStoreObserver([&](const QString& path) { QVERIFY(ReportStore::read(path, captured).ok); });
    child<QPushButton>(window, "previewButton")->click();
    env.reports->setStoreObserver({});
    return captured;
}

// The CSV's heading row, the second line (no heading of these sheets holds a comma
// or a quote).
QStringList headings(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).remove(QChar(0xFEFF)).split(QStringLiteral("\r\n"));
    return lines.value(1).split(QLatin1Char(','));
}

// 国語 with today's three viewpoints; the names stored as the settings window stores them.
void makeClassWithTodaysNames(TestEnv& env)
{
    env.makeClass({QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田")});
    env.writeFile(QStringLiteral("国語.dat"),
                  scoreLines({{QStringLiteral("物語文"), {{2, 50, {45, 20, 30}}, {3, 50, {40, 35, 25}}}},
                              {QStringLiteral("漢字"), {{1, 100, {70, 80, 90}}}}}));
    const ViewpointNameTable& today = ViewpointNames::currentCurriculum();
    for (int v = 1; v <= 4; ++v)
        env.settings->setValue(ViewpointNames::key(1, v).prepend(QStringLiteral("UseMode/")), today[1][v]);
    env.settings->sync();
}

}  // namespace

class ViewpointSheetsTest : public QObject {
    Q_OBJECT
private slots:
    void sheetsAndCsvCarryTheNames()
    {
        TestEnv env;
        makeClassWithTodaysNames(env);
        MainWindow& window = env.startMainWindow();
        QCOMPARE(env.data.viewpointName[1][3], Attitude);

        // テスト別: the window's labels and its sheet name the test's two viewpoints.
        auto* perTest = qobject_cast<TestTallyWindow*>(window.openTestTallyWindow());
        QVERIFY(perTest);
        child<QComboBox>(perTest, "testChooser")->setCurrentIndex(0);
        QCOMPARE(child<QLabel>(perTest, "viewpointName1")->text(), Thinking);
        QCOMPARE(child<QLabel>(perTest, "viewpointName2")->text(), Attitude);
        const ReportSheet perTestPrinted = printedStore(env, perTest);
        perTest->closeWindow();
        const ReportSheet perTestExported = exportedStore(env, {"testdisp", "--test", "1"});
        QCOMPARE(perTestExported.titleValues, perTestPrinted.titleValues);
        QVERIFY(perTestPrinted.titleValues.contains(Thinking));
        QVERIFY(perTestPrinted.titleValues.contains(Attitude));

        // 総合集計: the window's order list and the sheet.
        env.ui.modalHandlers.push_back([](QDialog& d) {
            QListWidget* tests = child<QListWidget>(&d, "testList");
            for (int i = 0; i < tests->count(); ++i)
                tests->item(i)->setSelected(true);
            child<QPushButton>(&d, "okButton")->click();
        });
        auto* overall = qobject_cast<OverallTallyWindow*>(window.openOverallTallyWindow());
        QVERIFY(overall);
        QComboBox* order = child<QComboBox>(overall, "orderChooser");
        QCOMPARE(order->itemText(1), Knowledge);
        QCOMPARE(order->itemText(4), QStringLiteral("観点Ⅳ"));
        const ReportSheet overallPrinted = printedStore(env, overall);
        overall->closeWindow();
        const ReportSheet overallExported = exportedStore(env, {"aryoiki"});
        QCOMPARE(overallExported.titleValues, overallPrinted.titleValues);
        QCOMPARE(overallExported.rows, overallPrinted.rows);
        for (const QString& name : {Knowledge, Thinking, Attitude})
            QVERIFY(overallPrinted.titleValues.contains(name));

        // 個人集計.
        auto* pupil = qobject_cast<PupilResultsWindow*>(window.openPupilResultsWindow());
        QVERIFY(pupil);
        const ReportSheet pupilPrinted = printedStore(env, pupil);
        pupil->closeWindow();
        QCOMPARE(exportedStore(env, {"kojin", "--pupil", "1"}).titleValues, pupilPrinted.titleValues);
        QVERIFY(pupilPrinted.titleValues.contains(QStringLiteral("1:") + Knowledge));

        // The CSV files of kazane-export.
        const QString overallCsv = env.dir.path() + QStringLiteral("/aryoiki.csv");
        QCOMPARE(exportCode(env, {"aryoiki", "--csv", overallCsv}), 0);
        const QStringList overallHeadings = headings(overallCsv);
        for (const QString& name : {Knowledge, Thinking, Attitude})
            for (const char* figure : {"平均", "順位", "評定"})
                QVERIFY2(overallHeadings.contains(QString::fromUtf8(figure) + QStringLiteral("（") + name + QStringLiteral("）")),
                         qPrintable(overallHeadings.join(QLatin1Char(','))));
        const QString perTestCsv = env.dir.path() + QStringLiteral("/testdisp.csv");
        QCOMPARE(exportCode(env, {"testdisp", "--test", "2", "--csv", perTestCsv}), 0);
        QCOMPARE(headings(perTestCsv).value(3), Knowledge);
    }
};

QTEST_MAIN(ViewpointSheetsTest)
#include "test_viewpoint_sheets.moc"
