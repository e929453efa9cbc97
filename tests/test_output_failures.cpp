// Outputs that the operating system refuses to write: kazane-export as a child
// process under a lowered file-size limit, into a missing or read-only folder, and
// the program's CSV保存, PDF and preview under the same limit. Every failure says
// why in Japanese, leaves no file under the name, and keeps a file that was there.

#include "FailingDisk.h"
#include "TestEnv.h"
#include "DataFiles.h"
#include "output/CsvWriter.h"
#include "output/ReportStore.h"
#include "ExportRun.h"
#include "reports/TestTallyWindow.h"
#include "app/MainWindow.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextStream>

#include <csignal>
#include <optional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Result {
    int code = -1;
    QString err;
};

QStringList withSettings(TestEnv& env, QStringList arguments)
{
    return QStringList{QStringLiteral("--settings"), env.settingsFile()} + arguments;
}

// kazane-export itself, as a child process whose file-size limit is `limit`
// bytes (0: unchanged). SIGXFSZ keeps its default action, which would end the
// program: the tool must ignore it on its own.
Result runTool(TestEnv& env, const QStringList& arguments, qint64 limit = 0)
{
    QProcess process;
    process.setProgram(TestEnv::buildFolder() + QStringLiteral("/kazane-export"));
    process.setArguments(withSettings(env, arguments));
    if (limit > 0)
        process.setChildProcessModifier([limit] {
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit size{};
            getrlimit(RLIMIT_FSIZE, &size);
            size.rlim_cur = rlim_t(limit);
            setrlimit(RLIMIT_FSIZE, &size);
        });
    process.start();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

// The export in this process, with layouts from `layouts` (the built ones by default).
Result runInProcess(TestEnv& env, const QStringList& arguments, const QString& layouts = TestEnv::buildFolder())
{
    const ExportRun run = runExport(env, arguments, layouts);
    return {run.code, run.err};
}

// One line "kazane-export: ..." that gives `cause` and has no word of English once
// the file's path and name are taken out.
void verifyJapaneseLine(const QString& err, const QString& cause, const QString& path)
{
    QCOMPARE(err.count(QLatin1Char('\n')), 1);
    QVERIFY2(err.startsWith(QStringLiteral("kazane-export: ")), qPrintable(err));
    QVERIFY2(err.contains(cause), qPrintable(err));
    QString rest = err.mid(15);
    rest.remove(path);
    rest.remove(QFileInfo(path).fileName());
    rest.remove(QStringLiteral("（.xlsx）"));  // the kind of file a workbook is, by its extension
    QVERIFY2(!rest.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))), qPrintable(err));
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Two tests of 国語 for three pupils: every sheet is larger than a few dozen bytes.
void makeClass(TestEnv& env)
{
    env.makeClass({QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田")});
    env.settings->setValue(QStringLiteral("UseMode/UseKyoka"), QStringLiteral("100000000"));
    env.settings->sync();
    env.writeFile(QStringLiteral("国語.dat"), DataFiles::scoreLines({{QStringLiteral("漢字"), {{1, 50, {45, -1, 30}}}},
                                                               {QStringLiteral("読解"), {{2, 100, {70, 80, 90}}}}}));
}

// A folder nobody may write to, holding `keep.csv`: a read-only tmpfs for root
// (whom permissions do not stop), a folder without write permission otherwise.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder) : path(folder)
    {
        QDir().mkpath(path);
        const QByteArray name = QFile::encodeName(path);
        if (geteuid() == 0) {
            if (::mount("tmpfs", name.constData(), "tmpfs", 0, "size=64k") != 0)
                return;
            mounted = true;
            writeBytes(path + QStringLiteral("/keep.csv"), "old");
            ready = ::mount("tmpfs", name.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") == 0;
        } else {
            writeBytes(path + QStringLiteral("/keep.csv"), "old");
            ready = ::chmod(name.constData(), 0555) == 0;
        }
    }
    ~ReadOnlyFolder()
    {
        const QByteArray name = QFile::encodeName(path);
        if (mounted)
            ::umount2(name.constData(), MNT_DETACH);
        else
            ::chmod(name.constData(), 0755);
    }
    bool available() const { return ready; }

private:
    QString path;
    bool mounted = false;
    bool ready = false;
};

}  // namespace

class OutputFailuresTest : public QObject {
    Q_OBJECT
private slots:
    void exportPastTheFileSizeLimitLeavesNoFile_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("cause");
        QTest::newRow("pdf") << "--pdf" << "ディスクの空き容量が足りません";
        QTest::newRow("csv") << "--csv" << "ディスクの空き容量が足りません";
        QTest::newRow("xlsx") << "--xlsx" << "ディスクの空き容量が足りません";
        QTest::newRow("store") << "--store" << "ディスクの空き容量が足りません";
    }

    void exportPastTheFileSizeLimitLeavesNoFile()
    {
        QFETCH(QString, option);
        QFETCH(QString, cause);
        TestEnv env;
        makeClass(env);
        const QString out = env.dir.filePath(QStringLiteral("out"));
        QDir().mkpath(out);
        const QString existing = out + QStringLiteral("/一覧.") + option.mid(2);
        writeBytes(existing, "old");

        Result result = runTool(env, {QStringLiteral("tests"), option, existing}, 64);
        QCOMPARE(result.code, 1);
        verifyJapaneseLine(result.err, cause, existing);
        QCOMPARE(fileBytes(existing), QByteArray("old"));

        const QString fresh = out + QStringLiteral("/new.") + option.mid(2);
        result = runTool(env, {QStringLiteral("tests"), option, fresh}, 64);
        QCOMPARE(result.code, 1);
        verifyJapaneseLine(result.err, cause, fresh);
        QCOMPARE(filesIn(out), QStringList{QStringLiteral("一覧.") + option.mid(2)});

        // Without the limit the same run writes the file whole.
        result = runTool(env, {QStringLiteral("tests"), option, fresh});
        QVERIFY2(result.code == 0, qPrintable(result.err));
        QVERIFY(QFileInfo(fresh).size() > 64);
    }

    void exportIntoAMissingOrReadOnlyFolder()
    {
        TestEnv env;
        makeClass(env);
        const QString missing = env.dir.filePath(QStringLiteral("none/一覧.csv"));
        Result result = runTool(env, {QStringLiteral("names"), QStringLiteral("--csv"), missing});
        QCOMPARE(result.code, 1);
        verifyJapaneseLine(result.err, QStringLiteral("フォルダが見つかりません"), missing);
        QVERIFY(!QFileInfo::exists(env.dir.filePath(QStringLiteral("none"))));

        const QString folder = env.dir.filePath(QStringLiteral("locked"));
        ReadOnlyFolder locked(folder);
        if (!locked.available())
            QSKIP("no read-only folder can be made here");
        const QString keep = folder + QStringLiteral("/keep.csv");
        result = runTool(env, {QStringLiteral("names"), QStringLiteral("--csv"), keep});
        QCOMPARE(result.code, 1);
        QVERIFY2(result.err.contains(QStringLiteral("読み取り専用")) || result.err.contains(QStringLiteral("権限がありません")),
                 qPrintable(result.err));
        verifyJapaneseLine(result.err, QStringLiteral("保存できませんでした"), keep);
        QCOMPARE(fileBytes(keep), QByteArray("old"));
        QCOMPARE(filesIn(folder), QStringList{QStringLiteral("keep.csv")});
    }

    // One output failing keeps every file that was there; only complete content
    // replaces an old file.
    void aFailedExportKeepsWhatWasThere()
    {
        TestEnv env;
        makeClass(env);
        const QString keep = env.dir.filePath(QStringLiteral("keep.csv"));
        const QString pdf = env.dir.filePath(QStringLiteral("keep.pdf"));
        writeBytes(keep, "old csv");
        writeBytes(pdf, "old pdf");
        const QString badStore = env.dir.filePath(QStringLiteral("none/x.mdb"));
        Result result = runInProcess(env, {"tests", "--csv", keep, "--pdf", pdf, "--store", badStore});
        QCOMPARE(result.code, 1);
        QVERIFY2(result.err.contains(QStringLiteral("フォルダが見つかりません")), qPrintable(result.err));
        QCOMPARE(fileBytes(keep), QByteArray("old csv"));
        QCOMPARE(fileBytes(pdf), QByteArray("old pdf"));

        const QString fresh = env.dir.filePath(QStringLiteral("fresh.csv"));
        QCOMPARE(runInProcess(env, {"tests", "--csv", fresh, "--store", badStore}).code, 1);
        QVERIFY(!QFileInfo::exists(fresh));

        // A run that succeeds replaces the old file with the whole new content.
        const QString store = env.dir.filePath(QStringLiteral("t.mdb"));
        result = runInProcess(env, {"tests", "--csv", keep, "--store", store});
        QVERIFY2(result.code == 0, qPrintable(result.err));
        ReportSheet sheet;
        QVERIFY(ReportStore::read(store, sheet).ok);
        sheet.stem = QStringLiteral("Mente");  // the store's name, which the store does not hold
        QCOMPARE(fileBytes(keep), CsvWriter::build(sheet));
        QCOMPARE(sheet.rows.size(), 2);
        QStringList files = filesIn(env.dir.path());
        QCOMPARE(files, (QStringList{"Kazane.ini", "keep.csv", "keep.pdf", "t.mdb"}));
    }

    void outputsThatWouldOverwriteEachOtherOrTheDataAreRefused()
    {
        TestEnv env;
        makeClass(env);
        const QString out = env.dir.filePath(QStringLiteral("out"));
        QDir().mkpath(out + QStringLiteral("/sub"));
        Result result = runInProcess(env, {"tests", "--csv", out + "/a.csv", "--store", out + "/sub/../a.csv"});
        QCOMPARE(result.code, 2);
        QVERIFY2(result.err.contains(QStringLiteral("二度指定")), qPrintable(result.err));

        writeBytes(out + QStringLiteral("/b.pdf"), "old");
        QVERIFY(QFile::link(out + QStringLiteral("/b.pdf"), out + QStringLiteral("/link.pdf")));
        result = runInProcess(env, {"tests", "--pdf", out + "/b.pdf", "--csv", out + "/link.pdf"});
        QCOMPARE(result.code, 2);
        QCOMPARE(fileBytes(out + QStringLiteral("/b.pdf")), QByteArray("old"));
        QCOMPARE(filesIn(out), (QStringList{"b.pdf", "link.pdf"}));

        const QByteArray scores = env.readBytes(QStringLiteral("国語.dat"));
        result = runInProcess(env, {"tests", "--csv", env.dataFolder() + QStringLiteral("国語.dat")});
        QCOMPARE(result.code, 2);
        QCOMPARE(env.readBytes(QStringLiteral("国語.dat")), scores);
        result = runInProcess(env, {"tests", "--csv", env.settingsFile()});
        QCOMPARE(result.code, 2);
    }

    // A term pack is all or nothing: a sheet that fails after others were made
    // leaves the folder as it was, and a folder the run made is gone again.
    void aTermPackThatFailsLeavesNothing()
    {
        TestEnv env;
        makeClass(env);
        QTemporaryDir layouts;
        for (const QString& name : QDir(TestEnv::buildFolder()).entryList({QStringLiteral("*.rpt")}, QDir::Files))
            if (name != QLatin1String("Shuseki.rpt"))
                QVERIFY(QFile::copy(TestEnv::buildFolder() + QLatin1Char('/') + name, layouts.filePath(name)));

        const QString created = env.dir.filePath(QStringLiteral("学期末/１学期"));
        Result result = runInProcess(env, {"--term-pack", created, "--term", "1"}, layouts.path());
        QCOMPARE(result.code, 1);
        QVERIFY2(result.err.contains(QStringLiteral("Shuseki.rpt")), qPrintable(result.err));
        QVERIFY(!result.err.contains(QStringLiteral("作成しました")));
        QVERIFY(!QFileInfo::exists(env.dir.filePath(QStringLiteral("学期末"))));

        const QString existing = env.dir.filePath(QStringLiteral("pack"));
        QDir().mkpath(existing);
        writeBytes(existing + QStringLiteral("/国語_総合集計.pdf"), "old");
        QCOMPARE(runInProcess(env, {"--term-pack", existing, "--term", "1"}, layouts.path()).code, 1);
        QCOMPARE(filesIn(existing), QStringList{QStringLiteral("国語_総合集計.pdf")});
        QCOMPARE(fileBytes(existing + QStringLiteral("/国語_総合集計.pdf")), QByteArray("old"));

        // With every layout the pack replaces it.
        result = runInProcess(env, {"--term-pack", existing, "--term", "1"});
        QVERIFY2(result.code == 0, qPrintable(result.err));
        QCOMPARE(filesIn(existing).size(), 6);  // overall, three pupils, two attendance views
        QVERIFY(fileBytes(existing + QStringLiteral("/国語_総合集計.pdf")).startsWith("%PDF"));
    }

    void csvSaveInTheWindowPastTheFileSizeLimit()
    {
        TestEnv env;
        makeClass(env);
        MainWindow& window = env.startMainWindow();
        auto* display = qobject_cast<TestTallyWindow*>(window.openTestTallyWindow());
        QVERIFY(display);
        const QString csv = env.dir.filePath(QStringLiteral("テスト.csv"));
        writeBytes(csv, "old");
        env.ui.saveNames.push_back(csv);
        {
            FileSizeLimit limit(64);
            display->findChild<QPushButton*>(QStringLiteral("csvButton"))->click();
        }
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY2(env.ui.lastMessage().contains(QStringLiteral("保存できませんでした")), qPrintable(env.ui.lastMessage()));
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("ディスクの空き容量が足りません")));
        QCOMPARE(fileBytes(csv), QByteArray("old"));
        QCOMPARE(filesIn(env.dir.path()), (QStringList{"Kazane.ini", "テスト.csv"}));
        QCOMPARE(window.findChild<TestTallyWindow*>(), display);

        // Room again: the same click saves the whole sheet.
        env.ui.clear();
        env.ui.saveNames.push_back(csv);
        display->findChild<QPushButton*>(QStringLiteral("csvButton"))->click();
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("に保存しました")));
        QVERIFY(fileBytes(csv).contains("【テスト別成績集計-国語】,並べ方,番号順,テスト,漢字,満点,50,クラスの平均,75.0"));
    }

    // The store is written first and must succeed; the limit comes into force
    // when the renderer takes the sheet, so that the PDF itself is refused.
    void pdfInTheWindowPastTheFileSizeLimit()
    {
        TestEnv env;
        makeClass(env);
        MainWindow& window = env.startMainWindow();
        auto* display = qobject_cast<TestTallyWindow*>(window.openTestTallyWindow());
        QVERIFY(display);
        const QString pdf = env.dir.filePath(QStringLiteral("テスト.pdf"));
        writeBytes(pdf, "old");
        std::optional<FileSizeLimit> limit;
        env.reports->setStoreObserver([&limit](const QString&) { limit.emplace(1024); });

        // No printer: the PDF offer.
        env.ui.answers = {Ui::Answer::Ok};
        env.ui.saveNames.push_back(pdf);
        display->findChild<QPushButton*>(QStringLiteral("printButton"))->click();
        limit.reset();
        QCOMPARE(env.ui.messages.size(), 2);
        QVERIFY2(env.ui.lastMessage().contains(QStringLiteral("ディスクの空き容量が足りません")), qPrintable(env.ui.lastMessage()));
        QCOMPARE(fileBytes(pdf), QByteArray("old"));

        // A printer set to print into a file.
        env.ui.clear();
        env.reports->printer().setOutputFormat(QPrinter::PdfFormat);
        env.reports->printer().setOutputFileName(pdf);
        display->findChild<QPushButton*>(QStringLiteral("printButton"))->click();
        limit.reset();
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY2(env.ui.lastMessage().contains(QStringLiteral("ディスクの空き容量が足りません")), qPrintable(env.ui.lastMessage()));
        QCOMPARE(fileBytes(pdf), QByteArray("old"));
        QCOMPARE(filesIn(env.dir.path()), (QStringList{"Kazane.ini", "テスト.pdf"}));
        QVERIFY(filesIn(env.programFolder()).isEmpty());
        QCOMPARE(window.findChild<TestTallyWindow*>(), display);

        env.ui.clear();
        env.reports->setStoreObserver({});
        display->findChild<QPushButton*>(QStringLiteral("printButton"))->click();
        QVERIFY(env.ui.messages.isEmpty());
        QVERIFY(fileBytes(pdf).startsWith("%PDF"));
    }

    void previewStorePastTheFileSizeLimit()
    {
        TestEnv env;
        makeClass(env);
        MainWindow& window = env.startMainWindow();
        auto* display = qobject_cast<TestTallyWindow*>(window.openTestTallyWindow());
        QVERIFY(display);
        {
            FileSizeLimit limit(4096);
            display->findChild<QPushButton*>(QStringLiteral("previewButton"))->click();
        }
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY2(env.ui.lastMessage().startsWith(QStringLiteral("印刷用のデータベース「testdisp.mdb」を作れませんでした。")),
                 qPrintable(env.ui.lastMessage()));
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("ディスクの空き容量が足りません")));
        QVERIFY(env.ui.previews.isEmpty());
        QVERIFY(filesIn(env.programFolder()).isEmpty());
        QCOMPARE(window.findChild<TestTallyWindow*>(), display);
    }
};

QTEST_MAIN(OutputFailuresTest)
#include "test_output_failures.moc"
