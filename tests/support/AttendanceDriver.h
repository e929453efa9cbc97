#pragma once
// Drives the attendance window as a teacher would: opens it from the main window,
// picks months and tallies in the selector, types lesson days and digits, answers
// the value prompt.

#include "TestEnv.h"
#include "attendance/CountPrompt.h"
#include "attendance/AttendanceWindow.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace AttendanceDriver {

// Three pupils, the main window started on `today`, the attendance window opened
// from its menu and made the active window.
inline AttendanceWindow* open(TestEnv& env)
{
    MainWindow& window = env.mainWindow() ? *env.mainWindow() : env.startMainWindow();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    window.Mn_Shuketu->trigger();
    auto* shown = qobject_cast<AttendanceWindow*>(window.activeChild());
    if (shown)
        shown->Grid1->setFocus(Qt::OtherFocusReason);
    return shown;
}

inline void startClass(TestEnv& env, const QDate& today, int pupils = 3)
{
    const QStringList names{QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田"),
                            QStringLiteral("江藤"), QStringLiteral("大野")};
    QStringList chosen;
    for (int p = 0; p < pupils; ++p)
        chosen << (p < names.size() ? names[p] : QStringLiteral("児童%1").arg(p + 1));
    env.makeClass(chosen);
    env.ctx->today = [today] { return today; };
}

// A choice in the selector (the month in input, the tally while one is shown).
inline void choose(AttendanceWindow* w, int item)
{
    w->CbMonth->setCurrentIndex(item);
    emit w->CbMonth->activated(item);
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
    w->TxJugyoSu->setFocus(Qt::MouseFocusReason);
    w->TxJugyoSu->selectAll();
    QTest::keyClick(w->TxJugyoSu, Qt::Key_Delete);
    typeText(w->TxJugyoSu, days);
}

// Leaves the lesson-days box for the grid, as a click on the grid would.
inline void leaveLessonDays(AttendanceWindow* w)
{
    w->Grid1->setFocus(Qt::MouseFocusReason);
}

inline void typeAt(AttendanceWindow* w, int row, int column, const QString& keys)
{
    w->setGridCell(row, column);
    typeText(w->Grid1, keys);
}

// Opens the value prompt with Shift+Return on a cell, types `text` and presses a button.
inline void promptAt(AttendanceWindow* w, int row, int column, const QString& text, int button = 0)
{
    w->setGridCell(row, column);
    QTest::keyClick(w->Grid1, Qt::Key_Return, Qt::ShiftModifier);
    CountPrompt* prompt = w->valuePrompt();
    if (!prompt)
        return;
    typeText(prompt->Text1, text);
    prompt->BtEnd[button]->click();
}

// The texts of grid row `row`, columns 0..9.
inline QStringList rowTexts(AttendanceWindow* w, int row)
{
    QStringList texts;
    for (int c = 0; c < 10; ++c)
        texts << w->cellText(row, c);
    return texts;
}

}  // namespace AttendanceDriver
