#pragma once
// What the start does for a class before reading it, and tells the teacher: a
// change of several files left halfway by a stop is finished or undone (one
// sentence says which), a missing file is offered back from its newest copy that
// fits the class, a new content left by an interrupted save is offered back,
// other leftovers of the program's own writes are removed, and the pupil and test
// counts of the class's files are compared. A class that still disagrees or lacks
// a file is opened read-only, with the reason.

#include <QString>

class QWidget;
class Ui;
struct ClassData;

namespace FolderRepair {

struct Result {
    bool readOnly = false;
    QString reason;  // for the status bar, when read-only
};

// `mayWrite`: this copy holds the folder; otherwise only the counts are compared.
Result run(const ClassData& data, Ui& ui, QWidget* owner, bool mayWrite);

}  // namespace FolderRepair
