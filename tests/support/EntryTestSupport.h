#pragma once
// Helpers shared by the score-entry tests: a class on disk, score files written
// line by line, the real main window opening the score-entry screen, and typing
// into its grid key by key.

#include "TestEnv.h"
#include "entry/ScoreEntryWindow.h"
#include "app/MainWindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>
#include <QTest>

namespace EntryTest {

inline QStringList pupils(int count)
{
    QStringList names;
    for (int p = 1; p <= count; ++p)
        names << QStringLiteral("児童%1").arg(p, 2, 10, QLatin1Char('0'));
    return names;
}

struct Column {
    int kind;
    int fullMarks;
    QList<int> scores;
};

// The lines of one test in a score file.
inline QStringList testLines(const QString& name, const QList<Column>& columns)
{
    QStringList lines{QLatin1Char('"') + name + QLatin1Char('"'), QString::number(columns.size())};
    for (const Column& c : columns) {
        lines << QString::number(c.kind) << QString::number(c.fullMarks);
        for (int s : c.scores)
            lines << QString::number(s);
    }
    return lines;
}

// A whole score file of the given tests.
inline QStringList scoreFile(const QList<QStringList>& tests)
{
    QStringList lines{QString::number(tests.size())};
    for (const QStringList& t : tests)
        lines += t;
    return lines;
}

// `count` one-column tests named "テストn" with every score n.
inline QStringList simpleTests(int count, int pupilCount)
{
    QList<QStringList> tests;
    for (int t = 1; t <= count; ++t)
        tests << testLines(QStringLiteral("テスト%1").arg(t), {{1, 100, QList<int>(pupilCount, t)}});
    return scoreFile(tests);
}

// Starts the program on the class and opens score entry through the main window.
inline ScoreEntryWindow* openEntry(TestEnv& env)
{
    MainWindow& window = env.startMainWindow();
    window.activateWindow();
    return qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow());
}

// Types each character into the grid as a key press.
inline void type(ScoreEntryWindow* entry, const QString& keys)
{
    for (QChar key : keys)
        QTest::keyClick(entry->Grid1, key.toLatin1());
}

// A row of cells: the total and the four score columns.
inline QStringList rowCells(ScoreEntryWindow* entry, int row)
{
    QStringList cells;
    for (int c = 2; c <= 6; ++c)
        cells << entry->cellText(row, c);
    return cells;
}

// Chooses viewpoints and full marks: the 観点数 box, then list and box per column.
inline void defineColumns(ScoreEntryWindow* entry, const QList<std::pair<int, QString>>& columns)
{
    entry->Tx_RyoikiSu->setText(QString::number(columns.size()));
    entry->Tx_RyoikiSu_LostFocus();
    for (int k = 0; k < int(columns.size()); ++k) {
        entry->Cb_Ryoiki[k]->setCurrentIndex(columns[k].first);
        entry->Tx_Manten[k]->setText(columns[k].second);
    }
}

}  // namespace EntryTest
