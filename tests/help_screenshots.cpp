// kazane-help-screenshots: the pictures of the teacher's manual, taken from the real
// windows. It opens the program's main window on the sample class of the tests
// (tests/data/sample) offscreen, opens every window and dialog the manual shows as a
// teacher would, and saves each as a PNG in the folder it is given:
//
//     kazane-help-screenshots resources/help
//
// tools/help-screenshots.sh runs it and shrinks the files; the PNGs are committed,
// so the manual's pictures follow the program whenever they are taken again.

#include "OffscreenScreens.h"
#include "AttendanceDriver.h"
#include "Controls.h"
#include "MainWindowControls.h"
#include "TestEnv.h"
#include "app/Logo.h"
#include "app/MainWindow.h"
#include "frame/ChildWindow.h"
#include "output/PrintConfirmDialog.h"
#include "output/PrintSetupDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <cstdio>

namespace {

// The main window as on a school laptop of 1366x768 less its taskbar, so the pictures
// show the windows at the size a teacher sees them.
const QSize MainSize(1366, 728);

class Shots {
public:
    explicit Shots(const QString& folder) : folder(folder) {}

    void save(QWidget* widget, const QString& name)
    {
        settle();
        const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
        if (!widget->grab().save(path))
            failures << path;
        else
            taken << name;
    }
    // The main window with the window just opened, as the teacher sees it.
    void saveMain(MainWindow& window, const QString& name) { save(&window, name); }

    static void settle()
    {
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
            QTest::qWait(20);
        }
    }

    QString folder;
    QStringList taken;
    QStringList failures;
};

// The sample class of the tests in the environment's data folder, with the sample's
// settings (mode, subjects in use, grading criteria) and a backup folder a teacher
// would choose.
void loadSample(TestEnv& env, const QString& kind)
{
    env.loadSample(kind);
    env.settings->setValue(QStringLiteral("UseMode/BackupPath"), QDir::homePath() + QStringLiteral("/かざねバックアップ"));
    env.settings->sync();
}

MainWindow& startMain(TestEnv& env)
{
    MainWindow& window = env.startMainWindow();
    window.setWindowState(Qt::WindowNoState);
    window.resize(MainSize);
    window.move(0, 0);
    window.show();
    Shots::settle();
    return window;
}

void closeAll(MainWindow& window)
{
    for (QMdiSubWindow* frame : window.mdiArea()->subWindowList())
        if (auto* child = qobject_cast<ChildWindow*>(frame->widget()))
            child->closeWindow();
    Shots::settle();
}

template <typename T>
T* childOf(QWidget* parent, const char* name)
{
    return parent ? parent->findChild<T*>(QLatin1String(name)) : nullptr;
}

void homeroomShots(Shots& shots)
{
    TestEnv env;
    loadSample(env, QStringLiteral("homeroom"));
    MainWindow& window = startMain(env);
    using namespace MainControls;
    shots.saveMain(window, QStringLiteral("shot-main"));

    subjectButton(window, 3)->trigger();  // 算数
    ChildWindow* entry = window.openScoreEntryWindow();
    if (auto* grid = childOf<QTableView>(entry, "scoreGrid")) {
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(3, 3));
    }
    shots.saveMain(window, QStringLiteral("shot-entry"));
    if (auto* button = childOf<QPushButton>(entry, "fixedValuesButton")) {
        button->click();
        if (auto* dialog = window.findChild<QDialog*>(QStringLiteral("FixedValuesDialog")))
            shots.save(dialog, QStringLiteral("shot-fixed-values"));
    }
    closeAll(window);

    window.openTestListWindow();
    shots.saveMain(window, QStringLiteral("shot-tests"));
    closeAll(window);

    window.openRosterWindow();
    shots.saveMain(window, QStringLiteral("shot-roster"));
    closeAll(window);

    ChildWindow* tally = window.openTestTallyWindow();
    if (auto* byScore = childOf<QRadioButton>(tally, "scoreOrder"))
        byScore->click();
    shots.saveMain(window, QStringLiteral("shot-test-tally"));
    closeAll(window);

    env.ui.modalHandlers.push_back([&shots](QDialog& picker) {
        picker.show();
        if (auto* list = picker.findChild<QListWidget*>(QStringLiteral("testList")))
            for (int row : {0, 1, 3})
                list->item(row)->setSelected(true);
        shots.save(&picker, QStringLiteral("shot-choose-tests"));
        if (auto* all = picker.findChild<QPushButton*>(QStringLiteral("allButton")))
            all->click();
    });
    window.openOverallTallyWindow();
    shots.saveMain(window, QStringLiteral("shot-overall-tally"));
    closeAll(window);

    ChildWindow* pupil = window.openPupilResultsWindow();
    if (auto* chooser = childOf<QComboBox>(pupil, "pupilChooser"))
        chooser->setCurrentIndex(2);
    shots.saveMain(window, QStringLiteral("shot-pupil-results"));
    closeAll(window);

    ChildWindow* statistics = window.openStatisticsWindow(true);
    if (auto* grid = childOf<QTableWidget>(statistics, "scoreGrid")) {
        grid->setCurrentCell(0, 2);
        grid->setRangeSelected(QTableWidgetSelectionRange(0, 2, 10, 2), true);
        if (auto* calculate = childOf<QPushButton>(statistics, "calculateButton"))
            calculate->click();
    }
    shots.saveMain(window, QStringLiteral("shot-statistics"));
    closeAll(window);

    subjectButton(window, 1)->trigger();
    auto* attendance = qobject_cast<AttendanceWindow*>(window.openAttendanceWindow());
    if (attendance) {
        shots.saveMain(window, QStringLiteral("shot-attendance"));
        QTableView* grid = AttendanceDriver::grid(attendance);
        grid->setCurrentIndex(grid->model()->index(2, 5));
        emit grid->doubleClicked(grid->model()->index(2, 5));
        if (auto* prompt = attendance->findChild<QDialog*>(QStringLiteral("CountPrompt")))
            shots.save(prompt, QStringLiteral("shot-count-prompt"));
        AttendanceDriver::tallyButton(attendance, 3)->click();
        AttendanceDriver::recordBookViewOption(attendance)->click();
        shots.saveMain(window, QStringLiteral("shot-attendance-tally"));
    }
    closeAll(window);

    window.openBackupWindow();
    shots.saveMain(window, QStringLiteral("shot-backup"));
    closeAll(window);

    window.openSettingsWindow();
    shots.saveMain(window, QStringLiteral("shot-settings"));
    closeAll(window);
}

