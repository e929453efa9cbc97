#pragma once
// Writing the program's outputs (PDF and CSV files, report stores) so that a full
// disk, a read-only disk, a missing folder or a lacking permission never leaves a
// half-written file under the real name, and never costs a file that was there.
//
// Outputs go through the one writer of the data files, SafeFile::Batch
// (model/SafeFile.h): each is written whole to a temporary file beside its name,
// checked write by write, synced and closed, then moved to its name; a batch of
// them is moved all or none. A batch of files that can be made again at any time
// (the end-of-term pack) may leave out the syncs (SafeFile::Sync::Skip). Failures
// carry a Japanese message naming the whole path and the cause.

#include "model/SafeFile.h"

namespace OutputFile {
// The cause of a failed file operation, as a Japanese sentence ("ディスクの空き容量が足りません。").
QString describeError(int error);
// Writes one output.
Status write(const QString& path, const QByteArray& bytes);
}

// A batch of outputs: the one writer, speaking of outputs (SafeFile::Kind::Output):
// the same file given twice is refused, a step that fails is left out and its
// failure returned.
class OutputBatch : public SafeFile::Batch {
public:
    explicit OutputBatch(SafeFile::Sync sync = SafeFile::Sync::Durable) : Batch(sync, SafeFile::Kind::Output) {}
};
