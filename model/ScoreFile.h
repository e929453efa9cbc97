#pragma once
// The score file of one unit ("国語.dat", "５の２.dat"): the test count, then per
// test its quoted name, column count, and per column viewpoint kind, full marks and
// one score per pupil (-1 = absent; a cell never typed is written as 0 and listed
// in the class file, model/ClassFile.h). The file does not record the class size: it
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
// the last test, then the class file's part of the unit (ClassFile::load: the
// tests' weights, kinds and 未入力 cells, the overrulings). A missing or malformed
// score file leaves tests and currentTest as they were. A class file that cannot
// be read leaves the scores loaded and is told by the notice of the result.
Status load(ClassData& data);

// Copies the score file to its ".Bak" name and rewrites it from tests, and in the
// same batch the unit's test entries of the class file (weights, kinds, terms,
// 未入力 cells), unless the class file was refused when it was loaded. A class
// file that cannot be read now is left as it is: the scores are saved, and the
// result's notice says so.
Status save(const ClassData& data);
}
