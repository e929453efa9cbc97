#pragma once
// The journal of a change of several files (a transfer, a new class, the names of
// a new class, a test-list change with the class file): before the first file of a
// SafeFile::Batch takes its new content, an intent record naming every file is
// written and synced beside them; the renames follow; the record is removed last.
// A program or a computer that stops halfway leaves the record behind, and the next
// start (or the next change in that folder) finishes the change or undoes it, as a
// database's rollback journal does. Every new content is complete and synced before
// the record exists, so finishing is the rule; the change is undone only when a new
// content is missing or damaged.
//
// The record: the file "kazane.journal" in the folder of the batch's first file,
// UTF-8 text, one line per item, fields separated by a tab, "-" for an empty field:
//
//   kazane-journal 1
//   title   転入処理
//   write   国語.dat  .国語.dat.kazane-812-3.tmp  .国語.dat.kazane-812-25.tmp  old  5321  8e1f09a2  5170  03c4d2e9
//   backup  国語.Bak  .国語.Bak.kazane-812-2.tmp  -                            new  -     -         -     -
//   remove  shuketu.dat  -  .shuketu.dat.kazane-812-31.tmp  old  -  -  -  -
//   end     3   5b0e77c1
//
// A step line: what the step does (write: a new content; backup: a copy of another
// file's old content under a backup name; remove: the file goes), the file, the
// temporary file holding its new content, the second name its old content keeps
// until the change is done (for remove: the name it is moved aside to), whether
// the file existed before ("old") or is made by the change ("new"), and the size and
// CRC-32 (as in ZIP, hexadecimal) of the new content and of the old one where they
// are known (a change undone halfway is recognised by them where both are alike). Names
// are relative to the record's folder (a file elsewhere, through a symbolic link:
// its absolute path); '%', tab, CR and LF in a name are written %25, %09, %0D, %0A.
// The last line counts the steps and holds the CRC-32 of every byte before it: a
// record cut short by a stop while it was written is recognised, and since it is
// synced before the first rename, such a record means the change had not started
// and the old files are whole.

#include "model/Status.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace SafeFile::Journal {

QString fileName();  // "kazane.journal"

struct Step {
    enum class Kind { Write, Backup, Remove };
    Kind kind = Kind::Write;
    QString file;       // relative to the record's folder, or absolute
    QString temporary;  // the new content (Write, Backup); empty for Remove
    QString previous;   // the old content's second name; empty when it has none
    bool existed = false;
    qint64 size = -1;   // of the new content; -1 when not known
    quint32 crc = 0;    // of the new content, when size >= 0
    qint64 oldSize = -1;  // the same of the old content
    quint32 oldCrc = 0;
};

struct Record {
    QString title;  // what the change is, for the teacher ("転入処理"); may be empty
    QList<Step> steps;
};

quint32 crc32(const QByteArray& bytes);
QByteArray format(const Record& record);
// False when the bytes are not a whole record (cut short, damaged, another format).
bool parse(const QByteArray& bytes, Record& record);

// Writes the record into `folder` and syncs its content; the caller syncs the
// folder. Fails when a record is there already.
Status write(const QString& folder, const Record& record);
// Removes the record (after the caller has synced the folder).
void remove(const QString& folder);
bool exists(const QString& folder);

// What the start found and did.
struct Outcome {
    enum class State {
        None,        // no record
        Finished,    // the change was finished: every file has its new content
        Undone,      // the change was undone: every file has its old content
        NotStarted,  // the record was cut short: nothing had changed
        Failed,      // neither was possible; the files are left as they are
    };
    State state = State::None;
    QString title;
    QStringList files;  // the files of the change (as in the record)
    // One sentence for the teacher; empty for None.
    QString sentence() const;
};

// Finishes or undoes the change of a record left in `folder` and removes it.
Outcome recover(const QString& folder);

}  // namespace SafeFile::Journal
