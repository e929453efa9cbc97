#pragma once
// Reading and writing the data files so that a full disk, a read-only stick or a
// crash never loses or garbles them.
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
// put back.
//
// Messages are Japanese and name the file; the cause comes from errno, never from
// the system's English text.

#include "model/Status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace SafeFile {

// No data file of a class comes near this size; anything larger is not one.
constexpr qint64 MaxDataFileSize = 8 * 1024 * 1024;

// Durable: synced to the disk before it replaces the old file (every data file).
// Skip: for throw-away output that may be lost in a power cut, never half-written.
enum class Sync { Durable, Skip };

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

// Several files replaced together, all or nothing. Steps are carried out in the
// order they are added; nothing on disk changes before commit().
class Batch {
public:
    explicit Batch(Sync sync = Sync::Durable);
    ~Batch();  // what was prepared but not committed is discarded
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    void write(const QString& path, const QByteArray& bytes);
    // Copies `path` as it is before the batch to `backupPath` (nothing when missing).
    void backup(const QString& path, const QString& backupPath);
    // Removes the file (nothing when missing).
    void remove(const QString& path);

    // Prepares every step, then puts them in place. On failure every file is as it
    // was, except those named by unrestored().
    Status commit();
    // The files a failed commit could not put back (only after a failed rename).
    const QStringList& unrestored() const { return notRestored; }

    struct Step;

private:
    Status prepare(Step& step);
    int finish(Step& step);
    void undo(Step& step);
    void discard();

    Sync sync;
    std::vector<std::unique_ptr<Step>> steps;
    QStringList notRestored;
};

}  // namespace SafeFile
