#pragma once
// Starting a new class in the open data folder: the roster and the score files of
// the class are copied to their backup names and emptied, and in homeroom mode the
// attendance file is moved to "shuketu.bak". The new names are then entered and
// saved with RosterFile::save.

#include "model/ClassData.h"
#include "model/Status.h"

namespace NewClass {
// Homeroom mode: "Class.Nam" → "Class.NBk", the nine subject files "国語.dat" ...
// → "国語.Bak" ..., "shuketu.dat" → "shuketu.bak". Specialist mode: the roster of
// the current class "４の１.nam" → "４の１.NBk" and its score file → "４の１.Bak";
// the attendance file, which belongs to no class of a specialist, is left alone.
// The class file "assessment.json" goes to "assessment.bak" (homeroom mode) or
// loses the current class (specialist mode; refused when the file cannot be read).
// Each file missing so far is created empty. All or nothing: when any backup or
// write fails, every file already replaced is put back and the failure returned.
Status clearFiles(const ClassData& data);

// The refusal of every score and tally window while the class has no pupils, and
// of the settings window's 終了 while a homeroom class has no names: each says where
// the names of a new class are typed (環境設定, 新規ｸﾗｽ).
QString noPupilsMessage();
QString namesMissingMessage();

// Stores the names of the new class (pupilCount and pupilName): the roster, after
// its backup, and in homeroom mode an attendance file of zeros for that many
// pupils. Both or neither.
Status storeNames(const ClassData& data);
}
