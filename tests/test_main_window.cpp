// The main window: start-up in an empty folder and on a class, the toolbars and
// menus, subject and class selection, the command states child windows switch, the
// refusals without pupils, help, print setup, the splash and the end command.

#include "Controls.h"
#include "MainWindowControls.h"
#include "TestEnv.h"
#include "DataFiles.h"
#include "platform/QtUi.h"
#include "frame/ChildWindow.h"
#include "app/SettingsWindow.h"
#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "frame/ToolbarIcon.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>

using Controls::child;
using namespace MainControls;
using namespace DataFiles;

namespace {

// A child window that records what the main window asks of it.
class ProbeWindow : public ChildWindow {
public:
    explicit ProbeWindow(AppContext& ctx) : ChildWindow(ctx)
    {
        makeReportActions(QStringLiteral("印 刷(&P)"), QStringLiteral("ﾌﾟﾚﾋﾞｭｰ(&O)"));
    }
    void output(ReportDestination destination) override
    {
        ++(destination == ReportDestination::Printer ? prints : destination == ReportDestination::Preview ? previews : csvs);
    }
    bool programEnding() override
    {
        ++programEnds;
        return true;
    }
    int prints = 0;
    int csvs = 0;
    int previews = 0;
    int programEnds = 0;
};

// The scripted Ui, except that modal dialogs run as the program runs them.
class ModalUi : public ScriptedUi {
public:
    int runModal(QDialog& dialog) override
    {
        modalDialogs.append(dialog.objectName());
        return real.runModal(dialog);
    }

private:
    QtUi real{QString()};
};

// Closes the title window from inside its show event, by a click, a key or a close
// of the window system, as the second click of a double-click on the launcher does.
class CloseWhileShown : public QObject {
public:
    explicit CloseWhileShown(QString how) : how(std::move(how)) {}
    bool closed = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !closed && watched->objectName() == QLatin1String("SplashWindow")) {
            auto* splash = static_cast<QWidget*>(watched);
            closed = true;
            if (how == QLatin1String("click"))
                QTest::mouseClick(splash, Qt::LeftButton);
            else if (how == QLatin1String("key"))
                QTest::keyClick(splash, Qt::Key_Space);
            else
                splash->close();
        }
        return false;
    }

private:
    QString how;
};

QList<QAction*> toolbarItems(QToolBar* bar)
{
    return bar->actions();
}

