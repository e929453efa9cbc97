#pragma once
// Before a new class empties the files of the open class, every one of them, the
// backups included, is copied into a folder of its own named by the date and time:
// "<data folder>/以前のクラス/2026-12-07_0930/". The backups alone hold only one
// generation, so a second press of 新規ｸﾗｽ would otherwise overwrite them with the
// files the first press emptied; with a copy per press every earlier class survives.

#include "model/ClassData.h"
#include "model/Status.h"

#include <QDateTime>
#include <QStringList>

namespace NewClass {

// "以前のクラス", the folder in the data folder that holds the copies.
QString earlierClassesName();

// The files a new class empties or overwrites, as they lie in the data folder
// (names compared without regard to case). Homeroom mode: the roster "Class.Nam"
// with "Class.NBk" and "Class.bak", each subject's score file with its backups,
// "shuketu.dat" and "shuketu.bak". Specialist mode: the current class's roster and
// score file with their backups. In both, the class file "assessment.json" and
// "assessment.bak". Only files that exist are listed, by full path.
QStringList classFiles(const ClassData& data);

// The folder a copy made at `when` goes to, "<data folder>/以前のクラス/yyyy-MM-dd_HHmm/";
// when that name is taken, "_2", "_3", ... is added. The folder is not created.
QString copyFolder(const ClassData& data, const QDateTime& when);

// Copies `files` into `folder`, which is created, and reads every copy back. All or
// nothing: when any copy fails, whatever this call created is removed again and the
// failure says which file and why. The folders and every copy are synced to the
// disk before it returns, so that the files emptied next always have their copy.
Status copyFiles(const QStringList& files, const QString& folder);

}  // namespace NewClass
