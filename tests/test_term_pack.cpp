// kazane-export --term-pack: the pupils' sheets one file per pupil or one file per
// subject (a page per pupil, each page the same as the pupil's own file), the
// "作成しました" lines in the order of the files, and the same bytes whether the
// pack is painted by one worker or by several.

#include "DataFiles.h"
#include "FailingDisk.h"
#include "PdfText.h"
#include "TestEnv.h"
#include "ExportRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QTextStream>

using namespace DataFiles;

namespace {

constexpr int Pupils = 6;


// 国語 and 算数 in use, two tests each, and a year of attendance for six pupils.
void makeClass(TestEnv& env)
{
    env.makeClass(pupilNames(Pupils, NameStyle::Full));
    env.settings->setValue(QStringLiteral("UseMode/UseKyoka"), QStringLiteral("101000000"));
    env.settings->sync();
    auto scores = [](int seed) {
        QList<int> list;
        for (int p = 1; p <= Pupils; ++p)
            list.append(p == 4 ? -1 : (p * seed) % 51);
        return list;
    };
    env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("漢字"), {{1, 50, scores(7)}, {3, 50, scores(11)}}},
                                                     {QStringLiteral("読解"), {{2, 50, scores(13)}}}}));
    env.writeFile(QStringLiteral("算数.dat"), scoreLines({{QStringLiteral("計算"), {{3, 50, scores(17)}}},
                                                     {QStringLiteral("図形"), {{1, 50, scores(19)}, {2, 50, scores(23)}}}}));
    const Attendance year = attendanceYear(
        Pupils, [](int m) { return 18 + m % 3; },
        [](int m, int p) { return QList<int>{m % 2, 0, 18 + m % 3 - m % 2, (m + p) % 3, 0, p, 0}; });
    env.writeFile(QStringLiteral("shuketu.dat"), attendanceLines(year));
}

// The pack's files in the order they are made: per subject its overall sheet and
// its pupils' sheets, then the two attendance sheets.
QStringList expectedFiles(bool onePerSubject)
{
    QStringList files;
    for (const QString& subject : {QStringLiteral("国語"), QStringLiteral("算数")}) {
        files << subject + QStringLiteral("_総合集計.pdf");
        if (onePerSubject)
            files << subject + QStringLiteral("_個人.pdf");
        else
            for (int p = 1; p <= Pupils; ++p)
                files << QStringLiteral("%1_個人_%2.pdf").arg(subject).arg(p, 2, 10, QLatin1Char('0'));
    }
    return files << QStringLiteral("出欠_年度末集計_詳細.pdf") << QStringLiteral("出欠_年度末集計_指導要録用.pdf");
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A PDF without its creation time, the only part that changes from run to run.
QByteArray withoutDate(QByteArray pdf)
{
    static const QRegularExpression date(QStringLiteral("/CreationDate \\(D:[^)]*\\)"));
    return QString::fromLatin1(pdf).replace(date, QStringLiteral("/CreationDate ()")).toLatin1();
}

}  // namespace

class TermPackTest : public QObject {
    Q_OBJECT

private slots:
    void reportsEveryFileInTheOrderItIsMade()
    {
        for (const bool onePerSubject : {false, true}) {
            TestEnv env;
            makeClass(env);
            const QString pack = env.dir.path() + QStringLiteral("/学期末");
            QStringList arguments{"--term-pack", pack, "--term", "year"};
            if (onePerSubject)
                arguments << QStringLiteral("--one-file-per-subject");
            const ExportRun result = runExport(env, arguments);
            QVERIFY2(result.code == 0, qPrintable(result.err));
            QStringList lines = result.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            QStringList expected;
            for (const QString& name : expectedFiles(onePerSubject))
                expected << QStringLiteral("作成しました: ") + QDir::toNativeSeparators(QDir(pack).filePath(name));
            QCOMPARE(lines, expected);
            QStringList made = QDir(pack).entryList(QDir::Files);
            QStringList listed = expectedFiles(onePerSubject);
            made.sort();
            listed.sort();
            QCOMPARE(made, listed);
        }
    }

