#pragma once
// The attendance file "shuketu.dat": for each month 1..12 (April..March) the lesson
// days on one line, then one line per pupil with the seven counts separated by
// commas. A newly created file holds every item as a quoted "0"; a saved file holds
// bare numbers; a reader takes both. Read with the roster's pupil count.

#include "core/ClassData.h"
#include "core/Status.h"

#include <QByteArray>

namespace AttendanceFile {
QString fileName();  // "shuketu.dat"
QString backupName();  // "shuketu.bak"
QString path(const ClassData& data);
bool exists(const ClassData& data);
QString createNotice();  // "出席データがないので作成します．いいですか？"

Status parse(const QByteArray& bytes, int pupils, ClassData& data);
QByteArray build(const ClassData& data, int pupils);
QByteArray buildZeros(int pupils);  // the quoted-zero form of a new file
}

// Reads the file into LessonDays and Attendance; fails (changing nothing) when it is
// missing or malformed.
Status LoadAttendance(ClassData& data);
// Copies the file to "shuketu.bak", then rewrites it from the model for PupilCount
// pupils. (A new class moves the file to the same backup name.)
Status SaveAttendance(const ClassData& data);
// Writes a file of zeros for PupilCount pupils; the model is not changed.
Status CreateAttendance(const ClassData& data);
