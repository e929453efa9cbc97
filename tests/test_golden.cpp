// Golden outputs: every sheet of a fixed sample class, as kazane-export writes it,
// must stay byte-identical.
//
// The sample (tests/data/sample: a homeroom and a specialist data folder, each with
// its settings file) is copied to a temporary folder, and kazane-export is run for
// every sheet kind with the choices that change it, each to --pdf, --csv and --store,
// and for the end-of-term packs. Every output is compared with tests/golden/:
//   - CSVs byte for byte with tests/golden/csv/<case>.csv;
//   - PDFs and report stores by size and SHA-256, listed in tests/golden/manifest.txt
//     as "<name> <size> <sha256>".
// Report stores (SQLite) come out byte-identical run after run and are hashed as
// written. In a PDF one thing changes from run to run: the value of "/CreationDate" in
// the document information, which is replaced by "D:00000000000000Z" before hashing.
// Nothing else is normalised. Two settings make the run repeatable instead: Qt's PDF
// writer embeds the fonts in the order of a hash table that is seeded at random per
// process, so the tool runs with QT_HASH_SEED=0; and the creation date carries the
// local time zone offset, so it runs with TZ=UTC, which keeps its length fixed.
// Finally the copied data folders and settings files must be byte-identical to what
// they were before the runs: export only reads.
//
// The test links only Qt and drives only the built executable, found through
// KAZANE_BUILD_DIR, so it holds whatever the program's own code is called.
//
// On a mismatch the actual file is written under <build folder>/golden-actual/ and
// the failure names it.
//
// To regenerate the golden files on purpose, after a deliberate change of an output:
//     KAZANE_GOLDEN_UPDATE=1 ctest -R test_golden        (in the build folder)
// This writes tests/golden/csv/*.csv and tests/golden/manifest.txt from the current
// program instead of comparing; review the difference with git and commit it.
// tests/data/make_sample.py wrote the sample; change it there when the sample must change.

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Golden {
    qint64 size = 0;
    QByteArray sha256;  // hex
};

// Every file under a folder with its bytes, by path relative to `base`.
void addFiles(const QString& folder, const QDir& base, QMap<QString, QByteArray>& files)
{
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        files.insert(base.relativeFilePath(path), file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
    }
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush();
}

// The PDF with its creation date blanked: the only bytes that differ between runs.
QByteArray normalisedPdf(QByteArray pdf)
{
    static const QByteArray key("/CreationDate (");
    const qsizetype start = pdf.indexOf(key);
    if (start >= 0) {
        const qsizetype valueStart = start + key.size();
        const qsizetype end = pdf.indexOf(')', valueStart);
        if (end > valueStart)
            pdf.replace(valueStart, end - valueStart, QByteArrayLiteral("D:00000000000000Z"));
    }
    return pdf;
}

Golden goldenOf(const QByteArray& bytes)
{
    return {bytes.size(), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()};
}

// One run of the tool: the settings file of the sample and the rest of the command line.
struct Case {
    const char* name;  // output name, unique
    const char* settings;  // "homeroom" or "specialist"
    QStringList arguments;
};

