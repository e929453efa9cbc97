// Every Alt+letter of every window, pressed as a teacher presses it. For each
// window (the main window alone, then each child window open in it) the test
// gathers every caption that marks a letter with "&": its buttons, its labels with
// a box beside them, its menus and their entries. Then, each time on a fresh
// window, it presses the key and checks what happens:
//   a button is pressed (clicked, not only given the focus);
//   a label's box gets the focus;
//   a menu of the window's own menu bar opens (an entry of the bar itself runs);
//   an entry of an open menu runs when its letter is typed;
//   a control switched off does nothing but beep;
// and, in a child window, the main window's menus never open instead. A menu title
// whose letter a button of the same window also marks gives way to the button.
// Then the cases a teacher met: roster maintenance's Alt+C, Alt+I and Alt+E, the
// attendance window's Alt+I and Alt+S, and the keys of the two dialogs.

#include "AttendanceDriver.h"
#include "ChildWindows.h"
#include "Controls.h"
#include "DataFiles.h"
#include "TestEnv.h"
#include "app/MainWindow.h"
#include "attendance/AttendanceWindow.h"
#include "frame/ChildWindow.h"
#include "reports/TestPickerDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

namespace {

using namespace DataFiles;

// The key a caption marks with "&" ("&&" is a plain ampersand), or 0.
int markedKey(const QString& caption)
{
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        const QChar c = caption[i + 1].toUpper();
        if ((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            return c.unicode();  // Qt::Key_A.. and Qt::Key_0.. are the characters' codes
        return 0;
    }
    return 0;
}

// One caption with its letter, and the control that carries it.
struct Mark {
    enum Kind { Button, Label, MenuTitle, MenuEntry };
    Kind kind = Button;
    QString caption;
    int key = 0;
    QPointer<QWidget> widget;     // the button or the label
    QPointer<QMenuBar> bar;       // a menu title's bar, or the bar of an entry's menu
    QPointer<QAction> title;      // a menu title (for an entry: the title of its menu)
    QPointer<QAction> entry;      // a menu entry
    bool enabled() const
    {
        switch (kind) {
        case Button: return widget->isEnabled();
        case Label: return static_cast<QLabel*>(widget.data())->buddy()->isEnabled();
        case MenuTitle: return title->isEnabled();
        case MenuEntry: return entry->isEnabled();
        }
        return false;
    }
};

// Every marked caption of a window, in the order the window holds them. `window`
// is a child window, or the main window for its own menus.
QList<Mark> marksOf(QWidget* window)
{
    QList<Mark> marks;
    const auto shown = [window](const QWidget* widget) {
        return widget->isVisibleTo(window) && widget->window() == window->window();
    };
    const auto buttons = window->findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons)
        if (shown(button) && markedKey(button->text()))
            marks.append({Mark::Button, button->text(), markedKey(button->text()), button, nullptr, nullptr, nullptr});
    const auto labels = window->findChildren<QLabel*>();
    for (QLabel* label : labels)
        if (shown(label) && label->buddy() && markedKey(label->text()))
            marks.append({Mark::Label, label->text(), markedKey(label->text()), label, nullptr, nullptr, nullptr});
    QList<QMenuBar*> bars = window->findChildren<QMenuBar*>(Qt::FindDirectChildrenOnly);
    if (auto* main = qobject_cast<MainWindow*>(window))
        bars = {main->menuBar()};
    for (QMenuBar* bar : bars) {
        const auto titles = bar->actions();
        for (QAction* title : titles) {
            if (!title->isVisible())
                continue;
            if (markedKey(title->text()))
                marks.append({Mark::MenuTitle, title->text(), markedKey(title->text()), nullptr, bar, title, nullptr});
            if (!title->menu())
                continue;
            const auto entries = title->menu()->actions();
            for (QAction* entry : entries)
                if (entry->isVisible() && markedKey(entry->text()))
                    marks.append({Mark::MenuEntry, entry->text(), markedKey(entry->text()), nullptr, bar, title, entry});
        }
    }
    return marks;
}

// Four tests of two columns for a class of five.
void makeClass(TestEnv& env)
{
    env.makeClass(pupilNames(5, NameStyle::Full));
    Tests tests;
    for (int t = 1; t <= 4; ++t)
        tests << Test{QStringLiteral("テスト%1").arg(t), {{1, 10, {1, 2, 3, 4, 5}}, {2, 20, {6, 7, 8, 9, -1}}}};
    for (const QString& stem : subjectStems())
        env.writeFile(stem + QStringLiteral(".dat"), scoreLines(tests));
}

// The main window of a class, active, with child window `opener` open (-1: none)
// and the keyboard in it.
QWidget* openWindow(TestEnv& env, int opener)
{
    makeClass(env);
    MainWindow& main = env.startMainWindow();
    main.activateWindow();
    if (!QTest::qWaitForWindowActive(&main))
        qFatal("the main window does not become active");
    if (opener < 0)
        return &main;
    ChildWindow* child = ChildWindows::all()[opener].open(main);
    if (!child)
        qFatal("%s did not open", ChildWindows::all()[opener].name);
    QMdiSubWindow* frame = child->subWindow();
    if (!frame->isAncestorOf(QApplication::focusWidget())) {
        QWidget* next = child->nextInFocusChain();
        while (next != child && !(next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus)))
            next = next->nextInFocusChain();
        next->setFocus(Qt::OtherFocusReason);
    }
    return child;
}

