// Ctrl+F4 and Esc close every child window from wherever the keyboard is in it, the
// same on every platform: the frame's own menu gives up Ctrl+F4 to the window.

#include "ChildWindows.h"
#include "DataFiles.h"
#include "TestEnv.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QTest>

using namespace DataFiles;

class CloseKeysTest : public QObject {
    Q_OBJECT
private slots:
    void everyWindowClosesByKey_data()
    {
        QTest::addColumn<int>("opener");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        for (int opener = 0; opener < ChildWindows::all().size(); ++opener) {
            const char* name = ChildWindows::all()[opener].name;
            QTest::addRow("%s, Ctrl+F4", name) << opener << int(Qt::Key_F4) << int(Qt::ControlModifier);
            QTest::addRow("%s, Esc", name) << opener << int(Qt::Key_Escape) << int(Qt::NoModifier);
        }
    }

    void everyWindowClosesByKey()
    {
        QFETCH(int, opener);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        TestEnv env;
        env.makeClass(pupilNames(3));
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("小テスト"), {{1, 50, {10, 20, 30}}}}}));
        MainWindow& main = env.startMainWindow();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QPointer<ChildWindow> child = ChildWindows::all()[opener].open(main);
        QVERIFY(child);
        // The frame's menu no longer answers Ctrl+F4: the window does, through its
        // own question where it has one.
        for (QAction* action : child->subWindow()->systemMenu()->actions())
            QVERIFY(!action->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_F4)));
        QWidget* target = QApplication::focusWidget();
        if (!target || !child->isAncestorOf(target))
            target = child;
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTRY_VERIFY(main.mdiArea()->subWindowList().isEmpty());
        QVERIFY(child.isNull() || child->isUnloaded());
        QCOMPARE(env.ui.messages.size(), 0);
    }
};

QTEST_MAIN(CloseKeysTest)
#include "test_close_keys.moc"