QStringList words(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// Every sheet with the choices that change what it prints. The homeroom class has
// tests in 国語 (5 tests), 算数 (6) and 理科 (4), none in 社会; pupil 12 has no
// scores; the specialist teaches 音楽 to ４の１ (8 pupils) and ５の２ (9 pupils).
const QList<Case>& sheetCases()
{
    static const QList<Case> cases = {
        {"kokugo_testdisp_t1_number", "homeroom", words("testdisp --test 1")},
        {"kokugo_testdisp_t3_number", "homeroom", words("--subject 国語 testdisp --test 3 --order number")},
        {"kokugo_testdisp_t3_score", "homeroom", words("--subject 1 testdisp --test 3 --order score")},
        {"sansu_testdisp_t5_number", "homeroom", words("--subject 算数 testdisp --test 5")},
        {"sansu_testdisp_t5_score", "homeroom", words("--subject 算数 testdisp --test 5 --order score")},
        {"sansu_testdisp_t2_score", "homeroom", words("--subject 3 testdisp --test 2 --order score")},
        {"rika_testdisp_t2_score", "homeroom", words("--subject 理科 testdisp --test 2 --order score")},
        {"rika_testdisp_t3_number", "homeroom", words("--subject 理科 testdisp --test 3")},

        {"kokugo_kojin_p01", "homeroom", words("kojin --pupil 1")},
        {"kokugo_kojin_p09", "homeroom", words("kojin --pupil 9")},
        {"kokugo_kojin_p12", "homeroom", words("kojin --pupil 12")},
        {"sansu_kojin_p03", "homeroom", words("--subject 算数 kojin --pupil 3")},
        {"rika_kojin_p08", "homeroom", words("--subject 理科 kojin --pupil 8")},
        {"shakai_kojin_p01", "homeroom", words("--subject 社会 kojin --pupil 1")},

        {"kokugo_aryoiki_all", "homeroom", words("aryoiki")},
        {"kokugo_aryoiki_chosen", "homeroom", words("aryoiki --tests 1,3,5")},
        {"kokugo_aryoiki_order_overall", "homeroom", words("aryoiki --order overall")},
        {"kokugo_aryoiki_order_v1", "homeroom", words("aryoiki --order viewpoint:1")},
        {"kokugo_aryoiki_order_v2", "homeroom", words("aryoiki --order viewpoint:2")},
        {"kokugo_aryoiki_order_v3", "homeroom", words("aryoiki --order viewpoint:3")},
        {"kokugo_aryoiki_order_v4", "homeroom", words("aryoiki --order viewpoint:4")},
        {"kokugo_aryoiki_show_avg", "homeroom", words("aryoiki --show avg")},
        {"kokugo_aryoiki_show_rank", "homeroom", words("aryoiki --show rank")},
        {"kokugo_aryoiki_show_eval", "homeroom", words("aryoiki --show eval")},
        {"kokugo_aryoiki_show_avg_eval", "homeroom", words("aryoiki --show avg,eval --order overall")},
        {"sansu_aryoiki_all", "homeroom", words("--subject 算数 aryoiki --tests all")},
        {"sansu_aryoiki_chosen_overall", "homeroom", words("--subject 算数 aryoiki --tests 2,4,6 --order overall")},
        {"rika_aryoiki_all", "homeroom", words("--subject 理科 aryoiki")},
        {"rika_aryoiki_chosen_v3", "homeroom",
         words("--subject 理科 aryoiki --tests 2,4 --order viewpoint:3 --show rank,eval")},
        {"shakai_aryoiki_all", "homeroom", words("--subject 社会 aryoiki")},

        {"homeroom_names", "homeroom", words("names")},
        {"kokugo_tests", "homeroom", words("tests")},
        {"sansu_tests", "homeroom", words("--subject 算数 tests")},
        {"rika_tests", "homeroom", words("--subject 理科 tests")},
        {"shakai_tests", "homeroom", words("--subject 社会 tests")},

        {"shuseki_term1_detail", "homeroom", words("shuseki --term 1")},
        {"shuseki_term1_record", "homeroom", words("shuseki --term 1 --view record")},
        {"shuseki_term2_detail", "homeroom", words("shuseki --term 2 --view detail")},
        {"shuseki_term2_record", "homeroom", words("shuseki --term 2 --view record")},
        {"shuseki_term3_detail", "homeroom", words("shuseki --term 3 --view detail")},
        {"shuseki_term3_record", "homeroom", words("shuseki --term 3 --view record")},
        {"shuseki_year_detail", "homeroom", words("shuseki --term year --view detail")},
        {"shuseki_year_record", "homeroom", words("shuseki --term year --view record")},

        {"c41_testdisp_t1_number", "specialist", words("testdisp --test 1")},
        {"c41_testdisp_t2_score", "specialist", words("--class 1 testdisp --test 2 --order score")},
        {"c52_testdisp_t2_number", "specialist", words("--class ５の２ testdisp --test 2")},
        {"c41_kojin_p08", "specialist", words("kojin --pupil 8")},
        {"c52_kojin_p09", "specialist", words("--class 5 kojin --pupil 9")},
        {"c41_aryoiki_all", "specialist", words("aryoiki")},
        {"c52_aryoiki_chosen_overall", "specialist", words("--class 5 aryoiki --tests 1,3 --order overall")},
        {"c52_aryoiki_v2_show", "specialist", words("--class 5 aryoiki --order viewpoint:2 --show avg,rank")},
        {"c41_names", "specialist", words("names")},
        {"c52_names", "specialist", words("--class ５の２ names")},
        {"c41_tests", "specialist", words("tests")},
    };
    return cases;
}

// The end-of-term packs: a folder of PDFs each.
const QList<Case>& packCases()
{
    static const QList<Case> cases = {
        {"homeroom_pack_term1", "homeroom", words("--term 1")},
        {"homeroom_pack_year", "homeroom", words("--term year")},
        {"specialist_pack_term2", "specialist", words("--term 2")},
    };
    return cases;
}

}  // namespace

class GoldenTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void sheets_data();
    void sheets();
    void termPacks_data();
    void termPacks();
    void dataFoldersOnlyRead();
    void cleanupTestCase();

private:
    void addRows(const QList<Case>& cases);
    QString run(const QString& settings, const QStringList& arguments, QString& err);
    // Compares (or, when updating, records) one output; returns a problem or "".
    QString checkHashed(const QString& name, const QByteArray& bytes, const QByteArray& raw);
    QString checkWhole(const QString& name, const QByteArray& bytes);
    QString keepActual(const QString& name, const QByteArray& bytes);

    bool updating = false;
    QString tool;
    QString buildFolder;
    QString goldenFolder;
    QTemporaryDir work;
    QMap<QString, QByteArray> inputsBefore;
    QMap<QString, Golden> manifest;
    QMap<QString, Golden> written;  // update mode: the new manifest
    QStringList csvWritten;         // update mode: the new CSV goldens
};

void GoldenTest::initTestCase()
{
    updating = qEnvironmentVariable("KAZANE_GOLDEN_UPDATE") == QLatin1String("1");
    buildFolder = qEnvironmentVariable("KAZANE_BUILD_DIR", QDir::currentPath());
    tool = buildFolder + QStringLiteral("/kazane-export");
    QVERIFY2(QFileInfo(tool).isExecutable(), qPrintable(QStringLiteral("no executable %1").arg(tool)));
    const QString tests = QStringLiteral(TESTS_SOURCE_DIR);
    goldenFolder = tests + QStringLiteral("/golden");
    QVERIFY(work.isValid());
    // Actual files of an earlier failed run would only mislead.
    QDir(buildFolder + QStringLiteral("/golden-actual")).removeRecursively();

    // The sample, copied; the data folder key of each settings file points at its copy.
    const QDir sample(tests + QStringLiteral("/data/sample"));
    QDirIterator it(sample.path(), QDir::Files, QDirIterator::Subdirectories);
    int copied = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = work.filePath(sample.relativeFilePath(path));
        QDir().mkpath(QFileInfo(target).absolutePath());
        QVERIFY2(QFile::copy(path, target), qPrintable(path));
        ++copied;
    }
    QVERIFY2(copied > 0, qPrintable(QStringLiteral("no sample in %1").arg(sample.path())));
    for (const char* mode : {"homeroom", "specialist"}) {
        QSettings settings(work.filePath(QLatin1String(mode) + QStringLiteral(".ini")), QSettings::IniFormat);
        QVERIFY(settings.contains(QStringLiteral("UseMode/DataPath")));
        settings.setValue(QStringLiteral("UseMode/DataPath"), work.filePath(QLatin1String(mode)) + QLatin1Char('/'));
        settings.sync();
        QCOMPARE(settings.status(), QSettings::NoError);
    }
    addFiles(work.path(), QDir(work.path()), inputsBefore);
    QDir(work.path()).mkpath(QStringLiteral("out"));

    if (updating)
        return;
    const QList<QByteArray> lines = readAll(goldenFolder + QStringLiteral("/manifest.txt")).split('\n');
    for (const QByteArray& line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        const QList<QByteArray> parts = line.split(' ');
        QVERIFY2(parts.size() == 3, line.constData());
        manifest.insert(QString::fromUtf8(parts[0]), Golden{parts[1].toLongLong(), parts[2]});
    }
    QVERIFY2(!manifest.isEmpty(), "tests/golden/manifest.txt is missing or empty; run with KAZANE_GOLDEN_UPDATE=1");
}

