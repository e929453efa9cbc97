#pragma once
// Writing the program's outputs (PDF and CSV files, report stores) so that a full
// disk, a read-only disk, a missing folder or a lacking permission never leaves a
// half-written file under the real name, and never costs a file that was there.
//
// Each output is first written whole to a temporary file beside its real name,
// checked write by write (short writes too), synced and closed; only then is it
// moved to its name. A batch of files that can be made again at any time (the
// end-of-term pack) may leave out the syncs: it stays whole or absent on a full or
// failing disk, and only a power cut in the moments after it can cost it. A batch of outputs is moved together: when one of them
// cannot be moved, the ones already moved are taken back (a file that was there
// before gets its old content again, a new one is removed). Whatever the batch did
// not move is deleted when it ends.
//
// Failures carry a Japanese message naming the file and the cause; no system text.

#include "model/Status.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <functional>
#include <vector>

namespace OutputFile {
// The cause of a failed file operation, as a Japanese sentence ("ディスクの空き容量が足りません。").
QString describeError(int error);
// "「/home/t/一覧.csv」に保存できませんでした。" with the cause on a second line.
QString failedMessage(const QString& path, int error);
// Whether two paths name the same file (also through "..", links and symbolic links).
bool sameFile(const QString& a, const QString& b);
// Two outputs were given one file.
QString sameFileMessage(const QString& path);
// Writes one output (see above).
Status write(const QString& path, const QByteArray& bytes);
// Temporary files beside `path` left by a program that ended while writing them
// (one still running keeps its own).
QStringList abandonedTemporaries(const QString& path);
}

class OutputBatch {
public:
    enum class Sync { Durable, None };
    explicit OutputBatch(Sync sync = Sync::Durable) : sync(sync) {}
    ~OutputBatch();
    OutputBatch(const OutputBatch&) = delete;
    OutputBatch& operator=(const OutputBatch&) = delete;

    // Writes `bytes` to a temporary file beside `path`.
    Status add(const QString& path, const QByteArray& bytes);
    // For a file that another library writes itself (the SQLite store): `make` gets
    // the path of an empty temporary file beside `path` and fills it.
    Status addMade(const QString& path, const std::function<Status(const QString& temporary)>& make);
    // For files made by several threads: reserve() takes the batch's next file (in
    // the order the files are listed and moved) and gives its number; fill() then
    // writes its bytes and may run in any thread, each number once, while no other
    // file is added.
    Status reserve(const QString& path, int& number);
    Status fill(int number, const QByteArray& bytes);
    // Moves every file to its name, all or none.
    Status commit();
    QStringList paths() const;

private:
    struct Entry {
        QString path;
        QString resolved;                  // the path with its folder resolved
        QPair<quint64, quint64> replaced;  // device and inode of the file it replaces
        bool replaces = false;
        QString temporary;
        QString previous;  // the old file, kept aside while the batch is moved
        bool moved = false;
    };
    Status reserveEntry(const QString& path, Entry& entry, int& descriptor);
    void keep(const Entry& entry);
    void undo();
    Sync sync;
    std::vector<Entry> entries;
    // What the batch's paths name: each path with its folder resolved, and the files
    // already on the disk as device and inode; no file is named twice.
    QSet<QString> resolvedPaths;
    QSet<QPair<quint64, quint64>> replacedFiles;
};
