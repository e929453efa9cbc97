#pragma once
// The class file (assessment.json: each test's weight and kind, the cells not
// entered yet, the teacher's own grades) as the tally windows and kazane-export
// reach it: one loader, called after the score file is read, and one saver, called
// when the teacher gives or clears a grade of their own.
//
// The program uses the class file's own routines (model/ClassFile: the loader,
// which ScoreFile::load has already run once, reads the file again and names a
// file it cannot read only once; the saver writes the unit's overrulings); the
// window tests install an in-memory class file instead.

#include "model/ClassData.h"
#include "model/Status.h"

#include <functional>

namespace ClassFileHook {
using Load = std::function<Status(ClassData&)>;
using Save = std::function<Status(const ClassData&)>;

// Fills data's weights, kinds, cells not entered yet and overrulings of the current
// unit (the score file read first); a failure comes back with its message and leaves
// data as the score file gave it, without overrulings.
Status load(ClassData& data);
// Writes them; on failure the file is as it was.
Status save(const ClassData& data);
// Replaces the loader and the saver; an empty function puts back the program's own.
void install(Load load, Save save);
}