    // 理科 and 体育 in use without a test: no sheet of theirs, and their names once.
    void subjectsWithoutTestsAreLeftOut()
    {
        TestEnv env;
        makeClass(env);
        env.settings->setValue(QStringLiteral("UseMode/UseKyoka"), QStringLiteral("101100001"));
        env.settings->sync();
        const QString pack = env.dir.path() + QStringLiteral("/学期末");
        const ExportRun result = runExport(env, {"--term-pack", pack, "--term", "year"});
        QVERIFY2(result.code == 0, qPrintable(result.err));
        QStringList made = QDir(pack).entryList(QDir::Files);
        QStringList listed = expectedFiles(false);
        made.sort();
        listed.sort();
        QCOMPARE(made, listed);
        const QStringList lines = result.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), listed.size() + 1);
        QCOMPARE(lines.last(), QStringLiteral("テストがないので作りませんでした: 理科、体育"));
        QCOMPARE(result.err.count(QStringLiteral("理科")), 1);
    }

    void onePerSubjectHoldsEachPupilsSheetOnAPageOfItsOwn()
    {
        TestEnv env;
        makeClass(env);
        const QString single = env.dir.path() + QStringLiteral("/single");
        const QString joined = env.dir.path() + QStringLiteral("/joined");
        QCOMPARE(runExport(env, {"--term-pack", single, "--term", "2"}).code, 0);
        QCOMPARE(runExport(env, {"--term-pack", joined, "--term", "2", "--one-file-per-subject"}).code, 0);
        const QStringList names = pupilNames(Pupils, NameStyle::Full);
        for (const QString& subject : {QStringLiteral("国語"), QStringLiteral("算数")}) {
            const QStringList pages = PdfText::pages(QDir(joined).filePath(subject + QStringLiteral("_個人.pdf")));
            QCOMPARE(pages.size(), Pupils);
            for (int p = 1; p <= Pupils; ++p) {
                const QString& page = pages[p - 1];
                // The page names its pupil and no other.
                for (int other = 1; other <= Pupils; ++other)
                    QCOMPARE(page.contains(names[other - 1]), other == p);
                // And reads exactly as the pupil's own file.
                const QStringList own = PdfText::pages(
                    QDir(single).filePath(QStringLiteral("%1_個人_%2.pdf").arg(subject).arg(p, 2, 10, QLatin1Char('0'))));
                QCOMPARE(own.size(), 1);
                QCOMPARE(page, own.first());
            }
            // The overall sheet is the same file either way.
            const QString overall = subject + QStringLiteral("_総合集計.pdf");
            QCOMPARE(withoutDate(readAll(QDir(joined).filePath(overall))), withoutDate(readAll(QDir(single).filePath(overall))));
        }
    }

    void severalWorkersMakeTheSameBytesAsOne()
    {
        TestEnv env;
        makeClass(env);
        const QString one = env.dir.path() + QStringLiteral("/one");
        QCOMPARE(runExport(env, {"--term-pack", one, "--term", "year", "--threads", "1"}).code, 0);
        const QStringList files = expectedFiles(false);
        QMap<QString, QByteArray> expected;
        for (const QString& name : files)
            expected.insert(name, withoutDate(readAll(QDir(one).filePath(name))));
        // Several rounds, for the workers to meet in every order.
        for (int round = 0; round < 8; ++round) {
            const QString many = env.dir.path() + QStringLiteral("/many%1").arg(round);
            const ExportRun result = runExport(env, {"--term-pack", many, "--term", "year", "--threads", "4"});
            QVERIFY2(result.code == 0, qPrintable(result.err));
            for (const QString& name : files)
                QVERIFY2(withoutDate(readAll(QDir(many).filePath(name))) == expected.value(name), qPrintable(name));
        }
    }

    // The workers' writes refused by the system (a file-size limit: EFBIG): the pack
    // fails with the cause in Japanese, reports no file as made, and leaves the
    // folder as it was, without temporary files.
    void workersThatCannotWriteLeaveTheFolderAsItWas()
    {
        TestEnv env;
        makeClass(env);
        const QString existing = env.dir.path() + QStringLiteral("/pack");
        QDir().mkpath(existing);
        QFile old(existing + QStringLiteral("/国語_総合集計.pdf"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        const QString created = env.dir.path() + QStringLiteral("/学期末/１学期");
        for (const QString& folder : {existing, created}) {
            ExportRun result;
            {
                FileSizeLimit limit(4096);
                result = runExport(env, {"--term-pack", folder, "--term", "1", "--threads", "4"});
            }
            QCOMPARE(result.code, 1);
            QVERIFY2(result.err.contains(QStringLiteral("ディスクの空き容量が足りません")), qPrintable(result.err));
            QVERIFY(!result.err.contains(QStringLiteral("作成しました")));
        }
        QCOMPARE(QDir(existing).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("国語_総合集計.pdf")});
        QCOMPARE(readAll(existing + QStringLiteral("/国語_総合集計.pdf")), QByteArray("old"));
        QVERIFY(!QFileInfo::exists(env.dir.path() + QStringLiteral("/学期末")));

        // With room again the same run makes every file.
        const ExportRun result = runExport(env, {"--term-pack", existing, "--term", "1", "--threads", "4"});
        QVERIFY2(result.code == 0, qPrintable(result.err));
        QCOMPARE(QDir(existing).entryList(QDir::Files).size(), expectedFiles(false).size());
        QVERIFY(readAll(existing + QStringLiteral("/国語_総合集計.pdf")).startsWith("%PDF"));
    }

    void threadsTakeAPositiveNumberWithAPackOnly()
    {
        TestEnv env;
        makeClass(env);
        const QString pack = env.dir.path() + QStringLiteral("/pack");
        for (const QString& bad : {QStringLiteral("0"), QStringLiteral("many"), QStringLiteral("-2")}) {
            const ExportRun result = runExport(env, {"--term-pack", pack, "--term", "1", "--threads", bad});
            QCOMPARE(result.code, 2);
            QVERIFY2(result.err.contains(QStringLiteral("--threads には1から256までの数")), qPrintable(result.err));
        }
        const ExportRun alone = runExport(env, {"aryoiki", "--pdf", pack + QStringLiteral(".pdf"), "--one-file-per-subject"});
        QCOMPARE(alone.code, 2);
        QVERIFY(!QFile::exists(pack + QStringLiteral(".pdf")));
        QVERIFY(!QDir(pack).exists());
    }
};

QTEST_MAIN(TermPackTest)
#include "test_term_pack.moc"
