#pragma once
// The start-up check of a class: the pupil count of the roster, and the pupils and
// tests the score files, the attendance file and the class file (assessment.json)
// hold, agree. The class file may list no more tests of a subject than its score
// file holds (its test entries and the tests an overruling was computed over), and
// no pupil past the roster (in its 未入力 cells and overrulings). The score and attendance files do not record the class size; the
// number of their items says it: a score file of T tests with c_t columns holds
// 1 + Σ (2 + c_t (2 + N)) items for N pupils, an attendance file 12 (1 + 7 N).
// Only the counts are read, fast enough for every start (a full class of 45 pupils
// and nine subjects of 60 tests in well under 2 ms); the readers still check every
// value when a file is opened.

#include "model/ClassData.h"

#include <QByteArray>
#include <QString>

namespace ClassCheck {

// Whether a score file's items fit `pupils` pupils; its test count in `tests`.
bool scoreFileFits(const QByteArray& bytes, int pupils, int* tests = nullptr);
// The pupil count a score file fits: AnyCount for a file without tests, NoCount
// when it fits none.
constexpr int AnyCount = -2;
constexpr int NoCount = -1;
int scoreFilePupils(const QByteArray& bytes);
bool attendanceFits(const QByteArray& bytes, int pupils);
int attendancePupils(const QByteArray& bytes);  // NoCount when it fits none

// What disagrees, as one message for the teacher that names every file and its
// count; empty when the class agrees. A roster that cannot be read and a file that
// fits no class size are malformed, not in disagreement: their readers say which
// line when the class is opened.
QString disagreement(const ClassData& data);

// Whether `bytes` can stand for the class's file `fileName` (a roster, a score
// file, the attendance file or the class file of the open class): readable as such
// and agreeing with the other files of the class as they are now. A copy offered
// back at start must.
bool fitsClass(const ClassData& data, const QString& fileName, const QByteArray& bytes);

}  // namespace ClassCheck
