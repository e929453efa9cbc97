#pragma once
// The names of a new class as the teacher types or pastes them, before 入力終了
// writes the roster: the checks of one name, and a pasted list (one name per line,
// or a column copied from a spreadsheet) read as names in attendance-number order.

#include <QString>
#include <QStringList>

namespace NameEntry {
// Why `name` (trimmed, not empty) cannot join a list of `count` names: the list is
// full, or the roster cannot hold the name. Empty when it can.
QString refusal(const QString& name, int count);

// Whether typed or pasted text holds more than one line or cell: it is then taken
// as a list of names, not as one name.
bool isList(const QString& text);

struct Pasted {
    QStringList names;  // in order, trimmed; empty when the paste is refused
    QString refusal;    // why nothing is added; empty when every name is taken
};
// Reads a pasted list for a list that holds `count` names already. Blank lines at
// its start and end are left out (a spreadsheet ends its copy with a line end);
// blanks around a name are trimmed. The paste is refused whole when a line holds
// more than one cell, when a line inside it is empty, when it would take the class
// past 45 pupils, or when any name cannot be stored; the message lists every
// refused line with its number.
Pasted readPasted(const QString& text, int count);
}
