// The main window as a teacher first sees it: on screen with its title bar, its
// title kept when child windows close, the help entry, the subject a specialist
// teaches; and the backup window's proposed folder.

#include "Controls.h"
#include "MainWindowControls.h"
#include "SettingsControls.h"
#include "TestEnv.h"
#include "platform/Ui.h"
#include "app/BackupWindow.h"
#include "app/MainWindow.h"
#include "app/SettingsWindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

using Controls::child;
using namespace MainControls;

namespace {

const QString MainTitle = QStringLiteral("小学校成績処理 「かざね」");

template <typename T>
T* openChild(MainWindow& window)
{
    for (QMdiSubWindow* frame : window.mdiArea()->subWindowList())
        if (auto* found = qobject_cast<T*>(frame->widget()))
            return found;
    return nullptr;
}

}  // namespace

class MainWindowFrameTest : public QObject {
    Q_OBJECT
private slots:
    // Maximised, or else inside the work area with its title bar.
    void opensOnScreen()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        MainWindow& window = env.startMainWindow();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(window.isVisible());
        QVERIFY2(window.isMaximized() || area.contains(window.frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4").arg(window.frameGeometry().x()).arg(window.frameGeometry().y())
                                .arg(window.frameGeometry().width()).arg(window.frameGeometry().height())));
        QVERIFY(area.contains(window.geometry().topLeft()));
    }

    // The title stays the program's own after child windows come and go; the
    // window system is given no name to add to it.
    void titleStaysAfterChildWindowsClose()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        MainWindow& window = env.startMainWindow();
        QCOMPARE(window.windowTitle(), MainTitle);
        for (const char* action : {"rosterAction", "testListAction", "settingsAction"}) {
            menuEntry(window, action)->trigger();
            QCOMPARE(window.mdiArea()->subWindowList().size(), 1);
            window.mdiArea()->subWindowList().first()->close();
            QCoreApplication::processEvents();
            QVERIFY(window.mdiArea()->subWindowList().isEmpty());
            QCOMPARE(window.windowTitle(), MainTitle);
        }
        QVERIFY(QGuiApplication::applicationDisplayName() != Ui::applicationTitle());
    }

    // The menu shows the key beside the caption itself: "F1" once.
    void helpEntryNamesItsKeyOnce()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        MainWindow& window = env.startMainWindow();
        QAction* help = menuEntry(window, "helpAction");
        QCOMPARE(help->shortcut(), QKeySequence(Qt::Key_F1));
        QVERIFY(!help->text().contains(QStringLiteral("F1")));
        QCOMPARE(help->text().trimmed(), QStringLiteral("ヘルプ"));
    }

    // The class bar of a specialist says which subject is taught, and follows the
    // subject chosen in 環境設定.
    void specialistSeesTheSubjectTaught()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("北"), QStringLiteral("南")}, true);
        MainWindow& window = env.startMainWindow();
        QLabel* taught = child<QLabel>(&window, "subjectTaughtLabel");
        QVERIFY(taught->isVisible());
        QCOMPARE(taught->text(), QStringLiteral("担当教科：国語"));
        menuEntry(window, "settingsAction")->trigger();
        SettingsWindow* settings = openChild<SettingsWindow>(window);
        QVERIFY(settings);
        SettingsControls::subjectInChargeOption(settings, 6)->click();
        SettingsControls::closeButton(settings)->click();
        QVERIFY(!openChild<SettingsWindow>(window));
        QCOMPARE(taught->text(), QStringLiteral("担当教科：音楽"));
    }

    // A backup folder stored as the data folder itself (a first start stores the
    // program's folder for both) is not proposed; a folder chosen before is.
    void backupProposesAFolderOfItsOwn()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        env.settings->setValue(QStringLiteral("UseMode/BackupPath"), env.dataFolder());
        env.settings->sync();
        MainWindow& window = env.startMainWindow();
        menuEntry(window, "backupAction")->trigger();
        BackupWindow* backup = openChild<BackupWindow>(window);
        QVERIFY(backup);
        const QString proposed = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
            + QStringLiteral("/かざねバックアップ");
        QCOMPARE(child<QLineEdit>(backup, "backupFolderInput")->text(), proposed);
        backup->subWindow()->close();

        const QString usb = env.dir.path() + QStringLiteral("/usb");
        env.data.backupFolder = usb;
        menuEntry(window, "backupAction")->trigger();
        backup = openChild<BackupWindow>(window);
        QVERIFY(backup);
        QCOMPARE(child<QLineEdit>(backup, "backupFolderInput")->text(), usb);
    }
};

QTEST_MAIN(MainWindowFrameTest)
#include "test_main_window_frame.moc"
