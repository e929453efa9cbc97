// kazane-export: wrong usage and data errors give one Japanese line and their exit
// status, leave no output file, and never change the data folder or the settings.

#include "TestEnv.h"
#include "core/ScoreFile.h"
#include "platform/CsvExport.h"
#include "reports/ExportCommand.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QTextStream>

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

struct Result {
    int code;
    QString err;
    QString out;
};

Result runExport(TestEnv& env, QStringList arguments)
{
    arguments.prepend(env.settingsFile());
    arguments.prepend(QStringLiteral("--settings"));
    QString err;
    QString out;
    QTextStream errStream(&err);
    QTextStream outStream(&out);
    const int code = ExportCommand::run(arguments, errStream, outStream);
    errStream.flush();
    outStream.flush();
    return {code, err, out};
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
        const Result result = runExport(env, arguments);
        QCOMPARE(result.code, code);
        QVERIFY2(result.err.contains(says), qPrintable(result.err));
        QCOMPARE(result.err.count(QLatin1Char('\n')), 1);
        QVERIFY(QDir(outFolder).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
        QCOMPARE(snapshot(env.dataFolder()), before);
        QFile settings(env.settingsFile());
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), settingsBefore);
    }

    void helpIsJapanese()
    {
        TestEnv env;
        const Result result = runExport(env, {QStringLiteral("--help")});
        QCOMPARE(result.code, 0);
        QVERIFY(result.out.contains(QStringLiteral("使い方: kazane-export")));
        QVERIFY(result.out.contains(QStringLiteral("--term-pack")));
    }

    void csvQuotesAsSpreadsheetsExpect()
    {
        ReportSheet sheet;
        sheet.titleFields = {QStringLiteral("Title"), QStringLiteral("Mode")};
        sheet.titleValues = {QStringLiteral("【出欠集計一覧表】"), QStringLiteral("a,b")};
        sheet.dataFields = {QStringLiteral("Number"), QStringLiteral("Name"), QStringLiteral("Datas1")};
        sheet.rows = {{QStringLiteral(" 1"), QStringLiteral("青木 \"タロウ\""), QStringLiteral(" ")},
                      {QStringLiteral("2"), QStringLiteral("石田"), QStringLiteral("-")}};
        const QByteArray csv = CsvExport::build(sheet);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        const QString text = QString::fromUtf8(csv.mid(3));
        QCOMPARE(text,
                 QStringLiteral("Title,Mode\r\n【出欠集計一覧表】,\"a,b\"\r\n\r\nNumber,Name,Datas1\r\n"
                                "\" 1\",\"青木 \"\"タロウ\"\"\",\" \"\r\n2,石田,-\r\n"));
        const QList<QStringList> rows = CsvExport::parse(csv);
        QCOMPARE(rows.size(), 6);
        QCOMPARE(rows[1], sheet.titleValues);
        QVERIFY(rows[2].isEmpty());
        QCOMPARE(rows[3], sheet.dataFields);
        QCOMPARE(rows[4], sheet.rows[0]);
        QCOMPARE(rows[5], sheet.rows[1]);
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