void specialistShots(Shots& shots)
{
    TestEnv env;
    loadSample(env, QStringLiteral("specialist"));
    env.data.specialistMode = true;
    MainWindow& window = startMain(env);
    MainControls::classButton(window, 5)->trigger();  // ５の２
    ChildWindow* entry = window.openScoreEntryWindow();
    if (auto* newTest = childOf<QPushButton>(entry, "newTestButton"))
        newTest->click();
    env.ui.modalHandlers.push_back([&shots](QDialog& picker) {
        picker.show();
        if (auto* classes = picker.findChild<QComboBox*>(QStringLiteral("classList")))
            classes->setCurrentIndex(0);  // ４の１
        if (auto* list = picker.findChild<QListWidget*>(QStringLiteral("testList")); list && list->count() > 0)
            list->setCurrentRow(1);
        shots.save(&picker, QStringLiteral("shot-other-class"));
    });
    if (auto* other = childOf<QPushButton>(entry, "otherClassButton"))
        other->click();
    closeAll(window);
}

// プリンタの設定 and the confirmation of 全員を印刷, on the printers of a school's
// laptop and the pupils of the sample class.
void printingShots(Shots& shots)
{
    const QList<PrintQueue> queues{{QStringLiteral("EPSON_PX-M730F"), QStringLiteral("教室のプリンタ"), true},
                                   {QStringLiteral("Canon_LBP6030"), QStringLiteral("職員室のプリンタ"), false}};
    PrintChoice choice;
    choice.printer = QStringLiteral("Canon_LBP6030");
    PrintSetupDialog setup(
        queues,
        [](const QString&) {
            return QStringList{QStringLiteral("iso_a3_297x420mm"), QStringLiteral("iso_a4_210x297mm"),
                               QStringLiteral("jis_b4_257x364mm"), QStringLiteral("jis_b5_182x257mm")};
        },
        choice, {}, {QStringLiteral("総合集計一覧表")});
    setup.show();
    shots.save(&setup, QStringLiteral("shot-printer-setup"));

    TestEnv env;
    loadSample(env, QStringLiteral("homeroom"));
    QStringList pupils;
    const QStringList roster = env.readLines(QStringLiteral("Class.Nam")).mid(1);
    for (int p = 0; p < roster.size(); ++p)
        pupils << QStringLiteral("%1 %2").arg(p + 1).arg(QString(roster[p]).remove(QLatin1Char('"')));
    PrintConfirmDialog confirm(QStringLiteral("個人別成績集計-算数-全員"), queues.first().name, pupils,
                               QList<int>(pupils.size(), 1), 1);
    confirm.show();
    shots.save(&confirm, QStringLiteral("shot-print-confirm"));
}

}  // namespace

int main(int argc, char* argv[])
{
    // One offscreen screen the size of the laptop's, so that windows fit it as they do there.
    QTemporaryDir screenFolder;
    useOffscreenScreens(screenFolder, {{QStringLiteral("laptop"), QRect(0, 0, 1366, 728)}});
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("IPAexGothic"), 10));
    QApplication::setWindowIcon(QIcon(Logo::pixmap()));
    QTextStream err(stderr);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        err << "usage: kazane-help-screenshots <folder>" << Qt::endl;
        return 2;
    }
    Shots shots(arguments[1]);
    QDir().mkpath(shots.folder);
    homeroomShots(shots);
    specialistShots(shots);
    printingShots(shots);
    for (const QString& name : shots.taken)
        err << name << ".png" << Qt::endl;
    for (const QString& path : shots.failures)
        err << "could not write " << path << Qt::endl;
    return shots.failures.isEmpty() ? 0 : 1;
}
