#pragma once
// Score files for the tally tests, written the way score entry saves them.

#include <QList>
#include <QString>
#include <QStringList>

namespace TallyFixtures {

struct Column {
    int kind = 1;       // viewpoint 1..4, 0 = none
    int fullMarks = 100;
    QList<int> scores;  // one per pupil, -1 = absent
};

struct Test {
    QString name;
    QList<Column> columns;
};

// The lines of a score file holding the tests.
inline QStringList scoreLines(const QList<Test>& tests)
{
    QStringList lines{QString::number(tests.size())};
    for (const Test& test : tests) {
        lines << QLatin1Char('"') + test.name + QLatin1Char('"') << QString::number(test.columns.size());
        for (const Column& column : test.columns) {
            lines << QString::number(column.kind) << QString::number(column.fullMarks);
            for (int score : column.scores)
                lines << QString::number(score);
        }
    }
    return lines;
}

// Names "児童01" .. for a class of n pupils.
inline QStringList pupilNames(int n)
{
    QStringList names;
    for (int p = 1; p <= n; ++p)
        names << QStringLiteral("児童%1").arg(p, 2, 10, QLatin1Char('0'));
    return names;
}

}  // namespace TallyFixtures
