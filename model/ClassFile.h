#pragma once
// The class file "assessment.json" in the data folder: what belongs to the class
// beyond the score files, which stay exactly as they are. For each unit (subject
// or class, by its file stem) it keeps, test by test in score-file order, the
// test's weight, kind and term and the cells never typed (未入力), and the
// teacher's overrulings of computed grades. A missing file, unit or test entry
// means weight 1 and nothing else set. The format is in docs/DATA.md.
//
// The file is read whole and kept as its JSON object, so that fields this program
// does not know (at every level: the root, a unit, a test entry, an overruling)
// are written back as they were. A file that cannot be read (not JSON, another
// version, a field of the wrong type) is refused with its name and the place, and
// never written over: the scores open without it.
//
// Every write goes into the SafeFile::Batch of the change it belongs to (the
// score file on 保存終了, a transfer, a test inserted or deleted, a new class),
// after a copy of the old file to "assessment.bak"; a content equal to the file's
// is not written again.

#include "model/ClassData.h"
#include "model/Status.h"

#include <QByteArray>
#include <QJsonObject>

namespace SafeFile {
class Batch;
}

namespace ClassFile {

QString fileName();    // "assessment.json"
QString backupName();  // "assessment.bak"
QString path(const ClassData& data);
QString backupPath(const ClassData& data);

// The file as the disk holds it.
struct Content {
    bool existed = false;
    QByteArray bytes;  // as read; empty when missing
    QJsonObject root;  // the whole file; {"version": 1} when missing
};

// Parses and checks the file's bytes. On failure the message names the file and
// the place (line and column, or the field) and `root` is untouched.
Status parse(const QByteArray& bytes, const QString& displayName, QJsonObject& root);
// Reads the class file of the data folder; a missing file is an empty one.
Status read(const ClassData& data, Content& content);
// The file's bytes: UTF-8 JSON, indented, keys in order.
QByteArray build(const QJsonObject& root);

// The unit's part of the file into a test set just read from the unit's score
// file: each test's weight, kind and term, and 未入力 for the listed cells where
// the score file holds 0 (a score typed since by an older copy of the program
// wins). `overrulings` gets the unit's overrulings.
void apply(const QJsonObject& root, const QString& stem, int pupils, TestSet& set, QList<Overruling>& overrulings);
// Stores the weights, kinds, terms and 未入力 cells of the set's tests as the
// unit's test entries (entries past the set's count go), each entry keeping its
// other fields.
void storeTests(QJsonObject& root, const QString& stem, const TestSet& set, int pupils);
// Stores the unit's overrulings; an entry for the same pupil, group and tests
// keeps its other fields.
void storeOverrulings(QJsonObject& root, const QString& stem, const QList<Overruling>& overrulings);

// The unit's entries follow the pupils and tests of its score file: a pupil
// inserted after pupil n or pupil n removed (未入力 cells and overrulings move
// with their pupils, pupil n's go), a test inserted before test n (all its cells
// 未入力 for `pupils` pupils in its `columns` columns) or test n removed (its
// entry goes; overrulings' test lists follow, and an overruling whose chosen
// tests are all gone goes with them).
void insertPupil(QJsonObject& root, const QString& stem, int n);
void removePupil(QJsonObject& root, const QString& stem, int n);
void insertTest(QJsonObject& root, const QString& stem, int n, int pupils, int columns);
void removeTest(QJsonObject& root, const QString& stem, int n);
// Everything of the unit goes (a new class of a specialist).
void removeUnit(QJsonObject& root, const QString& stem);

// Adds the new content to the batch after the copy of the old file to its backup
// name; nothing when it equals the file, or when there is no file and nothing to keep.
void addTo(SafeFile::Batch& batch, const ClassData& data, const Content& old, const QJsonObject& root);
// Whether a batch with this content would write the file.
bool changes(const Content& old, const QJsonObject& root);

// Reads the class file into the current unit's tests (already loaded from the
// score file) and overrulings. A file that cannot be read leaves every test with
// weight 1 and no 未入力 cell, records the refusal in classFileProblem (so that
// nothing writes over the file) and returns success with the message to show
// (Status::notice), once per problem. Called by ScoreFile::load; calling it again
// changes nothing.
Status load(ClassData& data);
// Writes the current unit's weights, kinds, terms and 未入力 cells, or its
// overrulings, into the class file as it is on disk now, the other units and
// fields kept. Refused while classFileProblem is set or the file cannot be read.
Status saveTests(const ClassData& data);
Status saveOverrulings(const ClassData& data);

// "クラスファイル「assessment.json」を読み込めません…" + what the program does without it.
QString refusedNotice(const QString& problem);
}
