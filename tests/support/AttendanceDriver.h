#pragma once
// Drives the attendance window as a teacher would: opens it from the main window,
// picks months and tallies in the selector, types lesson days and digits, answers
// the value prompt.

#include "Controls.h"
#include "DataFiles.h"
#include "MainWindowControls.h"
#include "TestEnv.h"
#include "attendance/CountPrompt.h"
#include "attendance/AttendanceWindow.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

namespace AttendanceDriver {

// The window's controls, by their object names.
inline QTableView* grid(const AttendanceWindow* w) { return Controls::child<QTableView>(w, "attendanceGrid"); }
inline QComboBox* periodSelector(const AttendanceWindow* w) { return Controls::child<QComboBox>(w, "periodSelector"); }
inline QLineEdit* lessonDaysInput(const AttendanceWindow* w) { return Controls::child<QLineEdit>(w, "lessonDaysInput"); }
inline QLabel* lessonDaysCaption(const AttendanceWindow* w) { return Controls::child<QLabel>(w, "lessonDaysCaption"); }
inline QLabel* valuePromptHint(const AttendanceWindow* w) { return Controls::child<QLabel>(w, "valuePromptHint"); }
inline QFrame* gridFrame(const AttendanceWindow* w) { return Controls::child<QFrame>(w, "gridFrame"); }
inline QRadioButton* detailedViewOption(const AttendanceWindow* w) { return Controls::child<QRadioButton>(w, "detailedViewOption"); }
inline QRadioButton* recordBookViewOption(const AttendanceWindow* w) { return Controls::child<QRadioButton>(w, "recordBookViewOption"); }
inline QPushButton* monthlyInputButton(const AttendanceWindow* w) { return Controls::child<QPushButton>(w, "monthlyInputButton"); }
inline QPushButton* fillRequiredDaysButton(const AttendanceWindow* w) { return Controls::child<QPushButton>(w, "fillRequiredDaysButton"); }
// The tally buttons: 0..2 the terms, 3 the year.
inline QPushButton* tallyButton(const AttendanceWindow* w, int tally)
{
    return Controls::child<QPushButton>(w, QStringLiteral("tallyButton%1").arg(tally));
}
inline QPushButton* printButton(const AttendanceWindow* w) { return Controls::child<QPushButton>(w, "printButton"); }
inline QPushButton* previewButton(const AttendanceWindow* w) { return Controls::child<QPushButton>(w, "previewButton"); }
inline QPushButton* csvButton(const AttendanceWindow* w) { return Controls::child<QPushButton>(w, "csvButton"); }
inline QPushButton* closeButton(const AttendanceWindow* w) { return Controls::child<QPushButton>(w, "closeButton"); }
inline QMenu* fileMenu(const AttendanceWindow* w) { return Controls::child<QMenu>(w, "fileMenu"); }
inline QMenu* inputMenu(const AttendanceWindow* w) { return Controls::child<QMenu>(w, "inputMenu"); }
inline QMenu* tallyMenu(const AttendanceWindow* w) { return Controls::child<QMenu>(w, "tallyMenu"); }
inline QAction* printAction(const AttendanceWindow* w) { return Controls::child<QAction>(w, "printAction"); }
inline QAction* previewAction(const AttendanceWindow* w) { return Controls::child<QAction>(w, "previewAction"); }
inline QAction* csvAction(const AttendanceWindow* w) { return Controls::child<QAction>(w, "csvAction"); }
inline QAction* closeAction(const AttendanceWindow* w) { return Controls::child<QAction>(w, "closeAction"); }
inline QAction* monthlyInputAction(const AttendanceWindow* w) { return Controls::child<QAction>(w, "monthlyInputAction"); }
inline QAction* fillRequiredDaysAction(const AttendanceWindow* w) { return Controls::child<QAction>(w, "fillRequiredDaysAction"); }
inline QAction* tallyAction(const AttendanceWindow* w, int tally)
{
    return Controls::child<QAction>(w, QStringLiteral("tallyAction%1").arg(tally));
}
inline QAction* helpAction(const AttendanceWindow* w) { return Controls::child<QAction>(w, "helpAction"); }

// The pupils' rows of the grid.
inline int gridRows(const AttendanceWindow* w) { return grid(w)->model()->rowCount(); }
// The text a grid cell shows: row 0 is the heading, rows 1.. the pupils.
inline QString cellText(const AttendanceWindow* w, int row, int column)
{
    const QAbstractItemModel* model = grid(w)->model();
    if (row == 0)
        return model->headerData(column, Qt::Horizontal).toString();
    return model->index(row - 1, column).data().toString();
}
// Where a pupil's cell is drawn in the grid's viewport.
inline QRect cellRect(const AttendanceWindow* w, int row, int column)
{
    return grid(w)->visualRect(grid(w)->model()->index(row - 1, column));
}
// The current cell: row 1 is the first pupil, 0 when there is none.
inline int gridRow(const AttendanceWindow* w) { return grid(w)->currentIndex().row() + 1; }
inline int gridColumn(const AttendanceWindow* w) { return grid(w)->currentIndex().column(); }
inline void setGridCell(const AttendanceWindow* w, int row, int column)
{
    if (row >= 1 && row <= gridRows(w))
        grid(w)->setCurrentIndex(grid(w)->model()->index(row - 1, column));
}

// The value prompt that is open on the window, or nullptr.
inline CountPrompt* valuePrompt(const AttendanceWindow* w)
{
    for (CountPrompt* prompt : w->findChildren<CountPrompt*>())
        if (prompt->isVisible())
            return prompt;
    return nullptr;
}
inline QLineEdit* countInput(const CountPrompt* prompt) { return Controls::child<QLineEdit>(prompt, "countInput"); }
inline QPushButton* okButton(const CountPrompt* prompt) { return Controls::child<QPushButton>(prompt, "okButton"); }
inline QPushButton* cancelButton(const CountPrompt* prompt) { return Controls::child<QPushButton>(prompt, "cancelButton"); }

// Three pupils, the main window started on `today`, the attendance window opened
// from its menu and made the active window.
inline AttendanceWindow* open(TestEnv& env)
{
    MainWindow& window = env.mainWindow() ? *env.mainWindow() : env.startMainWindow();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    MainControls::menuEntry(window, "attendanceAction")->trigger();
    auto* shown = qobject_cast<AttendanceWindow*>(window.activeChild());
    if (shown)
        grid(shown)->setFocus(Qt::OtherFocusReason);
    return shown;
}

// A class of `pupils` (青木, 石田, 上田, 江藤, 大野, then numbered names) on `today`.
inline void startClass(TestEnv& env, const QDate& today, int pupils = 3)
{
    const QStringList first{QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田"), QStringLiteral("江藤"),
                            QStringLiteral("大野")};
    QStringList names = DataFiles::pupilNames(pupils);
    for (int p = 0; p < pupils && p < first.size(); ++p)
        names[p] = first[p];
    env.makeClass(names);
    env.ctx->today = [today] { return today; };
}

// A choice in the selector (the month in input, the tally while one is shown).
inline void choose(AttendanceWindow* w, int item)
{
    periodSelector(w)->setCurrentIndex(item);
    emit periodSelector(w)->activated(item);
}

// Types text, full-width characters of an input method included.
inline void typeText(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            const int digit = c.unicode() >= u'０' && c.unicode() <= u'９' ? c.unicode() - u'０' : -1;
            const Qt::Key key = digit >= 0 ? Qt::Key(Qt::Key_0 + digit) : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Press, widget, key, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, key, QString(c), Qt::NoModifier);
        }
    }
}

