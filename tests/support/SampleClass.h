#pragma once
// A sample class for the roster, transfer and test maintenance tests: distinct
// tests in every unit, a year of attendance, and the same lists changed as a
// transfer in or out changes them, for comparing files byte for byte.

#include "DataFiles.h"
#include "TestEnv.h"

#include <QList>
#include <QMap>
#include <QStringList>

namespace Sample {

using namespace DataFiles;

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
            column.fullMarks = 10 * (c + t);
            for (int p = 1; p <= pupils; ++p)
                column.scores << ((p + unit + c) % 7 == 0 ? -1 : (unit * 13 + t * 7 + c * 3 + p * 5) % column.fullMarks);
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

// A year of attendance that could be: lesson days 16 .. 27 (April .. March), each
// pupil's counts 0 .. 3 but 必要日数, the lesson days less the leave days.
inline Attendance attendance(int pupils)
{
    return attendanceYear(
        pupils, [](int m) { return 15 + m; },
        [](int m, int p) {
            QList<int> counts;
            for (int k = 1; k <= 7; ++k)
                counts << (m * 3 + p * 2 + k) % 4;
            counts[2] = 15 + m - counts[0] - counts[1];  // 必要日数: the lesson days less the leave days
            return counts;
        });
}

// The new pupil after n: 出停 is the lesson days of the months before `month`,
// 必要日数 the lesson days of `month` and after.
inline Attendance insertPupil(Attendance a, int n, int month)
{
    for (int m = 0; m < 12; ++m) {
        const bool before = m + 1 < month;
        a.counts[m].insert(n, {0, before ? a.lessonDays[m] : 0, before ? 0 : a.lessonDays[m], 0, 0, 0, 0});
    }
    return a;
}

inline Attendance removePupil(Attendance a, int n)
{
    for (int m = 0; m < 12; ++m)
        a.counts[m].removeAt(n - 1);
    return a;
}

// The class's names: numbered, but pupil 3 has a name with a character outside
// JIS X 0208 and a full-width space.
inline QStringList classNames(int count)
{
    QStringList names = pupilNames(count);
    if (count >= 3)
        names[2] = QStringLiteral("髙橋　一郎");
    return names;
}

// A homeroom class of `pupils` with nine filled score files and a filled
// attendance file, loaded into env.data as the start-up would.
inline void homeroomClass(TestEnv& env, int pupils)
{
    const QStringList names = classNames(pupils);
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
    return folderFiles(env.dataFolder());
}

}  // namespace Sample
