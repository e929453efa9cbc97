#pragma once
// Changes to the test list of the current unit: rename a test, insert a blank test
// before test n, delete test n, set a test's weight or kind. Each reads the score
// file and the class file afresh with the roster's pupil count, builds the whole
// new content, and writes both in one batch after their backups (".Bak",
// "assessment.bak"): the class file's test entries follow the tests. On success tests holds the new set and
// currentTest its last test; on failure the file, tests and currentTest are as
// they were.

#include "model/ClassData.h"
#include "model/Status.h"

namespace TestList {
// The values of an inserted test: one column of 観点Ⅰ out of 100, 0 for every pupil.
QString newTestName();  // "新規挿入テスト"
constexpr int NewTestKind = 1;
constexpr int NewTestFullMarks = 100;

Status rename(ClassData& data, int t, const QString& name);
// The inserted test is 未入力 for every pupil (the class file lists its cells).
Status insertBefore(ClassData& data, int n);
Status remove(ClassData& data, int n);

// A test's weight in averages over several tests: 0.5 to 5 in steps of 0.5.
bool isWeight(double weight);
// Writes the weight of test t into the class file.
Status setWeight(ClassData& data, int t, double weight);
// Writes the term of test t (0 none, 1..3) into the class file.
Status setTerm(ClassData& data, int t, int term);
// Writes the kind of test t into the class file. A test that becomes an
// observation (Ａ・Ｂ・Ｃ) gets full marks 3 in its columns, in the score file too.
Status setKind(ClassData& data, int t, TestKind kind);
// Makes test t of the set an observation with full marks 3 in its columns; refused,
// naming the test, while a score above 3 is in them.
constexpr int ObservationFullMarks = 3;
Status makeObservation(TestSet& set, int t, int pupils);

QString fullMessage();  // when the unit already holds 60 tests
}
