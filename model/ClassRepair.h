#pragma once
// What the start finds of a class's files beyond the files themselves: a file that
// is missing while a backup or a leftover of an interrupted save shows it existed,
// and leftovers of the program's own writes (SafeFile's temporary names, left by a
// copy of the program that stopped). A missing file is never made anew while such
// a copy fits the class: the newest copy that does is offered back; a missing file
// of a class with pupils whose copies all disagree with the class is lost, and the
// class opens read-only. A leftover that holds a new content of a file (newer than
// the file, readable, agreeing with the class) is offered back as well; every other
// leftover is removed. Files that are not the program's own are never touched.

#include "model/ClassData.h"
#include "model/Status.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace ClassRepair {

// A copy that can bring a file of the class back.
struct Copy {
    QString file;      // the file of the class (where it is or would be)
    QString fileName;  // "算数.dat"
    QString copy;      // the copy
    QDateTime modified;
    bool missing = false;   // the file is missing; else the copy is newer than it
    bool leftover = false;  // a leftover of an interrupted save (else a backup)
};

struct Survey {
    QList<Copy> offers;  // at most one per file: its newest copy that fits the class
    QStringList lost;    // names of files missing with signs they existed, and no copy that fits
    QStringList stale;   // leftovers to remove
};

Survey survey(const ClassData& data);
// Writes the copy's content as the file (an existing file keeps its old content as
// its backup) and removes a leftover that has been used.
Status bringBack(const ClassData& data, const Copy& copy);
// Removes a leftover the teacher did not want; a backup is kept.
void dismiss(const Copy& copy);
void removeStale(const Survey& survey);

}  // namespace ClassRepair
