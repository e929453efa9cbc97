// A data file that could not be read is never written over: with a refused
// attendance file or roster, every window that would save it (or work on a wrong
// roster) stays shut with the message of the refusal, and the files keep their
// bytes; a repaired file is taken again. In specialist mode a class whose roster
// cannot be read holds no pupils of the class shown before.

#include "SettingsControls.h"
#include "MainWindowControls.h"
#include "ListControls.h"
#include "TestEnv.h"
#include "DataFiles.h"
#include "attendance/AttendanceWindow.h"
#include "maintenance/RosterWindow.h"
#include "app/SettingsWindow.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

using namespace MainControls;
using namespace SettingsControls;
using namespace DataFiles;

namespace {

// Twelve months of attendance for `pupils` pupils, one count per line differing.
QStringList yearLines(int pupils)
{
    return attendanceLines(attendanceYear(
        pupils, [](int m) { return 18 + m % 3; }, [](int m, int p) { return QList<int>{0, 0, 18 + m % 3, (m + p) % 3, 0, 0, 0}; }));
}

// What a teacher would go on to do in a window that opened: the step that writes
// (a transfer out in roster maintenance; closing saves the attendance), then close.
void useAndClose(MainWindow& window, ScriptedUi& ui)
{
    const auto frames = window.mdiArea()->subWindowList();
    for (QMdiSubWindow* frame : frames) {
        if (auto* names = qobject_cast<RosterWindow*>(frame->widget())) {
            const ListControls controls(names, "nameList");
            if (controls.list->count() > 0) {
                controls.list->setCurrentRow(0);
                ui.answers = {Ui::Answer::Ok};
                controls.removeButton->click();
            }
        }
        if (auto* child = qobject_cast<ChildWindow*>(frame->widget()))
            child->closeWindow();
    }
    QTest::qWait(0);
}

// Triggers each command as the teacher would and records the messages each gave.
QStringList tryRoutes(MainWindow& window, ScriptedUi& ui, const QList<QAction*>& routes)
{
    QStringList answers;
    for (QAction* route : routes) {
        ui.clear();
        route->trigger();
        answers.append(ui.messageTexts().join(QLatin1Char('|')));
        useAndClose(window, ui);
    }
    return answers;
}

QList<QAction*> attendanceRoutes(MainWindow& w)
{
    return {menuEntry(w, "attendanceAction"), toolbarButton(w, "attendanceButton"), menuEntry(w, "rosterAction"), toolbarButton(w, "rosterButton")};
}

QList<QAction*> rosterRoutes(MainWindow& w)
{
    return {menuEntry(w, "rosterAction"),          toolbarButton(w, "rosterButton"),
            menuEntry(w, "testListAction"),        toolbarButton(w, "testListButton"),
            menuEntry(w, "scoreEntryAction"),      toolbarButton(w, "scoreEntryButton"),
            menuEntry(w, "testTallyAction"),       menuEntry(w, "overallTallyAction"),
            menuEntry(w, "pupilResultsAction"),    menuEntry(w, "viewpointTrendsAction"),
            menuEntry(w, "freeStatisticsAction"),  toolbarButton(w, "statisticsButton")};
}

QString folderNote(MainWindow& window)
{
    auto* note = window.findChild<QLabel*>(QStringLiteral("folderState"));
    return note ? note->text() : QString();
}

}  // namespace

class RefusedFilesTest : public QObject {
    Q_OBJECT
private slots:
    void refusedAttendanceIsNeverWrittenOver()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田")});
        QStringList lines = yearLines(3);
        lines[6] = QStringLiteral("0,0,19,1,0,0,Ｏ");  // one bad character
        env.writeFile(QStringLiteral("shuketu.dat"), lines);
        const auto before = folderFiles(env.dataFolder());
        MainWindow& window = env.startMainWindow();
        QCOMPARE(env.ui.messages.size(), 1);
        const QString refusal = env.ui.lastMessage();
        QVERIFY(refusal.contains(QStringLiteral("shuketu.dat")) && refusal.contains(QStringLiteral("このファイルは書き換えていません")));
        QVERIFY(folderNote(window).contains(QStringLiteral("shuketu.dat")));

