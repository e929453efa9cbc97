#pragma once
// Sample classes for the roster and test maintenance tests, kept as plain lists so
// that the expected file contents are written out independently of the program:
// a score file is a list of tests, each a list of columns with their scores; an
// attendance file is twelve months of lesson days and seven counts per pupil.

#include "TestEnv.h"

#include <QDir>
#include <QList>
#include <QMap>
#include <QStringList>

namespace Sample {

struct Column {
    int kind = 1;
    int full = 100;
    QList<int> scores;  // pupil 1 first
};
struct Test {
    QString name;
    QList<Column> columns;
};
using Tests = QList<Test>;

struct Attendance {
    QList<int> lessonDays;               // month 1..12 at index 0..11
    QList<QList<QList<int>>> counts;     // [month][pupil][category 1..7 at 0..6]
};

inline QStringList scoreLines(const Tests& tests)
{
    QStringList lines{QString::number(tests.size())};
    for (const Test& test : tests) {
        lines << QLatin1Char('"') + test.name + QLatin1Char('"') << QString::number(test.columns.size());
        for (const Column& column : test.columns) {
            lines << QString::number(column.kind) << QString::number(column.full);
            for (int score : column.scores)
                lines << QString::number(score);
        }
    }
    return lines;
}

// Distinct tests for each unit: 1 to 3 tests of 1 to 4 columns, absent scores here
// and there, a name with a comma.
inline Tests tests(int unit, int pupils)
{
    Tests result;
    const int count = unit % 3 + 1;
    for (int t = 1; t <= count; ++t) {
        Test test;
        test.name = t == 2 ? QStringLiteral("漢字,計算%1-%2").arg(unit).arg(t) : QStringLiteral("単元%1のテスト%2").arg(unit).arg(t);
        const int columns = (unit + t) % 4 + 1;
        for (int c = 1; c <= columns; ++c) {
            Column column;
            column.kind = (unit + c) % 5;
            column.full = 10 * (c + t);
            for (int p = 1; p <= pupils; ++p)
                column.scores << ((p + unit + c) % 7 == 0 ? -1 : (unit * 13 + t * 7 + c * 3 + p * 5) % column.full);
            test.columns << column;
        }
        result << test;
    }
    return result;
}

inline Tests insertAbsent(Tests tests, int n)
{
    for (Test& test : tests)
        for (Column& column : test.columns)
            column.scores.insert(n, -1);
    return tests;
}

inline Tests removePupil(Tests tests, int n)
{
    for (Test& test : tests)
        for (Column& column : test.columns)
            column.scores.removeAt(n - 1);
    return tests;
}

inline Attendance attendance(int pupils)
{
    Attendance a;
    for (int m = 1; m <= 12; ++m) {
        a.lessonDays << 15 + m;
        QList<QList<int>> month;
        for (int p = 1; p <= pupils; ++p) {
            QList<int> counts;
            for (int k = 1; k <= 7; ++k)
                counts << (m * 3 + p * 2 + k) % 4;
            month << counts;
        }
        a.counts << month;
    }
    return a;
}

inline QStringList attendanceLines(const Attendance& a)
{
    QStringList lines;
    for (int m = 0; m < 12; ++m) {
        lines << QString::number(a.lessonDays[m]);
        for (const QList<int>& counts : a.counts[m]) {
            QStringList items;
            for (int value : counts)
                items << QString::number(value);
            lines << items.join(QLatin1Char(','));
        }
    }
    return lines;
}

// The new pupil after n: 出停 is the lesson days of the months before `month`.
inline Attendance insertPupil(Attendance a, int n, int month)
{
    for (int m = 0; m < 12; ++m)
        a.counts[m].insert(n, {0, m + 1 < month ? a.lessonDays[m] : 0, 0, 0, 0, 0, 0});
    return a;
}

inline Attendance removePupil(Attendance a, int n)
{
    for (int m = 0; m < 12; ++m)
        a.counts[m].removeAt(n - 1);
    return a;
}

inline QStringList rosterLines(const QStringList& names)
{
    QStringList lines{QString::number(names.size())};
    for (const QString& name : names)
        lines << QLatin1Char('"') + name + QLatin1Char('"');
    return lines;
}

inline QStringList pupilNames(int count)
{
    QStringList names;
    for (int p = 1; p <= count; ++p)
        names << (p == 3 ? QStringLiteral("髙橋　一郎") : QStringLiteral("児童%1").arg(p, 2, 10, QLatin1Char('0')));
    return names;
}

inline const QStringList& subjectStems()
{
    static const QStringList stems{QStringLiteral("国語"), QStringLiteral("社会"), QStringLiteral("算数"),
                                   QStringLiteral("理科"), QStringLiteral("生活"), QStringLiteral("音楽"),
                                   QStringLiteral("図工"), QStringLiteral("家庭"), QStringLiteral("体育")};
    return stems;
}

inline const QStringList& classStems()
{
    static const QStringList stems{QStringLiteral("４の１"), QStringLiteral("４の２"), QStringLiteral("４の３"),
                                   QStringLiteral("５の１"), QStringLiteral("５の２"), QStringLiteral("５の３"),
                                   QStringLiteral("６の１"), QStringLiteral("６の２"), QStringLiteral("６の３")};
    return stems;
}

// A homeroom class of `pupils` with nine filled score files and a filled
// attendance file, loaded into env.data as the start-up would.
inline void homeroomClass(TestEnv& env, int pupils)
{
    const QStringList names = pupilNames(pupils);
    env.makeClass(names);
    for (int unit = 1; unit <= 9; ++unit)
        env.writeFile(subjectStems()[unit - 1] + QStringLiteral(".dat"), scoreLines(tests(unit, pupils)));
    const Attendance a = attendance(pupils);
    env.writeFile(QStringLiteral("shuketu.dat"), attendanceLines(a));
    for (int m = 1; m <= 12; ++m) {
        env.data.lessonDays[m] = a.lessonDays[m - 1];
        for (int p = 1; p <= pupils; ++p)
            for (int k = 1; k <= 7; ++k)
                env.data.attendance[m][p][k] = a.counts[m - 1][p - 1][k - 1];
    }
}

// Every file of the data folder with its bytes.
inline QMap<QString, QByteArray> snapshot(const TestEnv& env)
{
    QMap<QString, QByteArray> files;
    const QStringList entries = QDir(env.dataFolder()).entryList(QDir::Files);
    for (const QString& name : entries)
        files.insert(name, env.readBytes(name));
    return files;
}

}  // namespace Sample