// Alt+key where the keyboard is: the control with the focus, else the active window.
void pressAlt(int key)
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    QVERIFY2(target, "no window is active");
    QTest::keyClick(target, Qt::Key(key), Qt::AltModifier);
}

// Whether a menu of the main window is open or its menu bar holds the keyboard.
bool mainMenuOpen(MainWindow& main)
{
    if (main.menuBar()->activeAction())
        return true;
    const auto menus = main.menuBar()->findChildren<QMenu*>();
    for (const QMenu* menu : menus)
        if (menu->isVisible())
            return true;
    return false;
}

void closeMenus()
{
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

}  // namespace

class MnemonicTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { closeMenus(); }
    void everyMnemonic_data();
    void everyMnemonic();
    void rosterKeysActAtOnce();
    void attendanceKeysAct();
    void dialogKeys();

private:
    void checkButtonPressed(const Mark& mark, ScriptedUi& ui);
    void checkLabel(const Mark& mark);
    void checkMenuTitle(const Mark& mark, const QList<Mark>& marks, ScriptedUi& ui);
    void checkMenuEntry(const Mark& mark);
};

void MnemonicTest::everyMnemonic_data()
{
    QTest::addColumn<int>("opener");
    QTest::addColumn<int>("mark");
    QTest::addColumn<QString>("caption");
    for (int opener = -1; opener < ChildWindows::all().size(); ++opener) {
        TestEnv env;
        const QList<Mark> marks = marksOf(openWindow(env, opener));
        const char* window = opener < 0 ? "main" : ChildWindows::all()[opener].name;
        static const char* const kinds[] = {"button", "label", "menu", "entry"};
        for (int i = 0; i < marks.size(); ++i)
            QTest::addRow("%s %s %s", window, kinds[marks[i].kind], qPrintable(marks[i].caption))
                << opener << i << marks[i].caption;
        closeMenus();
    }
}

void MnemonicTest::everyMnemonic()
{
    QFETCH(int, opener);
    QFETCH(int, mark);
    QFETCH(QString, caption);
    TestEnv env;
    QWidget* window = openWindow(env, opener);
    const QList<Mark> marks = marksOf(window);
    QCOMPARE(marks.value(mark).caption, caption);
    const Mark& pressed = marks[mark];
    switch (pressed.kind) {
    case Mark::Button: checkButtonPressed(pressed, env.ui); break;
    case Mark::Label: checkLabel(pressed); break;
    case Mark::MenuTitle: checkMenuTitle(pressed, marks, env.ui); break;
    case Mark::MenuEntry: checkMenuEntry(pressed); break;
    }
    if (QTest::currentTestFailed())
        return;
    if (opener >= 0)
        QVERIFY2(!mainMenuOpen(*env.mainWindow()), "a menu of the main window opened");
}

