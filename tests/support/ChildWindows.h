#pragma once
// Every child window of the main window, by a plain name, with the menu entry that
// opens it: for tests that go through all of them.

#include "MainWindowControls.h"
#include "app/MainWindow.h"
#include "frame/ChildWindow.h"

#include <QList>

namespace ChildWindows {

struct Opener {
    const char* name;
    const char* menuEntry;  // the action of the main window's menu that opens it
    ChildWindow* open(MainWindow& window) const
    {
        MainControls::menuEntry(window, QLatin1String(menuEntry))->trigger();
        return window.activeChild();
    }
};

inline const QList<Opener>& all()
{
    static const QList<Opener> list{
        {"scoreEntry", "scoreEntryAction"},   {"testTally", "testTallyAction"},
        {"overallTally", "overallTallyAction"}, {"pupilResults", "pupilResultsAction"},
        {"statistics", "freeStatisticsAction"}, {"attendance", "attendanceAction"},
        {"settings", "settingsAction"},       {"backup", "backupAction"},
        {"roster", "rosterAction"},           {"testList", "testListAction"},
        {"reportCard", "reportCardAction"},
        {"comments", "commentsAction"},
    };
    return list;
}

inline const Opener& named(const char* name)
{
    for (const Opener& opener : all())
        if (qstrcmp(opener.name, name) == 0)
            return opener;
    qFatal("no child window named %s", name);
}

}  // namespace ChildWindows
