#pragma once
// Reading and writing the data files, and writing the program's outputs, so that a
// full disk, a read-only stick or a crash never loses or garbles them.
//
// A write goes to a temporary file beside the real one: every byte is written and
// its count checked (a short write is continued until the system refuses), the
// file is synced to the disk and checked, and only then is it renamed over the
// real file. On any failure the temporary file is removed and the real file stays
// as it was, byte for byte. (QSaveFile::commit() alone is not enough: it reports
// success after a buffered write failed for lack of space, and renames an empty
// file over the data.)
//
// Files that change together (a score file and its backup, a transfer, a new
// class) go through one Batch: every new content is written and synced first, and
// only when all of them are complete are they renamed into place. A full disk
// therefore changes nothing; should a rename fail, the files already replaced are
// put back. A batch that gives more than one file a new content (backups aside)
// keeps a journal while it moves them (SafeFileJournal.h), so that a stop of the
// program or of the computer halfway is finished or undone at the next start.
//
// The program's outputs (PDF and CSV files, report stores) go through the same
// Batch: an output is written whole beside its name and moved there, a batch of
// them all or none. Outputs that can be made again at any time may leave out the
// syncs (Sync::Skip): they stay whole or absent on a full or failing disk, and
// only a power cut in the moments after can cost them.
//
// Messages are Japanese and name the file; the cause comes from errno, never from
// the system's English text.

#include "model/Status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace SafeFile {

// No data file of a class comes near this size; anything larger is not one.
constexpr qint64 MaxDataFileSize = 8 * 1024 * 1024;

// Durable: synced to the disk before it replaces the old file (every data file).
// Skip: for outputs that can be made again, which may be lost in a power cut but
// are never half-written.
enum class Sync { Durable, Skip };

// What a batch writes, which decides how its failures are told and handled:
// - DataFile: messages name the file ("ファイル「国語.dat」に書き込めませんでした。…");
//   the batch is one change of the class, so a step that fails fails the commit.
// - Output: messages name the whole path ("ファイル「/home/t/一覧.csv」に保存で
//   きませんでした。…"); a step that fails is left out and its failure returned,
//   and the caller decides whether to commit the rest.
enum class Kind { DataFile, Output };

// Replaces the file at `path` by `bytes`, or leaves it exactly as it was.
Status write(const QString& path, const QByteArray& bytes, Sync sync = Sync::Durable);
// Makes `backupPath` a copy of `path` as it is now; does nothing when `path` is
// missing. On failure the old backup is kept.
Status backup(const QString& path, const QString& backupPath);
// Copies the file at `path` to `backupPath` and then replaces it by `bytes`: both,
// or neither (the old backup stays when the new content cannot be written).
Status writeWithBackup(const QString& path, const QString& backupPath, const QByteArray& bytes);
// The whole file. Anything but a regular file (a folder, a named pipe, a device)
// and a file larger than `maxBytes` is refused before a byte is read, with a
// message naming the file.
Status read(const QString& path, QByteArray& bytes, qint64 maxBytes = MaxDataFileSize);

// The cause of a failed write in Japanese ("ディスクの空き容量が足りません", ...).
QString describeError(int errnoValue);
// "ファイル「国語.dat」に書き込めませんでした。<cause>。<what to check>"
QString writeFailedMessage(const QString& path, int errnoValue);
// Why writing `path` failed when the call that failed left no errno behind: the
// folder and the disk are looked at (a missing folder, a read-only disk, no
// permission, a full disk); EIO when nothing is found.
int probableError(const QString& path);
// The same with a cause already in words (never the system's own text).
QString writeFailedMessage(const QString& path, const QString& detail = {});
// A file that is not a regular file was not read: 「国語.dat」は普通のファイルではない….
QString notRegularFileMessage(const QString& path);
// "ファイル「/home/t/一覧.csv」に保存できませんでした。<cause>。": an output.
QString outputFailedMessage(const QString& path, int errnoValue);
// Two outputs were given one file.
QString sameOutputMessage(const QString& path);

// Whether two paths name the same file (also through "..", links and symbolic links).
bool sameFile(const QString& a, const QString& b);
// Temporary files of a batch beside `path` left by a program that ended while
// writing them (one still running keeps its own).
QStringList abandonedTemporaries(const QString& path);
// Every such file in `folder`, whatever file it was written for.
QStringList abandonedTemporariesIn(const QString& folder);
// The name of the file a temporary of the batch was made for ("国語.dat" for
// ".国語.dat.kazane-812-3.tmp"); empty when the name does not say (a temporary of
// a file whose name was too long) or it is not a temporary of the batch.
QString temporaryOwner(const QString& temporaryName);

// Creates the folder (its parent exists) and syncs the parent, so that the folder
// is durable before anything is written into it.
Status makeFolder(const QString& path);
// Creates the folder and every missing folder above it, each synced into its
// parent; nothing when it exists.
Status makeFolders(const QString& path);

// How many times the writer has synced a file or a folder so far (the benchmark
// compares changes by it).
qint64 syncCount();
// The journal is on, as it always is in the program; the benchmark and the crash
// test turn it off to measure and to show what it prevents.
void setJournal(bool on);
bool journalOn();

// Several files replaced together, all or nothing. Each step writes its new
// content beside its file at once; nothing takes its name before commit(), and the
// files are moved in the order their steps were added. What is not committed is
// discarded when the batch ends.
class Batch {
public:
    explicit Batch(Sync sync = Sync::Durable, Kind kind = Kind::DataFile);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    Status write(const QString& path, const QByteArray& bytes);
    // Copies `path` as it is before the batch to `backupPath` (nothing when missing).
    Status backup(const QString& path, const QString& backupPath);
    // Removes the file (nothing when missing).
    Status remove(const QString& path);
    // For a file that another library writes itself (the SQLite store): `make` gets
    // the path of an empty temporary file beside `path` and fills it.
    Status writeMade(const QString& path, const std::function<Status(const QString& temporary)>& make);
    // For files made by several threads: reserve() takes the batch's next file (in
    // the order the files are listed and moved) and gives its number; fill() then
    // writes its bytes and may run in any thread, each number once, while no other
    // step is added.
    Status reserve(const QString& path, int& number);
    Status fill(int number, const QByteArray& bytes);

    // Puts every step in place, or none. On failure every file is as it was, except
    // those named by unrestored().
    Status commit();
    // The files a failed commit could not put back (only after a failed rename).
    const QStringList& unrestored() const { return notRestored; }
    // The files the batch writes, in order.
    QStringList paths() const;
    // What the change is called for the teacher, should a stop leave it halfway
    // ("転入処理"): the next start says it was finished or undone.
    void describe(const QString& change) { title = change; }

    struct Step;

private:
    Status admit(const QString& path, Step& step);
    Status stage(std::unique_ptr<Step> step, const std::function<Status(Step&)>& fill);
    Status failed(const QString& path, int errnoValue) const;
    Status writeTemporary(Step& step, const QByteArray& bytes) const;
    Status keepOld(Step& step);
    Status finishEarlierChange();
    bool needsJournal() const;
    Status beginJournal();
    void endJournal(bool keepRecord);
    int move(Step& step);
    void undo(Step& step);
    void discard();
    void syncFolders() const;

    Sync sync;
    Kind kind;
    std::vector<std::unique_ptr<Step>> steps;
    Status firstFailure = Status::success();  // of a DataFile batch: its commit fails with it
    QStringList notRestored;
    QString title;
    QString journalFolder;  // where the record of a commit in progress lies; empty without one
};

}  // namespace SafeFile
