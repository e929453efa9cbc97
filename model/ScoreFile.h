#pragma once
// The score file of one unit ("国語.dat", "５の２.dat"): the test count, then per
// test its quoted name, column count, and per column viewpoint kind, full marks and
// one score per pupil (-1 = absent). The file does not record the class size: it
// is read with the roster's pupil count. Backup: the same name with ".Bak".

#include "model/ClassData.h"
#include "model/Status.h"

#include <QByteArray>

namespace ScoreFile {
QString fileName(const ClassData& data, int unit);    // "国語.dat"
QString backupName(const ClassData& data, int unit);  // "国語.Bak"
QString path(const ClassData& data, int unit);        // resolved in the data folder
QString missingMessage(const QString& stem);

// Parses a score file for `pupils` pupils into `set` (cleared first). On failure
// `set` is left untouched.
Status read(const QString& filePath, const QString& displayName, int pupils, TestSet& set);
Status parse(const QByteArray& bytes, const QString& displayName, int pupils, TestSet& set);
// The file content for `pupils` pupils; fails when a test name cannot be stored.
Status build(const TestSet& set, int pupils, QByteArray& bytes);
QByteArray emptyFile();  // "0" CR LF

// Reads the score file of the current unit into tests and sets currentTest to
// the last test. A missing or malformed file leaves tests and currentTest as they were.
Status load(ClassData& data);

// Copies the score file to its ".Bak" name and rewrites it from tests.
Status save(const ClassData& data);
}