QStringList subWindowClasses(MainWindow& window)
{
    QStringList names;
    for (QMdiSubWindow* frame : window.mdiArea()->subWindowList())
        names.append(QString::fromLatin1(frame->widget()->metaObject()->className()));
    return names;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartInAnEmptyFolder()
    {
        TestEnv env;
        // The program's folder is the data folder on a first start.
        env.ctx->programFolder = env.dataFolder();
        MainWindow& window = env.startMainWindow();
        QCOMPARE(env.ui.modalDialogs, QStringList{QStringLiteral("SplashWindow")});
        QCOMPARE(env.settings->value(QStringLiteral("UseMode/SenkaMode")).toString(), QStringLiteral("0"));
        QCOMPARE(env.data.pupilCount, 0);
        // No roster: the settings window opened by itself.
        QVERIFY(subWindowClasses(window).contains(QStringLiteral("SettingsWindow")));
        QCOMPARE(env.readBytes(QStringLiteral("shuketu.dat")), crlf(attendanceLines(attendanceYear(0), Quoting::Quoted)));
        for (const QString& subject : subjectStems())
            QCOMPARE(env.readBytes(subject + QStringLiteral(".dat")), QByteArray("0\r\n"));
        QVERIFY(!env.exists(QStringLiteral("Class.Nam")));
        QVERIFY(!env.exists(QStringLiteral("国語.nam")));
        QVERIFY(env.ui.messages.isEmpty());
        QVERIFY(!toolbarButton(window, "printButton")->isEnabled());
        QVERIFY(!toolbarButton(window, "previewButton")->isEnabled());
    }

    void startsOnAHomeroomClass()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田")});
        env.data.pupilCount = 0;
        MainWindow& window = env.startMainWindow();
        QCOMPARE(window.windowTitle(), QStringLiteral("小学校成績処理 「かざね」"));
        QCOMPARE(env.data.pupilCount, 3);
        QCOMPARE(env.data.pupilName[3], QStringLiteral("上田"));
        QVERIFY(window.mdiArea()->subWindowList().isEmpty());
        QVERIFY(menu(window, "subjectMenu")->menuAction()->isVisible());
        QVERIFY(!menu(window, "classMenu")->menuAction()->isVisible());
        QVERIFY(!toolbar(window, "subjectBar")->isHidden());
        QVERIFY(toolbar(window, "classBar")->isHidden());
        QVERIFY(subjectEntry(window, 1)->isChecked());
        QVERIFY(menuEntry(window, "attendanceAction")->isEnabled());
        QVERIFY(env.ui.messages.isEmpty());
    }

    void toolbarKeysCaptionsAndSeparators()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        MainWindow& window = env.startMainWindow();
        QToolBar* bar = toolbar(window, "commandBar");
        const QList<QAction*> items = toolbarItems(bar);
        QCOMPARE(items.size(), 17);
        const QList<int> separators{1, 3, 8, 12, 16};
        const QStringList names{"", "scoreEntryButton", "", "testTallyButton", "overallTallyButton", "pupilResultsButton",
                                "statisticsButton", "", "attendanceButton", "printButton", "previewButton", "",
                                "settingsButton", "rosterButton", "testListButton", "", "endButton"};
        const QStringList captions{"", "点数入力", "", "テスト別", "総合集計", "個人集計", "自由集計", "", "出欠処理",
                                   "印　刷", "ﾌﾟﾚﾋﾞｭｰ", "", "設定", "氏名設定", "ﾃｽﾄ設定", "", "終　了"};
        const QStringList tips{"", "点数を入力します", "", "テスト別に成績を集計", "総合成績一覧", "個人別成績詳細",
                               "自由な集計", "", "出席関係の処理", "印刷します", "ﾌﾟﾚﾋﾞｭｰを表示します", "",
                               "使用環境を設定します", "氏名のメンテナンス", "テストのメンテナンス", "", "かざねを終了"};
        for (int position = 1; position <= 17; ++position) {
            QAction* item = items[position - 1];
            QCOMPARE(item->isSeparator(), separators.contains(position));
            if (item->isSeparator())
                continue;
            auto* shown = qobject_cast<QToolButton*>(bar->widgetForAction(item));
            QVERIFY(shown);
            QCOMPARE(shown->objectName(), names[position - 1]);
            QCOMPARE(shown->text(), captions[position - 1]);
            QCOMPARE(shown->defaultAction()->iconText(), captions[position - 1]);
            QCOMPARE(shown->toolTip(), tips[position - 1]);
            QVERIFY(!shown->icon().isNull());
        }
        // 印刷 shows a printer and ﾌﾟﾚﾋﾞｭｰ a page under a glass: Qt's print-support
        // pictures, not the save picture or a style's stand-in.
        const QSize size = bar->iconSize();
        const auto image = [size](const QIcon& icon) { return icon.pixmap(size, 1.0).toImage().convertToFormat(QImage::Format_ARGB32); };
        const QImage printer = image(toolButton(window, "printButton")->icon());
        const QImage preview = image(toolButton(window, "previewButton")->icon());
        QCOMPARE(printer, image(QIcon(QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/printer-32.png"))));
        QCOMPARE(preview.size(), size);
        QVERIFY(preview != printer);
        for (const QStyle::StandardPixmap other : {QStyle::SP_DialogSaveButton, QStyle::SP_FileDialogStart}) {
            QVERIFY(printer != image(ToolbarIcon::standard(other, *window.style(), size)));
            QVERIFY(preview != image(ToolbarIcon::standard(other, *window.style(), size)));
        }
        // The pictures stay when the commands go off and on; the menu bar's 点数入力
        // and 出欠管理 show their captions, not a picture.
        window.disableAllCommands();
        window.enableAllCommands();
        QVERIFY(!toolButton(window, "scoreEntryButton")->icon().isNull());
        QVERIFY(menuEntry(window, "scoreEntryAction")->icon().isNull());
        QVERIFY(menuEntry(window, "attendanceAction")->icon().isNull());
        // A button and the menu entry of the same command are one action, with the
        // menu's caption and mnemonic.
        const QList<std::pair<const char*, const char*>> sameCommand{
            {"scoreEntryButton", "scoreEntryAction"},     {"testTallyButton", "testTallyAction"},
            {"overallTallyButton", "overallTallyAction"}, {"pupilResultsButton", "pupilResultsAction"},
            {"statisticsButton", "freeStatisticsAction"}, {"attendanceButton", "attendanceAction"},
            {"settingsButton", "settingsAction"},         {"rosterButton", "rosterAction"},
            {"testListButton", "testListAction"},         {"endButton", "endAction"}};
        for (const auto& [button, entry] : sameCommand)
            QCOMPARE(toolbarButton(window, button), menuEntry(window, entry));
        QCOMPARE(menuEntry(window, "freeStatisticsAction")->text(), QStringLiteral("教科内自由集計 (&F)"));
        QCOMPARE(menuEntry(window, "endAction")->text(), QStringLiteral("かざねの終了 (&X)"));
        for (int unit = 1; unit <= 9; ++unit) {
            QCOMPARE(subjectButton(window, unit), subjectEntry(window, unit));
            QCOMPARE(classButton(window, unit), classEntry(window, unit));
        }
        QCOMPARE(toolButton(window, "classButton1")->text(), QStringLiteral("４の１"));
        QCOMPARE(classEntry(window, 1)->text(), QStringLiteral("４－１"));
        QCOMPARE(subjectButton(window, 1)->text(), QStringLiteral("国語"));
        QCOMPARE(subjectButton(window, 9)->text(), QStringLiteral("体育"));
        QCOMPARE(classButton(window, 1)->iconText(), QStringLiteral("４の１"));
        QCOMPARE(classEntry(window, 9)->text(), QStringLiteral("６－３"));
        QCOMPARE(menuEntry(window, "settingsAction")->text(), QStringLiteral("かざね使用環境の設定 (&C)"));
        QCOMPARE(menuEntry(window, "viewpointTrendsAction")->text(), QStringLiteral("クラス観点別傾向  (&C)"));
        QCOMPARE(menuEntry(window, "helpAction")->shortcut(), QKeySequence(Qt::Key_F1));
    }

    // Every toolbar button and menu entry that opens a window opens its own one.
    void commandsOpenTheirWindows_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("onToolbar");
        QTest::addColumn<QString>("opens");
        const QList<std::pair<const char*, const char*>> buttons{
            {"scoreEntryButton", "ScoreEntryWindow"},     {"testTallyButton", "TestTallyWindow"},
            {"overallTallyButton", "OverallTallyWindow"}, {"pupilResultsButton", "PupilResultsWindow"},
            {"statisticsButton", "StatisticsWindow"},     {"attendanceButton", "AttendanceWindow"},
            {"settingsButton", "SettingsWindow"},         {"rosterButton", "RosterWindow"},
            {"testListButton", "TestListWindow"}};
        for (const auto& [command, opens] : buttons)
            QTest::newRow(command) << QString::fromLatin1(command) << true << QString::fromLatin1(opens);
        const QList<std::pair<const char*, const char*>> entries{
            {"settingsAction", "SettingsWindow"},         {"backupAction", "BackupWindow"},
            {"rosterAction", "RosterWindow"},             {"testListAction", "TestListWindow"},
            {"scoreEntryAction", "ScoreEntryWindow"},     {"testTallyAction", "TestTallyWindow"},
            {"overallTallyAction", "OverallTallyWindow"}, {"pupilResultsAction", "PupilResultsWindow"},
            {"viewpointTrendsAction", "StatisticsWindow"}, {"freeStatisticsAction", "StatisticsWindow"},
            {"attendanceAction", "AttendanceWindow"}};
        for (const auto& [command, opens] : entries)
            QTest::newRow(command) << QString::fromLatin1(command) << false << QString::fromLatin1(opens);
    }

    void commandsOpenTheirWindows()
    {
        QFETCH(QString, command);
        QFETCH(bool, onToolbar);
        QFETCH(QString, opens);
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        MainWindow& window = env.startMainWindow();
        if (onToolbar) {
            QToolButton* button = toolButton(window, command);
            QVERIFY(button->isEnabled());
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            QAction* action = menuEntry(window, command);
            QVERIFY(action->isEnabled());
            action->trigger();
        }
        QCOMPARE(subWindowClasses(window), QStringList{opens});
        QCOMPARE(window.activeChild()->objectName(), opens);
    }

    void selectingASubjectChangesNothingElse()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        MainWindow& window = env.startMainWindow();
        env.writeFile(QStringLiteral("Class.Nam"), rosterLines({QStringLiteral("別人")}));
        subjectButton(window, 3)->trigger();  // 算数
        QCOMPARE(env.data.subject, 3);
        QVERIFY(subjectEntry(window, 3)->isChecked());
        QVERIFY(!subjectEntry(window, 1)->isChecked());
        QVERIFY(subjectButton(window, 3)->isChecked());
        QCOMPARE(env.data.pupilCount, 2);  // the roster is not reloaded
        subjectEntry(window, 9)->trigger();
        QCOMPARE(env.data.subject, 9);
        QVERIFY(subjectButton(window, 9)->isChecked());
        QVERIFY(!subjectEntry(window, 3)->isChecked());
    }

    void subjectsNotInUseAreGreyedAndStaySo()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        env.settings->setValue(QStringLiteral("UseMode/UseKyoka"), QStringLiteral("110000000"));
        MainWindow& window = env.startMainWindow();
        QVERIFY(subjectEntry(window, 2)->isEnabled());
        QVERIFY(!subjectEntry(window, 3)->isEnabled());
        const bool headBefore = toolbarButton(window, "subjectBarHead")->isEnabled();
        window.lockForTally();
        QVERIFY(!toolbarButton(window, "subjectBarHead")->isEnabled());
        for (int subject = 1; subject <= 9; ++subject)
            QVERIFY(!subjectButton(window, subject)->isEnabled());
        QVERIFY(!toolbarButton(window, "scoreEntryButton")->isEnabled());
        QVERIFY(!menuEntry(window, "scoreEntryAction")->isEnabled());
        QVERIFY(!menu(window, "editMenu")->isEnabled());
        QVERIFY(toolbarButton(window, "testTallyButton")->isEnabled());
        window.unlockAfterTally();
        QVERIFY(subjectButton(window, 1)->isEnabled());
        QVERIFY(subjectButton(window, 2)->isEnabled());
        for (int subject = 3; subject <= 9; ++subject)
            QVERIFY(!subjectButton(window, subject)->isEnabled());
        // The head button is left as the lock left it.
        QVERIFY(!toolbarButton(window, "subjectBarHead")->isEnabled());
        Q_UNUSED(headBefore);
        QVERIFY(toolbarButton(window, "scoreEntryButton")->isEnabled());
        QVERIFY(menu(window, "editMenu")->isEnabled());
    }

    void editingWindowsSwitchEveryCommandOff()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        MainWindow& window = env.startMainWindow();
        window.disableAllCommands();
        for (const char* key : {"scoreEntryButton", "testTallyButton", "attendanceButton", "settingsButton"})
            QVERIFY(!toolbarButton(window, key)->isEnabled());
        QVERIFY(!menuEntry(window, "scoreEntryAction")->isEnabled());
        QVERIFY(!menu(window, "tallyMenu")->isEnabled());
        QVERIFY(!menuEntry(window, "settingsAction")->isEnabled());
        // 終了 stays on, in the menu and on the toolbar: a window with unsaved work
        // asks before the program ends.
        QVERIFY(menuEntry(window, "endAction")->isEnabled());
        QVERIFY(toolbarButton(window, "endButton")->isEnabled());
        QVERIFY(!subjectButton(window, 1)->isEnabled());
        window.enableAllCommands();
        for (const char* key : {"scoreEntryButton", "testTallyButton", "attendanceButton", "settingsButton", "printButton", "endButton"})
            QVERIFY(toolbarButton(window, key)->isEnabled());
        QVERIFY(menu(window, "tallyMenu")->isEnabled());
        window.disablePrint();
        QVERIFY(!toolbarButton(window, "printButton")->isEnabled());
        QVERIFY(!toolbarButton(window, "previewButton")->isEnabled());
        window.enablePrint();
        QVERIFY(toolbarButton(window, "previewButton")->isEnabled());
    }

    void refusalsWithoutPupils()
    {
        TestEnv env;
        env.makeClass({});
        MainWindow& window = env.startMainWindow();
        env.ui.clear();
        QVERIFY(!window.openScoreEntryWindow());
        // Every refusal points to the same place: 環境設定, then 新規ｸﾗｽ.
        const QString tally = env.ui.lastMessage();
        QVERIFY(tally.startsWith(QStringLiteral("クラス人数が0のままです.")));
        QVERIFY(tally.contains(QStringLiteral("「新規ｸﾗｽ」")));
        menuEntry(window, "testTallyAction")->trigger();
        QCOMPARE(env.ui.lastMessage(), tally);
        toolbarButton(window, "overallTallyButton")->trigger();
        toolbarButton(window, "pupilResultsButton")->trigger();
        toolbarButton(window, "statisticsButton")->trigger();
        menuEntry(window, "viewpointTrendsAction")->trigger();
        QCOMPARE(env.ui.messages.size(), 6);
        for (int i = 1; i < 6; ++i)
            QCOMPARE(env.ui.messages[i].text, tally);
        QVERIFY(window.mdiArea()->subWindowList().isEmpty());
    }

    void specialistMode()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("北"), QStringLiteral("南")}, true);
        env.writeFile(QStringLiteral("５の２.nam"), rosterLines({QStringLiteral("あ"), QStringLiteral("い"), QStringLiteral("う")}));
        QFile::remove(env.dataFolder() + QStringLiteral("６の３.nam"));
        MainWindow& window = env.startMainWindow();
        QVERIFY(env.data.specialistMode);
        QCOMPARE(env.data.pupilCount, 2);
        QVERIFY(!toolbar(window, "classBar")->isHidden());
        QVERIFY(toolbar(window, "subjectBar")->isHidden());
        QVERIFY(menu(window, "classMenu")->menuAction()->isVisible());
        QVERIFY(!menu(window, "subjectMenu")->menuAction()->isVisible());
        // The attendance file is neither read nor created; the command stays off.
        QVERIFY(!env.exists(QStringLiteral("shuketu.dat")));
        QVERIFY(!menuEntry(window, "attendanceAction")->isEnabled());
        QVERIFY(!toolbarButton(window, "attendanceButton")->isEnabled());
        window.lockForTally();
        window.unlockAfterTally();
        QVERIFY(!menuEntry(window, "attendanceAction")->isEnabled());
        window.enableAllCommands();
        QVERIFY(!toolbarButton(window, "attendanceButton")->isEnabled());
        // The missing class roster was created empty.
        QCOMPARE(env.readBytes(QStringLiteral("６の３.Nam")), QByteArray("0\r\n"));
        // Choosing a class reloads its roster at once.
        classButton(window, 5)->trigger();
        QCOMPARE(env.data.classNumber, 5);
        QVERIFY(classEntry(window, 5)->isChecked());
        QCOMPARE(env.data.pupilCount, 3);
        QCOMPARE(env.data.pupilName[3], QStringLiteral("う"));
        QCOMPARE(env.data.unitName(), QStringLiteral("５の２"));
    }

    void startUpRemovesOnlyOwnReportStores()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        const QString program = env.programFolder() + QLatin1Char('/');
        for (const char* name : {"testdisp.mdb", "Shuseki.mdb", "teacher.mdb"}) {
            QFile file(program + QString::fromUtf8(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("x");
        }
        env.startMainWindow();
        QVERIFY(!QFile::exists(program + QStringLiteral("testdisp.mdb")));
        QVERIFY(!QFile::exists(program + QStringLiteral("Shuseki.mdb")));
        QVERIFY(QFile::exists(program + QStringLiteral("teacher.mdb")));
    }

    void malformedRosterAtStartUp()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        env.writeFile(QStringLiteral("Class.Nam"), {"2", "\"青木\""});
        const QByteArray before = env.readBytes(QStringLiteral("Class.Nam"));
        env.data.pupilCount = 0;
        env.startMainWindow();
        QCOMPARE(env.ui.messages.size(), 1);
        QVERIFY(env.ui.lastMessage().contains(QStringLiteral("Class.Nam")));
        QCOMPARE(env.data.pupilCount, 0);
        QCOMPARE(env.readBytes(QStringLiteral("Class.Nam")), before);
    }

    void helpPrinterSetupAndAbout()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        MainWindow& window = env.startMainWindow();
        menuEntry(window, "helpAction")->trigger();
        QCOMPARE(env.ui.helpTopics, QList<int>{1});
        const qsizetype shownBefore = env.ui.modalDialogs.size();
        menuEntry(window, "printerSetupAction")->trigger();
        QCOMPARE(env.ui.modalDialogs.mid(shownBefore), QStringList{QStringLiteral("printSetupDialog")});
        menuEntry(window, "formatFloppyAction")->trigger();  // no removable drive: nothing happens
        QVERIFY(env.ui.messages.isEmpty());
        menuEntry(window, "aboutAction")->trigger();
        SplashWindow* about = window.findChild<SplashWindow*>();
        QVERIFY(about);
        QVERIFY(about->isVisible());
        QCOMPARE(child<QLabel>(about, "versionLabel")->text(), QStringLiteral("Ver. 1.00"));
    }

    void printKeysReachTheActiveWindowAndEndSavesNothingElse()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木")});
        MainWindow& window = env.startMainWindow();
        auto* probe = new ProbeWindow(*env.ctx);
        window.mdiArea()->addSubWindow(probe)->show();
        window.mdiArea()->setActiveSubWindow(window.mdiArea()->subWindowList().first());
        window.enablePrint();
        toolbarButton(window, "printButton")->trigger();
        toolbarButton(window, "previewButton")->trigger();
        QCOMPARE(probe->prints, 1);
        QCOMPARE(probe->previews, 1);
        QCOMPARE(probe->csvs, 0);
        // A window that closes runs its unload once and leaves the frame.
        probe->closeWindow();
        QTRY_VERIFY(window.mdiArea()->subWindowList().isEmpty());

        auto* open = new ProbeWindow(*env.ctx);
        window.mdiArea()->addSubWindow(open)->show();
        window.endProgram();
        QCOMPARE(open->programEnds, 1);
    }

    void splashClosedWhileShownLetsStartUpGoOn_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("click") << QStringLiteral("click");
        QTest::newRow("key") << QStringLiteral("key");
        QTest::newRow("close") << QStringLiteral("close");
    }

    void splashClosedWhileShownLetsStartUpGoOn()
    {
        QFETCH(QString, how);
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        env.data.pupilCount = 0;
        ModalUi ui;
        AppContext ctx{env.data, ui, *env.settings, *env.reports, nullptr, env.programFolder()};
        CloseWhileShown closer(how);
        qApp->installEventFilter(&closer);
        MainWindow window(ctx);
        // A start-up stuck in the title window's modal loop is freed after a while
        // (showing and hiding the window again ends the loop), so that the test
        // reports it instead of hanging.
        bool stuck = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, &window, [&stuck, &window] {
            stuck = true;
            if (auto* splash = window.findChild<SplashWindow*>()) {
                splash->show();
                splash->hide();
            }
        });
        watchdog.start(5000);
        const bool started = window.startUp();
        qApp->removeEventFilter(&closer);
        QVERIFY(closer.closed);
        QVERIFY2(!stuck, "start-up waited for a title window that was already closed");
        QVERIFY(started);
        QCOMPARE(ui.modalDialogs, QStringList{QStringLiteral("SplashWindow")});
        QVERIFY(window.isVisible());
        QCOMPARE(env.data.pupilCount, 2);
    }

    void splashClosesOnTheThirdTickKeyOrClick()
    {
        TestEnv env;
        SplashWindow splash(*env.ctx);
        splash.show();
        QCOMPARE(child<QLabel>(&splash, "productLine")->text(), QStringLiteral("小学校成績処理"));
        QCOMPARE(child<QLabel>(&splash, "productName")->text(), QStringLiteral("かざね"));
        // The title window names this program and its version, nothing else.
        QStringList texts;
        for (const QLabel* label : splash.findChildren<QLabel*>())
            if (!label->text().isEmpty())
                texts << label->text();
        QCOMPARE(texts, (QStringList{"小学校成績処理", "かざね", "Ver. 1.00"}));
        QTimer* timer = child<QTimer>(&splash, "closeTimer");
        QCOMPARE(timer->interval(), 1000);
        // The timer's ticks, without waiting for them.
        const auto tick = [timer] { QVERIFY(QMetaObject::invokeMethod(timer, "timeout")); };
        tick();
        tick();
        QVERIFY(splash.isVisible());
        tick();
        QVERIFY(!splash.isVisible());

        SplashWindow byKey(*env.ctx);
        byKey.show();
        QTest::keyClick(&byKey, Qt::Key_Space);
        QVERIFY(!byKey.isVisible());

        SplashWindow byClick(*env.ctx);
        byClick.show();
        QTest::mouseClick(&byClick, Qt::LeftButton);
        QVERIFY(!byClick.isVisible());

        SplashWindow byTimer(*env.ctx);
        byTimer.show();
        QTRY_VERIFY_WITH_TIMEOUT(!byTimer.isVisible(), 5000);
        QCOMPARE(byTimer.ticks(), 3);
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
