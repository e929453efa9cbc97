#pragma once
// A class roster read from a file a school system writes: text in UTF-8 (with or
// without a byte-order mark) or Shift_JIS, cells split by commas or tabs, usually
// a heading row (出席番号, 氏名, ふりがな, 性別 ... in any order) above one row per
// pupil. The teacher says which column is the number and which the name (guessed
// from the heading); every row then goes through the roster's own checks: a name
// the data files can hold, attendance numbers 1 to 45 each once, 45 pupils at most.
// Rows that fail are listed with their line and reason; the rest are the names in
// attendance-number order. Nothing here writes a file.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace RosterImport {

struct Table {
    QString encoding;         // "UTF-8" or "Shift_JIS"
    QChar separator;          // ',' or '\t'
    QList<QStringList> rows;  // every line of the file, cells trimmed
    QList<int> lines;         // the line number of each row in the file (1-based)
};
// Reads the file's bytes; a text in neither encoding gives an empty table and the
// reason in `problem`.
Table read(const QByteArray& bytes, QString& problem);

struct Columns {
    bool heading = false;  // the first row names the columns
    int number = -1;       // -1: the names are numbered in the file's order
    int name = -1;
};
Columns guess(const Table& table);
// The widest row's cell count.
int columnCount(const Table& table);

struct Refusal {
    int line;  // in the file, 1-based; 0 for a remark on the whole file
    QString reason;
};
struct Result {
    QStringList names;  // in attendance-number order
    QList<Refusal> refused;
};
// Takes the rows after the heading; `existing` names are in the class already (the
// new ones follow them).
Result take(const Table& table, const Columns& columns, int existing = 0);

}
