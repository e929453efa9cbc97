#pragma once
// The 所見 (written comments) of the pupils, one per pupil per term, kept in the
// class file. The comments belong to a roster: in homeroom mode to the class (the
// root's "comments"), in specialist mode to each class (its unit's "comments").
// Each term is a list aligned with the attendance numbers, so a transfer moves a
// comment with its pupil as it moves the scores.

#include "model/ClassData.h"
#include "model/Status.h"

#include <QJsonObject>
#include <QList>
#include <QString>

namespace Comments {

// The comment of a pupil (1..45) in a term (1..3); empty when there is none or the
// numbers are out of range.
QString of(const ClassData& data, int term, int pupil);

using Table = std::array<std::array<QString, Limits::Pupils + 1>, Limits::Terms + 1>;

// ---- the class file ------------------------------------------------------------
// The comments of the data's roster in the class file's root (the root in homeroom
// mode, the class's unit in specialist mode), for `pupils` pupils.
Table taken(const QJsonObject& root, const ClassData& data, int pupils);
// Stores the table in the root: each term as a list of the pupils' comments, empty
// ones at the end left out; a term without comments, and a holder without terms, go.
// The holder's other fields stay.
void store(QJsonObject& root, const ClassData& data, const Table& comments, int pupils);
// The comments follow their pupils: a pupil inserted after pupil n (no comment), or
// pupil n removed (with the comments).
void insertPupil(QJsonObject& root, const ClassData& data, int n);
void removePupil(QJsonObject& root, const ClassData& data, int n);
// Writes the data's comments into the class file as it is on disk now (every other
// field kept), after a copy of the old file to its backup name. Refused while the
// class file cannot be read (classFileProblem), and then nothing is written.
Status save(const ClassData& data);
// The same with the comments of `comments` in place of the data's.
Status save(const ClassData& data, const Table& comments);
// Whether the data's comments differ from those of the class file on disk.
bool unsaved(const ClassData& data);

// ---- length and checks -----------------------------------------------------------
// The length of a comment in 全角 characters: a half-width character (ASCII,
// half-width kana) counts a half, line breaks do not count; rounded up.
int length(const QString& text);
constexpr int DefaultLimit = 200;

// What a check on request found in one pupil's comment.
struct Finding {
    enum class Kind { Empty, OverLimit, OtherName };
    Kind kind = Kind::Empty;
    int pupil = 0;
    int otherPupil = 0;  // for OtherName
    QString text;        // the message line, with the pupil's number and name
};
// Every pupil's comment of the term: still empty, longer than `limit`, or holding
// another pupil's name (family and given name as written in the roster, or the
// given name alone when it has two characters or more and is not also the pupil's
// own).
QList<Finding> check(const ClassData& data, int term, int limit);

}  // namespace Comments
