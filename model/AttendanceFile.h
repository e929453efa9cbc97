#pragma once
// The attendance file "shuketu.dat": for each month 1..12 (April..March) the lesson
// days on one line, then one line per pupil with the seven counts separated by
// commas. A newly created file holds every item as a quoted "0"; a saved file holds
// bare numbers; a reader takes both. Read with the roster's pupil count.

#include "model/ClassData.h"
#include "model/Status.h"

#include <QByteArray>

namespace AttendanceFile {
QString fileName();  // "shuketu.dat"
QString path(const ClassData& data);
QString backupName();  // "shuketu.bak", the state before the last save
QString backupPath(const ClassData& data);
bool exists(const ClassData& data);
QString createNotice();  // "出席データがないので作成します．いいですか？"

Status parse(const QByteArray& bytes, int pupils, ClassData& data);
QByteArray build(const ClassData& data, int pupils);
QByteArray buildZeros(int pupils);  // the quoted-zero form of a new file

// Reads the file into lessonDays and attendance; fails (changing nothing) when it is
// missing or malformed.
Status load(ClassData& data);

// Rewrites the file from the model for pupilCount pupils, after copying the old
// file to "shuketu.bak" as every other data file keeps its backup.
Status save(const ClassData& data);

// Writes a file of zeros for pupilCount pupils; the model is not changed.
Status create(const ClassData& data);
}
