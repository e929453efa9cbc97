#pragma once
// The folder picker shared by the environment settings and the backup window.

#include <QString>

class Ui;
class QWidget;

// Asks for a folder, starting at `startFolder`; the chosen folder, or empty text
// when the teacher cancels.
QString browseFolder(Ui& ui, QWidget* owner, const QString& startFolder);