        QList<QAction*> routes = attendanceRoutes(window);
        const QStringList answers = tryRoutes(window, env.ui, routes);
        window.endProgram();
        QCOMPARE(folderFiles(env.dataFolder()), before);
        QCOMPARE(answers, QStringList(routes.size(), refusal));
    }

    void aRepairedAttendanceFileIsTakenAgain()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        QStringList lines = yearLines(2);
        lines[3] = QStringLiteral("0,0,19,1,0,0,\"");
        env.writeFile(QStringLiteral("shuketu.dat"), lines);
        MainWindow& window = env.startMainWindow();
        QCOMPARE(env.ui.messages.size(), 1);
        env.writeFile(QStringLiteral("shuketu.dat"), yearLines(2));
        env.ui.clear();
        menuEntry(window, "attendanceAction")->trigger();
        QVERIFY(env.ui.messages.isEmpty());
        QVERIFY(window.findChild<AttendanceWindow*>());
        QCOMPARE(env.data.lessonDays[2], 20);
        QCOMPARE(env.data.attendance[2][1][4], 0);
        QCOMPARE(env.data.attendance[2][2][4], 1);
        QVERIFY(folderNote(window).isEmpty());
    }

    void aRepairedRosterIsTakenWithItsAttendance()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田")});
        env.writeFile(QStringLiteral("shuketu.dat"), yearLines(2));
        env.writeFile(QStringLiteral("Class.Nam"), {"2", "\"青木\"", "\"石田"});
        env.data.pupilCount = 0;
        MainWindow& window = env.startMainWindow();
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.data.lessonDays[2], 0);  // not read with an unknown class size
        env.writeFile(QStringLiteral("Class.Nam"), rosterLines({QStringLiteral("青木"), QStringLiteral("石田")}));
        env.ui.clear();
        menuEntry(window, "attendanceAction")->trigger();
        QVERIFY(env.ui.messages.isEmpty());
        QVERIFY(window.findChild<AttendanceWindow*>());
        QCOMPARE(env.data.pupilCount, 2);
        QCOMPARE(env.data.lessonDays[2], 20);
        QCOMPARE(env.data.attendance[2][2][4], 1);
    }

    void refusedRosterKeepsTheClassWindowsShut()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田")});
        env.writeFile(QStringLiteral("国語.dat"), scoreLines({{QStringLiteral("漢字"), {{1, 10, {10, 9, 8}}}}}));
        env.writeBytes(QStringLiteral("Class.Nam"), crlf({"3", "\"青木\""}) + "\"\x90\xce\x81\"\r\n" + crlf({"\"上田\""}));
        const auto before = folderFiles(env.dataFolder());
        env.data.pupilCount = 0;
        MainWindow& window = env.startMainWindow();
        QCOMPARE(env.ui.messages.size(), 1);
        const QString refusal = env.ui.lastMessage();
        QVERIFY(refusal.contains(QStringLiteral("Class.Nam")) && refusal.contains(QStringLiteral("このファイルは書き換えていません")));
        QVERIFY(folderNote(window).contains(QStringLiteral("Class.Nam")));

        QList<QAction*> routes = attendanceRoutes(window) + rosterRoutes(window);
        const QStringList answers = tryRoutes(window, env.ui, routes);
        QCOMPARE(folderFiles(env.dataFolder()), before);
        QCOMPARE(answers, QStringList(routes.size(), refusal));
        QVERIFY(window.mdiArea()->subWindowList().isEmpty());

        // Repaired, and the folder opened again from the settings window.
        env.writeFile(QStringLiteral("Class.Nam"), rosterLines({QStringLiteral("青木"), QStringLiteral("石田"), QStringLiteral("上田")}));
        env.ui.clear();
        menuEntry(window, "settingsAction")->trigger();
        auto* settings = qobject_cast<SettingsWindow*>(window.mdiArea()->activeSubWindow()->widget());
        QVERIFY(settings);
        closeButton(settings)->click();
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(env.data.pupilCount, 3);
        QVERIFY(folderNote(window).isEmpty());
        QTest::qWait(0);
        menuEntry(window, "rosterAction")->trigger();
        QVERIFY(window.findChild<RosterWindow*>());
    }

    void specialistClassWithARefusedRosterHoldsNoOtherPupils()
    {
        TestEnv env;
        env.makeClass({QStringLiteral("北"), QStringLiteral("南")}, true);
        env.writeFile(QStringLiteral("５の２.nam"), {"3", "\"あ\"", "\"い\"", "\"う"});
        env.writeFile(QStringLiteral("５の２.dat"), scoreLines({{QStringLiteral("計算"), {{3, 10, {10, 9, 8}}}}}));
        const auto before = folderFiles(env.dataFolder());
        MainWindow& window = env.startMainWindow();
        QCOMPARE(env.data.pupilCount, 2);
        env.ui.clear();
        classButton(window, 5)->trigger();  // ５の２
        QCOMPARE(env.ui.messages.size(), 1);
        const QString refusal = env.ui.lastMessage();
        QVERIFY(refusal.contains(QStringLiteral("５の２.nam")));
        QCOMPARE(env.data.pupilCount, 0);
        for (const QString& name : env.data.pupilName)
            QVERIFY(name.isEmpty());
        QVERIFY(folderNote(window).contains(QStringLiteral("５の２")));

        QList<QAction*> routes = rosterRoutes(window);
        const QStringList answers = tryRoutes(window, env.ui, routes);
        QCOMPARE(folderFiles(env.dataFolder()), before);
        QCOMPARE(answers, QStringList(routes.size(), refusal));
        QVERIFY(window.mdiArea()->subWindowList().isEmpty());

        // The class shown before reads as it was.
        env.ui.clear();
        classButton(window, 1)->trigger();
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(env.data.pupilCount, 2);
        QVERIFY(folderNote(window).isEmpty());
        menuEntry(window, "rosterAction")->trigger();
        QVERIFY(window.findChild<RosterWindow*>());
    }
};

QTEST_MAIN(RefusedFilesTest)
#include "test_refusedfiles.moc"