void GoldenTest::addRows(const QList<Case>& cases)
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QStringList>("arguments");
    for (const Case& c : cases)
        QTest::newRow(c.name) << QString::fromLatin1(c.settings) << c.arguments;
}

QString GoldenTest::run(const QString& settings, const QStringList& arguments, QString& err)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_HASH_SEED"), QStringLiteral("0"));
    environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(work.path());
    process.start(tool, QStringList{QStringLiteral("--settings"), work.filePath(settings + QStringLiteral(".ini"))} + arguments);
    if (!process.waitForFinished(300000))
        return QStringLiteral("kazane-export did not finish");
    err = QString::fromUtf8(process.readAllStandardError());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("kazane-export %1 ended with %2: %3")
            .arg(arguments.join(QLatin1Char(' ')))
            .arg(process.exitCode())
            .arg(err);
    return {};
}

QString GoldenTest::keepActual(const QString& name, const QByteArray& bytes)
{
    const QString path = buildFolder + QStringLiteral("/golden-actual/") + name;
    writeAll(path, bytes);
    return path;
}

QString GoldenTest::checkHashed(const QString& name, const QByteArray& bytes, const QByteArray& raw)
{
    const Golden actual = goldenOf(bytes);
    if (updating) {
        written.insert(name, actual);
        return {};
    }
    if (!manifest.contains(name))
        return QStringLiteral("%1: not in the manifest (actual file: %2)").arg(name, keepActual(name, raw));
    const Golden expected = manifest.value(name);
    if (expected.size == actual.size && expected.sha256 == actual.sha256)
        return {};
    return QStringLiteral("%1 differs from its golden (expected %2 bytes, SHA-256 %3; got %4 bytes, SHA-256 %5; actual file: %6)")
        .arg(name)
        .arg(expected.size)
        .arg(QString::fromLatin1(expected.sha256))
        .arg(actual.size)
        .arg(QString::fromLatin1(actual.sha256), keepActual(name, raw));
}

QString GoldenTest::checkWhole(const QString& name, const QByteArray& bytes)
{
    const QString golden = goldenFolder + QStringLiteral("/csv/") + name;
    if (updating) {
        csvWritten.append(name);
        return writeAll(golden, bytes) ? QString() : QStringLiteral("cannot write %1").arg(golden);
    }
    if (!QFile::exists(golden))
        return QStringLiteral("%1: no golden file (actual file: %2)").arg(name, keepActual(name, bytes));
    if (readAll(golden) == bytes)
        return {};
    return QStringLiteral("%1 differs from %2 (actual file: %3)").arg(name, golden, keepActual(name, bytes));
}

void GoldenTest::sheets_data()
{
    addRows(sheetCases());
}

