#pragma once
// The main window's menus, menu entries and toolbar buttons, found by their object
// names inside its menu bar and its band of toolbars, and the teacher's ways of
// choosing a subject or a class.

#include "Controls.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace MainControls {

inline QMenu* menu(MainWindow& window, const QString& name)
{
    return Controls::child<QMenu>(window.menuBar(), name);
}
inline QAction* menuEntry(MainWindow& window, const QString& name)
{
    return Controls::child<QAction>(window.menuBar(), name);
}
inline QToolBar* toolbar(MainWindow& window, const QString& name)
{
    return Controls::child<QToolBar>(&window, name);
}
inline QAction* toolbarButton(MainWindow& window, const QString& name)
{
    return Controls::child<QAction>(Controls::child<QWidget>(&window, QStringLiteral("toolbarBand")), name);
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
