#pragma once
// The main window's menus, menu entries and toolbar buttons, found by their object
// names inside its menu bar and its band of toolbars, and the teacher's ways of
// choosing a subject or a class. A command's menu entry and toolbar button show
// one action: the entry is named for the action ("scoreEntryAction"), the button
// for itself ("scoreEntryButton").

#include "Controls.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace MainControls {

inline QMenu* menu(MainWindow& window, const QString& name)
{
    return Controls::child<QMenu>(window.menuBar(), name);
}
// An entry of the menu bar itself or of one of its menus.
inline QAction* menuEntry(MainWindow& window, const QString& name)
{
    const auto titles = window.menuBar()->actions();
    for (QAction* title : titles) {
        if (title->objectName() == name)
            return title;
        if (title->menu())
            for (QAction* entry : title->menu()->actions())
                if (entry->objectName() == name)
                    return entry;
    }
    qFatal("the menus have no entry named %s", qPrintable(name));
    return nullptr;
}
inline QToolBar* toolbar(MainWindow& window, const QString& name)
{
    return Controls::child<QToolBar>(&window, name);
}
// A button of the band of toolbars, and the action it shows (the command's action,
// which a menu entry may show as well).
inline QToolButton* toolButton(MainWindow& window, const QString& name)
{
    return Controls::child<QToolButton>(Controls::child<QWidget>(&window, QStringLiteral("toolbarBand")), name);
}
inline QAction* toolbarButton(MainWindow& window, const QString& name)
{
    return toolButton(window, name)->defaultAction();
}

// Subject or class 1..9 in the menu and on the toolbar.
inline QAction* subjectEntry(MainWindow& window, int subject)
{
    return menuEntry(window, QStringLiteral("subjectAction%1").arg(subject));
}
inline QAction* classEntry(MainWindow& window, int classNumber)
{
    return menuEntry(window, QStringLiteral("classAction%1").arg(classNumber));
}
inline QAction* subjectButton(MainWindow& window, int subject)
{
    return toolbarButton(window, QStringLiteral("subjectButton%1").arg(subject));
}
inline QAction* classButton(MainWindow& window, int classNumber)
{
    return toolbarButton(window, QStringLiteral("classButton%1").arg(classNumber));
}

// The teacher chooses a subject or a class in the menu.
inline void chooseSubject(MainWindow& window, int subject)
{
    subjectEntry(window, subject)->trigger();
}
inline void chooseClass(MainWindow& window, int classNumber)
{
    classEntry(window, classNumber)->trigger();
}

}  // namespace MainControls