inline void typeLessonDays(AttendanceWindow* w, const QString& days)
{
    QLineEdit* box = lessonDaysInput(w);
    box->setFocus(Qt::MouseFocusReason);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    typeText(box, days);
}

// Leaves the lesson-days box for the grid, as a click on the grid would.
inline void leaveLessonDays(AttendanceWindow* w)
{
    grid(w)->setFocus(Qt::MouseFocusReason);
}

inline void typeAt(AttendanceWindow* w, int row, int column, const QString& keys)
{
    setGridCell(w, row, column);
    typeText(grid(w), keys);
}

// Opens the value prompt with Shift+Return on a cell, types `text` and presses a button.
inline void promptAt(AttendanceWindow* w, int row, int column, const QString& text, int button = 0)
{
    setGridCell(w, row, column);
    QTest::keyClick(grid(w), Qt::Key_Return, Qt::ShiftModifier);
    CountPrompt* prompt = valuePrompt(w);
    if (!prompt)
        return;
    typeText(countInput(prompt), text);
    (button == 0 ? okButton(prompt) : cancelButton(prompt))->click();
}

// The texts of grid row `row`, columns 0..9.
inline QStringList rowTexts(AttendanceWindow* w, int row)
{
    QStringList texts;
    for (int c = 0; c < 10; ++c)
        texts << cellText(w, row, c);
    return texts;
}

}  // namespace AttendanceDriver
