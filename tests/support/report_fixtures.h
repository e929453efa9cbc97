#pragma once
// Classes and tests for the report and tally tests: a roster of up to 45 distinct
// Japanese names and score files built through the score-file writer.

#include "TestEnv.h"
#include "model/ScoreFile.h"

#include <QProcess>
#include <QStringList>
#include <QTest>

namespace Fixtures {

inline QStringList pupilNames(int count)
{
    static const char* const family[] = {"青木", "石田", "上野", "江藤", "大川", "加藤", "木村", "工藤", "小林",
                                         "斎藤", "島田", "鈴木", "関口", "高橋", "田中", "千葉", "土屋", "中村",
                                         "西川", "野口", "橋本", "林", "藤田", "堀", "松本", "三浦", "村上",
                                         "森", "山田", "吉田", "和田", "安藤", "井上", "内田", "遠藤", "岡田",
                                         "川口", "北村", "久保", "近藤", "佐野", "清水", "菅原", "武田", "谷口"};
    static const char* const given[] = {"一郎", "花子", "健太", "さくら", "翔", "美咲", "大輝", "陽菜", "蓮"};
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(QString::fromUtf8(family[i % 45]) + QString::fromUtf8(given[i % 9]));
    return names;
}

// One test: name, then per column {viewpoint kind, full marks, scores of pupils 1..n}.
struct Column {
    int kind = 1;
    int fullMarks = 100;
    QList<int> scores;
};
struct Test {
    QString name;
    QList<Column> columns;
};

// Writes the score file of the unit `stem` for `pupils` pupils.
inline void writeScores(TestEnv& env, const QString& stem, int pupils, const QList<Test>& tests)
{
    TestSet set;
    set.count = int(tests.size());
    for (int t = 1; t <= tests.size(); ++t) {
        const Test& test = tests[t - 1];
        set.name[t] = test.name;
        set.columnCount[t] = int(test.columns.size());
        for (int c = 1; c <= test.columns.size(); ++c) {
            set.viewpoint[t][c] = test.columns[c - 1].kind;
            set.fullMarks[t][c] = test.columns[c - 1].fullMarks;
            for (int p = 1; p <= pupils; ++p)
                set.score[t][c][p] = p <= test.columns[c - 1].scores.size() ? test.columns[c - 1].scores[p - 1] : -1;
        }
    }
    QByteArray bytes;
    QVERIFY(ScoreFile::build(set, pupils, bytes).ok);
    env.writeBytes(stem + QStringLiteral(".dat"), bytes);
}

// The text of a PDF file as pdftotext gives it, page by page (form feed between pages).
inline QStringList pdfPages(const QString& pdfPath)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                                pdfPath, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

}  // namespace Fixtures
