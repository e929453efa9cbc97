#pragma once
// Every child window of the main window, by a plain name, with the way its menu
// entry opens it: for tests that go through all of them.

#include "app/MainWindow.h"
#include "frame/ChildWindow.h"

#include <QList>
#include <functional>

namespace ChildWindows {

struct Opener {
    const char* name;
    std::function<ChildWindow*(MainWindow&)> open;
};

inline const QList<Opener>& all()
{
    static const QList<Opener> list{
        {"scoreEntry", [](MainWindow& w) { return w.openScoreEntryWindow(); }},
        {"testTally", [](MainWindow& w) { return w.openTestTallyWindow(); }},
        {"overallTally", [](MainWindow& w) { return w.openOverallTallyWindow(); }},
        {"pupilResults", [](MainWindow& w) { return w.openPupilResultsWindow(); }},
        {"statistics", [](MainWindow& w) { return w.openStatisticsWindow(true); }},
        {"attendance", [](MainWindow& w) { return w.openAttendanceWindow(); }},
        {"settings", [](MainWindow& w) { return w.openSettingsWindow(); }},
        {"backup", [](MainWindow& w) { return w.openBackupWindow(); }},
        {"roster", [](MainWindow& w) { return w.openRosterWindow(); }},
        {"testList", [](MainWindow& w) { return w.openTestListWindow(); }},
    };
    return list;
}

}  // namespace ChildWindows