// A button on is clicked; one switched off beeps, unless a menu title of the window
// marks the same letter (that menu opens instead).
void MnemonicTest::checkButtonPressed(const Mark& mark, ScriptedUi& ui)
{
    QSignalSpy clicked(static_cast<QAbstractButton*>(mark.widget.data()), &QAbstractButton::clicked);
    const int beeps = ui.beeps;
    const bool enabled = mark.enabled();
    pressAlt(mark.key);
    if (enabled) {
        QTRY_COMPARE(clicked.count(), 1);
        return;
    }
    QCOMPARE(clicked.count(), 0);
    if (!QApplication::activePopupWidget())
        QCOMPARE(ui.beeps, beeps + 1);
}

void MnemonicTest::checkLabel(const Mark& mark)
{
    QWidget* buddy = static_cast<QLabel*>(mark.widget.data())->buddy();
    const bool enabled = mark.enabled();
    pressAlt(mark.key);
    if (enabled)
        QCOMPARE(QApplication::focusWidget(), buddy);
    else
        QVERIFY(QApplication::focusWidget() != buddy);
}

void MnemonicTest::checkMenuTitle(const Mark& mark, const QList<Mark>& marks, ScriptedUi& ui)
{
    for (const Mark& other : marks)
        if (other.kind == Mark::Button && other.key == mark.key && other.enabled()) {
            // The window's button with the same letter wins.
            checkButtonPressed(other, ui);
            QVERIFY(!QApplication::activePopupWidget());
            return;
        }
    QMenu* menu = mark.title->menu();
    const bool enabled = mark.enabled();
    if (!menu) {
        QSignalSpy triggered(mark.title.data(), &QAction::triggered);
        pressAlt(mark.key);
        QCOMPARE(triggered.count(), enabled ? 1 : 0);
        return;
    }
    pressAlt(mark.key);
    if (!enabled) {
        QVERIFY(!menu->isVisible());
        return;
    }
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(QApplication::activePopupWidget(), menu);
}

// The menu opened with the mouse, the entry's letter typed.
void MnemonicTest::checkMenuEntry(const Mark& mark)
{
    QMenu* menu = mark.title->menu();
    if (!mark.title->isEnabled())
        return;  // the menu does not open; its entries are out of reach
    QTest::mouseClick(mark.bar, Qt::LeftButton, Qt::NoModifier, mark.bar->actionGeometry(mark.title).center());
    QTRY_VERIFY(menu->isVisible());
    QSignalSpy triggered(mark.entry.data(), &QAction::triggered);
    const bool enabled = mark.enabled();
    QTest::keyClick(menu, Qt::Key(mark.key));
    QCOMPARE(triggered.count(), enabled ? 1 : 0);
}

// 氏名メンテナンス: Alt+C starts renaming the selected pupil in the name box,
// Alt+I asks for the name of a pupil transferring in, Alt+E opens the window's own
// 編集 menu, not the main window's.
void MnemonicTest::rosterKeysActAtOnce()
{
    const int roster = 8;
    QCOMPARE(QLatin1String(ChildWindows::all()[roster].name), QLatin1String("roster"));
    {
        TestEnv env;
        QWidget* window = openWindow(env, roster);
        auto* names = Controls::child<QListWidget>(window, QStringLiteral("nameList"));
        names->setCurrentRow(2);
        pressAlt(Qt::Key_C);
        auto* nameInput = Controls::child<QLineEdit>(window, QStringLiteral("nameInput"));
        QVERIFY(nameInput->isEnabled());
        QCOMPARE(nameInput->text(), env.data.pupilName[3]);
        QCOMPARE(QApplication::focusWidget(), nameInput);
    }
    {
        TestEnv env;
        openWindow(env, roster);
        pressAlt(Qt::Key_I);
        QCOMPARE(env.ui.inputPrompts.size(), 1);
    }
    {
        TestEnv env;
        QWidget* window = openWindow(env, roster);
        pressAlt(Qt::Key_E);
        QTRY_COMPARE(QApplication::activePopupWidget(), Controls::child<QMenu>(window, QStringLiteral("editMenu")));
        QVERIFY(!mainMenuOpen(*env.mainWindow()));
    }
}

