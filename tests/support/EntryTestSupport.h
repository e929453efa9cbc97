#pragma once
// Helpers shared by the score-entry tests: a sample score file, the real main window opening the score-entry screen, and the
// screen's controls found by object name, to click and type into as a teacher does.

#include "DataFiles.h"
#include "TestEnv.h"
#include "entry/ScoreEntryWindow.h"
#include "app/MainWindow.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace EntryTest {

using namespace DataFiles;

// `count` one-column tests named "テストn" with every score n.
inline QStringList simpleTests(int count, int pupilCount)
{
    Tests tests;
    for (int t = 1; t <= count; ++t)
        tests << Test{QStringLiteral("テスト%1").arg(t), {{1, 100, QList<int>(pupilCount, t)}}};
    return scoreLines(tests);
}

// The child of `parent` with that object name; a missing control ends the test
// program with its name, as a renamed control must not pass unnoticed.
template <class T>
T* child(const QObject* parent, const QString& name)
{
    T* found = parent ? parent->findChild<T*>(name) : nullptr;
    if (!found)
        qFatal("no control named %s", qPrintable(name));
    return found;
}

// Score entry's controls, found by their object names.
struct EntryScreen {
    ScoreEntryWindow* window = nullptr;
    QTableView* grid = nullptr;
    QLabel* testNumber = nullptr;
    QToolButton* upArrow = nullptr;
    QToolButton* downArrow = nullptr;
    QLineEdit* testName = nullptr;
    QPushButton* otherClassButton = nullptr;
    QLineEdit* columnCount = nullptr;
    QGroupBox* viewpointColumns[4] = {};
    QComboBox* viewpointBoxes[4] = {};
    QLineEdit* fullMarksBoxes[4] = {};
    QWidget* gridFocusFrame = nullptr;
    QLabel* keyHint = nullptr;
    QPushButton* newTestButton = nullptr;
    QPushButton* previousTestButton = nullptr;
    QPushButton* nextTestButton = nullptr;
    QPushButton* firstTestButton = nullptr;
    QPushButton* lastTestButton = nullptr;
    QRadioButton* normalModeButton = nullptr;
    QRadioButton* fixedModeButton = nullptr;
    QPushButton* fixedValuesButton = nullptr;
    QPushButton* saveAndCloseButton = nullptr;
    QPushButton* closeWithoutSavingButton = nullptr;
    QAction* newTestAction = nullptr;
    QAction* saveAndCloseAction = nullptr;
    QAction* discardAndCloseAction = nullptr;
    QAction* previousTestAction = nullptr;
    QAction* nextTestAction = nullptr;
    QAction* firstTestAction = nullptr;
    QAction* lastTestAction = nullptr;
    QAction* normalModeAction = nullptr;
    QAction* fixedModeAction = nullptr;
    QAction* fixedValuesAction = nullptr;
    QAction* helpAction = nullptr;

