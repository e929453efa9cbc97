#pragma once
// Transfers in (転入) and out (転出). A pupil who joins is inserted after pupil n, a
// pupil who leaves is removed, so that attendance numbers stay consecutive. The
// score files and the attendance file hold one entry per attendance number without
// recording the class size, so one transfer rewrites, in one step, every score
// file of the class (the nine subjects in homeroom mode, the class's one file in
// specialist mode), the attendance file (homeroom mode only: in specialist mode it
// belongs to the homeroom class), the class file (assessment.json: the 未入力
// cells and overrulings of those units and the comments follow their pupils) and the roster.
//
// A transfer is all-or-nothing. Every new content is built from the files first;
// a missing or malformed file stops it before anything is written. Then every
// file and its backup (".bak" of a score file, the roster's backup,
// "shuketu.bak") is written as one SafeFile::Batch: all new contents are complete
// on disk before any old file is replaced, so a full disk changes nothing, and a
// failure after that puts back every file already replaced. The files never
// disagree on the class size.

#include "model/ClassData.h"
#include "model/Status.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <memory>
#include <vector>

namespace Transfer {

// One file the transfer writes (a data file, or a backup with the old bytes).
struct FileChange {
    QString path;
    QByteArray newBytes;
};

// Everything a transfer writes and what the model becomes, built before any write.
struct Plan {
    QString title;                    // "転入処理" or "転出処理"
    std::vector<FileChange> writes;   // in the order they are written
    int pupilCount = 0;
    std::array<QString, Limits::Pupils + 1> names;
    bool withAttendance = false;      // homeroom mode
    int lessonDays[Limits::Months + 1]{};
    int attendance[Limits::Months + 1][Limits::Pupils + 1][Limits::Categories + 1]{};
    std::unique_ptr<TestSet> currentSet;  // the current unit's tests afterwards
    QList<Overruling> overrulings;        // and its overrulings
    std::array<std::array<QString, Limits::Pupils + 1>, Limits::Terms + 1> comments;  // the pupils' 所見 afterwards
};

// The month of the school year of a date: April 1 .. March 12.
int schoolMonth(const QDate& date);

// Score columns of every test: an absent (-1) score inserted after pupil n, or
// pupil n's score removed; `pupils` is the count before.
void insertAbsentPupil(TestSet& set, int pupils, int n);
void removePupil(TestSet& set, int pupils, int n);

// Attendance in memory. insertIntoAttendance makes room for pupil n+1: the rows after n
// move down one; the new pupil's counts are 0 except 出停 (category 2), which in
// the months before `transferMonth` is that month's lesson days: the pupil was
// not yet in the class (the tallies leave those months out, see
// AttendanceTally::beforeJoining), and 必要日数 (category 3), which from
// `transferMonth` on is the month's lesson days. removeFromAttendance closes the
// gap of pupil n.
using AttendanceTable = int[Limits::Months + 1][Limits::Pupils + 1][Limits::Categories + 1];
void insertIntoAttendance(AttendanceTable& attendance, const int (&lessonDays)[Limits::Months + 1], int pupils, int n,
                  int transferMonth);
void removeFromAttendance(AttendanceTable& attendance, int pupils, int n);

// Builds the transfer in of a pupil named `name` after pupil n (1..N), in
// the month of `today`. Fails, with the message to show, when the class is full,
// the name cannot be stored, or a file of the class is missing or malformed.
Status planTransferIn(const ClassData& data, int n, const QString& name, const QDate& today, Plan& plan);
// Builds the transfer out of pupil n.
Status planTransferOut(const ClassData& data, int n, Plan& plan);
// Writes the plan; on a failure nothing is changed (or the message names what
// could not be put back).
Status apply(const Plan& plan);
// Takes the new roster, attendance and current test set into the model.
void adopt(ClassData& data, Plan& plan);

// The whole transfer: build, write, and on success update the model. On failure
// the files and the model are as before.
Status transferIn(ClassData& data, int n, const QString& name, const QDate& today);
Status transferOut(ClassData& data, int n);

QString classFullMessage();
}
