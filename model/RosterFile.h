#pragma once
// The roster: the pupil count, then one quoted name per pupil in attendance-number
// order. Homeroom mode: "Class.Nam" (backup "Class.bak"); specialist mode: one
// roster per class, "４の１.nam" (backup "４の１.NBk").

#include "model/ClassData.h"
#include "model/Status.h"

#include <QByteArray>

namespace RosterFile {
QString fileName(const ClassData& data);  // of the current class
QString backupName(const ClassData& data);
QString classFileName(int classNumber);   // specialist roster of a class: "４の１.nam"
// The name under which an empty roster of class `classNumber` is made when the data
// folder of a specialist lacks it: "４の１.Nam" (read later in any letter case).
QString createdFileName(const ClassData& data, int classNumber);
QString path(const ClassData& data);
QString missingMessage(const ClassData& data);

// Parses a roster; on failure `count` and `names` are untouched.
Status parse(const QByteArray& bytes, const QString& displayName, int& count,
             std::array<QString, Limits::Pupils + 1>& names);
// Fails when a name cannot be stored.
Status build(int count, const std::array<QString, Limits::Pupils + 1>& names, QByteArray& bytes);
QByteArray emptyFile();  // "0" CR LF

// Reads the roster of the current class. Missing: the names are cleared, the count
// stays. Malformed: nothing changes.
Status load(ClassData& data);

// Copies the roster to its backup name and rewrites it.
Status save(const ClassData& data);
}
