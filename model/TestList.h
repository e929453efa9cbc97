#pragma once
// Changes to the test list of the current unit: rename a test, insert a blank test
// before test n, delete test n. Each reads the score file afresh with the roster's
// pupil count, builds the whole new content, copies the old file to its ".Bak"
// name and writes the new one atomically. On success tests holds the new set and
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
Status insertBefore(ClassData& data, int n);
Status remove(ClassData& data, int n);

QString fullMessage();  // when the unit already holds 60 tests
}
