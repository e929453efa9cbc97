#pragma once
// The tests of every unit in use, read from their score files and the class file
// without touching ClassData's current unit: what a sheet over every subject (the
// report card, the year's record) is computed from. The subject open in score entry
// is read from its file as well, so every subject comes from the disk alike.

#include "model/ClassData.h"
#include "model/Status.h"

#include <QList>
#include <QString>

namespace UnitSets {

struct Unit {
    int number = 0;  // the subject (homeroom) or class (specialist), 1..9
    QString stem;    // its file stem, "国語"
    bool found = false;  // its score file exists; without it the unit has no tests
    TestSet tests;
    QList<Overruling> overrulings;
};

// Reads every subject in use (homeroom mode) or the current class (specialist
// mode) for data.pupilCount pupils, with each unit's weights, kinds, terms, cells
// not entered yet and overrulings from the class file. A score file that cannot
// be read fails naming it; so does a class file that cannot be read (figures
// without it would count every test once and every cell never typed as 0). A
// missing score file gives a unit without tests.
Status load(const ClassData& data, QList<Unit>& units);

}  // namespace UnitSets