// 出欠管理: Alt+I goes back from a tally to the monthly input; Alt+S fills each
// pupil's 必要日数 from the lesson days.
void MnemonicTest::attendanceKeysAct()
{
    using namespace AttendanceDriver;
    const int attendance = 5;
    QCOMPARE(QLatin1String(ChildWindows::all()[attendance].name), QLatin1String("attendance"));
    TestEnv env;
    auto* window = qobject_cast<AttendanceWindow*>(openWindow(env, attendance));
    QVERIFY(window);
    pressAlt(Qt::Key_1);
    QVERIFY(window->showingTally());
    pressAlt(Qt::Key_I);
    QVERIFY(!window->showingTally());
    QVERIFY(window->monthShown() >= 1 && window->monthShown() <= 12);
    QVERIFY(!mainMenuOpen(*env.mainWindow()));

    lessonDaysInput(window)->setText(QStringLiteral("18"));
    pressAlt(Qt::Key_S);
    for (int p = 1; p <= env.data.pupilCount; ++p)
        QCOMPARE(cellText(window, p, 4), QStringLiteral("18"));
    QVERIFY(!mainMenuOpen(*env.mainWindow()));
}

// The dialogs answer their own keys: 集計テストの選択's Alt+A takes every test and
// Alt+O the chosen ones; 固定入力値の設定's Alt+O keeps the values.
void MnemonicTest::dialogKeys()
{
    for (const bool all : {true, false}) {
        TestEnv env;
        QList<int> chosen;
        int result = -1;
        env.ui.modalHandlers.push_back([](QDialog&) {});  // the splash at start-up
        env.ui.modalHandlers.push_back([&](QDialog& dialog) {
            auto* picker = qobject_cast<TestPickerDialog*>(&dialog);
            QVERIFY(picker);
            dialog.activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), &dialog);
            Controls::child<QListWidget>(&dialog, QStringLiteral("testList"))->item(1)->setSelected(true);
            pressAlt(all ? Qt::Key_A : Qt::Key_O);
            // The dialog's own button is pressed the way Qt presses it, after a moment.
            QTRY_COMPARE(dialog.result(), int(QDialog::Accepted));
            result = dialog.result();
            chosen = picker->chosenTests();
        });
        openWindow(env, 2);
        QCOMPARE(result, int(QDialog::Accepted));
        const QList<int> expected = all ? QList<int>{1, 2, 3, 4} : QList<int>{2};
        QCOMPARE(chosen, expected);
    }

    TestEnv env;
    QWidget* entry = openWindow(env, 0);
    Controls::child<QPushButton>(entry, QStringLiteral("fixedValuesButton"))->click();
    // The dialog deletes itself when it closes: it is watched through a QPointer.
    QPointer<QDialog> dialog = entry->findChild<QDialog*>(QStringLiteral("FixedValuesDialog"));
    QVERIFY(dialog && dialog->isVisible());
    dialog->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), dialog.data());
    auto* value = Controls::child<QLineEdit>(dialog, QStringLiteral("key3Value"));
    value->setFocus();
    value->setText(QStringLiteral("95"));
    pressAlt(Qt::Key_O);
    QTRY_VERIFY(!dialog);
    QCOMPARE(env.data.fixedValues[3], 95);
}

#include "test_mnemonics.moc"
QTEST_MAIN(MnemonicTest)
