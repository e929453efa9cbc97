#pragma once
// The pages of the teacher's manual that windows open. A page is a file name in
// the help folder, optionally with "#" and a section's anchor.
//
// The help topic numbers keep their meaning: 1 the main window, 4 the environment
// settings, 5 score entry, 7 test maintenance, 8 roster maintenance,
// 11 attendance. Windows without a number name their page themselves.

#include <QList>
#include <QString>

namespace HelpTopics {

// The contents page of the manual.
QString contentsPage();
// The page of a topic number; the contents page for a number without one.
QString pageOf(int topic);
// Every topic number that has a page.
QList<int> numbers();
// The page (with its section) of a modal dialog, by its class name; empty for a
// dialog without one.
QString pageOfDialog(const QString& className);
// Every dialog class name that has a page.
QStringList dialogs();

}  // namespace HelpTopics
