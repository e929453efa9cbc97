// kazane-export: wrong usage and data errors give one Japanese line and their exit
// status, leave no output file, and never change the data folder or the settings.

#include "Controls.h"
#include "MainWindowControls.h"
#include "AttendanceDriver.h"
#include "TestEnv.h"
#include "DataFiles.h"
#include "model/ScoreFile.h"
#include "output/CsvWriter.h"
#include "ExportRun.h"
#include "attendance/AttendanceWindow.h"
#include "maintenance/RosterWindow.h"
#include "reports/TestPickerDialog.h"
#include "maintenance/TestListWindow.h"
#include "reports/PupilResultsWindow.h"
#include "reports/OverallTallyWindow.h"
#include "output/ReportStore.h"
#include "reports/TestTallyWindow.h"
#include "app/MainWindow.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QTextStream>

using Controls::child;
using namespace MainControls;
using namespace DataFiles;

namespace {

// Every file of a folder with its bytes.
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            files.insert(path, file.readAll());
    }
    return files;
}


// Two tests of 国語 and a year of attendance for three pupils.
void makeTerm(TestEnv& env)
{
    env.makeClass({QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田")});
    env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("漢字①"), {{1, 50, {45, -1, 30}}, {3, 50, {40, 20, -1}}}},
                                                     {QStringLiteral("読解"), {{2, 100, {70, 80, 90}}}}}));
    const Attendance year = attendanceYear(
        3, [](int m) { return 18 + m % 3; },
        [](int m, int p) { return QList<int>{m % 2, 0, 18 + m % 3 - m % 2, (m + p) % 3, 0, p, 0}; });
    env.writeFile(QStringLiteral("shuketu.dat"), attendanceLines(year));
}

// The store a window's print path fills, read back.
ReportSheet captureStore(TestEnv& env, const std::function<void()>& print)
{
    ReportSheet captured;
    env.reports->setStoreObserver([&](const QString& path) { QVERIFY(ReportStore::read(path, captured).ok); });
    print();
    env.reports->setStoreObserver({});
    return captured;
}

ReportSheet exportedStore(TestEnv& env, const QStringList& arguments)
{
    const QString path = env.dir.path() + QStringLiteral("/exported.mdb");
    QFile::remove(path);
    const ExportRun result = runExport(env, arguments + QStringList{QStringLiteral("--store"), path});
    if (result.code != 0)
        qWarning("%s", qPrintable(result.err));
    ReportSheet sheet;
    ReportStore::read(path, sheet);
    return sheet;
}

void compareSheets(const ReportSheet& exported, const ReportSheet& printed)
{
    QVERIFY(!printed.rows.isEmpty());
    QCOMPARE(exported.titleFields, printed.titleFields);
    QCOMPARE(exported.titleValues, printed.titleValues);
    QCOMPARE(exported.dataFields, printed.dataFields);
    QCOMPARE(exported.dataIndexName, printed.dataIndexName);
    QCOMPARE(exported.rows, printed.rows);
}

}  // namespace