    EntryScreen() = default;
    explicit EntryScreen(ScoreEntryWindow* w) : window(w)
    {
        if (!w)
            return;
        grid = child<QTableView>(w, QStringLiteral("scoreGrid"));
        // Every change the window makes to its scores is checked against the rules
        // of Qt's item models for as long as the window lives.
        new QAbstractItemModelTester(grid->model(), QAbstractItemModelTester::FailureReportingMode::QtTest, w);
        testNumber = child<QLabel>(w, QStringLiteral("testNumber"));
        upArrow = child<QToolButton>(w, QStringLiteral("upButton"));
        downArrow = child<QToolButton>(w, QStringLiteral("downButton"));
        testName = child<QLineEdit>(w, QStringLiteral("testName"));
        otherClassButton = child<QPushButton>(w, QStringLiteral("otherClassButton"));
        columnCount = child<QLineEdit>(w, QStringLiteral("columnCount"));
        for (int k = 0; k < 4; ++k) {
            viewpointColumns[k] = child<QGroupBox>(w, QStringLiteral("viewpointColumn%1").arg(k + 1));
            viewpointBoxes[k] = child<QComboBox>(w, QStringLiteral("viewpointBox%1").arg(k + 1));
            fullMarksBoxes[k] = child<QLineEdit>(w, QStringLiteral("fullMarksBox%1").arg(k + 1));
        }
        gridFocusFrame = child<QWidget>(w, QStringLiteral("gridFocusFrame"));
        keyHint = child<QLabel>(w, QStringLiteral("keyHint"));
        newTestButton = child<QPushButton>(w, QStringLiteral("newTestButton"));
        previousTestButton = child<QPushButton>(w, QStringLiteral("previousTestButton"));
        nextTestButton = child<QPushButton>(w, QStringLiteral("nextTestButton"));
        firstTestButton = child<QPushButton>(w, QStringLiteral("firstTestButton"));
        lastTestButton = child<QPushButton>(w, QStringLiteral("lastTestButton"));
        normalModeButton = child<QRadioButton>(w, QStringLiteral("normalModeButton"));
        fixedModeButton = child<QRadioButton>(w, QStringLiteral("fixedModeButton"));
        fixedValuesButton = child<QPushButton>(w, QStringLiteral("fixedValuesButton"));
        saveAndCloseButton = child<QPushButton>(w, QStringLiteral("saveAndCloseButton"));
        closeWithoutSavingButton = child<QPushButton>(w, QStringLiteral("closeWithoutSavingButton"));
        newTestAction = child<QAction>(w, QStringLiteral("newTestAction"));
        saveAndCloseAction = child<QAction>(w, QStringLiteral("saveAndCloseAction"));
        discardAndCloseAction = child<QAction>(w, QStringLiteral("discardAndCloseAction"));
        previousTestAction = child<QAction>(w, QStringLiteral("previousTestAction"));
        nextTestAction = child<QAction>(w, QStringLiteral("nextTestAction"));
        firstTestAction = child<QAction>(w, QStringLiteral("firstTestAction"));
        lastTestAction = child<QAction>(w, QStringLiteral("lastTestAction"));
        normalModeAction = child<QAction>(w, QStringLiteral("normalModeAction"));
        fixedModeAction = child<QAction>(w, QStringLiteral("fixedModeAction"));
        fixedValuesAction = child<QAction>(w, QStringLiteral("fixedValuesAction"));
        helpAction = child<QAction>(w, QStringLiteral("helpAction"));
    }
    explicit operator bool() const { return window != nullptr; }

    // What the grid shows in a cell: pupil rows from 1, columns as on screen (0 the
    // number, 1 the name, 2 the total, 3..6 the score columns Ⅰ..Ⅳ).
    QString cellText(int row, int col) const { return grid->model()->index(row - 1, col).data().toString(); }
    // A row of cells: the total and the four score columns.
    QStringList rowCells(int row) const
    {
        QStringList cells;
        for (int c = 2; c <= 6; ++c)
            cells << cellText(row, c);
        return cells;
    }
    int cursorRow() const { return grid->currentIndex().row() + 1; }
    int cursorCol() const { return grid->currentIndex().column(); }
    // The pupil row shown at the top of the grid.
    int topRow() const { return grid->verticalScrollBar()->value() + 1; }

    // Clicks a cell, scrolling it into sight first.
    void clickCell(int row, int col) const
    {
        const QModelIndex cell = grid->model()->index(row - 1, col);
        grid->scrollTo(cell);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    }
    // Types each character into the grid as a key press.
    void type(const QString& keys) const
    {
        for (QChar key : keys)
            QTest::keyClick(grid, key.toLatin1());
    }
    // Types a number into the 観点数 box and leaves it with Tab.
    void enterColumnCount(const QString& text) const
    {
        columnCount->setFocus(Qt::MouseFocusReason);
        if (!QTest::qWaitFor([this] { return columnCount->hasFocus(); }))
            qWarning("the 観点数 box did not take the focus");
        columnCount->selectAll();
        if (text.isEmpty())
            QTest::keyClick(columnCount, Qt::Key_Delete);
        else
            QTest::keyClicks(columnCount, text);
        QTest::keyClick(columnCount, Qt::Key_Tab);
    }
    // Chooses viewpoints and full marks: the 観点数 box, then list and box per column.
    void defineColumns(const QList<std::pair<int, QString>>& columns) const
    {
        enterColumnCount(QString::number(columns.size()));
        for (int k = 0; k < int(columns.size()); ++k) {
            viewpointBoxes[k]->setCurrentIndex(columns[k].first);
            fullMarksBoxes[k]->setText(columns[k].second);
        }
    }
};

// Starts the program on the class and opens score entry through the main window.
inline EntryScreen openEntry(TestEnv& env)
{
    MainWindow& window = env.startMainWindow();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        qWarning("the main window did not become active");
    return EntryScreen(qobject_cast<ScoreEntryWindow*>(window.openScoreEntryWindow()));
}

// The box of the fixed-values window that holds the value of key 1, 2 or 3.
inline QLineEdit* fixedValueBox(const QObject* dialog, int key)
{
    return child<QLineEdit>(dialog, QStringLiteral("key%1Value").arg(key));
}

inline QPushButton* button(const QObject* parent, const char* name)
{
    return child<QPushButton>(parent, QLatin1String(name));
}

}  // namespace EntryTest
