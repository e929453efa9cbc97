#pragma once
// One copy of the program at a time works on a data folder. The copy that opens a
// folder holds the lock file "kazane.lock" in it until it ends or opens another
// folder. A lock left behind by a copy that crashed on this computer (its process
// is gone, or the computer was restarted since) is recognised and taken over; the
// lock of a running copy, on this computer or another one sharing the folder, is
// kept however old it is, and the caller learns who holds it and since when.

#include <QDateTime>
#include <QString>
#include <memory>

class QLockFile;

class DataFolderLock {
public:
    enum class Outcome {
        Taken,        // this copy now holds the folder
        HeldByOther,  // another copy holds it: see holder()
        NotWritable,  // the lock file cannot be made (read-only folder or medium)
        NoFolder,     // the folder does not exist
    };
    struct Holder {
        QString computer;  // host name; empty when the lock file does not say
        qint64 pid = 0;
        QDateTime since;   // when the lock was taken; invalid when unknown
        bool thisComputer = false;
    };

    DataFolderLock();
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

    static QString fileName();  // "kazane.lock"

    // Gives up the lock held so far, on whatever folder, and takes the one of `folder`.
    Outcome take(const QString& folder);
    void release();
    // Whether this copy holds the lock of `folder` (any spelling of the same folder).
    bool holds(const QString& folder) const;
    // Who holds the folder's lock, when take() found it held by another copy.
    const Holder& holder() const { return lastHolder; }

private:
    std::unique_ptr<QLockFile> lock;
    QString lockedFolder;  // canonical path of the folder held
    Holder lastHolder;
};
