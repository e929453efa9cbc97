#pragma once
// The calls to the system that the safe writer (SafeFileBatch.cpp) and its journal
// (SafeFileJournal.cpp) share: names in the system's encoding, whole writes with
// their sync, and syncing a folder. Every sync of the writer goes through here, so
// that the benchmark can count them (SafeFile::syncCount).

#include <QByteArray>
#include <QString>

namespace SafeFile::System {

QByteArray native(const QString& path);
// Writes every byte (a short write goes on with the rest, so that the call that
// cannot go on says why), syncs the content when `durable` and closes. 0 or the
// errno of the first failure; the descriptor is closed either way.
int writeAll(int fd, const QByteArray& bytes, bool durable);
// Makes the names in a folder durable (new files, renames, removals); a file
// system that cannot sync a folder has nothing more to do.
void syncFolder(const QString& folder);
// Whether the folder's file system keeps its changes of names in the order they
// were made, also across a power cut (a journalling file system does). FAT and
// the file systems of FUSE give no such promise: there the journal syncs the folder
// once more before its record goes.
bool keepsOrder(const QString& folder);

}  // namespace SafeFile::System