// One sheet to PDF, CSV and store at once; exactly these three files appear.
void GoldenTest::sheets()
{
    QFETCH(QString, settings);
    QFETCH(QStringList, arguments);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const QDir out(work.filePath(QStringLiteral("out/") + name));
    QVERIFY(QDir().mkpath(out.path()));
    QString err;
    const QString failure = run(settings, arguments + QStringList{QStringLiteral("--pdf"), out.filePath(QStringLiteral("sheet.pdf")),
                                                                  QStringLiteral("--csv"), out.filePath(QStringLiteral("sheet.csv")),
                                                                  QStringLiteral("--store"), out.filePath(QStringLiteral("sheet.mdb"))},
                                err);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY2(err.isEmpty(), qPrintable(err));
    QCOMPARE(out.entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{QStringLiteral("sheet.csv"), QStringLiteral("sheet.mdb"), QStringLiteral("sheet.pdf")}));

    const QByteArray pdf = readAll(out.filePath(QStringLiteral("sheet.pdf")));
    const QByteArray store = readAll(out.filePath(QStringLiteral("sheet.mdb")));
    QStringList problems{checkHashed(name + QStringLiteral(".pdf"), normalisedPdf(pdf), pdf),
                         checkWhole(name + QStringLiteral(".csv"), readAll(out.filePath(QStringLiteral("sheet.csv")))),
                         checkHashed(name + QStringLiteral(".mdb"), store, store)};
    problems.removeAll(QString());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void GoldenTest::termPacks_data()
{
    addRows(packCases());
}

// A pack folder holds exactly the golden list of PDFs, each matching its golden.
void GoldenTest::termPacks()
{
    QFETCH(QString, settings);
    QFETCH(QStringList, arguments);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const QDir out(work.filePath(QStringLiteral("out/") + name));
    QString err;
    const QString failure = run(settings, QStringList{QStringLiteral("--term-pack"), out.path()} + arguments, err);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));

    const QStringList files = out.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    QVERIFY(!files.isEmpty());
    QStringList problems;
    QStringList produced;
    for (const QString& file : files) {
        const QString golden = name + QLatin1Char('/') + file;
        produced.append(golden);
        const QByteArray pdf = readAll(out.filePath(file));
        problems.append(checkHashed(golden, normalisedPdf(pdf), pdf));
    }
    if (!updating) {
        for (auto it = manifest.cbegin(); it != manifest.cend(); ++it)
            if (it.key().startsWith(name + QLatin1Char('/')) && !produced.contains(it.key()))
                problems.append(QStringLiteral("%1 was not written").arg(it.key()));
    }
    problems.removeAll(QString());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

// Export reads the data folders and the settings and writes neither.
void GoldenTest::dataFoldersOnlyRead()
{
    QMap<QString, QByteArray> after;
    addFiles(work.path(), QDir(work.path()), after);
    after.removeIf([](const auto& file) { return file.key().startsWith(QLatin1String("out/")); });
    QCOMPARE(after.keys(), inputsBefore.keys());
    for (auto it = inputsBefore.cbegin(); it != inputsBefore.cend(); ++it)
        QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key() + QStringLiteral(" was changed")));
}

void GoldenTest::cleanupTestCase()
{
    if (!updating)
        return;
    QByteArray text;
    for (auto it = written.cbegin(); it != written.cend(); ++it)
        text += it.key().toUtf8() + ' ' + QByteArray::number(it.value().size) + ' ' + it.value().sha256 + '\n';
    QVERIFY(writeAll(goldenFolder + QStringLiteral("/manifest.txt"), text));
    const QDir csv(goldenFolder + QStringLiteral("/csv"));
    for (const QString& file : csv.entryList(QDir::Files))
        if (!csvWritten.contains(file))
            QFile::remove(csv.filePath(file));
    qInfo("golden files written to %s: review them and commit", qPrintable(goldenFolder));
}

QTEST_GUILESS_MAIN(GoldenTest)
#include "test_golden.moc"