class ExportTest : public QObject {
    Q_OBJECT
private slots:
    void errorsExitWithTheirStatusAndLeaveNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("says");
        QTest::newRow("no sheet") << QStringList{"--pdf", "OUT/a.pdf"} << 2 << "一覧表の種類";
        QTest::newRow("unknown sheet") << QStringList{"graph", "--pdf", "OUT/a.pdf"} << 2 << "graph";
        QTest::newRow("unknown option") << QStringList{"names", "--colour", "red", "--pdf", "OUT/a.pdf"} << 2 << "--colour";
        QTest::newRow("no output") << QStringList{"names"} << 2 << "出力先";
        QTest::newRow("unknown subject") << QStringList{"--subject", "英語", "names", "--pdf", "OUT/a.pdf"} << 2 << "英語";
        QTest::newRow("subject out of range") << QStringList{"--subject", "10", "names", "--csv", "OUT/a.csv"} << 2 << "10";
        QTest::newRow("class in homeroom mode") << QStringList{"--class", "1", "names", "--csv", "OUT/a.csv"} << 2 << "--subject";
        QTest::newRow("testdisp without test") << QStringList{"testdisp", "--csv", "OUT/a.csv"} << 2 << "--test";
        QTest::newRow("bad order") << QStringList{"aryoiki", "--order", "viewpoint:5", "--csv", "OUT/a.csv"} << 2 << "--order";
        QTest::newRow("bad show") << QStringList{"aryoiki", "--show", "avg,best", "--csv", "OUT/a.csv"} << 2 << "best";
        QTest::newRow("bad term") << QStringList{"shuseki", "--term", "4", "--csv", "OUT/a.csv"} << 2 << "--term";
        QTest::newRow("missing score file") << QStringList{"--subject", "算数", "tests", "--csv", "OUT/a.csv"} << 1 << "算数.Dat";
        QTest::newRow("malformed roster") << QStringList{"--subject", "2", "names", "--csv", "OUT/a.csv", "--data", "BAD"} << 1 << "Class.Nam";
        QTest::newRow("term pack without term") << QStringList{"--term-pack", "OUT/pack"} << 2 << "--term";
        QTest::newRow("option without its value") << QStringList{"names", "--csv"} << 2 << "--csv の後に値がありません";
        QTest::newRow("option given twice") << QStringList{"names", "--csv", "OUT/a.csv", "--csv", "OUT/b.csv"} << 2 << "--csv は一度だけ";
        QTest::newRow("unknown option with a value") << QStringList{"names", "--colour=red", "--pdf", "OUT/a.pdf"} << 2 << "「--colour」";
        QTest::newRow("unknown short option") << QStringList{"-x", "names", "--pdf", "OUT/a.pdf"} << 2 << "「-x」";
    }

    void errorsExitWithTheirStatusAndLeaveNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, says);
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        QFile::remove(env.dataFolder() + QStringLiteral("算数.dat"));
        const QString bad = env.dir.path() + QStringLiteral("/bad/");
        QDir().mkpath(bad);
        QFile roster(bad + QStringLiteral("Class.Nam"));
        QVERIFY(roster.open(QIODevice::WriteOnly));
        roster.write("3\r\n\"a\"\r\n");
        roster.close();
        const QString outFolder = env.dir.path() + QStringLiteral("/out");
        QDir().mkpath(outFolder);
        for (QString& argument : arguments) {
            argument.replace(QStringLiteral("OUT"), outFolder);
            argument.replace(QStringLiteral("BAD"), bad);
        }
        const auto before = snapshot(env.dataFolder());
        const QByteArray settingsBefore = [&] {
            QFile file(env.settingsFile());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        const ExportRun result = runExport(env, arguments);
        QCOMPARE(result.code, code);
        QVERIFY2(result.err.contains(says), qPrintable(result.err));
        QCOMPARE(result.err.count(QLatin1Char('\n')), 1);
        QVERIFY(QDir(outFolder).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
        QCOMPARE(snapshot(env.dataFolder()), before);
        QFile settings(env.settingsFile());
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), settingsBefore);
    }

    void perTestSheetEqualsTheWindowsPrint()
    {
        TestEnv env;
        makeTerm(env);
        MainWindow& window = env.startMainWindow();
        auto* display = qobject_cast<TestTallyWindow*>(window.openTestTallyWindow());
        QVERIFY(display);
        child<QComboBox>(display, "testChooser")->setCurrentIndex(0);
        child<QRadioButton>(display, "scoreOrder")->click();
        const ReportSheet printed = captureStore(env, [&] { child<QPushButton>(display, "previewButton")->click(); });
        const ReportSheet exported = exportedStore(env, {"testdisp", "--test", "1", "--order", "score"});
        compareSheets(exported, printed);
        QCOMPARE(exported.titleValues[0], QStringLiteral("【テスト別成績集計-国語】"));
    }

    void attendanceSheetEqualsTheWindowsPrint()
    {
        TestEnv env;
        makeTerm(env);
        MainWindow& window = env.startMainWindow();
        auto* attendance = qobject_cast<AttendanceWindow*>(window.openAttendanceWindow());
        QVERIFY(attendance);
        AttendanceDriver::tallyButton(attendance, 1)->click();           // ２学期集計
        AttendanceDriver::recordBookViewOption(attendance)->click();     // 指導要録用
        const ReportSheet printed = captureStore(env, [&] { AttendanceDriver::previewButton(attendance)->click(); });
        attendance->closeWindow();
        const ReportSheet exported = exportedStore(env, {"shuseki", "--term", "2", "--view", "record"});
        compareSheets(exported, printed);
        QCOMPARE(exported.rows.size(), 4);  // the heading row and three pupils
    }

    void tallySheetsEqualTheWindowsPrint()
    {
        TestEnv env;
        makeTerm(env);
        MainWindow& window = env.startMainWindow();
        auto* kojin = qobject_cast<PupilResultsWindow*>(window.openPupilResultsWindow());
        QVERIFY(kojin);
        child<QComboBox>(kojin, "pupilChooser")->setCurrentIndex(2);
        const ReportSheet printedKojin = captureStore(env, [&] { child<QPushButton>(kojin, "previewButton")->click(); });
        kojin->closeWindow();
        compareSheets(exportedStore(env, {"kojin", "--pupil", "3"}), printedKojin);

        // The overall tally over test 2 only, in the order of viewpoint 2, ranks and
        // evaluations shown without averages.
        env.ui.modalHandlers.push_back([](QDialog& d) {
            auto& choice = static_cast<TestPickerDialog&>(d);
            child<QListWidget>(&choice, "testList")->item(1)->setSelected(true);
            child<QPushButton>(&choice, "okButton")->click();
        });
        auto* overall = qobject_cast<OverallTallyWindow*>(window.openOverallTallyWindow());
        QVERIFY(overall);
        child<QRadioButton>(overall, "scoreOrder")->click();
        child<QComboBox>(overall, "orderChooser")->setCurrentIndex(2);
        child<QListWidget>(overall, "figureChoices")->item(0)->setCheckState(Qt::Unchecked);
        const ReportSheet printedOverall = captureStore(env, [&] { child<QPushButton>(overall, "previewButton")->click(); });
        overall->closeWindow();
        const ReportSheet exported = exportedStore(env, {"aryoiki", "--tests", "2", "--order", "viewpoint:2", "--show", "rank,eval"});
        compareSheets(exported, printedOverall);
        QCOMPARE(exported.rows.size(), 4);
        QCOMPARE(exported.rows[1][2], QStringLiteral("-"));  // no averages shown
    }

    void nameAndTestListsEqualTheWindowsPrint()
    {
        TestEnv env;
        makeTerm(env);
        MainWindow& window = env.startMainWindow();
        auto* names = qobject_cast<RosterWindow*>(window.openRosterWindow());
        QVERIFY(names);
        const ReportSheet printedNames = captureStore(env, [&] { child<QPushButton>(names, "previewButton")->click(); });
        names->closeWindow();
        compareSheets(exportedStore(env, {"names"}), printedNames);
        auto* tests = qobject_cast<TestListWindow*>(window.openTestListWindow());
        QVERIFY(tests);
        const ReportSheet printedTests = captureStore(env, [&] { child<QPushButton>(tests, "previewButton")->click(); });
        tests->closeWindow();
        const ReportSheet exportedTests = exportedStore(env, {"tests"});
        compareSheets(exportedTests, printedTests);
        QCOMPARE(exportedTests.rows.size(), 2);
        QCOMPARE(exportedTests.rows[0][1], QStringLiteral("漢字①"));
    }

    void csvButtonSavesWhatTheExportWrites()
    {
        TestEnv env;
        makeTerm(env);
        MainWindow& window = env.startMainWindow();
        auto* display = qobject_cast<TestTallyWindow*>(window.openTestTallyWindow());
        QVERIFY(display);
        child<QComboBox>(display, "testChooser")->setCurrentIndex(1);
        const QString fromWindow = env.dir.path() + QStringLiteral("/window");  // the extension is added
        env.ui.saveNames.push_back(fromWindow);
        child<QPushButton>(display, "csvButton")->click();
        QCOMPARE(env.ui.lastMessage(), QStringLiteral("CSVファイル「%1.csv」に保存しました。").arg(fromWindow));
        const QString fromExport = env.dir.path() + QStringLiteral("/export.csv");
        QCOMPARE(runExport(env, {"testdisp", "--test", "2", "--csv", fromExport}).code, 0);
        QFile a(fromWindow + QStringLiteral(".csv"));
        QFile b(fromExport);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(a.readAll(), b.readAll());
        // Cancelling the file dialog writes nothing and says nothing.
        env.ui.clear();
        child<QPushButton>(display, "csvButton")->click();
        QVERIFY(env.ui.messages.isEmpty());
    }

    // The CSV holds the store's rows under Japanese headings, after a line of the
    // sheet's title and choices taken from the store's title row.
    void csvRoundTripsToTheStoreRows()
    {
        TestEnv env;
        makeTerm(env);
        const QString csv = env.dir.path() + QStringLiteral("/t.csv");
        const ReportSheet stored = exportedStore(env, {"testdisp", "--test", "2"});
        QCOMPARE(runExport(env, {"testdisp", "--test", "2", "--csv", csv}).code, 0);
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QStringList> rows = CsvWriter::parse(file.readAll());
        QCOMPARE(rows.size(), 2 + stored.rows.size());
        QCOMPARE(rows[0].value(0), stored.titleValues.value(0));
        for (qsizetype i = 2; i < rows[0].size(); i += 2)
            QVERIFY2(stored.titleValues.contains(rows[0][i]) || stored.titleValues.contains(QLatin1Char(' ') + rows[0][i]),
                     qPrintable(rows[0][i]));
        QCOMPARE(rows[1].value(0), QStringLiteral("番号"));
        QCOMPARE(rows[1].value(1), QStringLiteral("氏名"));
        QCOMPARE(rows[1].value(2), QStringLiteral("合計"));
        QCOMPARE(rows[1].last(), QStringLiteral("順位"));
        for (const QString& internal : stored.dataFields)
            QVERIFY(!rows[1].contains(internal));
        QCOMPARE(rows.mid(2), stored.rows);
    }

    void termPackMakesEveryFile()
    {
        TestEnv env;
        makeTerm(env);
        env.settings->setValue(QStringLiteral("UseMode/UseKyoka"), QStringLiteral("101000000"));
        env.writeFile(QStringLiteral("算数.dat"), scoreLines({{QStringLiteral("計算"), {{3, 10, {10, 9, 8}}}}}));
        const auto before = snapshot(env.dataFolder());
        const QString pack = env.dir.path() + QStringLiteral("/学期末");
        const ExportRun result = runExport(env, {"--term-pack", pack, "--term", "year"});
        QVERIFY2(result.code == 0, qPrintable(result.err));
        QStringList files = QDir(pack).entryList(QDir::Files);
        files.sort();
        QStringList expected{"出欠_年度末集計_指導要録用.pdf", "出欠_年度末集計_詳細.pdf", "国語_個人_01.pdf", "国語_個人_02.pdf",
                             "国語_個人_03.pdf", "国語_総合集計.pdf", "算数_個人_01.pdf", "算数_個人_02.pdf",
                             "算数_個人_03.pdf", "算数_総合集計.pdf"};
        expected.sort();
        QCOMPARE(files, expected);
        QCOMPARE(result.err.count(QStringLiteral("作成しました: ")), expected.size());
        QCOMPARE(snapshot(env.dataFolder()), before);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QDir(pack).filePath(QStringLiteral("算数_個人_02.pdf")), QStringLiteral("-")});
        QVERIFY(text.waitForFinished(20000));
        const QString page = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(page.contains(QStringLiteral("石田")) && page.contains(QStringLiteral("計算")), qPrintable(page));
    }

    void helpIsJapanese()
    {
        TestEnv env;
        const ExportRun result = runExport(env, {QStringLiteral("--help")});
        QCOMPARE(result.code, 0);
        QVERIFY(result.out.contains(QStringLiteral("使い方: kazane-export")));
        QVERIFY(result.out.contains(QStringLiteral("--term-pack")));
        // -h, and --help among words that would otherwise be refused, print the same.
        for (const QStringList& arguments : {QStringList{"-h"}, QStringList{"graph", "--colour", "--help", "--csv"}}) {
            const ExportRun again = runExport(env, arguments);
            QCOMPARE(again.code, 0);
            QCOMPARE(again.out, result.out);
            QVERIFY(again.err.isEmpty());
        }
    }

    // "--name value" and "--name=value", before or after the sheet, mean the same.
    void optionsTakeTheirValueEitherWay()
    {
        TestEnv env;
        makeTerm(env);
        const QString spaced = env.dir.path() + QStringLiteral("/spaced.csv");
        const QString joined = env.dir.path() + QStringLiteral("/joined.csv");
        QCOMPARE(runExport(env, {"--subject", "国語", "testdisp", "--test", "2", "--csv", spaced}).code, 0);
        QCOMPARE(runExport(env, {"testdisp", "--csv=" + joined, "--test=2", "--subject=国語"}).code, 0);
        QFile a(spaced);
        QFile b(joined);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray bytes = a.readAll();
        QVERIFY(QString::fromUtf8(bytes).contains(QStringLiteral("読解")));
        QCOMPARE(b.readAll(), bytes);
    }

    void csvQuotesAsSpreadsheetsExpect()
    {
        ReportSheet sheet;
        sheet.stem = QStringLiteral("Shuseki");
        sheet.titleFields = {QStringLiteral("Title"), QStringLiteral("Mode"), QStringLiteral("JugyoSu")};
        sheet.titleValues = {QStringLiteral("【出欠集計一覧表】"), QStringLiteral("a,b"), QStringLiteral("72")};
        sheet.dataFields = {QStringLiteral("Number"), QStringLiteral("Name"), QStringLiteral("Datas1")};
        sheet.rows = {{QStringLiteral("番号"), QStringLiteral("氏名"), QStringLiteral("忌引")},
                      {QStringLiteral(" 1"), QStringLiteral("青木 \"タロウ\""), QStringLiteral(" ")},
                      {QStringLiteral("2"), QStringLiteral("石田"), QStringLiteral("-")}};
        const QByteArray csv = CsvWriter::build(sheet);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        const QString text = QString::fromUtf8(csv.mid(3));
        QCOMPARE(text,
                 QStringLiteral("【出欠集計一覧表】,集計,\"a,b\",授業日数,72\r\n番号,氏名,忌引\r\n"
                                "\" 1\",\"青木 \"\"タロウ\"\"\",\" \"\r\n2,石田,-\r\n"));
        const QList<QStringList> rows = CsvWriter::parse(csv);
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0], (QStringList{"【出欠集計一覧表】", "集計", "a,b", "授業日数", "72"}));
        QCOMPARE(rows[1], sheet.rows[0]);
        QCOMPARE(rows[2], sheet.rows[1]);
        QCOMPARE(rows[3], sheet.rows[2]);
    }

    // A cell that a spreadsheet would run as a formula gets a leading "'"; plain
    // numbers and the dash of a missing value stay as they are.
    void csvCellsThatLookLikeFormulasStayText()
    {
        ReportSheet sheet;
        sheet.stem = QStringLiteral("Mente");
        sheet.titleFields = {QStringLiteral("Title"), QStringLiteral("ClassName"), QStringLiteral("Number"), QStringLiteral("Names")};
        sheet.titleValues = {QStringLiteral("=HYPERLINK(\"x\")"), QStringLiteral("国語"), QStringLiteral("番号"), QStringLiteral("氏　　名")};
        sheet.dataFields = {QStringLiteral("Number"), QStringLiteral("Name")};
        const QStringList cells{"=1+1", "+81-3", "@SUM(A1)", "\t1", "\r1", "-1-1", "+5", "=A1,B1",
                                "-5", "-12.5", "12", "-", "- ", "田中"};
        for (const QString& cell : cells)
            sheet.rows.append({QStringLiteral("1"), cell});
        const QByteArray expected = "\xEF\xBB\xBF"
                                    "\"'=HYPERLINK(\"\"x\"\")\",\xE3\x82\xAF\xE3\x83\xA9\xE3\x82\xB9,\xE5\x9B\xBD\xE8\xAA\x9E\r\n"
                                    "\xE7\x95\xAA\xE5\x8F\xB7,\xE6\xB0\x8F\xE5\x90\x8D\r\n"
                                    "1,'=1+1\r\n1,'+81-3\r\n1,'@SUM(A1)\r\n1,'\t1\r\n1,\"'\r1\"\r\n1,'-1-1\r\n1,'+5\r\n"
                                    "1,\"'=A1,B1\"\r\n1,-5\r\n1,-12.5\r\n1,12\r\n1,-\r\n1,\"- \"\r\n"
                                    "1,\xE7\x94\xB0\xE4\xB8\xAD\r\n";
        QCOMPARE(CsvWriter::build(sheet), expected);

        // Names of the roster through kazane-export, byte for byte.
        TestEnv env;
        env.makeClass({QStringLiteral("=1+1"), QStringLiteral("+81-3"), QStringLiteral("@A")});
        const QString csv = env.dir.path() + QStringLiteral("/names.csv");
        QCOMPARE(runExport(env, {"names", "--csv", csv}).code, 0);
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\xEF\xBB\xBF") + QStringLiteral("【児童氏名一覧表】,クラス,国語\r\n番号,氏名\r\n").toUtf8()
                                     + QByteArray("1,'=1+1\r\n2,'+81-3\r\n3,'@A\r\n"));
    }

    void theProgramItselfRuns()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        QProcess process;
        process.setProgram(TestEnv::buildFolder() + QStringLiteral("/kazane-export"));
        process.setArguments({QStringLiteral("--settings"), env.settingsFile(), QStringLiteral("--subject"),
                              QStringLiteral("音楽"), QStringLiteral("testdisp"), QStringLiteral("--test"),
                              QStringLiteral("1"), QStringLiteral("--csv"), env.dir.path() + QStringLiteral("/t.csv")});
        process.start();
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 1);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QCOMPARE(err.count(QLatin1Char('\n')), 1);
        QVERIFY2(err.startsWith(QStringLiteral("kazane-export: ")), qPrintable(err));
        QVERIFY(!QFile::exists(env.dir.path() + QStringLiteral("/t.csv")));
    }
};

QTEST_MAIN(ExportTest)
#include "test_export.moc"
